#include <functional>
#include <optional>

#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawPoly.h"
#include "draw/model/CDrawText.h"
#include "draw/paint/FontMapping.h"
#include "draw/view/QtDrawObjEditor.h"
#include "tests/RecordingPrompts.h"
#include "tests/draw/DrawTestSupport.h"
#include "tests/draw/TestMaps.h"
#include "tests/edit/ModalDialogCloser.h"

// The property sheets as the user meets them: EditProperties of an object runs the sheet
// modally, the test types and clicks in it.
#include "tests/TypeText.h"

namespace {

void Click(QDialog& sheet, const char* name)
{
    QTest::mouseClick(Child<QAbstractButton>(sheet, name), Qt::LeftButton, {}, QPoint(4, 6));
}

class PropertySheets : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous = Prompts::SetCurrent(&prompts);
        DrawObjEditor::Install(&editor);
        doc.AddView(&view);
    }
    void TearDown() override
    {
        doc.RemoveView(&view);
        DrawObjEditor::Install(nullptr);
        Prompts::SetCurrent(previous);
    }

    // Runs the object's sheet; `action` gets it once it is shown.
    void RunSheet(CDrawObj& object, const std::function<void(QDialog&)>& action)
    {
        doc.SetModifiedFlag(false);
        view.updates.clear();
        ModalDialogCloser closer([&](QDialog& sheet) {
            EXPECT_EQ(sheet.windowTitle(), "Formeigenschaften");
            auto* tabs = sheet.findChild<QTabWidget*>();
            EXPECT_TRUE(tabs && tabs->count() == 1 && tabs->tabText(0) == "Allgemein");
            EXPECT_EQ(Child<QPushButton>(sheet, "button2")->text(), "Abbrechen");
            action(sheet);
        });
        object.EditProperties();
        EXPECT_EQ(closer.seen(), 1);
    }

    RecordingPrompts prompts;
    Prompts* previous = nullptr;
    std::vector<QFont> offered;   // the fonts the font dialog started from
    std::optional<QFont> chosen;  // what the user confirms there; none: cancelled
    QtDrawObjEditor editor{[this](QFont& font, QWidget*) {
        offered.push_back(font);
        if (chosen) {
            font = *chosen;
        }
        return chosen.has_value();
    }};
    CDrawDoc doc;
    FakeViewSite view;
};

