#include "edit/PointPlot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

double FiniteOffset(double v)
{
    return std::isfinite(v) ? v : 0;
}

}  // namespace

bool StartsTrack(const std::vector<TrackpointRecord>& track, size_t i)
{
    return i == 0 || track[i].newTrack != 0;
}

ScaleBar ChooseScaleBar(double pixelsPerMetre, int maxPixels)
{
    ScaleBar bar;
    const double longest = maxPixels / pixelsPerMetre;
    if (!(longest > 0) || !std::isfinite(longest)) {
        return bar;
    }
    const double power = std::pow(10.0, std::floor(std::log10(longest)));
    for (double step : {5.0, 2.0, 1.0}) {
        if (step * power <= longest) {
            bar.metres = step * power;
            break;
        }
    }
    if (bar.metres == 0) {
        bar.metres = power;
    }
    bar.pixels = static_cast<int>(std::lround(bar.metres * pixelsPerMetre));
    char text[32];
    if (bar.metres >= 1000) {
        std::snprintf(text, sizeof text, "%.0f km", bar.metres / 1000);
    } else if (bar.metres >= 1) {
        std::snprintf(text, sizeof text, "%.0f m", bar.metres);
    } else {
        std::snprintf(text, sizeof text, "%g m", bar.metres);
    }
    bar.label = text;
    return bar;
}

PixelRect WaypointArea(PixelPoint p, const WaypointMarkSize& size)
{
    const double half = std::max(size.symbol, size.labelHeight) / 2.0 + 2;
    return PixelRect::Around(p.x - size.symbol / 2.0 - 2, p.y - half,
                             p.x + size.symbol / 2.0 + 4 + size.labelWidth, p.y + half);
}

PixelRect SegmentArea(PixelPoint a, PixelPoint b)
{
    constexpr double kReach = 4;  // the pen of a selected track and the dots
    return PixelRect::Around(std::min(a.x, b.x) - kReach, std::min(a.y, b.y) - kReach,
                             std::max(a.x, b.x) + kReach, std::max(a.y, b.y) + kReach);
}

namespace {

template <typename Record>
std::vector<int> ChangedRecords(const std::vector<Record>& before, const std::vector<Record>& after)
{
    std::vector<int> changed;
    const size_t count = std::min(before.size(), after.size());
    for (size_t i = 0; i < count; ++i) {
        if (!SameBytes(before[i], after[i])) {
            changed.push_back(static_cast<int>(i));
        }
    }
    return changed;
}

}  // namespace

std::vector<int> ChangedWaypoints(const std::vector<WaypointRecord>& before,
                                  const std::vector<WaypointRecord>& after)
{
    return ChangedRecords(before, after);
}

std::vector<int> ChangedTrackpoints(const std::vector<TrackpointRecord>& before,
                                    const std::vector<TrackpointRecord>& after)
{
    return ChangedRecords(before, after);
}

std::vector<int> PointsInside(const std::vector<PlotPoint>& points, const PlotViewport& view,
                              const PixelRect& rect)
{
    std::vector<int> inside;
    for (size_t i = 0; i < points.size(); ++i) {
        if (rect.Contains(view.ToPixel(points[i]))) {
            inside.push_back(static_cast<int>(i));
        }
    }
    return inside;
}

int NearestPoint(const std::vector<PlotPoint>& points, const PlotViewport& view, PixelPoint p,
                 double radius)
{
    int nearest = -1;
    double best = radius * radius;
    for (size_t i = 0; i < points.size(); ++i) {
        const PixelPoint q = view.ToPixel(points[i]);
        const double d = (q.x - p.x) * (q.x - p.x) + (q.y - p.y) * (q.y - p.y);
        if (d <= best) {
            best = d;
            nearest = static_cast<int>(i);
        }
    }
    return nearest;
}

WaypointRecord MovedWaypoint(const WaypointRecord& waypoint, const PlotProjection& projection,
                             double eastMetres, double northMetres)
{
    PlotPoint p = projection.Project(PositionOf(waypoint));
    p.x += FiniteOffset(eastMetres);
    p.y += FiniteOffset(northMetres);
    const GeoPosition moved = projection.Unproject(p);
    // As the waypoint dialog stores a position: a coordinate that still reads as the
    // record's semicircles stays, a changed one is cut to semicircles.
    WaypointRecord result = waypoint;
    if (DegreesToSemicirclesRounded(moved.longitude) != waypoint.longitude) {
        result.longitude = DegreesToSemicircles(moved.longitude);
    }
    if (DegreesToSemicirclesRounded(moved.latitude) != waypoint.latitude) {
        result.latitude = DegreesToSemicircles(moved.latitude);
    }
    return result;
}
