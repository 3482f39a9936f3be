#include "convert/PointMap.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawPoly.h"
#include "draw/model/CDrawRect.h"
#include "draw/model/CDrawText.h"
#include "gps/Geodesy.h"

namespace {

WaypointRecord Waypoint(const char* ident, double lat, double lon)
{
    WaypointRecord w;
    std::memset(&w, 0, sizeof w);
    SetFieldText(w.ident, sizeof w.ident, ident);
    w.latitude = DegreesToSemicircles(lat);
    w.longitude = DegreesToSemicircles(lon);
    return w;
}

TrackpointRecord Trackpoint(double lat, double lon, bool newTrack = false)
{
    return {DegreesToSemicircles(lat), DegreesToSemicircles(lon), TRACK_TIME_NONE,
            static_cast<uint8_t>(newTrack)};
}

CPoint Centre(const CRect& r)
{
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

bool OnPage(const CRect& r)
{
    return r.left >= 0 && r.top >= 0 && r.right <= MAP_PAGE_SIZE.cx &&
           r.bottom <= MAP_PAGE_SIZE.cy && r.left < r.right && r.top < r.bottom;
}

TEST(PointMap, ObjectsOfTrackAndWaypointsFitThePage)
{
    // Twice as wide as high in every case with a spread: the west end meets the left margin,
    // the south end lies 180 units below the middle.
    std::vector<TrackpointRecord> longSegment;
    for (int i = 0; i < 70000; ++i) {
        longSegment.push_back(i % 2 ? Trackpoint(0.01, 0.02) : Trackpoint(0, 0));
    }
    struct Objects {
        size_t polylines, vertices, ellipses, texts;
        CPoint first;  // the first vertex of the track, else the centre of the first mark
    };
    struct Case {
        const char* legend;
        std::vector<WaypointRecord> waypoints;
        std::vector<TrackpointRecord> trackpoints;
        Objects expected;
    } cases[] = {
        {"two segments and three waypoints",
         {Waypoint("A", 0, 0.01), Waypoint("B", 0.005, 0.005), Waypoint("", 0.01, 0)},
         {Trackpoint(0, 0), Trackpoint(0.01, 0.01), Trackpoint(0.01, 0.02, true),
          Trackpoint(0, 0.02)},
         {2, 4, 3, 2, {40, 580}}},
        {"no points", {}, {}, {0, 0, 0, 0, {}}},
        {"one trackpoint, a dot", {}, {Trackpoint(47.1, 8.5)}, {1, 5, 0, 0, {399, 399}}},
        {"one position for all",
         {Waypoint("A", -33.9, -70.2), Waypoint("B", -33.9, -70.2)},
         {Trackpoint(-33.9, -70.2), Trackpoint(-33.9, -70.2)},
         {1, 5, 2, 2, {399, 399}}},
        {"across the 180th meridian eastward",
         {},
         {Trackpoint(0, 179.99), Trackpoint(0.01, -179.99)},
         {1, 2, 0, 0, {40, 580}}},
        {"near the north pole",
         {Waypoint("POL", 89.99, 0)},
         {Trackpoint(89.89, -10), Trackpoint(89.89, 10)},
         {1, 2, 1, 1, {40, 580}}},
        {"a segment longer than a polyline holds", {}, longSegment, {2, 70001, 0, 0, {40, 580}}},
    };
    for (const Case& c : cases) {
        CDrawDoc map;
        AddPointsToMap(c.waypoints, c.trackpoints, map);
        size_t polylines = 0, vertices = 0, ellipses = 0, texts = 0;
        std::vector<CPoint> firsts;
        for (const CDrawObj* object : map.ObjectList()) {
            EXPECT_TRUE(OnPage(object->GetPosition()) && OnPage(object->PaintedArea())) << c.legend;
            if (auto* poly = dynamic_cast<const CDrawPoly*>(object)) {
                EXPECT_EQ(poly->GetKind(), CDrawPoly::polyline) << c.legend;
                ++polylines;
                vertices += poly->Vertices().size();
                firsts.push_back(poly->Vertices().front());
            } else if (auto* rect = dynamic_cast<const CDrawRect*>(object)) {
                EXPECT_EQ(rect->GetShape(), CDrawRect::ellipse) << c.legend;
                ++ellipses;
                firsts.push_back(Centre(rect->GetPosition()));
            } else {
                ASSERT_NE(dynamic_cast<const CDrawText*>(object), nullptr) << c.legend;
                ++texts;
            }
        }
        EXPECT_EQ(polylines, c.expected.polylines) << c.legend;
        EXPECT_EQ(vertices, c.expected.vertices) << c.legend;
        EXPECT_EQ(ellipses, c.expected.ellipses) << c.legend;
        EXPECT_EQ(texts, c.expected.texts) << c.legend;
        if (!firsts.empty()) {
            EXPECT_EQ(firsts.front(), c.expected.first) << c.legend;
        }
    }
}

TEST(PointMap, LabelsHoldTheIdentRightOfTheMarkOrLeftOfItAtThePagesRightEdge)
{
    CDrawDoc map;
    AddPointsToMap({Waypoint("M\xDCHLE", 0, 0), Waypoint("OSTEND", 0.01, 0.02)}, {}, map);
    auto objects = map.ObjectList();
    ASSERT_EQ(objects.size(), 4u);
    auto* west = dynamic_cast<const CDrawText*>(objects[1]);
    auto* east = dynamic_cast<const CDrawText*>(objects[3]);
    ASSERT_TRUE(west && east);
    EXPECT_EQ(west->GetText(), "M\xDCHLE") << "the record's Windows-1252 bytes";
    EXPECT_GT(west->GetPosition().left, objects[0]->GetPosition().right);
    EXPECT_EQ(Centre(west->GetPosition()).y, Centre(objects[0]->GetPosition()).y);
    EXPECT_LT(east->GetPosition().right, objects[2]->GetPosition().left);
}

TEST(PointMap, RoutesAreDashedLinesThroughTheirPointsAndCountForTheFit)
{
    Route route;
    for (auto [lat, lon] : {std::pair{0.0, 0.0}, {0.01, 0.01}, {0.0, 0.02}}) {
        route.points.push_back(MakeRoutePoint(Waypoint("R", lat, lon), NoWaypointDetails()));
    }
    CDrawDoc map;
    AddPointsToMap({Waypoint("A", 0.005, 0.01)}, {}, map, {route});
    auto* line = dynamic_cast<const CDrawPoly*>(map.ObjectList().front());
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->GetPen().style, PS_DASH);
    ASSERT_EQ(line->Vertices().size(), 3u);
    EXPECT_EQ(line->Vertices().front().x, 40) << "the route reaches the page's margin";
    EXPECT_EQ(line->Vertices().back().x, 760);
}

}  // namespace