TEST_F(PropertySheets, ShapeSheetTakesWeightChecksAndArrowsOnOkAndRefusesBadWeights)
{
    struct Case {
        const char* legend;
        QString typed;                    // into the weight edit, when not empty
        std::vector<const char*> clicks;  // then, before the closing button
        const char* button;
        std::string message;  // shown on OK; the sheet then stays open until cancelled
        int32_t weightAfter;  // pen width x and y, from 5
        bool fillAfter;
        bool handlesAfter;  // a polygon of 20 vertices starts without
    } cases[] = {
        {"typed weight", "7", {}, "button1", "", 7, true, false},
        {"arrows step the weight", "", {"up", "up", "down"}, "button1", "", 6, true, false},
        {"hollow, handles shown", "", {"check103", "check125"}, "button1", "", 5, false, true},
        {"weight 101",
         "101",
         {},
         "button1",
         "Please enter an integer between 0 and 100.",
         5,
         true,
         false},
        {"letters", "dick", {}, "button1", "Please enter a positive integer.", 5, true, false},
        {"Abbrechen after changes", "9", {"check103"}, "button2", "", 5, true, false},
    };
    for (const Case& c : cases) {
        auto* poly = AddNew<CDrawPoly>(doc, CRect{}, CDrawPoly::polygon);
        for (int i = 0; i < 20; ++i) {
            poly->AppendVertex({i, i * i});
        }
        poly->SetPen({PS_INSIDEFRAME, {5, 5}, 0});
        poly->SetBrushFlag(1);
        prompts.messages.clear();
        RunSheet(*poly, [&](QDialog& sheet) {
            auto* weight = Child<QLineEdit>(sheet, "edit102");
            EXPECT_EQ(weight->text(), "5") << c.legend;
            if (!c.typed.isEmpty()) {
                QTest::keyClick(weight, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(weight, c.typed);
            }
            for (const char* name : c.clicks) {
                Click(sheet, name);
            }
            Click(sheet, c.button);
            EXPECT_EQ(sheet.isVisible(), !c.message.empty()) << c.legend;
            if (!c.message.empty()) {
                EXPECT_EQ(sheet.focusWidget(), weight) << c.legend;
                EXPECT_EQ(weight->selectedText(), c.typed) << c.legend;
            }
        });
        EXPECT_EQ(prompts.messages,
                  c.message.empty() ? std::vector<std::string>{} : std::vector{c.message})
            << c.legend;
        EXPECT_EQ(poly->GetPenFlag(), 1) << c.legend;
        EXPECT_EQ(poly->GetPen().width, (CPoint{c.weightAfter, c.weightAfter})) << c.legend;
        EXPECT_EQ(poly->GetBrushFlag(), c.fillAfter ? 1 : 0) << c.legend;
        EXPECT_EQ(poly->GetShowHandles(), c.handlesAfter) << c.legend;
        bool applied = c.message.empty() && std::string(c.button) == "button1";
        EXPECT_EQ(doc.IsModified(), applied) << c.legend;
        EXPECT_EQ(view.updates.size(), applied ? 1u : 0u) << c.legend;
    }
}

TEST_F(PropertySheets, TextSheetGivesTextTransparencyAndAChosenFontBackOnlyOnOk)
{
    LogFontA arial;
    arial.SetHeight(-14);
    arial.SetFaceName("Arial");
    QFont courier(QStringLiteral("Courier"));
    courier.setPixelSize(20);
    courier.setItalic(true);
    const QFont systemFont = FontFromLogFont(LogFontA::SystemFont());
    struct Case {
        const char* legend;
        bool hadFont;  // Arial with the font flag, else no font ever chosen
        std::optional<QFont> choice;
        std::function<void(QDialog&)> input;
        const char* button;
        std::optional<QFont> offeredFont;  // where the font dialog started, when it was opened
        std::string textAfter;
        LogFontA fontAfter;
        int fontFlagAfter;
        int transparentAfter;
    } cases[] = {
        {"no font yet: the dialog starts from the system font; cancelled there", false,
         std::nullopt, [](QDialog& s) { Click(s, "button124"); }, "button1", systemFont, "",
         LogFontA::SystemFont(), 0, 0},
        {"no font yet, OK without the font button", false, std::nullopt, [](QDialog&) {}, "button1",
         std::nullopt, "", LogFontA::SystemFont(), 0, 0},
        {"a font chosen, then OK", true, courier, [](QDialog& s) { Click(s, "button124"); },
         "button1", FontFromLogFont(arial), "", LogFontFromFont(courier), 1, 0},
        {"a font chosen, then Abbrechen", true, courier, [](QDialog& s) { Click(s, "button124"); },
         "button2", FontFromLogFont(arial), "", arial, 1, 0},
        {"text typed with a line break, transparent", true, std::nullopt,
         [](QDialog& s) {
             auto* edit = Child<QPlainTextEdit>(s, "edit108");
             QTest::keyClicks(edit, "Nord");
             QTest::keyClick(edit, Qt::Key_Return);
             TypeText(edit, QString::fromUtf8("Süd"));
             Click(s, "check103");
         },
         "button1", std::nullopt,
         "Nord\r\nS\xfc"
         "d",
         arial, 1, 1},
    };
    for (const Case& c : cases) {
        auto* text = AddNew<CDrawText>(doc, CRect{0, 0, 100, 40});
        if (c.hadFont) {
            text->SetFont(arial);
            text->SetFontFlag(1);
        }
        chosen = c.choice;
        offered.clear();
        RunSheet(*text, [&](QDialog& sheet) {
            c.input(sheet);
            Click(sheet, c.button);
            EXPECT_FALSE(sheet.isVisible()) << c.legend;
        });
        EXPECT_EQ(offered, c.offeredFont ? std::vector{*c.offeredFont} : std::vector<QFont>{})
            << c.legend;
        EXPECT_EQ(text->GetText(), c.textAfter) << c.legend;
        EXPECT_EQ(text->GetFont(), c.fontAfter) << c.legend;
        EXPECT_EQ(text->GetFontFlag(), c.fontFlagAfter) << c.legend;
        EXPECT_EQ(text->GetTransparent(), c.transparentAfter) << c.legend;
        bool applied = std::string(c.button) == "button1";
        EXPECT_EQ(doc.IsModified(), applied) << c.legend;
        EXPECT_EQ(view.updates.size(), applied ? 1u : 0u) << c.legend;
    }
}

}  // namespace
