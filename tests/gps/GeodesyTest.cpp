#include "gps/Geodesy.h"

#include <cmath>
#include <cstring>
#include <limits>

#include <gtest/gtest.h>

namespace {

TEST(Semicircles, ConversionUsesTheTruncatingFactor)
{
    EXPECT_DOUBLE_EQ(SemicirclesToDegrees(2147483647), 179.99999991618097);
    EXPECT_EQ(SemicirclesToDegrees(2147483647), 2147483647 * 8.381903171539307e-08);
    EXPECT_EQ(DegreesToSemicircles(180.0), 2147483520);
    EXPECT_EQ(DegreesToSemicircles(-0.5), -5965232);  // toward zero, not rounded
    EXPECT_EQ(DegreesToSemicircles(0.0), 0);
    EXPECT_EQ(DegreesToSemicircles(-180.0), -2147483520);
    EXPECT_NEAR(SemicirclesToDegrees(DegreesToSemicircles(180.0)), 179.99998927, 1e-8);
}

TEST(Semicircles, DegreesBeyondTheRangeWrapThroughThirtyTwoBits)
{
    // 360 degrees = 4294967040 semicircles, 256 short of 2^32.
    EXPECT_EQ(DegreesToSemicircles(360.0), -256);
    EXPECT_EQ(DegreesToSemicircles(-360.0), 256);
    // 200 degrees = 2386092800, which is -1908874496 in 32 bits.
    EXPECT_EQ(DegreesToSemicircles(200.0), -1908874496);
    // A value far beyond any range still keeps exactly its low 32 bits: 2^52 / 11930464
    // degrees is a product of 2^52, whose low 32 bits are 0.
    EXPECT_EQ(DegreesToSemicircles(std::ldexp(1.0, 60)), 0);
    EXPECT_EQ(DegreesToSemicircles(1e300), DegreesToSemicircles(1e300));
}

TEST(Semicircles, NotANumberAndInfinitiesGiveZero)
{
    EXPECT_EQ(DegreesToSemicircles(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(DegreesToSemicircles(std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(DegreesToSemicircles(-std::numeric_limits<double>::infinity()), 0);
}

TEST(CourseDistance, CompassDirectionsAndTheSamePoint)
{
    struct Case {
        const char* legend;
        GeoPosition to;
        double course;
    } cases[] = {
        {"north", {48.1, 11.0}, 0},
        {"east", {48.0, 11.1}, 90},
        {"south", {47.9, 11.0}, 180},
        {"west", {48.0, 10.9}, 270},
    };
    GeoPosition from{48.0, 11.0};
    for (const Case& c : cases) {
        PolarOffset p;
        ASSERT_TRUE(CourseDistance(from, c.to, p));
        EXPECT_NEAR(p.course, c.course, 1e-9) << c.legend;
        EXPECT_GT(p.distance, 0) << c.legend;
    }
    PolarOffset same;
    CourseDistance(from, from, same);
    EXPECT_EQ(same.course, 0);
    EXPECT_EQ(same.distance, 0);
}

TEST(CourseDistance, ACourseAHairWestOfNorthIsNeverThreeSixty)
{
    PolarOffset p;
    CourseDistance({0, 0}, {10.0, -1e-15}, p);
    EXPECT_GE(p.course, 0);
    EXPECT_LT(p.course, 360);
}

TEST(CourseDistance, OneDegreeOfLatitudeAndOfLongitudeAtSixty)
{
    PolarOffset lat, lon;
    CourseDistance({10, 5}, {11, 5}, lat);
    EXPECT_NEAR(lat.distance, 111.317, 0.001);
    CourseDistanceSemi({DegreesToSemicircles(60), DegreesToSemicircles(5)},
                       {DegreesToSemicircles(60), DegreesToSemicircles(6)}, lon);
    EXPECT_NEAR(lon.distance, 111.317 / 2, 0.001);
    EXPECT_NEAR(lon.course, 90, 1e-9);
}

TEST(PositionFromCourse, ZeroDistanceReturnsTheOriginAndCourseDistanceInverts)
{
    GeoPosition origin{47.3, 8.55};
    GeoPosition r;
    PositionFromCourse(origin, {123.0, 0.0}, r);
    EXPECT_EQ(r.latitude, origin.latitude);
    EXPECT_EQ(r.longitude, origin.longitude);

    PositionFromCourse(origin, {237.5, 12.0}, r);
    PolarOffset back;
    CourseDistance(origin, r, back);
    EXPECT_NEAR(back.course, 237.5, 1e-6);
    EXPECT_NEAR(back.distance, 12.0, 1e-6);
}

TEST(PositionFromDelta, UsesTheOriginLatitudeInTheFirstPassThenTheMean)
{
    // Three passes of the fixed-point iteration, written out with the same evaluation order.
    GeoPosition a{50.0, 7.0};
    KmOffset d{300.0, 200.0};
    const double pi = 3.141592653589793;
    GeoPosition r = a;
    for (int i = 0; i < 3; ++i) {
        double k = std::cos((a.latitude + r.latitude) * pi * 0.002777777777777778) * 6378;
        r.latitude = d.north / 6378 / pi * 180 + a.latitude;
        r.longitude = d.east / k / pi * 180 + a.longitude;
    }
    GeoPosition got;
    PositionFromDelta(a, d, got);
    EXPECT_EQ(got.latitude, r.latitude);
    EXPECT_EQ(got.longitude, r.longitude);
}

TEST(WaypointFromCourse, ChangesOnlyThePositionAndMayTruncateAtZeroDistance)
{
    WaypointRecord origin;
    std::memset(&origin, 0x5A, sizeof origin);
    origin.latitude = 555555555;
    origin.longitude = -123456789;
    WaypointRecord target = origin;
    WaypointFromCourse(origin, target, {0, 0});
    EXPECT_EQ(target.latitude, DegreesToSemicircles(SemicirclesToDegrees(origin.latitude)));
    EXPECT_EQ(target.longitude, DegreesToSemicircles(SemicirclesToDegrees(origin.longitude)));
    EXPECT_EQ(std::memcmp(target.comment, origin.comment, sizeof origin.comment), 0);
    EXPECT_EQ(std::memcmp(target.ident, origin.ident, sizeof origin.ident), 0);
    EXPECT_EQ(target.symbol, origin.symbol);

    WaypointFromCourse(target, target, {90, 10});  // the same record as origin and target
    EXPECT_GT(target.longitude, origin.longitude);
}

}  // namespace

namespace {

TEST(Semicircles, RoundedConversionReadsBackWhatNineDecimalsWrote)
{
    for (int32_t s : {0, 1, -1, 563714424, -404442729, 2147483647, -2147483647 - 1}) {
        char text[32];
        std::snprintf(text, sizeof text, "%.9f", SemicirclesToDegrees(s));
        EXPECT_EQ(DegreesToSemicirclesRounded(std::strtod(text, nullptr)), s) << text;
    }
    EXPECT_EQ(DegreesToSemicirclesRounded(180.0), -2147483647 - 1);
    EXPECT_EQ(DegreesToSemicirclesRounded(std::numeric_limits<double>::quiet_NaN()), 0);
}

}  // namespace
