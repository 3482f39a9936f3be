#pragma once

#include <QBrush>
#include <QFont>
#include <QPen>

#include "draw/model/GdiPainter.h"

class QPainter;
class QPainterPath;
class QRectF;

// A GdiPainter on a QPainter, painting as GDI does: without antialiasing, one document unit
// per painter unit, rectangles without their right and bottom edge, closed figures inside
// an inside-frame pen, dashes only on one-pixel pens, hatches and dash gaps in the background
// colour while the background mode is opaque. Like a fresh device context it starts with
// black text on an opaque white background in the stock system font.
//
// Each call leaves the QPainter's state as it found it. Coordinates beyond +-4194304 are
// clamped (nothing of that lies on a page).
class QtGdiPainter : public GdiPainter {
public:
    explicit QtGdiPainter(QPainter& painter, bool printing = false);

    void SetTextColor(COLORREF colour) { textColour_ = colour; }
    void SetBkColor(COLORREF colour) { backColour_ = colour; }
    // Opaque (true) or transparent background for text, dashes and hatches.
    void SetBkMode(bool opaque) { opaque_ = opaque; }
    // The font texts without a font of their own are drawn in.
    void SetCurrentFont(const QFont& font) { currentFont_ = font; }

    bool IsPrinting() const override { return printing_; }
    void Rectangle(const CRect& r, const LogPen* pen, const LogBrush* brush) override;
    void RoundRect(const CRect& r, CPoint ellipse, const LogPen* pen,
                   const LogBrush* brush) override;
    void Ellipse(const CRect& r, const LogPen* pen, const LogBrush* brush) override;
    void Line(CPoint from, CPoint to, const LogPen* pen) override;
    void Polygon(const CPoint* points, size_t count, const LogPen* pen,
                 const LogBrush* brush) override;
    void Polyline(const CPoint* points, size_t count, const LogPen* pen) override;
    void DrawText(std::string_view text, const CRect& r, const LogFontA* font,
                  bool transparent) override;
    void InvertRect(const CRect& r) override;
    void InvertHandle(CPoint p) override;
    void DrawItem(const CDrawItem& item, const CRect& r) override;
    void DrawTracker(const CRect& r, unsigned style) override;

private:
    enum class Figure { rectangle, roundRect, ellipse };
    void ClosedFigure(Figure figure, const CRect& r, CPoint ellipse, const LogPen* pen,
                      const LogBrush* brush);
    // True when `box` falls on whole pixels inside the device of a raster engine (no scaling,
    // shifts by whole pixels) and painting covers opaquely (source over, full opacity). Qt's
    // pens clip what reaches beyond the device on their own terms: not so `box`.
    bool OnWholePixels(const QRectF& box) const;
    // A rectangle with a solid brush and a solid pen kept inside it, filled straight onto
    // whole pixels: the pixels a path of it would cover, without building and scanning one.
    // False, having painted nothing, for other pens and brushes or when the rectangle is not
    // OnWholePixels.
    bool RectangleOnPixels(const QRectF& box, const LogPen* pen, const LogBrush* brush);
    // The Qt pen of a pen record for open or closed figures, and the brush of a solid colour.
    // The same record gives the same object again, which the raster engine recognises and
    // then keeps what it prepared for it.
    const QPen& PenOf(const LogPen& pen, bool open);
    const QBrush& SolidBrush(COLORREF colour);
    void FillPath(const QPainterPath& path, const LogBrush& brush);
    void StrokePath(const QPainterPath& path, const LogPen& pen, bool open);

    QPainter& painter_;
    bool printing_;
    COLORREF textColour_ = 0;
    COLORREF backColour_ = 0xFFFFFF;
    bool opaque_ = true;
    QFont currentFont_;
    bool penMade_ = false;
    LogPen penRecord_;
    bool penOpen_ = false;
    QPen pen_;
    bool brushMade_ = false;
    COLORREF brushColour_ = 0;
    QBrush brush_;
};
