#include <functional>
#include <string>

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>

#include "draw/model/CDrawDoc.h"
#include "draw/model/CSummaryInfo.h"
#include "draw/model/FileTime.h"
#include "draw/view/SummaryDialog.h"
#include "tests/TempDir.h"
#include "tests/TypeText.h"
#include "tests/edit/ModalDialogCloser.h"

// The document properties of a map as the user meets them: EditSummaryInfo runs the sheet
// modally, the test reads, types and clicks in it.

namespace {

// The label the page's form shows beside `field`.
QString LabelOf(QWidget* field)
{
    auto* form = qobject_cast<QFormLayout*>(field->parentWidget()->layout());
    auto* label = form ? qobject_cast<QLabel*>(form->labelForField(field)) : nullptr;
    return label ? label->text() : QString();
}

void Click(QDialog& sheet, const char* name)
{
    QTest::mouseClick(Child<QAbstractButton>(sheet, name), Qt::LeftButton, {}, QPoint(4, 6));
}

class SummarySheet : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(doc.OnNewDocument());
        info = doc.GetSummaryInfo();
    }

    // Runs the sheet; `action` gets it once it is shown. Returns what EditSummaryInfo did.
    bool RunSheet(const std::function<void(QDialog&)>& action)
    {
        ModalDialogCloser closer([&](QDialog& sheet) {
            EXPECT_EQ(sheet.windowTitle(), "Document Properties");
            auto* tabs = sheet.findChild<QTabWidget*>();
            EXPECT_TRUE(tabs && tabs->count() == 2 && tabs->tabText(0) == "Summary" &&
                        tabs->tabText(1) == "Statistics");
            action(sheet);
        });
        bool result = EditSummaryInfo(doc, nullptr);
        EXPECT_EQ(closer.seen(), 1);
        return result;
    }

    TempDir dir;
    CDrawDoc doc;
    CSummaryInfo* info = nullptr;
};

TEST_F(SummarySheet, PagesShowTheSummaryOfASavedMapUnderTheirLabels)
{
    // Created and printed an hour apart in 2020, with counts that tell the rows apart;
    // then saved, which stamps the save date and takes the author as the last one.
    uint64_t now = FILETIME_UNIX_EPOCH + 1600000000 * FILETIME_PER_SECOND;
    CSummaryInfo earlier([&] { return now; });
    earlier.StampCreateDate();
    now += 3600 * FILETIME_PER_SECOND;
    earlier.StampPrintDate();
    earlier.SetAppName("Skizel");
    earlier.SetPageCount(1);
    earlier.SetWordCount(12);
    earlier.SetCharCount(345);
    earlier.SetSecurity(2);
    earlier.SetAuthor("M\xfcller");
    earlier.SetKeywords("Wege");
    earlier.SetComments("Zeile 1\r\nZeile 2");
    earlier.SetTitle("Stadtplan");
    earlier.SetSubject("Altstadt");
    earlier.SetTemplate("Normal");
    info->ReadStream(earlier.WriteStream());
    doc.OnSaveDocument(dir.File("plan.orvg"));
    const std::string created = info->GetCreated();
    const std::string printed = info->GetLastPrinted();
    const std::string saved = info->GetLastSaved();
    ASSERT_NE(created, printed);
    ASSERT_NE(printed, saved);
    ASSERT_NE(saved, created);

    struct Row {
        const char* name;
        const char* label;
        std::string text;  // UTF-8
    };
    const Row summaryRows[] = {
        {"static120", "Application:", "Skizel"}, {"edit105", "Author:", "Müller"},
        {"edit106", "Keywords:", "Wege"},        {"edit107", "Comments:", "Zeile 1\nZeile 2"},
        {"edit108", "Title:", "Stadtplan"},      {"edit109", "Subject:", "Altstadt"},
        {"edit110", "Template:", "Normal"},
    };
    const Row statisticsRows[] = {
        {"static111", "Last Saved By:", "Müller"},
        {"static112", "Revision number:", "1"},
        {"static113", "Total Editing Time:", "0 min"},
        {"static114", "Last Printed:", printed},
        {"static115", "Created:", created},
        {"static116", "Last Saved:", saved},
        {"static117", "# Pages:", "1"},
        {"static118", "# words:", "12"},
        {"static119", "# chars:", "345"},
        {"static122", "Security Level:", "2"},
    };
    bool ok = RunSheet([&](QDialog& sheet) {
        for (const Row& row : summaryRows) {
            auto* field = Child<QWidget>(sheet, row.name);
            ASSERT_TRUE(field);
            EXPECT_EQ(LabelOf(field).toStdString(), row.label) << row.name;
            QString text;
            if (auto* label = qobject_cast<QLabel*>(field)) {
                text = label->text();
            } else if (auto* line = qobject_cast<QLineEdit*>(field)) {
                text = line->text();
            } else if (auto* lines = qobject_cast<QPlainTextEdit*>(field)) {
                text = lines->toPlainText();
            }
            EXPECT_EQ(text.toStdString(), row.text) << row.name;
        }
        for (const Row& row : statisticsRows) {
            auto* field = Child<QLabel>(sheet, row.name);
            ASSERT_TRUE(field);
            EXPECT_EQ(LabelOf(field).toStdString(), row.label) << row.name;
            EXPECT_EQ(field->text().toStdString(), row.text) << row.name;
        }
        Click(sheet, "button2");
    });
    EXPECT_FALSE(ok);
}

