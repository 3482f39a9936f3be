#include "gps/PlotProjection.h"

#include <algorithm>
#include <cmath>

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

PlotProjection::PlotProjection(int32_t centralLongitude, double eastWestScale)
    : centralLongitude_(centralLongitude),
      eastWestScale_(std::clamp(Finite(eastWestScale, 1), 0.01, 1.0))
{
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

PixelRect PixelRect::Around(double left, double top, double right, double bottom)
{
    return {FloorPixel(left), FloorPixel(top), CeilPixel(right), CeilPixel(bottom)};
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
