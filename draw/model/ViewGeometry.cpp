#include "draw/model/ViewGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>

#include "draw/model/GdiTypes.h"

namespace {

constexpr int kZoomSteps[] = {25, 33, 50, 67, 75, 100, 125, 150, 200, 300, 400, 600, 800};

// a / b rounded toward minus infinity, b > 0.
int64_t FloorDiv(int64_t a, int64_t b)
{
    int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

}  // namespace

CPoint ViewTransform::DocToView(CPoint p) const
{
    return {Saturate32(FloorDiv(int64_t{p.x} * zoom, 100) - scroll.x),
            Saturate32(FloorDiv(int64_t{p.y} * zoom, 100) - scroll.y)};
}

CPoint ViewTransform::ViewToDoc(CPoint p) const
{
    return {Saturate32(FloorDiv((int64_t{p.x} + scroll.x) * 100, zoom)),
            Saturate32(FloorDiv((int64_t{p.y} + scroll.y) * 100, zoom))};
}

int32_t ViewTransform::Pixels(int64_t units) const
{
    return Saturate32((units * zoom + 99) / 100);
}

int NextZoom(int zoom, bool larger)
{
    if (larger) {
        for (int step : kZoomSteps) {
            if (step > zoom) {
                return step;
            }
        }
        return MAX_ZOOM;
    }
    for (auto it = std::rbegin(kZoomSteps); it != std::rend(kZoomSteps); ++it) {
        if (*it < zoom) {
            return *it;
        }
    }
    return MIN_ZOOM;
}

int ScaleFactor(int largerResolution)
{
    int factor = largerResolution > 0 ? 800 / largerResolution : 0;
    return factor == 0 ? 1 : factor;
}

double PrintScale(int width, int height, CSize page)
{
    if (std::max(width, height) <= 800 || page.cx <= 0 || page.cy <= 0) {
        return ScaleFactor(std::max(width, height));
    }
    return std::min(double(width) / page.cx, double(height) / page.cy);
}

CRect RepaintArea(const CRect& clientPosition, bool handlesShown)
{
    CRect r = clientPosition.Normalized();
    return handlesShown ? InflateRect(r, 5, 6, 6, 5) : InflateRect(r, 1, 1, 1, 1);
}
