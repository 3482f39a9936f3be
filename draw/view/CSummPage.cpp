#include "draw/view/CSummPage.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "draw/model/CSummaryInfo.h"
#include "framework/Cp1252.h"

namespace {

std::string LinesFromRecord(const std::string& record)
{
    std::string utf8 = Cp1252ToUtf8(record);
    std::string lines;
    for (size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\r') {
            lines += '\n';
            if (i + 1 < utf8.size() && utf8[i + 1] == '\n') {
                ++i;
            }
        } else {
            lines += utf8[i];
        }
    }
    return lines;
}

std::string LinesToRecord(const std::string& lines)
{
    std::string record;
    for (char c : Utf8ToCp1252(lines)) {
        if (c == '\n') {
            record += "\r\n";
        } else {
            record += c;
        }
    }
    return record;
}

QLineEdit* AddEdit(QFormLayout* form, const char* label, const std::string& text, const char* name)
{
    auto* edit = new QLineEdit(QString::fromStdString(text), form->parentWidget());
    edit->setObjectName(QString::fromLatin1(name));
    form->addRow(QString::fromLatin1(label), edit);
    return edit;
}

}  // namespace

SummaryTexts SummaryTextsOf(const CSummaryInfo& info)
{
    return {Cp1252ToUtf8(info.GetAuthor()),      Cp1252ToUtf8(info.GetKeywords()),
            LinesFromRecord(info.GetComments()), Cp1252ToUtf8(info.GetTitle()),
            Cp1252ToUtf8(info.GetSubject()),     Cp1252ToUtf8(info.GetTemplate())};
}

void ApplySummaryTexts(CSummaryInfo& info, const SummaryTexts& texts)
{
    info.SetAuthor(Utf8ToCp1252(texts.author));
    info.SetKeywords(Utf8ToCp1252(texts.keywords));
    info.SetComments(LinesToRecord(texts.comments));
    info.SetTitle(Utf8ToCp1252(texts.title));
    info.SetSubject(Utf8ToCp1252(texts.subject));
    info.SetTemplate(Utf8ToCp1252(texts.templateName));
}

CSummPage::CSummPage(const CSummaryInfo& info, QWidget* parent)
    : CPropertyPage(parent), texts_(SummaryTextsOf(info))
{
    auto* form = new QFormLayout(this);
    auto* appName = new QLabel(QString::fromStdString(Cp1252ToUtf8(info.GetAppName())), this);
    appName->setObjectName(QStringLiteral("static120"));
    form->addRow(QStringLiteral("Application:"), appName);
    author_ = AddEdit(form, "Author:", texts_.author, "edit105");
    keywords_ = AddEdit(form, "Keywords:", texts_.keywords, "edit106");
    comments_ = new QPlainTextEdit(QString::fromStdString(texts_.comments), this);
    comments_->setObjectName(QStringLiteral("edit107"));
    comments_->setTabChangesFocus(true);
    form->addRow(QStringLiteral("Comments:"), comments_);
    title_ = AddEdit(form, "Title:", texts_.title, "edit108");
    subject_ = AddEdit(form, "Subject:", texts_.subject, "edit109");
    template_ = AddEdit(form, "Template:", texts_.templateName, "edit110");
}

bool CSummPage::SaveData()
{
    texts_.author = author_->text().toStdString();
    texts_.keywords = keywords_->text().toStdString();
    texts_.comments = comments_->toPlainText().toStdString();
    texts_.title = title_->text().toStdString();
    texts_.subject = subject_->text().toStdString();
    texts_.templateName = template_->text().toStdString();
    return true;
}
