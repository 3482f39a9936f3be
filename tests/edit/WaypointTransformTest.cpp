#include "edit/WaypointTransform.h"

#include <cmath>
#include <cstring>
#include <limits>

#include <gtest/gtest.h>

#include "gps/Geodesy.h"
#include "tests/gps/GpsTestRecords.h"

namespace {

constexpr double kKmPerDegree = 6378 * 3.141592653589793 / 180;  // 111.317 km

// A waypoint `north` and `east` km from (lat, lon), by the flat-earth rule.
WaypointRecord At(double lat, double lon, double north = 0, double east = 0)
{
    WaypointRecord w = TestWaypoint(7);
    double latitude = lat + north / kKmPerDegree;
    double meanCos = std::cos((lat + latitude) / 2 * 3.141592653589793 / 180);
    w.latitude = DegreesToSemicircles(latitude);
    w.longitude = DegreesToSemicircles(lon + east / (kKmPerDegree * meanCos));
    return w;
}

// Positions placed by course and distance come back from CourseDistance only to within a
// few hundredths of a degree and some decimetres per kilometre (flat-earth iteration).
constexpr double kDegrees = 0.02;
constexpr double kKm = 1e-3;

PolarOffset From(const WaypointRecord& a, const WaypointRecord& b)
{
    PolarOffset p;
    CourseDistanceSemi(PositionOf(a), PositionOf(b), p);
    return p;
}

TEST(WaypointTransform, OnePairShiftsEveryWaypointByTheSameOffset)
{
    WaypointRecord a = At(48, 11), b = At(47.5, 10.2);
    WaypointTransform t;
    EXPECT_FALSE(t.Apply(a)) << "not set up";
    t.SetFromPoints(a, b, a, b);
    EXPECT_TRUE(t.Valid());
    EXPECT_EQ(t.Scale(), 1.0);
    EXPECT_EQ(t.Rotation(), 0.0);

    WaypointRecord w = At(48, 11, 0.6, 0.8), moved = w;
    ASSERT_TRUE(t.Apply(moved));
    EXPECT_NEAR(From(b, moved).course, From(a, w).course, kDegrees);
    EXPECT_NEAR(From(b, moved).distance, 1.0, kKm);
    EXPECT_EQ(std::memcmp(moved.ident, w.ident, 6), 0);
    EXPECT_EQ(std::memcmp(moved.comment, w.comment, 43), 0) << "comment, symbol, display";

    WaypointRecord reference = a;
    t.Apply(reference);
    EXPECT_LE(std::abs(reference.latitude - b.latitude), 64) << "the reference lands on b";
    EXPECT_LE(std::abs(reference.longitude - b.longitude), 64);
}

TEST(WaypointTransform, PairsTurnedByNinetyAndTwiceAsFarApartRotateAndStretch)
{
    WaypointRecord a = At(48, 11), a2 = At(48, 11, 1, 0);  // 1 km north
    WaypointRecord b = At(47, 10), b2 = At(47, 10, 0, 2);  // 2 km east
    WaypointTransform t;
    t.SetFromPoints(a, b, a2, b2);
    EXPECT_NEAR(t.Rotation(), 90, kDegrees);
    EXPECT_NEAR(t.Scale(), 2, kKm);

    WaypointRecord w = At(48, 11, 0, 0.5);  // 0.5 km east of a
    t.Apply(w);
    EXPECT_NEAR(From(b, w).course, 180, kDegrees) << "east turned by 90 degrees";
    EXPECT_NEAR(From(b, w).distance, 1.0, kKm);
    WaypointRecord second = a2;
    t.Apply(second);
    EXPECT_NEAR(From(b2, second).distance, 0, kKm) << "the second reference lands on b2";
}

TEST(WaypointTransform, PairsNotMoreThanATenthOfAKilometreApartOnlyShift)
{
    struct Case {
        const char* legend;
        double referenceKm, correctionKm;
        bool stretched;
    } cases[] = {
        {"references 50 m apart", 0.05, 2, false},
        {"corrections 50 m apart", 2, 0.05, false},
        {"both 99 m apart", 0.099, 0.099, false},
        {"both 101 m apart", 0.101, 0.202, true},
    };
    for (const Case& c : cases) {
        WaypointTransform t;
        t.SetFromPoints(At(48, 11), At(47, 10), At(48, 11, 0, c.referenceKm),
                        At(47, 10, c.correctionKm, 0));
        if (c.stretched) {
            EXPECT_NEAR(t.Scale(), 2, 0.01) << c.legend;
            EXPECT_NEAR(t.Rotation(), 270, 0.1) << c.legend;
        } else {
            EXPECT_EQ(t.Scale(), 1.0) << c.legend;
            EXPECT_EQ(t.Rotation(), 0.0) << c.legend;
        }
    }
}

TEST(WaypointTransform, RotationsAreNormalisedIntoZeroTo360)
{
    // A rotation the close pairs keep from before is normalised like a computed one.
    struct Case {
        double kept, expected;
    } cases[] = {{-30, 330}, {360, 360}, {725, 5}, {-720, 0}, {90, 90}};
    for (const Case& c : cases) {
        MapCorrectionSet set{};
        set.rotation = c.kept;
        set.scale = 1;
        WaypointTransform t;
        t.SetFromCorrectionSet(At(0, 0), At(0, 0), set);
        t.SetFromPoints(At(48, 11), At(47, 10), At(48, 11), At(47, 10));
        EXPECT_EQ(t.Rotation(), c.expected) << "kept " << c.kept;
    }
    // Computed: references at course 30, corrections at course 0.
    WaypointTransform t;
    t.SetFromPoints(At(0, 0), At(1, 1), At(0, 0, std::sqrt(3.0), 1), At(1, 1, 2, 0));
    EXPECT_NEAR(t.Rotation(), 330, kDegrees);
}

TEST(WaypointTransform, CoursesComeDownByWholeTurnsWithoutLoopingForever)
{
    EXPECT_EQ(TurnsBelow360(400), 40);
    EXPECT_EQ(TurnsBelow360(360), 360);
    EXPECT_EQ(TurnsBelow360(720), 360);
    EXPECT_EQ(TurnsBelow360(-10), -10);
    EXPECT_EQ(TurnsBelow360(1e300), std::fmod(1e300, 360.0));
    EXPECT_TRUE(std::isnan(TurnsBelow360(std::numeric_limits<double>::quiet_NaN())));
}

TEST(WaypointTransform, ACorrectionSetKeepsItsNameAndABrokenOneMovesNothing)
{
    WaypointTransform t;
    t.SetFromPoints(At(48, 11), At(47, 10), At(48, 11, 1, 0), At(47, 10, 0, 2));
    MapCorrectionSet set{};
    SetFieldText(set.name, sizeof set.name, "Karte 1");
    t.StoreInCorrectionSet(set);
    EXPECT_EQ(FieldText(set.name, sizeof set.name), "Karte 1");
    EXPECT_EQ(set.rotation, t.Rotation());
    EXPECT_EQ(set.scale, t.Scale());
    EXPECT_TRUE(SameBytes(set.target, At(47, 10)));

    set.rotation = std::numeric_limits<double>::quiet_NaN();
    WaypointTransform broken;
    broken.SetFromCorrectionSet(set.reference, set.target, set);
    WaypointRecord w = At(48, 11, 3, 3), before = w;
    EXPECT_FALSE(broken.Apply(w));
    EXPECT_TRUE(SameBytes(w, before));
}

}  // namespace
