#pragma once

#include "framework/Geometry.h"

// The arithmetic of a map view, free of any window: zoom and scrolling, the scroll area, the
// printed page's scale and the area an object repaints.

// Document units and client pixels of a view that shows the page at `zoom` percent (100:
// one unit per pixel), scrolled by `scroll` client pixels. Exact for every int32 point:
// points that would leave the int32 range are clamped.
struct ViewTransform {
    int zoom = 100;
    CPoint scroll;

    CPoint DocToView(CPoint p) const;
    // The document point whose unit square holds the client pixel (rounded down).
    CPoint ViewToDoc(CPoint p) const;
    // The client pixels a document length covers, rounded up.
    int32_t Pixels(int64_t units) const;
};

// The zoom steps a view offers, in percent, and the next one up or down from `zoom`.
int NextZoom(int zoom, bool larger);
constexpr int MIN_ZOOM = 25;
constexpr int MAX_ZOOM = 800;

// The factor that multiplies the page into the scroll area: 800 divided by the larger
// resolution of the device in pixels (integer division), 1 when that gives 0.
int ScaleFactor(int largerResolution);

// Printer pixels per document unit for a printable area of `width` x `height` pixels: the
// page fills it with its aspect kept. A device of 800 pixels or fewer keeps ScaleFactor.
double PrintScale(int width, int height, CSize page);

// The client pixels an object repaints: the normalized client rectangle of its position,
// widened by the handles (4 left, 5 top, 5 right, 4 bottom, which a handle's 7-pixel square
// never passes) when they are shown, and by one pixel all round.
CRect RepaintArea(const CRect& clientPosition, bool handlesShown);
