#include "draw/model/GdiRegion.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

struct Rows {
    int64_t first;
    int64_t last;  // inclusive
};

// The pixel rows of `r` and `bounds` together, nearest first to `centre`; false when they
// share none. A row's span only narrows with distance from the centre row of an ellipse or
// rounded rectangle, so that row alone decides.
bool NearestSharedRow(const CRect& r, const CRect& bounds, double centre, int64_t& row)
{
    Rows rows{std::max<int64_t>(r.top, bounds.top), int64_t{std::min(r.bottom, bounds.bottom)} - 1};
    if (rows.first > rows.last) {
        return false;
    }
    row = std::clamp(static_cast<int64_t>(std::floor(centre)), rows.first, rows.last);
    return true;
}

// Whether pixels whose centres lie in [from, to] (document units) include one of the
// columns r.left ... r.right - 1 that `bounds` also covers.
bool SpanMeetsColumns(double from, double to, const CRect& r, const CRect& bounds)
{
    double first = std::max({std::ceil(from - 0.5), double(r.left), double(bounds.left)});
    double last = std::min({std::floor(to - 0.5), double(r.right) - 1, double(bounds.right) - 1});
    return first <= last;
}

// A rectangle of pixel centres, shifted by half a unit to integers: closed on every side.
struct CentreBox {
    int64_t left, top, right, bottom;
};

// Whether the segment a-b meets the closed box: their bounds overlap and the box's corners
// do not all lie strictly on one side of the segment's line. The cross products of two
// differences of int32 need 67 bits.
bool SegmentMeetsBox(const CentreBox& box, CPoint a, CPoint b)
{
    if (std::max(a.x, b.x) < box.left || std::min(a.x, b.x) > box.right ||
        std::max(a.y, b.y) < box.top || std::min(a.y, b.y) > box.bottom) {
        return false;
    }
    __int128 dx = int64_t{b.x} - a.x;
    __int128 dy = int64_t{b.y} - a.y;
    bool left = false;
    bool right = false;
    for (int64_t x : {box.left, box.right}) {
        for (int64_t y : {box.top, box.bottom}) {
            __int128 side = dx * (y - a.y) - dy * (x - a.x);
            left = left || side >= 0;
            right = right || side <= 0;
        }
    }
    return left && right;
}

double BoxDistance2(const CentreBox& box, double x, double y)
{
    double dx = x < box.left ? box.left - x : x > box.right ? x - box.right : 0;
    double dy = y < box.top ? box.top - y : y > box.bottom ? y - box.bottom : 0;
    return dx * dx + dy * dy;
}

double SegmentDistance2(double x, double y, CPoint a, CPoint b)
{
    double dx = double(b.x) - a.x;
    double dy = double(b.y) - a.y;
    double wx = x - a.x;
    double wy = y - a.y;
    double length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? std::clamp((wx * dx + wy * dy) / length2, 0.0, 1.0) : 0.0;
    double ex = wx - t * dx;
    double ey = wy - t * dy;
    return ex * ex + ey * ey;
}

}  // namespace

bool RectTouchesEllipse(const CRect& r, const CRect& bounds)
{
    double a = bounds.Width() / 2.0;
    double b = bounds.Height() / 2.0;
    if (a <= 0 || b <= 0) {
        return false;
    }
    double cx = bounds.left + a;
    double cy = bounds.top + b;
    int64_t row = 0;
    if (!NearestSharedRow(r, bounds, cy, row)) {
        return false;
    }
    double dy = (row + 0.5 - cy) / b;
    double t = 1 - dy * dy;
    if (t < 0) {
        return false;
    }
    double half = a * std::sqrt(t);
    return SpanMeetsColumns(cx - half, cx + half, r, bounds);
}

