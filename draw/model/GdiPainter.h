#pragma once

#include <cstddef>
#include <string_view>

#include "draw/model/GdiTypes.h"
#include "framework/Geometry.h"

class CDrawItem;
class LogFontA;

// Styles of the frame an embedded object shows (DrawTracker), combinable.
enum TrackerStyle : unsigned {
    TRACKER_SOLID_LINE = 1,
    TRACKER_DOTTED_LINE = 2,
    TRACKER_HATCH_INSIDE = 32,  // the object is open in another program
};

// What drawing objects paint on: a device context with GDI's rules, in document units (one
// unit per device pixel unless the painter scales). Rectangles exclude their right and
// bottom edges. A null pen draws no outline (NULL_PEN), a null brush fills nothing
// (NULL_BRUSH); pens and brushes handed in can be created (CanCreatePen, CanCreateBrush).
// Closed figures keep a PS_INSIDEFRAME pen inside their rectangle (a pen as wide as the
// figure fills it); without a pen they fill one unit less to the right and bottom. No pen
// paints farther than its width beyond a figure's rectangle or points.
class GdiPainter {
public:
    virtual ~GdiPainter() = default;

    // True while printing: objects then leave out what only the screen shows.
    virtual bool IsPrinting() const = 0;

    virtual void Rectangle(const CRect& r, const LogPen* pen, const LogBrush* brush) = 0;
    // Corners rounded by an ellipse of `ellipse.x` by `ellipse.y`, clamped to the rectangle.
    virtual void RoundRect(const CRect& r, CPoint ellipse, const LogPen* pen,
                           const LogBrush* brush) = 0;
    virtual void Ellipse(const CRect& r, const LogPen* pen, const LogBrush* brush) = 0;
    // From `from` to `to`; a one-pixel pen leaves out the end point.
    virtual void Line(CPoint from, CPoint to, const LogPen* pen) = 0;
    // Closed and filled alternately (even-odd).
    virtual void Polygon(const CPoint* points, size_t count, const LogPen* pen,
                         const LogBrush* brush) = 0;
    // Open; the last point is left out as by Line.
    virtual void Polyline(const CPoint* points, size_t count, const LogPen* pen) = 0;

    // Windows-1252 `text`, its lines broken by CR LF, CR or LF, left and top aligned in `r`,
    // wrapped between words and clipped to `r`. In `font`, or the painter's current font when
    // null (or when the font cannot be made); in the painter's text colour; unless
    // `transparent`, on the painter's background colour behind each line.
    virtual void DrawText(std::string_view text, const CRect& r, const LogFontA* font,
                          bool transparent) = 0;

    // Inverts the colours of `r`.
    virtual void InvertRect(const CRect& r) = 0;
    // A selection handle at `p`: the 7 x 7 square from p - 3 to p + 4 inverted. A painter
    // that zooms keeps it 7 device pixels wide.
    virtual void InvertHandle(CPoint p) { InvertRect(RectAround(p, 3, 3, 4, 4)); }

    // The embedded object's picture (or icon and name) fitted into `r`.
    virtual void DrawItem(const CDrawItem& item, const CRect& r) = 0;
    // The frame of an embedded object around `r`, by TrackerStyle bits.
    virtual void DrawTracker(const CRect& r, unsigned style) = 0;
};
