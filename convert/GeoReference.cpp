#include "convert/GeoReference.h"

#include <algorithm>
#include <cmath>

#include "draw/model/CDrawDoc.h"
#include "gps/LiveFix.h"

namespace {

// Degrees east of `from`, -180 ... 180, the shorter way round.
double LongitudeEastOf(double longitude, double from)
{
    double east = std::fmod(longitude - from + 180, 360);
    if (east < 0) {
        east += 360;
    }
    return east - 180;
}

double WrappedLongitude(double longitude)
{
    return LongitudeEastOf(longitude, 0);
}

struct AffinePair {
    double x;
    double y;
};

// The affine transform that takes each `from[i]` exactly to `to[i]`; the three `from` points
// span a triangle.
std::array<double, 6> AffineThrough(const std::array<AffinePair, 3>& from,
                                    const std::array<AffinePair, 3>& to)
{
    const double dx1 = from[1].x - from[0].x;
    const double dy1 = from[1].y - from[0].y;
    const double dx2 = from[2].x - from[0].x;
    const double dy2 = from[2].y - from[0].y;
    const double det = dx1 * dy2 - dx2 * dy1;
    std::array<double, 6> a{};
    auto solve = [&](double v0, double v1, double v2, double* row) {
        const double d1 = v1 - v0;
        const double d2 = v2 - v0;
        row[1] = (d1 * dy2 - d2 * dy1) / det;
        row[2] = (dx1 * d2 - dx2 * d1) / det;
        row[0] = v0 - row[1] * from[0].x - row[2] * from[0].y;
    };
    solve(to[0].x, to[1].x, to[2].x, &a[0]);
    solve(to[0].y, to[1].y, to[2].y, &a[3]);
    return a;
}

AffinePair ApplyAffine(const std::array<double, 6>& a, double x, double y)
{
    return {a[0] + a[1] * x + a[2] * y, a[3] + a[4] * x + a[5] * y};
}

}  // namespace

std::optional<GeoReference> GeoReference::From(const MapGeoReference& record)
{
    if (record.Fault() != GeoReferenceFault::NONE) {
        return std::nullopt;
    }
    return GeoReference(record);
}

std::optional<GeoReference> GeoReference::Of(const CDrawDoc& map)
{
    const std::optional<MapGeoReference>& record = map.GetGeoReference();
    return record ? From(*record) : std::nullopt;
}

GeoReference::GeoReference(const MapGeoReference& record) : record_(record)
{
    if (record.kind == GeoReferenceKind::POINT_MAP) {
        const PointMapProjection& p = record.projection;
        projection_ = PlotProjection(p.centralLongitude, p.eastWestScale);
        viewport_ =
            PlotViewport({p.centreEast, p.centreNorth}, p.unitsPerMetre, p.pageWidth, p.pageHeight);
        return;
    }
    const ControlPoints& points = record.points;
    double latitudeSum = 0;
    double eastSum = 0;
    for (const ControlPoint& p : points) {
        latitudeSum += p.latitude;
        eastSum += LongitudeEastOf(p.longitude, points[0].longitude);
    }
    originLatitude_ = latitudeSum / CONTROL_POINT_COUNT;
    originLongitude_ = WrappedLongitude(points[0].longitude + eastSum / CONTROL_POINT_COUNT);
    eastScale_ = std::max(std::cos(originLatitude_ * GEO_PI / 180), 0.01);
    std::array<AffinePair, 3> page;
    std::array<AffinePair, 3> plane;
    for (int i = 0; i < CONTROL_POINT_COUNT; ++i) {
        page[i] = {points[i].x, points[i].y};
        plane[i] = {LongitudeEastOf(points[i].longitude, originLongitude_) * eastScale_ *
                        PLOT_METRES_PER_DEGREE,
                    (points[i].latitude - originLatitude_) * PLOT_METRES_PER_DEGREE};
    }
    pageToPlane_ = AffineThrough(page, plane);
    planeToPage_ = AffineThrough(plane, page);
}

GeoPosition GeoReference::ToPosition(PagePoint page) const
{
    if (record_.kind == GeoReferenceKind::POINT_MAP) {
        return projection_.Unproject(viewport_.ToPlot({page.x, page.y}));
    }
    const AffinePair plane = ApplyAffine(pageToPlane_, page.x, page.y);
    const double latitude =
        std::clamp(originLatitude_ + plane.y / PLOT_METRES_PER_DEGREE, -90.0, 90.0);
    const double longitude =
        WrappedLongitude(originLongitude_ + plane.x / (PLOT_METRES_PER_DEGREE * eastScale_));
    return {latitude, longitude};
}

std::optional<PagePoint> GeoReference::ToPage(double latitude, double longitude) const
{
    if (!std::isfinite(latitude) || !std::isfinite(longitude) || latitude < -90 || latitude > 90) {
        return std::nullopt;
    }
    if (record_.kind == GeoReferenceKind::POINT_MAP) {
        // As the map's points were placed: their semicircles projected.
        const PlotPoint plot =
            projection_.Project({DegreesToSemicirclesRounded(latitude),
                                 DegreesToSemicirclesRounded(WrappedLongitude(longitude))});
        const PixelPoint pixel = viewport_.ToPixel(plot);
        return PagePoint{pixel.x, pixel.y};
    }
    const AffinePair page = ApplyAffine(
        planeToPage_,
        LongitudeEastOf(longitude, originLongitude_) * eastScale_ * PLOT_METRES_PER_DEGREE,
        (latitude - originLatitude_) * PLOT_METRES_PER_DEGREE);
    return PagePoint{page.x, page.y};
}

std::optional<PagePoint> PageOfFix(const CDrawDoc& map, const LiveFix& fix)
{
    if (!fix.HasPosition()) {
        return std::nullopt;
    }
    const std::optional<GeoReference> reference = GeoReference::Of(map);
    return reference ? reference->ToPage(fix.latitude, fix.longitude) : std::nullopt;
}

const char* GeoReferenceFaultText(GeoReferenceFault fault)
{
    switch (fault) {
    case GeoReferenceFault::NONE:
        return "";
    case GeoReferenceFault::VALUES:
        return "Die Breite muss zwischen -90 und 90 Grad liegen, die Länge zwischen -180 und "
               "180 Grad.";
    case GeoReferenceFault::PAGE_POINTS_TOGETHER:
        return "Zwei der drei Punkte liegen auf der Karte an derselben Stelle. Wählen Sie drei "
               "verschiedene Punkte.";
    case GeoReferenceFault::PAGE_POINTS_IN_LINE:
        return "Die drei Punkte liegen auf der Karte (fast) auf einer Linie. Wählen Sie Punkte, "
               "die ein Dreieck bilden, möglichst weit auseinander.";
    case GeoReferenceFault::POSITIONS_TOGETHER:
        return "Zwei der drei Positionen sind gleich. Geben Sie für jeden Punkt seine eigene "
               "Position an.";
    case GeoReferenceFault::POSITIONS_IN_LINE:
        return "Die drei Positionen liegen (fast) auf einer Linie. Wählen Sie Punkte, die ein "
               "Dreieck bilden, möglichst weit auseinander.";
    }
    return "";
}