bool RectTouchesRoundRect(const CRect& r, const CRect& bounds, CPoint roundness)
{
    if (bounds.IsRectEmpty()) {
        return false;
    }
    double rx = std::min<double>(std::abs(int64_t{roundness.x}), bounds.Width()) / 2.0;
    double ry = std::min<double>(std::abs(int64_t{roundness.y}), bounds.Height()) / 2.0;
    int64_t row = 0;
    if (!NearestSharedRow(r, bounds, bounds.top + bounds.Height() / 2.0, row)) {
        return false;
    }
    double inset = 0;
    if (rx > 0 && ry > 0) {
        double y = row + 0.5;
        double dy = 0;
        if (y < bounds.top + ry) {
            dy = (bounds.top + ry - y) / ry;
        } else if (y > bounds.bottom - ry) {
            dy = (y - (bounds.bottom - ry)) / ry;
        }
        inset = rx * (1 - std::sqrt(std::max(0.0, 1 - dy * dy)));
    }
    return SpanMeetsColumns(bounds.left + inset, bounds.right - inset, r, bounds);
}

bool RectTouchesPolygon(const CRect& r, const CPoint* vertices, size_t count)
{
    if (r.IsRectEmpty() || count < 3) {
        return false;
    }
    struct Edge {
        double x0, y0, slope;
        int64_t top, bottom;  // rows top ... bottom - 1 cross it
    };
    std::vector<Edge> edges;
    int64_t firstRow = INT64_MAX;
    int64_t endRow = INT64_MIN;
    for (size_t i = 0; i < count; ++i) {
        CPoint a = vertices[i];
        CPoint b = vertices[(i + 1) % count];
        if (a.y == b.y) {
            continue;
        }
        if (a.y > b.y) {
            std::swap(a, b);
        }
        if (b.y <= r.top || a.y >= r.bottom) {
            continue;
        }
        edges.push_back({double(a.x), double(a.y),
                         double(int64_t{b.x} - a.x) / (int64_t{b.y} - a.y), a.y, b.y});
        firstRow = std::min<int64_t>(firstRow, a.y);
        endRow = std::max<int64_t>(endRow, b.y);
    }
    firstRow = std::max<int64_t>(firstRow, r.top);
    endRow = std::min<int64_t>(endRow, r.bottom);
    std::vector<double> crossings;
    for (int64_t row = firstRow; row < endRow; ++row) {
        double y = row + 0.5;
        crossings.clear();
        for (const Edge& e : edges) {
            if (e.top <= row && row < e.bottom) {
                crossings.push_back(e.x0 + (y - e.y0) * e.slope);
            }
        }
        std::sort(crossings.begin(), crossings.end());
        for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
            // Pixels x with crossings[i] <= x + 0.5 < crossings[i + 1].
            double first = std::max(std::ceil(crossings[i] - 0.5), double(r.left));
            double last = std::min(std::ceil(crossings[i + 1] - 0.5) - 1, double(r.right) - 1);
            if (first <= last) {
                return true;
            }
        }
    }
    return false;
}

bool RectTouchesSegment(const CRect& rect, CPoint from, CPoint to, double reach)
{
    CRect r = rect.Normalized();
    if (r.IsRectEmpty()) {
        return false;
    }
    CentreBox box{r.left, r.top, int64_t{r.right} - 1, int64_t{r.bottom} - 1};
    if (std::min<double>(from.x, to.x) - reach > box.right ||
        std::max<double>(from.x, to.x) + reach < box.left ||
        std::min<double>(from.y, to.y) - reach > box.bottom ||
        std::max<double>(from.y, to.y) + reach < box.top) {
        return false;
    }
    if (SegmentMeetsBox(box, from, to)) {
        return true;
    }
    // Apart, the nearest points are an end of the segment or a corner of the box.
    double limit = reach * reach;
    if (BoxDistance2(box, from.x, from.y) <= limit || BoxDistance2(box, to.x, to.y) <= limit) {
        return true;
    }
    for (int64_t x : {box.left, box.right}) {
        for (int64_t y : {box.top, box.bottom}) {
            if (SegmentDistance2(double(x), double(y), from, to) <= limit) {
                return true;
            }
        }
    }
    return false;
}
