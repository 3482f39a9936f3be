#pragma once

#include <string>

#include "draw/view/CPropertyPage.h"

class CSummaryInfo;
class QLineEdit;
class QPlainTextEdit;

// The strings a user may change on the summary page, as the page shows them: UTF-8, the
// comments' line breaks as "\n".
struct SummaryTexts {
    std::string author;
    std::string keywords;
    std::string comments;
    std::string title;
    std::string subject;
    std::string templateName;

    friend bool operator==(const SummaryTexts&, const SummaryTexts&) = default;
};

// The summary's Windows-1252 strings; a line break in the comments (CR LF, or a lone CR or
// LF) becomes "\n".
SummaryTexts SummaryTextsOf(const CSummaryInfo& info);
// Stores the six strings in Windows-1252 (characters without a byte there as '?'), the
// comments' line breaks as CR LF.
void ApplySummaryTexts(CSummaryInfo& info, const SummaryTexts& texts);

// The page "Summary" of the document properties: the application name as static text
// ("static120"), and the edits "Author:" ("edit105"), "Keywords:" ("edit106"), "Comments:"
// (multi-line, "edit107"), "Title:" ("edit108"), "Subject:" ("edit109") and "Template:"
// ("edit110").
class CSummPage : public CPropertyPage {
public:
    explicit CSummPage(const CSummaryInfo& info, QWidget* parent = nullptr);

    // What the page started with until OK, then what the edits held.
    const SummaryTexts& Texts() const { return texts_; }

    // Takes the six edits; refuses nothing.
    bool SaveData() override;

private:
    SummaryTexts texts_;
    QLineEdit* author_;
    QLineEdit* keywords_;
    QPlainTextEdit* comments_;
    QLineEdit* title_;
    QLineEdit* subject_;
    QLineEdit* template_;
};
