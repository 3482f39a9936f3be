#include "draw/view/CStatPage.h"

#include <QFormLayout>
#include <QLabel>

#include "draw/model/CSummaryInfo.h"
#include "framework/Cp1252.h"

CStatPage::CStatPage(const CSummaryInfo& info, QWidget* parent) : CPropertyPage(parent)
{
    // Strings in Windows-1252; dates, times and numbers come as UTF-8 from the C library.
    const struct {
        const char* label;
        std::string value;
        const char* name;
    } rows[] = {
        {"Last Saved By:", Cp1252ToUtf8(info.GetLastAuthor()), "static111"},
        {"Revision number:", Cp1252ToUtf8(info.GetRevision()), "static112"},
        {"Total Editing Time:", info.GetEditTime(), "static113"},
        {"Last Printed:", info.GetLastPrinted(), "static114"},
        {"Created:", info.GetCreated(), "static115"},
        {"Last Saved:", info.GetLastSaved(), "static116"},
        {"# Pages:", info.GetPageCount(), "static117"},
        {"# words:", info.GetWordCount(), "static118"},
        {"# chars:", info.GetCharCount(), "static119"},
        {"Security Level:", info.GetSecurity(), "static122"},
    };
    auto* form = new QFormLayout(this);
    for (const auto& row : rows) {
        auto* value = new QLabel(QString::fromStdString(row.value), this);
        value->setObjectName(QString::fromLatin1(row.name));
        form->addRow(QString::fromLatin1(row.label), value);
    }
}
