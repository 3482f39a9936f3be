#include "convert/GeoReference.h"

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "convert/PointMap.h"
#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawRect.h"
#include "gps/LiveFix.h"

namespace {

// Degrees east of `b` to `a`, the shorter way round.
double LongitudeApart(double a, double b)
{
    return std::remainder(a - b, 360.0);
}

void ExpectPosition(const GeoPosition& got, double latitude, double longitude, double tolerance,
                    const std::string& legend)
{
    EXPECT_NEAR(got.latitude, latitude, tolerance) << legend;
    EXPECT_NEAR(LongitudeApart(got.longitude, longitude), 0, tolerance) << legend;
    EXPECT_TRUE(got.longitude >= -180 && got.longitude <= 180) << legend << ": " << got.longitude;
}

void ExpectPage(const std::optional<PagePoint>& got, PagePoint expected, double tolerance,
                const std::string& legend)
{
    ASSERT_TRUE(got) << legend;
    EXPECT_NEAR(got->x, expected.x, tolerance) << legend;
    EXPECT_NEAR(got->y, expected.y, tolerance) << legend;
}

TEST(GeoReference, ControlPointsComeBackToThemselvesAndTheirCentreShowsTheirMeanPosition)
{
    struct Case {
        const char* legend;
        ControlPoints points;
        GeoPosition centre;  // shown at the centre of the page points
    } cases[] = {
        {"a map north up",
         {{{40, 40, 47.40, 8.45}, {760, 40, 47.40, 8.70}, {40, 760, 47.25, 8.45}}},
         {47.35, 8.5 + 1 / 30.0}},
        {"a turned map south of the equator",
         {{{100, 200, -33.90, 151.10}, {600, 100, -33.85, 151.30}, {400, 700, -34.05, 151.20}}},
         {-33.93333333333333, 151.2}},
        {"a map across the 180th meridian",
         {{{50, 400, -17.50, 179.90}, {750, 380, -17.45, -179.80}, {420, 60, -17.20, 179.95}}},
         {-17.38333333333333, -179.98333333333333}},
        {"a map far north, mirrored",
         {{{700, 100, 78.20, 15.30}, {100, 100, 78.20, 16.50}, {400, 700, 77.90, 15.90}}},
         {78.1, 15.9}},
    };
    for (const Case& c : cases) {
        const std::optional<GeoReference> reference =
            GeoReference::From(MapGeoReference::OfControlPoints(c.points));
        ASSERT_TRUE(reference) << c.legend;
        PagePoint centre;
        for (const ControlPoint& p : c.points) {
            ExpectPosition(reference->ToPosition({p.x, p.y}), p.latitude, p.longitude, 1e-9,
                           c.legend);
            ExpectPage(reference->ToPage(p.latitude, p.longitude), {p.x, p.y}, 1e-9, c.legend);
            centre.x += p.x / CONTROL_POINT_COUNT;
            centre.y += p.y / CONTROL_POINT_COUNT;
        }
        ExpectPosition(reference->ToPosition(centre), c.centre.latitude, c.centre.longitude, 1e-9,
                       c.legend);
        ExpectPage(reference->ToPage(c.centre.latitude, c.centre.longitude), centre, 1e-9,
                   c.legend);
    }
}

TEST(GeoReference, ControlPointsThatSpanNoTriangleAreRefused)
{
    struct Case {
        const char* legend;
        ControlPoints points;
        GeoReferenceFault fault;
    } cases[] = {
        {"two page points on one spot",
         {{{100, 100, 47.4, 8.4}, {100.5, 100, 47.4, 8.6}, {400, 700, 47.2, 8.5}}},
         GeoReferenceFault::PAGE_POINTS_TOGETHER},
        {"page points in a line",
         {{{100, 100, 47.4, 8.4}, {400, 400, 47.4, 8.6}, {700, 700, 47.2, 8.5}}},
         GeoReferenceFault::PAGE_POINTS_IN_LINE},
        {"page points nearly in a line",
         {{{100, 100, 47.4, 8.4}, {400, 405, 47.4, 8.6}, {700, 700, 47.2, 8.5}}},
         GeoReferenceFault::PAGE_POINTS_IN_LINE},
        {"one position for two points",
         {{{100, 100, 47.4, 8.4}, {700, 100, 47.4, 8.4}, {400, 700, 47.2, 8.5}}},
         GeoReferenceFault::POSITIONS_TOGETHER},
        {"positions along a meridian",
         {{{100, 100, 47.4, 8.4}, {700, 100, 47.3, 8.4}, {400, 700, 47.2, 8.4}}},
         GeoReferenceFault::POSITIONS_IN_LINE},
        {"positions along the equator across the 180th meridian",
         {{{100, 100, 0, 179.9}, {700, 100, 0, -179.9}, {400, 700, 0, 179.7}}},
         GeoReferenceFault::POSITIONS_IN_LINE},
        {"a latitude beyond the pole",
         {{{100, 100, 90.5, 8.4}, {700, 100, 47.3, 8.6}, {400, 700, 47.2, 8.5}}},
         GeoReferenceFault::VALUES},
    };
    for (const Case& c : cases) {
        const MapGeoReference record = MapGeoReference::OfControlPoints(c.points);
        EXPECT_EQ(record.Fault(), c.fault) << c.legend;
        EXPECT_FALSE(GeoReference::From(record)) << c.legend;
        EXPECT_STRNE(GeoReferenceFaultText(c.fault), "") << c.legend;
    }
}

WaypointRecord Waypoint(double latitude, double longitude)
{
    WaypointRecord w;
    std::memset(&w, 0, sizeof w);
    w.latitude = DegreesToSemicircles(latitude);
    w.longitude = DegreesToSemicircles(longitude);
    return w;
}

TEST(GeoReference, AMapOfPointsShowsTheirPositionsWhereItDrewThem)
{
    struct Case {
        const char* legend;
        std::vector<WaypointRecord> waypoints;
    } cases[] = {
        {"three waypoints", {Waypoint(47.37, 8.54), Waypoint(47.42, 8.61), Waypoint(47.30, 8.50)}},
        {"across the 180th meridian", {Waypoint(-17.4, 179.95), Waypoint(-17.5, -179.9)}},
        {"one waypoint", {Waypoint(-33.9, -70.2)}},
    };
    for (const Case& c : cases) {
        CDrawDoc map;
        const std::optional<MapGeoReference> record = AddPointsToMap(c.waypoints, {}, map);
        ASSERT_TRUE(record) << c.legend;
        EXPECT_EQ(record->kind, GeoReferenceKind::POINT_MAP) << c.legend;
        const std::optional<GeoReference> reference = GeoReference::From(*record);
        ASSERT_TRUE(reference) << c.legend;
        size_t mark = 0;
        for (const CDrawObj* object : map.ObjectList()) {
            auto* rect = dynamic_cast<const CDrawRect*>(object);
            if (!rect || rect->GetShape() != CDrawRect::ellipse) {
                continue;
            }
            // Drawn at the whole unit nearest to the position.
            const GeoPosition position = ToGeoPosition(PositionOf(c.waypoints[mark++]));
            const PagePoint drawn{rect->GetPosition().left + 3.0, rect->GetPosition().top + 3.0};
            ExpectPage(reference->ToPage(position.latitude, position.longitude), drawn, 0.5,
                       c.legend);
        }
        EXPECT_EQ(mark, c.waypoints.size()) << c.legend;
        for (PagePoint page : {PagePoint{0, 0}, PagePoint{400, 400}, PagePoint{123.4, 767.8}}) {
            const GeoPosition position = reference->ToPosition(page);
            ExpectPage(reference->ToPage(position.latitude, position.longitude), page, 0.01,
                       c.legend);
        }
    }
}

TEST(GeoReference, ALiveFixLandsOnlyOnAMapThatHasAGeoReference)
{
    const MapGeoReference record = MapGeoReference::OfControlPoints(
        {{{40, 40, 47.40, 8.45}, {760, 40, 47.40, 8.70}, {40, 760, 47.25, 8.45}}});
    CDrawDoc map;
    LiveFix fix{.kind = FixKind::TWO_D, .latitude = 47.35, .longitude = 8.55};
    EXPECT_FALSE(PageOfFix(map, fix));
    map.SetGeoReference(record);
    ExpectPage(PageOfFix(map, fix), *GeoReference::From(record)->ToPage(47.35, 8.55), 0, "fix");
    fix.kind = FixKind::NONE;
    EXPECT_FALSE(PageOfFix(map, fix));
    EXPECT_FALSE(GeoReference::From(record)->ToPage(91, 8.55));
}

}  // namespace
