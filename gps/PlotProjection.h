#pragma once

#include <vector>

#include "gps/Geodesy.h"
#include "gps/Records.h"

// The arithmetic of plots of GPS points, on screen and on a map's page: an equirectangular
// projection scaled by the cosine of the mean latitude, and a viewport's zoom, pan and
// fitting. Plot coordinates are metres east (x) and north (y) of the projection's centre,
// pixels grow right and down.

struct PlotPoint {
    double x = 0;  // metres east
    double y = 0;  // metres north
};

// The smallest box around some plot points; empty until a point is added.
struct PlotBounds {
    double left = 0, bottom = 0, right = 0, top = 0;
    bool empty = true;

    void Add(PlotPoint p);
    double Width() const { return empty ? 0 : right - left; }
    double Height() const { return empty ? 0 : top - bottom; }
};

// Metres on the ground per degree of latitude (the sphere of gps/Geodesy.h).
constexpr double PLOT_METRES_PER_DEGREE = EARTH_RADIUS_KM * 1000 * GEO_PI / 180;

class PlotProjection {
public:
    // Centred on 0/0, no east-west shrinking.
    PlotProjection() = default;
    // The projection of these parameters (a map made of points keeps them); the scale is held
    // within 0.01 ... 1.
    PlotProjection(int32_t centralLongitude, double eastWestScale);
    // For the points of a document: the central longitude is the middle of the shortest
    // stretch of longitudes that holds every point, so that points on both sides of the
    // 180th meridian lie together; the east-west scale is the cosine of the mean latitude,
    // at least 0.01 (near the poles, and for latitudes beyond 90 degrees from damaged files).
    static PlotProjection For(const std::vector<WaypointRecord>& waypoints,
                              const std::vector<TrackpointRecord>& trackpoints);

    PlotPoint Project(SemicirclePosition position) const;
    // The position of a plot point; longitudes wrap into [-180, 180), latitudes are clamped
    // to [-90, 90].
    GeoPosition Unproject(PlotPoint point) const;

    int32_t CentralLongitude() const { return centralLongitude_; }  // semicircles
    double EastWestScale() const { return eastWestScale_; }

private:
    int32_t centralLongitude_ = 0;
    double eastWestScale_ = 1;
};

struct PixelPoint {
    double x = 0;
    double y = 0;
};

// A pixel rectangle, left/top inclusive, right/bottom exclusive; empty when it has no area.
struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;

    bool Empty() const { return right <= left || bottom <= top; }
    bool Contains(PixelPoint p) const
    {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    // The pixels that cover the area from (left, top) to (right, bottom), coordinates far
    // beyond any screen held at a billion pixels.
    static PixelRect Around(double left, double top, double right, double bottom);
    // The smallest rectangle holding both (an empty one adds nothing).
    PixelRect United(const PixelRect& other) const;
    bool Intersects(const PixelRect& other) const;
};

// What the plot shows of the plane: the plot point at the widget's centre and the zoom.
class PlotViewport {
public:
    // The zoom is kept between these: the whole earth in a few pixels, a metre over 200.
    static constexpr double kMinPixelsPerMetre = 1e-7;
    static constexpr double kMaxPixelsPerMetre = 200;

    PlotViewport() = default;
    PlotViewport(PlotPoint centre, double pixelsPerMetre, int width, int height);

    PixelPoint ToPixel(PlotPoint p) const;
    PlotPoint ToPlot(PixelPoint p) const;

    // Shows `bounds` whole, `margin` pixels from every side, as large as the widget allows;
    // a single point or an empty box shows 2 km across.
    void Fit(const PlotBounds& bounds, int margin);
    // Zooms by `factor` keeping the plot point under `anchor` where it is.
    void ZoomAt(PixelPoint anchor, double factor);
    // Moves the plane by a mouse movement of (dx, dy) pixels.
    void Pan(double dx, double dy);
    void Resize(int width, int height);

    PlotPoint Centre() const { return centre_; }
    double PixelsPerMetre() const { return pixelsPerMetre_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    PlotPoint centre_;
    double pixelsPerMetre_ = 0.01;
    int width_ = 1;
    int height_ = 1;
};