TEST_F(SummarySheet, OkWritesTypedStringsBackAndMarksTheMapModifiedCancelChangesNothing)
{
    struct Case {
        const char* legend;
        const char* field;  // typed into, replacing its text; none: nothing typed
        QString typed;
        const char* button;
        bool result;
        bool modified;
        std::string author, title, comments;
    } cases[] = {
        {"author typed, OK", "edit105", QString::fromUtf8("Jörg"), "button1", true, true, "J\xf6rg",
         "Plan", "alt"},
        {"a comment of two lines, OK", "edit107", "Nord\nSued", "button1", true, true, "Anna",
         "Plan", "Nord\r\nSued"},
        {"author typed, Abbrechen", "edit105", "Otto", "button2", false, false, "Anna", "Plan",
         "alt"},
        {"title typed, Abbrechen", "edit108", "Karte", "button2", false, false, "Anna", "Plan",
         "alt"},
        {"OK without changes", nullptr, "", "button1", true, false, "Anna", "Plan", "alt"},
    };
    for (const Case& c : cases) {
        info->SetAuthor("Anna");
        info->SetTitle("Plan");
        info->SetComments("alt");
        doc.SetModifiedFlag(false);
        bool result = RunSheet([&](QDialog& sheet) {
            if (c.field) {
                auto* field = Child<QWidget>(sheet, c.field);
                QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
                QStringList lines = c.typed.split('\n');
                for (qsizetype i = 0; i < lines.size(); ++i) {
                    if (i > 0) {
                        QTest::keyClick(field, Qt::Key_Return);
                    }
                    TypeText(field, lines[i]);
                }
            }
            Click(sheet, c.button);
            EXPECT_FALSE(sheet.isVisible()) << c.legend;
        });
        EXPECT_EQ(result, c.result) << c.legend;
        EXPECT_EQ(doc.IsModified(), c.modified) << c.legend;
        EXPECT_EQ(info->GetAuthor(), c.author) << c.legend;
        EXPECT_EQ(info->GetTitle(), c.title) << c.legend;
        EXPECT_EQ(info->GetComments(), c.comments) << c.legend;
        EXPECT_EQ(info->GetLastAuthor(), "") << c.legend;
        EXPECT_EQ(info->GetAppName(), "Skizel") << c.legend;
    }
}

TEST_F(SummarySheet, OnlyTheSixStringsCanBeEdited)
{
    RunSheet([&](QDialog& sheet) {
        auto* tabs = sheet.findChild<QTabWidget*>();
        ASSERT_TRUE(tabs);
        QWidget* summary = tabs->widget(0);
        QWidget* statistics = tabs->widget(1);
        EXPECT_EQ(summary->findChildren<QLineEdit*>().size(), 5);
        EXPECT_EQ(summary->findChildren<QPlainTextEdit*>().size(), 1);
        EXPECT_TRUE(Child<QLabel>(sheet, "static120"));
        EXPECT_TRUE(statistics->findChildren<QLineEdit*>().isEmpty());
        EXPECT_TRUE(statistics->findChildren<QPlainTextEdit*>().isEmpty());
        EXPECT_TRUE(statistics->findChildren<QAbstractSpinBox*>().isEmpty());
        Click(sheet, "button1");
    });
    EXPECT_EQ(info->GetRevision(), "0");
    EXPECT_FALSE(doc.IsModified());
}

TEST(SummarySheetWithoutSummary, ShowsNothing)
{
    CDrawDoc doc;
    ModalDialogCloser closer([](QDialog&) {});
    EXPECT_FALSE(EditSummaryInfo(doc, nullptr));
    QTest::qWait(20);
    EXPECT_EQ(closer.seen(), 0);
    EXPECT_FALSE(doc.IsModified());
}

}  // namespace
