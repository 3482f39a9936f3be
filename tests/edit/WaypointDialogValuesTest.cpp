#include "edit/WaypointDialogValues.h"

#include "edit/DialogNumbers.h"

#include <cstring>

#include <gtest/gtest.h>

#include "tests/gps/GpsTestRecords.h"

namespace {

constexpr double kKmPerDegree = 6378 * 3.141592653589793 / 180;

TEST(WaypointDialogValues, ANewWaypointOpensEmptyAtZeroWithTheFirstSymbolAndDisplay)
{
    WaypointDialogValues v = WaypointValuesOf(WaypointRecord{});
    EXPECT_EQ(v.name, "");
    EXPECT_EQ(v.comment, "");
    EXPECT_EQ(v.longitude, 0);
    EXPECT_EQ(v.latitude, 0);
    EXPECT_EQ(v.symbol, 0);
    EXPECT_EQ(v.display, 0);
}

TEST(WaypointDialogValues, TextsLoseTrailingBlanksAndValuesOutsideTheListsSelectNothing)
{
    struct Case {
        int16_t symbol;
        uint8_t display;
        int shownSymbol, shownDisplay;
    } cases[] = {{15, 2, 15, 2}, {16, 3, -1, -1}, {-1, 255, -1, -1}, {0, 0, 0, 0}};
    for (const Case& c : cases) {
        WaypointRecord w = TestWaypoint(3);
        SetFieldText(w.ident, sizeof w.ident, "AB  \t ");
        SetFieldText(w.comment, sizeof w.comment,
                     "Stra\xdf"
                     "e  ");
        w.symbol = c.symbol;
        w.display = c.display;
        WaypointDialogValues v = WaypointValuesOf(w);
        EXPECT_EQ(v.name, "AB");
        EXPECT_EQ(v.comment, "Straße");
        EXPECT_EQ(v.symbol, c.shownSymbol) << c.symbol;
        EXPECT_EQ(v.display, c.shownDisplay) << int(c.display);
    }
}

TEST(WaypointDialogValues, StoringPadsShortTextsAndKeepsNoSelectionAsMinusOne)
{
    WaypointRecord w = TestWaypoint(5);
    WaypointDialogValues v{"ABCDEF", "ÄRGER", 8.5, -47.25, -1, -1};
    StoreWaypointValues(v, w);
    EXPECT_EQ(std::string(w.ident, 6), "ABCDEF") << "six characters, no terminator";
    EXPECT_EQ(std::string(w.comment, 6), std::string("\xc4RGER\0", 6));
    EXPECT_EQ(w.comment[39], 0);
    EXPECT_EQ(static_cast<uint16_t>(w.symbol), 0xFFFF);
    EXPECT_EQ(w.display, 0xFF);
    EXPECT_EQ(w.longitude, DegreesToSemicircles(8.5));
    EXPECT_EQ(w.latitude, DegreesToSemicircles(-47.25));

    v.name = "ab.ü";
    v.symbol = 6;
    v.display = 2;
    StoreWaypointValues(v, w);
    EXPECT_EQ(std::string(w.ident, 6), "ABU   ") << "a typed name as renaming stores it";
    std::memcpy(w.ident, "x\0\0\0\0\0", 6);
    v.name = "x";
    StoreWaypointValues(v, w);
    EXPECT_EQ(std::string(w.ident, 6), std::string("x\0\0\0\0\0", 6)) << "unchanged: as it was";
    EXPECT_EQ(w.symbol, 6);
    EXPECT_EQ(w.display, 2);
    EXPECT_EQ(RecordTextLength("ÄÖÜ"), 3u);
}

TEST(WaypointDialogValues, AnUnchangedPositionKeepsItsSemicircles)
{
    for (int32_t semicircles : {1000, 566697040, -404442729, 2147483647}) {
        WaypointRecord w = TestWaypoint(0);
        w.latitude = semicircles / 2;
        w.longitude = semicircles;
        WaypointRecord stored = w;
        WaypointDialogValues shown = WaypointValuesOf(w);
        // As the dialog shows them: 15 significant digits, read back.
        shown.latitude = std::stod(FormatDialogDouble(shown.latitude));
        shown.longitude = std::stod(FormatDialogDouble(shown.longitude));
        StoreWaypointValues(shown, stored);
        EXPECT_TRUE(SameBytes(stored, w)) << semicircles;
    }
}

TEST(WaypointDialogValues, DistancesAreCutAndCoursesRounded)
{
    GeoPosition reference{48, 11};
    struct Case {
        const char* legend;
        double course, km;
        int shownCourse;
        double shownKm;
    } cases[] = {
        {"1.234567 km shows 1.23", 0, 1.234567, 0, 1.23},
        {"1.239 km is cut, not rounded", 45, 1.239, 45, 1.23},
        {"359.6 degrees show 360", 359.6, 3.005, 360, 3},
        {"89.4 degrees show 89", 89.4, 3.005, 89, 3},
    };
    for (const Case& c : cases) {
        GeoPosition p;
        PositionFromCourse(reference, {c.course, c.km}, p);
        ShownOffset shown = ShownCourseDistance(reference, p);
        EXPECT_EQ(shown.course, c.shownCourse) << c.legend;
        EXPECT_DOUBLE_EQ(shown.distance, c.shownKm) << c.legend;
    }
    ShownOffset same = ShownCourseDistance(reference, reference);
    EXPECT_EQ(same.course, 0);
    EXPECT_EQ(same.distance, 0);
    GeoPosition onReference = PositionFromShownOffset(reference, 90, 0);
    EXPECT_EQ(onReference.latitude, 48);
    EXPECT_EQ(onReference.longitude, 11);
    GeoPosition north = PositionFromShownOffset(reference, 0, kKmPerDegree);
    EXPECT_NEAR(north.latitude, 49, 1e-12);
}

TEST(WaypointDialogValues, TheLastAppliedDistanceIsSharedAndOnlyAChangeApplies)
{
    ApplyNewDistance(0);
    EXPECT_TRUE(ApplyNewDistance(2.5));
    EXPECT_EQ(LastAppliedDistance(), 2.5);
    EXPECT_FALSE(ApplyNewDistance(2.5));
    EXPECT_TRUE(ApplyNewDistance(0));
    EXPECT_EQ(LastAppliedDistance(), 0);
}

}  // namespace
