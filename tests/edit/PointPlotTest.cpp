#include "edit/PointPlot.h"

#include <cmath>
#include <cstring>
#include <limits>

#include <gtest/gtest.h>

namespace {

TrackpointRecord Track(double latitude, double longitude)
{
    TrackpointRecord t{};
    t.latitude = DegreesToSemicirclesRounded(latitude);
    t.longitude = DegreesToSemicirclesRounded(longitude);
    return t;
}

WaypointRecord Waypoint(double latitude, double longitude)
{
    WaypointRecord w{};
    SetFieldText(w.ident, WAYPOINT_IDENT_SIZE, "PUNKT");
    SetFieldText(w.comment, WAYPOINT_COMMENT_SIZE, "Kommentar");
    w.latitude = DegreesToSemicirclesRounded(latitude);
    w.longitude = DegreesToSemicirclesRounded(longitude);
    w.symbol = 3;
    return w;
}

bool Finite(PlotPoint p)
{
    return std::isfinite(p.x) && std::isfinite(p.y);
}

TEST(PointPlot, ProjectionKeepsNeighboursTogetherAndFiniteEverywhere)
{
    struct Case {
        const char* legend;
        std::vector<TrackpointRecord> points;
        double widestKm;  // the plot's east-west extent at most
    };
    const Case cases[] = {
        {"around Zug", {Track(47.1, 8.4), Track(47.2, 8.6)}, 16},
        {"both sides of the 180th meridian", {Track(-17, 179.9), Track(-17, -179.9)}, 22},
        {"the meridian itself", {Track(0, -180), Track(0, 179.99999)}, 1},
        {"at the north pole", {Track(90, 0), Track(89.9, 120), Track(89.9, -120)}, 8000},
        {"latitudes a damaged file holds",
         {{INT32_MAX, INT32_MIN, 0, 0}, {INT32_MIN, 0, 0, 0}},
         40100},
        {"all round the equator", {Track(0, -170), Track(0, -50), Track(0, 70)}, 40100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        const PlotProjection projection = PlotProjection::For({}, c.points);
        EXPECT_GE(projection.EastWestScale(), 0.01);
        EXPECT_LE(projection.EastWestScale(), 1.0);
        PlotBounds bounds;
        for (const TrackpointRecord& t : c.points) {
            const PlotPoint p = projection.Project(PositionOf(t));
            ASSERT_TRUE(Finite(p));
            bounds.Add(p);
            // Back from the plane to where it was (latitudes within [-90, 90]).
            const GeoPosition back = projection.Unproject(p);
            const GeoPosition was = ToGeoPosition(PositionOf(t));
            if (std::fabs(was.latitude) <= 90) {
                EXPECT_NEAR(back.latitude, was.latitude, 1e-7);
                EXPECT_NEAR(std::remainder(back.longitude - was.longitude, 360.0), 0, 1e-6);
            }
            EXPECT_GE(back.longitude, -180);
            EXPECT_LT(back.longitude, 180);
        }
        EXPECT_LE(bounds.Width() / 1000, c.widestKm);
    }
}

TEST(PointPlot, FitShowsTheBoundsWholeWithinTheMargin)
{
    struct Case {
        const char* legend;
        PlotBounds bounds;
        int width, height;
    };
    PlotBounds wide, tall, point, earth, none;
    wide.Add({-5000, -100});
    wide.Add({5000, 100});
    tall.Add({0, -3000});
    tall.Add({0, 3000});
    point.Add({1234, -567});
    earth.Add({-2e7, -1e7});
    earth.Add({2e7, 1e7});
    const Case cases[] = {
        {"wide", wide, 400, 300},
        {"a north-south line", tall, 300, 400},
        {"a single point", point, 300, 300},
        {"the whole earth", earth, 500, 500},
        {"nothing", none, 300, 200},
        {"a widget smaller than its margins", wide, 20, 20},
    };
    constexpr int kMargin = 30;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        PlotViewport view({}, 1, c.width, c.height);
        view.Fit(c.bounds, kMargin);
        ASSERT_TRUE(std::isfinite(view.PixelsPerMetre()));
        if (c.bounds.empty || c.width <= 2 * kMargin) {
            continue;
        }
        const PixelPoint a = view.ToPixel({c.bounds.left, c.bounds.bottom});
        const PixelPoint b = view.ToPixel({c.bounds.right, c.bounds.top});
        for (PixelPoint p : {a, b}) {
            EXPECT_GE(p.x, kMargin - 1e-6);
            EXPECT_LE(p.x, c.width - kMargin + 1e-6);
            EXPECT_GE(p.y, kMargin - 1e-6);
            EXPECT_LE(p.y, c.height - kMargin + 1e-6);
        }
        // The middle of the bounds is the middle of the widget.
        EXPECT_NEAR((a.x + b.x) / 2, c.width / 2.0, 1e-6);
        EXPECT_NEAR((a.y + b.y) / 2, c.height / 2.0, 1e-6);
    }
    // A single point shows 2 km across the smaller side less the margins.
    PlotViewport single({}, 1, 300, 300);
    single.Fit(point, kMargin);
    EXPECT_NEAR(single.PixelsPerMetre(), 240.0 / 2000, 1e-12);
}

TEST(PointPlot, ZoomKeepsThePointUnderTheMouseAndStaysWithinItsLimits)
{
    PlotViewport view({1000, 2000}, 0.5, 400, 300);
    const PixelPoint mouse{100, 250};
    const PlotPoint under = view.ToPlot(mouse);
    view.ZoomAt(mouse, 1.25);
    EXPECT_DOUBLE_EQ(view.PixelsPerMetre(), 0.625);
    EXPECT_NEAR(view.ToPixel(under).x, mouse.x, 1e-9);
    EXPECT_NEAR(view.ToPixel(under).y, mouse.y, 1e-9);

    view.ZoomAt(mouse, 1e300);
    EXPECT_EQ(view.PixelsPerMetre(), PlotViewport::kMaxPixelsPerMetre);
    view.ZoomAt(mouse, 0);
    EXPECT_EQ(view.PixelsPerMetre(), PlotViewport::kMinPixelsPerMetre);
    view.ZoomAt(mouse, std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(view.PixelsPerMetre(), PlotViewport::kMinPixelsPerMetre);
    view.Pan(1e300, -1e300);
    EXPECT_TRUE(std::isfinite(view.Centre().x) && std::isfinite(view.Centre().y));
}

TEST(PointPlot, ScaleBarIsARoundLengthThatFits)
{
    struct Case {
        double pixelsPerMetre;
        int maxPixels;
        const char* label;
        int pixels;
    };
    const Case cases[] = {
        {0.1, 120, "1 km", 100},  // 1200 m would fit: 1000 is the round length below
        {0.1, 60, "500 m", 50},  {0.01, 250, "20 km", 200},      {100, 100, "1 m", 100},
        {200, 90, "0.2 m", 40},  {1e-7, 100, "1000000 km", 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const ScaleBar bar = ChooseScaleBar(c.pixelsPerMetre, c.maxPixels);
        EXPECT_EQ(bar.label, c.label);
        EXPECT_EQ(bar.pixels, c.pixels);
    }
    EXPECT_TRUE(ChooseScaleBar(0, 100).label.empty());
}

TEST(PointPlot, MovedWaypointChangesOnlyItsPositionByTheDialogsRules)
{
    const PlotProjection projection = PlotProjection::For({Waypoint(47, 8)}, {});
    const WaypointRecord zug = Waypoint(47, 8);
    const WaypointRecord pole = Waypoint(89.99, 8);
    const WaypointRecord dateline = Waypoint(47, 179.999);
    const double eastDegrees = 2000 / (PLOT_METRES_PER_DEGREE * projection.EastWestScale());
    // A coordinate that moves is stored as the dialog stores a typed one (cut to
    // semicircles); one that does not keeps the record's bytes.
    struct Case {
        const char* legend;
        WaypointRecord from;
        double east, north;
        int32_t latitude, longitude;
    };
    const Case cases[] = {
        {"not moved", zug, 0, 0, zug.latitude, zug.longitude},
        {"1 km north", zug, 0, 1000,
         DegreesToSemicircles(SemicirclesToDegrees(zug.latitude) + 1000 / PLOT_METRES_PER_DEGREE),
         zug.longitude},
        {"beyond the pole", pole, 0, 5e6, DegreesToSemicircles(90), pole.longitude},
        {"across the 180th meridian", dateline, 2000, 0, dateline.latitude,
         DegreesToSemicircles(SemicirclesToDegrees(dateline.longitude) + eastDegrees - 360)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        const WaypointRecord moved = MovedWaypoint(c.from, projection, c.east, c.north);
        EXPECT_EQ(std::memcmp(moved.ident, c.from.ident, WAYPOINT_IDENT_SIZE), 0);
        EXPECT_EQ(std::memcmp(moved.comment, c.from.comment, 43), 0);
        EXPECT_NEAR(moved.latitude, c.latitude, 1);
        EXPECT_NEAR(moved.longitude, c.longitude, 1);
    }
}

TEST(PointPlot, PickingAndChangesFindTheRightRecords)
{
    const PlotViewport view({0, 0}, 1, 200, 200);  // plot metre = pixel, origin at (100, 100)
    const std::vector<PlotPoint> points = {{0, 0}, {50, 0}, {-50, 50}, {3, 0}};
    EXPECT_EQ(PointsInside(points, view, {90, 90, 160, 110}), (std::vector<int>{0, 1, 3}));
    EXPECT_EQ(NearestPoint(points, view, {102, 100}, 6), 3);
    EXPECT_EQ(NearestPoint(points, view, {100, 130}, 6), -1);

    std::vector<WaypointRecord> before = {Waypoint(1, 1), Waypoint(2, 2), Waypoint(3, 3)};
    std::vector<WaypointRecord> after = before;
    after[1].display = 1;
    EXPECT_EQ(ChangedWaypoints(before, after), std::vector<int>{1});
}

TEST(PointPlot, RepaintAreasHoldWhatAMarkOrSegmentPaints)
{
    const WaypointMarkSize size{16, 60, 14};
    const PixelRect mark = WaypointArea({100, 100}, size);
    EXPECT_TRUE(mark.Contains({92, 92}));    // the symbol's corner
    EXPECT_TRUE(mark.Contains({168, 106}));  // the end of the name
    const PixelRect far = WaypointArea({1e300, -1e300}, size);
    EXPECT_LE(far.left, far.right);
    const PixelRect segment = SegmentArea({10, 50}, {40, 20});
    EXPECT_TRUE(segment.Contains({7, 53}) && segment.Contains({43, 17}));
    EXPECT_EQ(PixelRect{}.United(segment).left, segment.left);
    EXPECT_FALSE(segment.Intersects(PixelRect{50, 50, 60, 60}));
}

}  // namespace
