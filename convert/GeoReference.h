#pragma once

#include <array>
#include <optional>

#include "draw/model/MapGeoReference.h"
#include "gps/Geodesy.h"
#include "gps/PlotProjection.h"

class CDrawDoc;
struct LiveFix;

// A point of a map's page in document units (x to the right, y downward; the page is
// 800 x 800), not rounded.
struct PagePoint {
    double x = 0;
    double y = 0;
};

// The arithmetic of a map's georeference (draw/model/MapGeoReference.h): from page
// coordinates to positions (degrees, WGS 84) and back. Qt-free; cheap to make and to copy.
//
// A map of GPS points ("Als Karte übernehmen") goes back through the PlotProjection and
// page fit it was drawn with, so that a position lands where the same position in the GPS
// data was drawn (to the rounding of the drawing to whole units).
//
// A calibration is the affine transform, exact at its three control points, between the page
// and a local plane: metres east and north of the points' centre, east scaled by the cosine
// of their mean latitude (the equirectangular plane of PlotProjection around the points). The
// plane is linear in latitude and longitude, so the transform is as well an affine one between
// page and degrees; computing in metres keeps the numbers of the same size and lets the
// triangle test see the ground's true shape. An affine transform takes a map's own projection
// (a national grid, UTM, a plot's equirectangular one) to the plane to first order: over a
// map of a few tens of kilometres what it cannot follow (the change of scale and of
// meridian convergence across the map) stays at metres. Longitudes are taken east of the
// first point the shorter way round, so that points on both sides of the 180th meridian lie
// together.
class GeoReference {
public:
    // The arithmetic of `record`; none when the record has a fault (MapGeoReference::Fault).
    static std::optional<GeoReference> From(const MapGeoReference& record);
    // The georeference of `map`; none when the map has none.
    static std::optional<GeoReference> Of(const CDrawDoc& map);

    // The position shown at `page`. Latitudes are held within -90 ... 90, longitudes wrap into
    // -180 ... 180 (180 itself may come back as -180).
    GeoPosition ToPosition(PagePoint page) const;
    // Where the map shows the position `latitude`, `longitude` (degrees, north and east
    // positive, as gps/LiveFix.h holds them). The point may lie beyond the page's edges, far
    // beyond for a position far from the map: the caller decides whether to show it. None for
    // a latitude beyond -90 ... 90 and for numbers that are not finite.
    std::optional<PagePoint> ToPage(double latitude, double longitude) const;

    const MapGeoReference& Record() const { return record_; }

private:
    explicit GeoReference(const MapGeoReference& record);

    MapGeoReference record_;
    // A map of points.
    PlotProjection projection_;
    PlotViewport viewport_;
    // A calibration: the plane's origin and its east scale, and the affine transforms
    // (a[0] + a[1] x + a[2] y, a[3] + a[4] x + a[5] y) from page to plane and back.
    double originLatitude_ = 0;
    double originLongitude_ = 0;
    double eastScale_ = 1;
    std::array<double, 6> pageToPlane_{};
    std::array<double, 6> planeToPage_{};
};

// Where the map shows a live fix's position: none when the map has no georeference or the
// fix has no position. For the moving map, which calls it for every fix.
std::optional<PagePoint> PageOfFix(const CDrawDoc& map, const LiveFix& fix);

// What the user reads about a fault (German, UTF-8); empty for GeoReferenceFault::NONE.
const char* GeoReferenceFaultText(GeoReferenceFault fault);
