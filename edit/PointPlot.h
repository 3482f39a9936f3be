#pragma once

#include <string>
#include <vector>

#include "gps/Geodesy.h"
#include "gps/Records.h"

// The arithmetic of the plot of a GPS data document: an equirectangular projection scaled
// by the cosine of the mean latitude, the view's zoom and pan, fitting, the scale bar and the
// areas a change repaints. Qt-free; plot coordinates are metres east (x) and north (y) of
// the projection's centre, pixels grow right and down.

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

// The scale bar: a round length (1, 2 or 5 times a power of ten metres) at most
// `maxPixels` long, and its label ("500 m", "2 km").
struct ScaleBar {
    double metres = 0;
    int pixels = 0;
    std::string label;
};
ScaleBar ChooseScaleBar(double pixelsPerMetre, int maxPixels);

// The room a waypoint takes on the plot around its pixel: its symbol and its name.
struct WaypointMarkSize {
    int symbol = 16;      // square, centred on the point
    int labelWidth = 80;  // the name, right of the symbol
    int labelHeight = 16;
};

// The pixels a waypoint at `p` may paint on.
PixelRect WaypointArea(PixelPoint p, const WaypointMarkSize& size);
// The pixels the track between `a` and `b` may paint on (pen and dots included).
PixelRect SegmentArea(PixelPoint a, PixelPoint b);

// The indices at which two record lists of the same length differ (byte-wise).
std::vector<int> ChangedWaypoints(const std::vector<WaypointRecord>& before,
                                  const std::vector<WaypointRecord>& after);
std::vector<int> ChangedTrackpoints(const std::vector<TrackpointRecord>& before,
                                    const std::vector<TrackpointRecord>& after);

// The indices of the points whose pixel lies inside `rect`, in index order.
std::vector<int> PointsInside(const std::vector<PlotPoint>& points, const PlotViewport& view,
                              const PixelRect& rect);
// The index of the point nearest to `p` at most `radius` pixels away; -1 when none.
int NearestPoint(const std::vector<PlotPoint>& points, const PlotViewport& view, PixelPoint p,
                 double radius);

// A waypoint dragged by a plot offset: the position through the waypoint dialog's rules
// (StoreWaypointValues), the latitude held within [-90, 90] and the longitude wrapped into
// [-180, 180). No other byte changes.
WaypointRecord MovedWaypoint(const WaypointRecord& waypoint, const PlotProjection& projection,
                             double eastMetres, double northMetres);
