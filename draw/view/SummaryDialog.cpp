#include "draw/view/SummaryDialog.h"

#include "draw/model/CDrawDoc.h"
#include "draw/model/CSummaryInfo.h"
#include "draw/view/CPropertySheet.h"
#include "draw/view/CStatPage.h"
#include "draw/view/CSummPage.h"

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
