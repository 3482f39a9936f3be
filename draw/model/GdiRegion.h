#pragma once

#include <cstddef>

#include "framework/Geometry.h"

// The region tests of hit testing, on the pixel grid. A pixel (x, y) belongs to a figure when
// its centre (x + 0.5, y + 0.5) lies inside the figure (on the boundary counts as inside for
// ellipses and corners, and for a polygon's left edges but not its right ones). A rectangle
// touches a figure when one of its own pixels (left <= x < right, top <= y < bottom) does.

// The ellipse inscribed in `bounds` (normalized).
bool RectTouchesEllipse(const CRect& r, const CRect& bounds);

// `bounds` (normalized) with corners rounded by quarter ellipses of width |roundness.x| and
// height |roundness.y|, each at most the rectangle's width and height.
bool RectTouchesRoundRect(const CRect& r, const CRect& bounds, CPoint roundness);

// The polygon through `count` vertices, filled alternately (even-odd). `r` is taken as given:
// one whose left > right or top > bottom holds no pixel and touches nothing. The work grows
// with the pixel rows that `r` and the polygon share, times the polygon's edges.
bool RectTouchesPolygon(const CRect& r, const CPoint* vertices, size_t count);

// The segment from `from` to `to`, thickened by `reach` units all around: whether it meets
// the rectangle spanned by the centres of r's pixels. The segment runs through the centres of
// its end pixels, as a line drawn from `from` to `to` does. `r` is normalized first; an empty
// one touches nothing. Any int32 coordinates; whether the segment crosses the rectangle is
// decided exactly, the distance to it in double.
bool RectTouchesSegment(const CRect& r, CPoint from, CPoint to, double reach);
