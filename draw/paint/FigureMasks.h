#pragma once

#include <functional>

#include <QColor>
#include <QRect>

class QPainter;

// Rounded rectangles and ellipses painted again from bitmaps of the pixels they covered.
// Scanning their curves is most of the time a map takes to paint, and a map is painted over
// and over with the same figures in the same places (scrolling back, dragging, repainting).
// A figure's pixels depend on its geometry and pens and on the device transform; the key
// holds all of them, so that a changed object simply finds no bitmaps. The pixels are those
// Qt's raster engine covers for the figure, taken from a scratch image painted with the same
// transform, and set again in the figure's colours: the same pixels in the same colours.

// Everything but the colours that decides which pixels a figure covers.
struct FigureKey {
    int figure = 0;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int cornerX = 0;
    int cornerY = 0;
    double penWidth = 0;  // 0: no outline
    bool penInside = false;
    bool filled = false;

    bool operator==(const FigureKey&) const = default;
};

// Paints one part of a figure (0: the fill, 1: the outline) onto a painter in a colour.
using FigurePart = std::function<void(QPainter& painter, int part, const QColor& colour)>;

// Paints the figure's fill in `fill` and then its outline in `outline` (a part whose colour is
// invalid is left out), each through `paint` or from the bitmaps of an earlier paint.
// `reach` (painter units) holds every pixel the figure can cover. Bitmaps serve only where
// they give the same pixels: a raster engine on the GUI thread of a QGuiApplication, a device
// transform that shifts by whole pixels, source-over painting at full opacity, no
// antialiasing, and `reach` inside the device and its system clip. Elsewhere, and for a
// figure painted the first time, `paint` paints on `painter`; the second time takes the
// bitmaps and paints from them.
void PaintFigure(QPainter& painter, const FigureKey& key, const QRect& reach, const QColor& fill,
                 const QColor& outline, const FigurePart& paint);
