// Painting of the plot: the track log, the waypoints' symbols, names and dots, the scale
// bar and the north arrow.

#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "edit/CDataView.h"
#include "edit/CPlotView.h"
#include "edit/SymbolImages.h"
#include "framework/Cp1252.h"
#include "gps/CDataDoc.h"

namespace {

const QColor kTrackColour(200, 40, 40);
const QColor kRouteColour(40, 80, 200);
const QColor kDotColour(120, 20, 20);
const QColor kWaypointDotColour(110, 140, 210);

PixelRect ToPixelRect(const QRect& r)
{
    return {r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

// Cuts the segment a-b to `r` (Liang-Barsky); false when nothing of it lies inside. Keeps
// far-away ends out of the painter, whose fixed-point rasteriser they would overflow.
bool ClipSegment(PixelPoint& a, PixelPoint& b, const PixelRect& r)
{
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    double t0 = 0;
    double t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - r.left, r.right - a.x, a.y - r.top, r.bottom - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) {
                return false;
            }
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        if (t0 > t1) {
            return false;
        }
    }
    const PixelPoint start{a.x + t0 * dx, a.y + t0 * dy};
    b = {a.x + t1 * dx, a.y + t1 * dy};
    a = start;
    return true;
}

// The 16-pixel pictures of the symbols the plot has shown so far.
const QPixmap& CachedSymbol(uint16_t symbol)
{
    static std::unordered_map<uint16_t, QPixmap> symbols;
    auto [it, fresh] = symbols.try_emplace(symbol);
    if (fresh) {
        it->second = FullSymbolImage(symbol, 16);
    }
    return it->second;
}

}  // namespace

void CPlotView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    PaintPlot(painter, event->rect());
}

void CPlotView::PaintPlot(QPainter& painter, const QRect& clip)
{
    painter.fillRect(clip, Qt::white);
    const PixelRect area = ToPixelRect(clip);
    // Waypoints covered by others are dots under the track, so that the track shows through
    // a crowd of them; symbols and names go on top.
    PaintWaypoints(painter, area, false);
    PaintTrack(painter, area);
    PaintRoutes(painter);
    PaintWaypoints(painter, area, true);
    PaintLive(painter);
    PaintOverlays(painter);
}

void CPlotView::PaintTrack(QPainter& painter, const PixelRect& clip)
{
    if (trackpoints_.empty()) {
        return;
    }
    // Lines are cut to a little more than the area, so that their pens reach its edges.
    const PixelRect bounds{clip.left - 4, clip.top - 4, clip.right + 4, clip.bottom + 4};
    const std::vector<PixelPoint>& pixels = trackPixels_;
    // Segments with both ends on one side beyond `bounds` are left out at once.
    auto outside = [&bounds](const PixelPoint& a, const PixelPoint& b) {
        return (a.x < bounds.left && b.x < bounds.left) ||
               (a.x >= bounds.right && b.x >= bounds.right) ||
               (a.y < bounds.top && b.y < bounds.top) ||
               (a.y >= bounds.bottom && b.y >= bounds.bottom);
    };
    painter.setPen(QPen(kTrackColour, 1.5));
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPolygonF run;
    auto flush = [&] {
        if (run.size() > 1) {
            painter.drawPolyline(run);
        }
        run.clear();
    };
    for (size_t i = 0; i < pixels.size(); ++i) {
        if (StartsTrack(trackpoints_, i)) {
            flush();
            continue;
        }
        PixelPoint a = pixels[i - 1];
        PixelPoint b = pixels[i];
        if (outside(a, b) || !ClipSegment(a, b, bounds)) {
            flush();
            continue;
        }
        const QPointF from(a.x, a.y);
        const QPointF to(b.x, b.y);
        if (run.isEmpty() || run.back() != from) {
            flush();
            run.append(from);
        }
        // Points that fall on the pixel of the one before add nothing to the line.
        if (std::lround(to.x()) != std::lround(run.back().x()) ||
            std::lround(to.y()) != std::lround(run.back().y()) || i + 1 == pixels.size()) {
            run.append(to);
        }
    }
    flush();

    const bool dots = trackDots_;
    const PixelRect dotArea{clip.left - 3, clip.top - 3, clip.right + 3, clip.bottom + 3};
    for (size_t i = 0; i < pixels.size(); ++i) {
        const bool selected = selectedTrackpoints_[i] != 0;
        if ((!dots && !selected) || !dotArea.Contains(pixels[i])) {
            continue;
        }
        if (selected) {
            painter.fillRect(QRectF(pixels[i].x - 3, pixels[i].y - 3, 7, 7),
                             palette().color(QPalette::Highlight));
        } else {
            painter.fillRect(QRectF(pixels[i].x - 1.5, pixels[i].y - 1.5, 3, 3), kDotColour);
        }
    }
}

