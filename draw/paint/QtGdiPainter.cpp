#include "draw/paint/QtGdiPainter.h"

#include <cmath>

#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QTextLine>

#include <algorithm>
#include <cstdlib>

#include "draw/paint/FigureMasks.h"
#include "draw/paint/ItemPictures.h"
#include "draw/paint/TextLayouts.h"

namespace {

constexpr double kLimit = 4194304.0;
constexpr int64_t kMaxPenWidth = 65535;

double Clamp(int64_t v)
{
    return std::clamp<double>(static_cast<double>(v), -kLimit, kLimit);
}

QPointF PixelCentre(CPoint p)
{
    return {Clamp(p.x) + 0.5, Clamp(p.y) + 0.5};
}

// Where an open line passes through pixel p: a one-pixel pen at the pixel's corner, which
// Qt's rasterizer draws from that pixel up to the one before the end; a wider pen at the
// pixel's centre, so that its width lies evenly around it.
QPointF LinePoint(CPoint p, double width)
{
    return width > 1 ? PixelCentre(p) : QPointF(Clamp(p.x), Clamp(p.y));
}

QRectF Box(const CRect& n)
{
    double left = Clamp(n.left);
    double top = Clamp(n.top);
    return {left, top, Clamp(n.right) - left, Clamp(n.bottom) - top};
}

QColor Colour(COLORREF c)
{
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

// GDI draws pens of width 0 one pixel wide.
double PenWidth(const LogPen& pen)
{
    return static_cast<double>(
        std::clamp<int64_t>(std::abs(int64_t{pen.width.x}), 1, kMaxPenWidth));
}

bool Dashed(const LogPen& pen)
{
    return pen.style >= PS_DASH && pen.style <= PS_DASHDOTDOT &&
           std::abs(int64_t{pen.width.x}) <= 1;
}

QList<qreal> DashPattern(uint32_t style)
{
    switch (style) {
    case PS_DASH:
        return {18, 6};
    case PS_DOT:
        return {3, 3};
    case PS_DASHDOT:
        return {9, 6, 3, 6};
    default:
        return {9, 3, 3, 3, 3, 3};
    }
}

Qt::BrushStyle HatchStyle(int32_t hatch)
{
    switch (hatch) {
    case HS_HORIZONTAL:
        return Qt::HorPattern;
    case HS_VERTICAL:
        return Qt::VerPattern;
    case HS_FDIAGONAL:
        return Qt::FDiagPattern;
    case HS_BDIAGONAL:
        return Qt::BDiagPattern;
    case HS_CROSS:
        return Qt::CrossPattern;
    default:
        return Qt::DiagCrossPattern;
    }
}

// Antialiasing off for the life of the object (GDI does not smooth), and back on afterwards
// when it was on. Cheaper than QPainter::save() and restore(), which copy the whole state; the
// figures change nothing else of it.
class Aliased {
public:
    explicit Aliased(QPainter& painter)
        : painter_(painter), smooth_(painter.testRenderHint(QPainter::Antialiasing))
    {
        if (smooth_) {
            painter_.setRenderHint(QPainter::Antialiasing, false);
        }
    }
    ~Aliased()
    {
        if (smooth_) {
            painter_.setRenderHint(QPainter::Antialiasing, true);
        }
    }
    Aliased(const Aliased&) = delete;
    Aliased& operator=(const Aliased&) = delete;

private:
    QPainter& painter_;
    bool smooth_;
};

}  // namespace

QtGdiPainter::QtGdiPainter(QPainter& painter, bool printing)
    : painter_(painter), printing_(printing), currentFont_(FontOfRecord(LogFontA::SystemFont()))
{
}

const QPen& QtGdiPainter::PenOf(const LogPen& pen, bool open)
{
    if (penMade_ && pen == penRecord_ && open == penOpen_) {
        return pen_;
    }
    double width = PenWidth(pen);
    pen_ = QPen(Colour(pen.colour), width);
    if (width > 1) {
        pen_.setCapStyle(open ? Qt::RoundCap : Qt::FlatCap);
        pen_.setJoinStyle(open ? Qt::RoundJoin : Qt::MiterJoin);
        // A sharp corner's miter is cut off one pen width from its point (Qt's default cuts it
        // at two), so that a figure stays within the area its object claims (PaintedArea).
        pen_.setMiterLimit(1);
    } else {
        pen_.setCapStyle(Qt::FlatCap);
        pen_.setJoinStyle(Qt::MiterJoin);
    }
    if (Dashed(pen)) {
        pen_.setDashPattern(DashPattern(pen.style));
    }
    penRecord_ = pen;
    penOpen_ = open;
    penMade_ = true;
    return pen_;
}

const QBrush& QtGdiPainter::SolidBrush(COLORREF colour)
{
    if (!brushMade_ || colour != brushColour_) {
        brush_ = QBrush(Colour(colour));
        brushColour_ = colour;
        brushMade_ = true;
    }
    return brush_;
}

void QtGdiPainter::FillPath(const QPainterPath& path, const LogBrush& brush)
{
    if (brush.style == BS_SOLID) {
        painter_.fillPath(path, SolidBrush(brush.colour));
    } else if (brush.style == BS_HATCHED) {
        if (opaque_) {
            painter_.fillPath(path, Colour(backColour_));
        }
        painter_.fillPath(path, QBrush(Colour(brush.colour), HatchStyle(brush.hatch)));
    }
}

void QtGdiPainter::StrokePath(const QPainterPath& path, const LogPen& pen, bool open)
{
    const QPen& qpen = PenOf(pen, open);
    if (Dashed(pen) && opaque_) {
        QPen gaps = qpen;
        gaps.setStyle(Qt::SolidLine);
        gaps.setColor(Colour(backColour_));
        painter_.strokePath(path, gaps);
    }
    painter_.strokePath(path, qpen);
}

bool QtGdiPainter::OnWholePixels(const QRectF& box) const
{
    const QPaintEngine* engine = painter_.paintEngine();
    const QPaintDevice* target = engine ? engine->paintDevice() : nullptr;
    const QTransform& device = painter_.deviceTransform();
    if (!target || engine->type() != QPaintEngine::Raster ||
        device.type() > QTransform::TxTranslate || device.m11() != 1 || device.m22() != 1 ||
        device.m12() != 0 || device.m21() != 0 || device.dx() != std::floor(device.dx()) ||
        device.dy() != std::floor(device.dy()) ||
        painter_.compositionMode() != QPainter::CompositionMode_SourceOver ||
        painter_.opacity() != 1.0) {
        return false;
    }
    QRectF pixels = box.translated(device.dx(), device.dy());
    return pixels.left() >= 0 && pixels.top() >= 0 && pixels.right() <= target->width() &&
           pixels.bottom() <= target->height();
}

bool QtGdiPainter::RectangleOnPixels(const QRectF& box, const LogPen* pen, const LogBrush* brush)
{
    if ((brush && brush->style != BS_SOLID) ||
        (pen && (Dashed(*pen) || (pen->style != PS_INSIDEFRAME && PenWidth(*pen) > 1))) ||
        !OnWholePixels(box)) {
        return false;
    }
    Aliased aliased(painter_);
    if (brush) {
        painter_.fillRect(pen ? box : box.adjusted(0, 0, -1, -1), Colour(brush->colour));
    }
    if (pen) {
        // The inside-frame pen as the band of its width along the edges; a band as wide as
        // the rectangle covers it.
        double width = PenWidth(*pen);
        QColor colour = Colour(pen->colour);
        if (2 * width >= box.width() || 2 * width >= box.height()) {
            painter_.fillRect(box, colour);
        } else {
            double inner = box.height() - 2 * width;
            painter_.fillRect(QRectF(box.left(), box.top(), box.width(), width), colour);
            painter_.fillRect(QRectF(box.left(), box.top() + width, width, inner), colour);
            painter_.fillRect(QRectF(box.right() - width, box.top() + width, width, inner), colour);
            painter_.fillRect(QRectF(box.left(), box.bottom() - width, box.width(), width), colour);
        }
    }
    return true;
}

void QtGdiPainter::ClosedFigure(Figure figure, const CRect& r, CPoint ellipse, const LogPen* pen,
                                const LogBrush* brush)
{
    CRect n = r.Normalized();
    if (n.IsRectEmpty()) {
        return;
    }
    QRectF box = Box(n);
    double ew = std::min<double>(std::abs(int64_t{ellipse.x}), box.width());
    double eh = std::min<double>(std::abs(int64_t{ellipse.y}), box.height());
    auto shape = [&](const QRectF& rect, double inset) {
        QPainterPath path;
        if (figure == Figure::rectangle) {
            path.addRect(rect);
        } else if (figure == Figure::ellipse) {
            path.addEllipse(rect);
        } else {
            path.addRoundedRect(rect, std::max(0.0, ew / 2 - inset), std::max(0.0, eh / 2 - inset));
        }
        return path;
    };
    bool outline = pen && pen->style != PS_NULL;
    bool filled = brush && brush->style != BS_NULL;
    if (figure == Figure::rectangle &&
        RectangleOnPixels(box, outline ? pen : nullptr, filled ? brush : nullptr)) {
        return;
    }
    Aliased aliased(painter_);
    // Without an outline GDI fills one unit less to the right and bottom.
    QRectF fill = outline ? box : box.adjusted(0, 0, -1, -1);
    double width = outline ? PenWidth(*pen) : 0;
    bool inside = outline && (pen->style == PS_INSIDEFRAME || width == 1 || Dashed(*pen));
    double inset = inside ? width / 2 : 0.5;
    double half = width / 2;
    QRectF centre = box.adjusted(inset, inset, -inset, -inset);
    // A pen that covers the whole figure fills it: stroking would turn back on itself at the
    // ends of the flat path, and the miters of those turns would reach far beyond it.
    bool covered = centre.width() <= 0 || centre.height() <= 0;
    // Part 0 is the fill, part 1 the outline. On this painter they paint as they always did
    // (hatches, dashes with their gaps, the pen and brush kept for the engine); on the scratch
    // painter of FigureMasks, in the colour given.
    auto paint = [&](QPainter& painter, int part, const QColor& colour) {
        bool own = &painter == &painter_;
        if (part == 0) {
            if (own) {
                FillPath(shape(fill, 0), *brush);
            } else {
                painter.fillPath(shape(fill, 0), colour);
            }
        } else if (covered) {
            QRectF outer = centre.adjusted(-half, -half, half, half);
            painter.fillPath(shape(outer, inset - half), own ? Colour(pen->colour) : colour);
        } else if (own) {
            StrokePath(shape(centre, inset), *pen, false);
        } else {
            QPen coloured = PenOf(*pen, false);
            coloured.setColor(colour);
            painter.strokePath(shape(centre, inset), coloured);
        }
    };
    QColor fillColour = filled ? Colour(brush->colour) : QColor();
    QColor penColour = outline ? Colour(pen->colour) : QColor();
    if (figure != Figure::rectangle && (!filled || brush->style == BS_SOLID) &&
        (!outline || !Dashed(*pen))) {
        int reach = static_cast<int>(std::ceil(width)) + 3;
        FigureKey key{static_cast<int>(figure),
                      n.left,
                      n.top,
                      n.right,
                      n.bottom,
                      ellipse.x,
                      ellipse.y,
                      width,
                      inside,
                      filled};
        PaintFigure(painter_, key, box.toAlignedRect().adjusted(-reach, -reach, reach, reach),
                    fillColour, penColour, paint);
        return;
    }
    if (filled) {
        paint(painter_, 0, fillColour);
    }
    if (outline) {
        paint(painter_, 1, penColour);
    }
}

void QtGdiPainter::Rectangle(const CRect& r, const LogPen* pen, const LogBrush* brush)
{
    ClosedFigure(Figure::rectangle, r, {}, pen, brush);
}

void QtGdiPainter::RoundRect(const CRect& r, CPoint ellipse, const LogPen* pen,
                             const LogBrush* brush)
{
    ClosedFigure(Figure::roundRect, r, ellipse, pen, brush);
}

void QtGdiPainter::Ellipse(const CRect& r, const LogPen* pen, const LogBrush* brush)
{
    ClosedFigure(Figure::ellipse, r, {}, pen, brush);
}

void QtGdiPainter::Line(CPoint from, CPoint to, const LogPen* pen)
{
    if (!pen || pen->style == PS_NULL || (from == to && PenWidth(*pen) <= 1)) {
        return;
    }
    double width = PenWidth(*pen);
    QPainterPath path(LinePoint(from, width));
    path.lineTo(LinePoint(to, width));
    Aliased aliased(painter_);
    StrokePath(path, *pen, true);
}

void QtGdiPainter::Polygon(const CPoint* points, size_t count, const LogPen* pen,
                           const LogBrush* brush)
{
    if (count < 2) {
        return;
    }
    Aliased aliased(painter_);
    if (brush && brush->style != BS_NULL) {
        QPainterPath area;
        area.setFillRule(Qt::OddEvenFill);
        area.moveTo(Clamp(points[0].x), Clamp(points[0].y));
        for (size_t i = 1; i < count; ++i) {
            area.lineTo(Clamp(points[i].x), Clamp(points[i].y));
        }
        area.closeSubpath();
        FillPath(area, *brush);
    }
    if (pen && pen->style != PS_NULL) {
        QPainterPath outline(PixelCentre(points[0]));
        for (size_t i = 1; i < count; ++i) {
            outline.lineTo(PixelCentre(points[i]));
        }
        outline.closeSubpath();
        StrokePath(outline, *pen, false);
    }
}

void QtGdiPainter::Polyline(const CPoint* points, size_t count, const LogPen* pen)
{
    if (count < 2 || !pen || pen->style == PS_NULL) {
        return;
    }
    double width = PenWidth(*pen);
    QPainterPath path(LinePoint(points[0], width));
    for (size_t i = 1; i < count; ++i) {
        path.lineTo(LinePoint(points[i], width));
    }
    Aliased aliased(painter_);
    StrokePath(path, *pen, true);
}

void QtGdiPainter::DrawText(std::string_view text, const CRect& r, const LogFontA* font,
                            bool transparent)
{
    CRect n = r.Normalized();
    if (n.IsRectEmpty()) {
        return;
    }
    QRectF box = Box(n);
    const std::vector<TextParagraph>& paragraphs =
        LaidOutText(text, font ? FontOfRecord(*font) : currentFont_, box.width(), box.height(),
                    painter_.device());

    painter_.save();
    painter_.setClipRect(box, Qt::IntersectClip);
    painter_.setPen(Colour(textColour_));
    for (const TextParagraph& paragraph : paragraphs) {
        double y = box.top() + paragraph.top;
        if (!transparent && opaque_) {
            for (int i = 0; i < paragraph.layout->lineCount(); ++i) {
                QTextLine line = paragraph.layout->lineAt(i);
                painter_.fillRect(QRectF(box.left() + line.x(), y + line.y(),
                                         line.naturalTextWidth(), line.height()),
                                  Colour(backColour_));
            }
        }
        paragraph.layout->draw(&painter_, QPointF(box.left(), y));
    }
    painter_.restore();
}

void QtGdiPainter::InvertRect(const CRect& r)
{
    CRect n = r.Normalized();
    QPaintEngine* engine = painter_.paintEngine();
    if (n.IsRectEmpty() || !engine || !engine->hasFeature(QPaintEngine::RasterOpModes)) {
        return;
    }
    painter_.save();
    painter_.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter_.fillRect(Box(n), Qt::black);
    painter_.restore();
}

void QtGdiPainter::InvertHandle(CPoint p)
{
    QTransform transform = painter_.transform();
    QPaintEngine* engine = painter_.paintEngine();
    if (transform.type() <= QTransform::TxTranslate || !engine ||
        !engine->hasFeature(QPaintEngine::RasterOpModes)) {
        GdiPainter::InvertHandle(p);
        return;
    }
    // Zoomed: the square stays 7 pixels wide around the handle's pixel.
    QPointF centre = transform.map(QPointF(Clamp(p.x), Clamp(p.y)));
    QRectF square(std::floor(centre.x()) - 3, std::floor(centre.y()) - 3, 7, 7);
    painter_.save();
    painter_.resetTransform();
    painter_.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter_.fillRect(square, Qt::black);
    painter_.restore();
}

void QtGdiPainter::DrawItem(const CDrawItem& item, const CRect& r)
{
    CRect n = r.Normalized();
    if (!n.IsRectEmpty()) {
        PaintItem(painter_, item, Box(n));
    }
}

void QtGdiPainter::DrawTracker(const CRect& r, unsigned style)
{
    CRect n = r.Normalized();
    if (n.IsRectEmpty()) {
        return;
    }
    QRectF box = Box(n);
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing, false);
    if (style & TRACKER_HATCH_INSIDE) {
        painter_.fillRect(box, QBrush(Qt::black, Qt::BDiagPattern));
    }
    if (style & (TRACKER_SOLID_LINE | TRACKER_DOTTED_LINE)) {
        QPen frame(Qt::black, 1);
        frame.setJoinStyle(Qt::MiterJoin);
        if (!(style & TRACKER_SOLID_LINE)) {
            frame.setDashPattern(DashPattern(PS_DOT));
        }
        painter_.setPen(frame);
        painter_.setBrush(Qt::NoBrush);
        painter_.drawRect(box.adjusted(0.5, 0.5, -0.5, -0.5));
    }
    painter_.restore();
}
