#include "draw/SummaryDialog.h"

#include "draw/CDrawDoc.h"
#include "draw/CPropertySheet.h"
#include "draw/CStatPage.h"
#include "draw/CSummPage.h"
#include "draw/CSummaryInfo.h"

bool EditSummaryInfo(CDrawDoc& doc, QWidget* parent)
{
    CSummaryInfo* info = doc.GetSummaryInfo();
    if (!info) {
        return false;
    }
    CPropertySheet sheet(QStringLiteral("Document Properties"), parent);
    auto* summary = new CSummPage(*info);
    sheet.AddPage(summary, QStringLiteral("Summary"));
    sheet.AddPage(new CStatPage(*info), QStringLiteral("Statistics"));
    if (sheet.exec() != QDialog::Accepted) {
        return false;
    }
    if (summary->Texts() != SummaryTextsOf(*info)) {
        ApplySummaryTexts(*info, summary->Texts());
        doc.SetModifiedFlag(true);
    }
    return true;
}
