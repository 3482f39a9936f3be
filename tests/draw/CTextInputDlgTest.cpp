#include <functional>

#include <gtest/gtest.h>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "draw/view/CTextInputDlg.h"
#include "tests/TypeText.h"

namespace {

QLineEdit* Field(CTextInputDlg& dialog, int i)
{
    return dialog.findChild<QLineEdit*>(QStringLiteral("edit%1").arg(126 + i));
}

TEST(CTextInputDlg, FieldsShowTheTextsAndOkAloneGivesTypedTextsBack)
{
    const std::vector<std::string> six = {"T1", "T2", "a\r\nb", "T4", "T5", "T6"};
    struct Case {
        const char* legend;
        std::vector<std::string> set;  // before the dialog shows
        std::function<void(CTextInputDlg&)> input;
        const char* button;
        std::vector<std::string> after;
    } cases[] = {
        {"nothing set", {}, [](CTextInputDlg&) {}, "button1", {"", "", "", "", "", ""}},
        {"one field typed over",
         six,
         [](CTextInputDlg& d) {
             QTest::keyClick(Field(d, 1), Qt::Key_A, Qt::ControlModifier);
             TypeText(Field(d, 1), QString::fromUtf8("Süd"));
         },
         "button1",
         {"T1",
          "S\xfc"
          "d",
          "a\r\nb", "T4", "T5", "T6"}},
        {"line break typed as its sign",
         six,
         [](CTextInputDlg& d) {
             QTest::keyClick(Field(d, 2), Qt::Key_End);
             TypeText(Field(d, 2), QString::fromUtf8(LINE_BREAK_SIGN) + "c");
         },
         "button1",
         {"T1", "T2", "a\r\nb\r\nc", "T4", "T5", "T6"}},
        {"Abbrechen after typing", six,
         [](CTextInputDlg& d) { QTest::keyClicks(Field(d, 5), "x"); }, "button2", six},
    };
    for (const Case& c : cases) {
        CTextInputDlg dialog;
        EXPECT_EQ(dialog.windowTitle(), "Texte eingeben");
        for (size_t i = 0; i < c.set.size(); ++i) {
            dialog.SetText(static_cast<int>(i), c.set[i]);
        }
        dialog.show();
        for (int i = 0; i < TEXT_INPUT_COUNT; ++i) {
            std::string shown = i < static_cast<int>(c.set.size()) ? c.set[size_t(i)] : "";
            EXPECT_EQ(Field(dialog, i)->text().toStdString(), LineFieldText(shown)) << c.legend;
        }
        c.input(dialog);
        auto* button = dialog.findChild<QPushButton*>(QString::fromLatin1(c.button));
        ASSERT_TRUE(button);
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible()) << c.legend;
        for (int i = 0; i < TEXT_INPUT_COUNT; ++i) {
            EXPECT_EQ(dialog.Text(i), c.after[size_t(i)]) << c.legend << " " << i;
        }
    }
}

}  // namespace
