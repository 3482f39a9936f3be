// Painting of the map view: the page with its objects, the help grid and the desk around
// it, on screen and for the printer.

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "draw/model/CDrawDoc.h"
#include "draw/paint/QtGdiPainter.h"
#include "draw/view/CDrawView.h"
#include "framework/PositionMarker.h"

namespace {

QColor ViewColour(COLORREF c)
{
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

}  // namespace

void CDrawView::PaintPage(QPainter& painter, const CRect& docRect, bool printing) const
{
    CDrawDoc* doc = GetDocument();
    if (!doc) {
        return;
    }
    CRect page{0, 0, pageSize_.cx, pageSize_.cy};
    CRect paper = CRect::Intersection(page, docRect);
    if (!paper.IsRectEmpty()) {
        painter.fillRect(QRect(paper.left, paper.top, int(paper.Width()), int(paper.Height())),
                         ViewColour(doc->PaperColour()));
    }
    QtGdiPainter dc(painter, printing);
    if (printing) {
        // The sheet shows the page alone: an object reaching beyond it is cut at its edge.
        painter.save();
        painter.setClipRect(QRect(0, 0, pageSize_.cx, pageSize_.cy), Qt::IntersectClip);
        doc->Draw(dc, nullptr);
        painter.restore();
        return;
    }
    // Only what can reach the area is painted: the handles reach 5 pixels beyond objects.
    int32_t reach = 1 + (5 * 100 + zoom_ - 1) / zoom_;
    CRect area = InflateRect(docRect, reach, reach, reach, reach);
    doc->Draw(dc, const_cast<CDrawView*>(this), &area);
}

void CDrawView::PaintGrid(QPainter& painter) const
{
    CDrawDoc* doc = GetDocument();
    if (!doc) {
        return;
    }
    // The grid covers the page: dotted lines every 100 units, dashed ones through its centre,
    // the outline along its edges.
    CSize size = doc->GetPageSize();
    const int left = 0, top = 0, right = size.cx, bottom = size.cy;
    const int centreX = size.cx / 2, centreY = size.cy / 2;
    painter.save();
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(ViewColour(doc->PaperColour()));
    QPen pen(ViewColour(gridColour_), 1, Qt::DashLine);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.drawLine(centreX, top, centreX, bottom);
    painter.drawLine(left, centreY, right, centreY);
    pen.setStyle(Qt::DotLine);
    painter.setPen(pen);
    for (int x = left + 100; x < right; x += 100) {
        if (x != centreX) {
            painter.drawLine(x, top, x, bottom);
        }
    }
    for (int y = top + 100; y < bottom; y += 100) {
        if (y != centreY) {
            painter.drawLine(left, y, right, y);
        }
    }
    pen.setStyle(Qt::SolidLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(QPolygon({QPoint(left, top), QPoint(right, top), QPoint(right, bottom),
                                   QPoint(left, bottom), QPoint(left, top)}));
    painter.restore();
}

void CDrawView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const QRect dirty = event->rect();
    const QPoint scroll = ScrollOffset();
    const double scale = zoom_ / 100.0;
    auto toDocument = [&](QPainter& p, QPoint origin) {
        p.translate(-scroll - origin);
        p.scale(scale, scale);
    };
    // Beyond the page lies the desk.
    painter.fillRect(dirty, palette().color(QPalette::Dark));

    CPoint a = ViewToDoc(CPoint{dirty.left(), dirty.top()});
    CPoint b = ViewToDoc(CPoint{dirty.right() + 1, dirty.bottom() + 1});
    CRect docRect = InflateRect({a.x, a.y, b.x, b.y}, 0, 0, 1, 1);
    if (OffscreenDrawing()) {
        // Through an image of the dirty area, as a printer would see it, then onto the window.
        qreal ratio = viewport()->devicePixelRatioF();
        QImage image(dirty.size() * ratio, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(palette().color(QPalette::Dark));
        {
            QPainter offscreen(&image);
            toDocument(offscreen, dirty.topLeft());
            PaintPage(offscreen, docRect, false);
        }
        painter.drawImage(dirty.topLeft(), image);
    } else {
        painter.save();
        painter.setClipRect(dirty);
        toDocument(painter, QPoint());
        PaintPage(painter, docRect, false);
        painter.restore();
    }
    if (grid_) {
        painter.save();
        toDocument(painter, QPoint());
        PaintGrid(painter);
        painter.restore();
    }
    PaintPageMarker(painter);
    // The focus rectangles of a rubber-band selection and of a drop: dotted, seen on any
    // colour.
    for (const QRect& focus : {rubberBand_, dropRect_}) {
        if (focus.isNull()) {
            continue;
        }
        QPen pen(Qt::white, 1);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        QRect band = focus.normalized().adjusted(0, 0, -1, -1);
        painter.drawRect(band);
        pen.setColor(Qt::black);
        pen.setStyle(Qt::DotLine);
        painter.setPen(pen);
        painter.drawRect(band);
    }
}

QRect CDrawView::PageMarkerArea() const
{
    if (!marker_) {
        return {};
    }
    const CPoint at = DocToView(marker_->at);
    const int reach = static_cast<int>(std::min(marker_->errorUnits * zoom_ / 100.0, 1e5)) + 18;
    return QRect(at.x - reach, at.y - reach, 2 * reach + 1, 2 * reach + 1);
}

void CDrawView::SetPageMarker(const std::optional<PageMarker>& marker)
{
    const QRect before = PageMarkerArea();
    marker_ = marker;
    viewport()->update(before.united(PageMarkerArea()));
}

void CDrawView::PaintPageMarker(QPainter& painter)
{
    if (!marker_) {
        return;
    }
    const CPoint at = DocToView(marker_->at);
    std::optional<QPointF> heading;
    if (marker_->ahead) {
        const CPoint ahead = DocToView(*marker_->ahead);
        heading = QPointF(ahead.x - at.x, ahead.y - at.y);
    }
    PaintPositionMarker(painter, QPointF(at.x, at.y), marker_->errorUnits * zoom_ / 100.0, heading,
                        marker_->receiving);
}
