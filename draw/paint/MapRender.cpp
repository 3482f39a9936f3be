#include "draw/paint/MapRender.h"

#include <QFileInfo>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include "draw/model/CDrawDoc.h"
#include "draw/paint/QtGdiPainter.h"

namespace {

constexpr int kUnitsPerInch = 96;

}  // namespace

void PaintMapPage(const CDrawDoc& doc, QPainter& painter)
{
    CSize page = doc.GetPageSize();
    COLORREF paper = doc.PaperColour();
    painter.fillRect(QRect(0, 0, page.cx, page.cy),
                     QColor(GetRValue(paper), GetGValue(paper), GetBValue(paper)));
    QtGdiPainter dc(painter);
    doc.Draw(dc, nullptr);
}

bool RenderMapFile(const CDrawDoc& doc, const std::string& path, std::string& error)
{
    QString file = QString::fromStdString(path);
    QString ending = QFileInfo(file).suffix().toLower();
    CSize page = doc.GetPageSize();
    if (ending == QLatin1String("png")) {
        QImage image(page.cx, page.cy, QImage::Format_RGB32);
        {
            QPainter painter(&image);
            PaintMapPage(doc, painter);
        }
        if (!image.save(file, "PNG")) {
            error = path + ": cannot write the picture";
            return false;
        }
        return true;
    }
    if (ending == QLatin1String("pdf")) {
        QPdfWriter writer(file);
        writer.setResolution(kUnitsPerInch);
        writer.setPageLayout(QPageLayout(
            QPageSize(QSizeF(page.cx * 72.0 / kUnitsPerInch, page.cy * 72.0 / kUnitsPerInch),
                      QPageSize::Point),
            QPageLayout::Portrait, QMarginsF()));
        writer.setCreator(QStringLiteral("OrviEdit"));
        QPainter painter;
        if (!painter.begin(&writer)) {
            error = path + ": cannot write the document";
            return false;
        }
        PaintMapPage(doc, painter);
        painter.end();
        return true;
    }
    if (ending == QLatin1String("svg")) {
        QSvgGenerator generator;
        generator.setFileName(file);
        generator.setSize(QSize(page.cx, page.cy));
        generator.setViewBox(QRect(0, 0, page.cx, page.cy));
        generator.setResolution(kUnitsPerInch);
        QPainter painter;
        if (!painter.begin(&generator)) {
            error = path + ": cannot write the drawing";
            return false;
        }
        PaintMapPage(doc, painter);
        painter.end();
        return true;
    }
    error = path + ": unknown picture type (expected .png, .pdf or .svg)";
    return false;
}
