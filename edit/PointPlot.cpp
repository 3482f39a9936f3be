#include "edit/PointPlot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr double kTwoPow31 = 2147483648.0;

// Pixel coordinates far outside any screen are held here before they become ints.
constexpr double kPixelLimit = 1e9;

int FloorPixel(double v)
{
    return static_cast<int>(std::floor(std::clamp(v, -kPixelLimit, kPixelLimit)));
}

int CeilPixel(double v)
{
    return static_cast<int>(std::ceil(std::clamp(v, -kPixelLimit, kPixelLimit)));
}

double Finite(double v, double otherwise = 0)
{
    return std::isfinite(v) ? v : otherwise;
}

// The longitude as an angle of the full circle, 0 ... 2^32 - 1 semicircles eastward of 0.
uint32_t CircleAngle(int32_t longitude)
{
    return static_cast<uint32_t>(longitude);
}

}  // namespace

void PlotBounds::Add(PlotPoint p)
{
    if (empty) {
        left = right = p.x;
        bottom = top = p.y;
        empty = false;
        return;
    }
    left = std::min(left, p.x);
    right = std::max(right, p.x);
    bottom = std::min(bottom, p.y);
    top = std::max(top, p.y);
}

PlotProjection PlotProjection::For(const std::vector<WaypointRecord>& waypoints,
                                   const std::vector<TrackpointRecord>& trackpoints)
{
    PlotProjection projection;
    std::vector<uint32_t> angles;
    angles.reserve(waypoints.size() + trackpoints.size());
    double latitudeSum = 0;
    for (const WaypointRecord& w : waypoints) {
        angles.push_back(CircleAngle(w.longitude));
        latitudeSum += SemicirclesToDegrees(w.latitude);
    }
    for (const TrackpointRecord& t : trackpoints) {
        angles.push_back(CircleAngle(t.longitude));
        latitudeSum += SemicirclesToDegrees(t.latitude);
    }
    if (angles.empty()) {
        return projection;
    }
    std::sort(angles.begin(), angles.end());
    // The points cover the circle but for its widest gap; the centre lies opposite.
    const uint64_t circle = uint64_t{1} << 32;
    size_t gapAfter = angles.size() - 1;
    uint64_t widestGap = angles.front() + circle - angles.back();
    for (size_t i = 0; i + 1 < angles.size(); ++i) {
        const uint64_t gap = uint64_t{angles[i + 1]} - angles[i];
        if (gap > widestGap) {
            widestGap = gap;
            gapAfter = i;
        }
    }
    const uint64_t start = angles[(gapAfter + 1) % angles.size()];
    const uint64_t covered = circle - widestGap;
    projection.centralLongitude_ = static_cast<int32_t>(static_cast<uint32_t>(start + covered / 2));

    const double meanLatitude = latitudeSum / static_cast<double>(angles.size());
    projection.eastWestScale_ =
        std::clamp(std::fabs(std::cos(meanLatitude * GEO_PI / 180)), 0.01, 1.0);
    return projection;
}

PlotPoint PlotProjection::Project(SemicirclePosition position) const
{
    // The difference wraps around the circle: -2^31 ... 2^31 - 1 semicircles.
    const auto east =
        static_cast<int32_t>(CircleAngle(position.longitude) - CircleAngle(centralLongitude_));
    return {east * (180 / kTwoPow31) * PLOT_METRES_PER_DEGREE * eastWestScale_,
            SemicirclesToDegrees(position.latitude) * PLOT_METRES_PER_DEGREE};
}

GeoPosition PlotProjection::Unproject(PlotPoint point) const
{
    const double latitude = std::clamp(Finite(point.y / PLOT_METRES_PER_DEGREE), -90.0, 90.0);
    double longitude = SemicirclesToDegrees(centralLongitude_) +
                       Finite(point.x / (PLOT_METRES_PER_DEGREE * eastWestScale_));
    longitude = std::fmod(longitude + 180, 360);
    if (longitude < 0) {
        longitude += 360;
    }
    return {latitude, longitude - 180};
}

PixelRect PixelRect::United(const PixelRect& other) const
{
    if (other.Empty()) {
        return *this;
    }
    if (Empty()) {
        return other;
    }
    return {std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
            std::max(bottom, other.bottom)};
}

