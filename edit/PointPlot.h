#pragma once

#include <string>
#include <vector>

#include "gps/PlotProjection.h"
#include "gps/Records.h"

// The arithmetic of the plot of a GPS data document beside its list, over its projection
// and viewport (gps/PlotProjection.h): the scale bar, the areas a change repaints, hits and
// moves. Qt-free.

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

// Whether the track point at `i` begins a track (a line of the plot): the first point, and
// every point with the "new track" flag.
bool StartsTrack(const std::vector<TrackpointRecord>& track, size_t i);

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