void CPlotView::PaintRoutes(QPainter& painter)
{
    if (routePoints_.empty()) {
        return;
    }
    QPen pen(kRouteColour, 1.5, Qt::DashLine);
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const auto& route : routePoints_) {
        QPolygonF line;
        for (const PlotPoint& p : route) {
            const PixelPoint pixel = viewport_.ToPixel(p);
            line.append(QPointF(pixel.x, pixel.y));
        }
        painter.setPen(pen);
        painter.drawPolyline(line);
        painter.setPen(QPen(kRouteColour, 1.5));
        for (const QPointF& point : line) {
            painter.drawEllipse(point, 3, 3);
        }
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
}

void CPlotView::PaintWaypoints(QPainter& painter, const PixelRect& clip, bool symbols)
{
    const bool moving = gesture_ == Gesture::Move && dragging_;
    const QPointF offset = moving ? lastPosition_ - pressPosition_ : QPointF();
    const QColor highlight = palette().color(QPalette::Highlight);
    const QColor highlightText = palette().color(QPalette::HighlightedText);
    const int half = markSize_.symbol / 2;
    // The reach of a mark around its point, as WaypointArea has it, for a quick test.
    const PixelRect reach = WaypointArea({0, 0}, markSize_);
    const double left = clip.left - reach.right;
    const double right = clip.right - reach.left;
    const double top = clip.top - reach.bottom;
    const double bottom = clip.bottom - reach.top;
    for (size_t i = 0; i < waypoints_.size(); ++i) {
        const Mark mark = marks_[i];
        const bool selected = selectedWaypoints_[i] != 0;
        if (mark == Mark::Hidden && !selected) {
            continue;
        }
        PixelPoint p = waypointPixels_[i];
        if (moving && selected) {
            p.x += offset.x();
            p.y += offset.y();
        }
        if (p.x <= left || p.x >= right || p.y <= top || p.y >= bottom) {
            continue;
        }
        const QPointF at(std::round(p.x), std::round(p.y));
        const bool dot = mark == Mark::Dot && !selected;
        if (dot != !symbols) {
            continue;
        }
        if (dot) {
            painter.fillRect(QRectF(at.x() - 1, at.y() - 1, 2, 2), kWaypointDotColour);
            continue;
        }
        if (selected) {
            painter.fillRect(QRectF(at.x() - half - 1, at.y() - half - 1, markSize_.symbol + 2,
                                    markSize_.symbol + 2),
                             highlight);
        }
        painter.drawPixmap(QPointF(at.x() - half, at.y() - half),
                           CachedSymbol(waypointSymbols_[i]));
        if (mark != Mark::Labelled && !selected) {
            continue;
        }
        const QString name = fontMetrics().elidedText(
            QString::fromStdString(Cp1252ToUtf8(waypointNames_[i])), Qt::ElideRight,
            markSize_.labelWidth);
        const QRectF label(at.x() + half + 3, at.y() - markSize_.labelHeight / 2.0,
                           markSize_.labelWidth, markSize_.labelHeight);
        if (selected) {
            const double textWidth = fontMetrics().horizontalAdvance(name) + 2;
            painter.fillRect(QRectF(label.topLeft(), QSizeF(textWidth, label.height())), highlight);
            painter.setPen(highlightText);
        } else {
            painter.setPen(Qt::black);
        }
        painter.drawText(label, Qt::AlignLeft | Qt::AlignVCenter, name);
    }
}

void CPlotView::PaintOverlays(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing, true);
    // The scale bar at the bottom left.
    const ScaleBar bar = ChooseScaleBar(viewport_.PixelsPerMetre(), std::max(width() / 4, 40));
    if (bar.pixels > 0) {
        const int x = 10;
        const int y = height() - 12;
        painter.setPen(QPen(Qt::black, 2));
        painter.drawLine(x, y, x + bar.pixels, y);
        painter.drawLine(x, y - 4, x, y + 2);
        painter.drawLine(x + bar.pixels, y - 4, x + bar.pixels, y + 2);
        painter.setPen(Qt::black);
        painter.drawText(QPoint(x + 2, y - 6), QString::fromStdString(bar.label));
    }
    // The north arrow at the top right.
    const QPointF tip(width() - 20, 10);
    QPainterPath arrow;
    arrow.moveTo(tip);
    arrow.lineTo(tip + QPointF(7, 20));
    arrow.lineTo(tip + QPointF(0, 15));
    arrow.lineTo(tip + QPointF(-7, 20));
    arrow.closeSubpath();
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::black);
    painter.drawPath(arrow);
    painter.drawText(QRectF(tip.x() - 10, tip.y() + 20, 20, 16), Qt::AlignCenter,
                     QStringLiteral("N"));
    painter.setBrush(Qt::NoBrush);
    painter.setRenderHint(QPainter::Antialiasing, false);
}