bool PixelRect::Intersects(const PixelRect& other) const
{
    return !Empty() && !other.Empty() && left < other.right && other.left < right &&
           top < other.bottom && other.top < bottom;
}

PlotViewport::PlotViewport(PlotPoint centre, double pixelsPerMetre, int width, int height)
    : centre_(centre),
      pixelsPerMetre_(
          std::clamp(Finite(pixelsPerMetre, 0.01), kMinPixelsPerMetre, kMaxPixelsPerMetre)),
      width_(std::max(width, 1)),
      height_(std::max(height, 1))
{
}

PixelPoint PlotViewport::ToPixel(PlotPoint p) const
{
    return {(p.x - centre_.x) * pixelsPerMetre_ + width_ / 2.0,
            height_ / 2.0 - (p.y - centre_.y) * pixelsPerMetre_};
}

PlotPoint PlotViewport::ToPlot(PixelPoint p) const
{
    return {centre_.x + (p.x - width_ / 2.0) / pixelsPerMetre_,
            centre_.y - (p.y - height_ / 2.0) / pixelsPerMetre_};
}

void PlotViewport::Fit(const PlotBounds& bounds, int margin)
{
    constexpr double kSmallestShown = 2000;  // metres across for a single point
    const double availableX = std::max(width_ - 2 * margin, 1);
    const double availableY = std::max(height_ - 2 * margin, 1);
    if (bounds.empty) {
        centre_ = {};
    } else {
        centre_ = {(bounds.left + bounds.right) / 2, (bounds.bottom + bounds.top) / 2};
    }
    const double spanX = std::max(bounds.Width(), kSmallestShown);
    const double spanY = std::max(bounds.Height(), kSmallestShown);
    const bool single = bounds.Width() < 1 && bounds.Height() < 1;
    double scale = single ? std::min(availableX, availableY) / kSmallestShown
                          : std::min(availableX / std::max(bounds.Width(), 1e-9),
                                     availableY / std::max(bounds.Height(), 1e-9));
    if (!single) {
        // A line of points along one axis: the other axis does not limit the zoom.
        if (bounds.Width() < 1) {
            scale = availableY / spanY;
        } else if (bounds.Height() < 1) {
            scale = availableX / spanX;
        }
    }
    pixelsPerMetre_ = std::clamp(Finite(scale, 0.01), kMinPixelsPerMetre, kMaxPixelsPerMetre);
}

void PlotViewport::ZoomAt(PixelPoint anchor, double factor)
{
    const PlotPoint fixed = ToPlot(anchor);
    pixelsPerMetre_ = std::clamp(Finite(pixelsPerMetre_ * factor, pixelsPerMetre_),
                                 kMinPixelsPerMetre, kMaxPixelsPerMetre);
    centre_ = {fixed.x - (anchor.x - width_ / 2.0) / pixelsPerMetre_,
               fixed.y + (anchor.y - height_ / 2.0) / pixelsPerMetre_};
}

void PlotViewport::Pan(double dx, double dy)
{
    // Never further than a few times round the earth from the points.
    constexpr double kFarthest = 1e8;
    centre_.x = std::clamp(centre_.x - Finite(dx) / pixelsPerMetre_, -kFarthest, kFarthest);
    centre_.y = std::clamp(centre_.y + Finite(dy) / pixelsPerMetre_, -kFarthest, kFarthest);
}

void PlotViewport::Resize(int width, int height)
{
    width_ = std::max(width, 1);
    height_ = std::max(height, 1);
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
    return {FloorPixel(p.x - size.symbol / 2.0 - 2), FloorPixel(p.y - half),
            CeilPixel(p.x + size.symbol / 2.0 + 4 + size.labelWidth), CeilPixel(p.y + half)};
}

PixelRect SegmentArea(PixelPoint a, PixelPoint b)
{
    constexpr double kReach = 4;  // the pen of a selected track and the dots
    return {FloorPixel(std::min(a.x, b.x) - kReach), FloorPixel(std::min(a.y, b.y) - kReach),
            CeilPixel(std::max(a.x, b.x) + kReach), CeilPixel(std::max(a.y, b.y) + kReach)};
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
    p.x += Finite(eastMetres);
    p.y += Finite(northMetres);
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
