// Printing and the print preview of a map view: the page fills the paper's printable area
// with its aspect kept; neither the grid nor the handles are printed.

#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <memory>

#include "draw/model/CDrawDoc.h"
#include "draw/model/CSummaryInfo.h"
#include "draw/model/ViewGeometry.h"
#include "draw/view/CDrawView.h"

namespace {

QPrinter* g_printer = nullptr;

}  // namespace

void CDrawView::SetPrinter(QPrinter* printer)
{
    g_printer = printer;
}

void CDrawView::PrintPage(QPrinter& printer, bool preview)
{
    CDrawDoc* doc = GetDocument();
    if (!doc) {
        return;
    }
    if (!preview && doc->GetSummaryInfo()) {
        doc->GetSummaryInfo()->StampPrintDate();
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        return;
    }
    QRect area = printer.pageLayout().paintRectPixels(printer.resolution());
    CSize page = doc->GetPageSize();
    double scale = PrintScale(area.width(), area.height(), page);
    painter.scale(scale, scale);
    PaintPage(painter, CRect{0, 0, page.cx, page.cy}, true);
    painter.end();
}

void CDrawView::Print(bool preview)
{
    CDrawDoc* doc = GetDocument();
    if (!doc) {
        return;
    }
    std::unique_ptr<QPrinter> own;
    QPrinter* printer = g_printer;
    if (!printer) {
        own = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer = own.get();
    }
    printer->setDocName(windowTitle());
    if (preview) {
        QPrintPreviewDialog dialog(printer, window());
        connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
                [this](QPrinter* target) { PrintPage(*target, true); });
        dialog.exec();
        return;
    }
    QPrintDialog dialog(printer, window());
    if (dialog.exec() == QDialog::Accepted) {
        doc->FixPageSize();
        PrintPage(*printer, false);
    }
    doc->FixPageSize();
}
