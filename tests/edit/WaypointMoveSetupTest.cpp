#include "edit/WaypointMoveSetup.h"

#include <cmath>

#include <gtest/gtest.h>

#include "gps/CDataDoc.h"
#include "gps/Geodesy.h"
#include "gps/RecordCollection.h"
#include "tests/gps/GpsTestRecords.h"

namespace {

constexpr double kKmPerDegree = 6378 * 3.141592653589793 / 180;
// Positions placed by course and distance come back from CourseDistance only to within a
// few hundredths of a degree and some decimetres per kilometre (flat-earth iteration).
constexpr double kDegrees = 0.02;
constexpr double kKm = 1e-3;

// The difference of two courses, -180 to 180.
double Turn(double from, double to)
{
    return std::remainder(to - from, 360.0);
}

// Record indices of the test document.
enum { P, NORTH_OF_P, Q, EAST_OF_Q, FAR };

WaypointRecord Named(const char* name, double lat, double lon)
{
    WaypointRecord w = TestWaypoint(1);
    SetFieldText(w.ident, sizeof w.ident, name);
    w.latitude = DegreesToSemicircles(lat);
    w.longitude = DegreesToSemicircles(lon);
    return w;
}

class WaypointMove : public ::testing::Test {
protected:
    void SetUp() override
    {
        WaypointRecord records[] = {
            Named("P", 48, 11),
            Named("PN", 48 + 1 / kKmPerDegree, 11),  // 1 km north of P
            Named("Q", 47, 10),
            Named("QE", 47, 10 + 2 / (kKmPerDegree * std::cos(47 * 3.141592653589793 / 180))),
            Named("FAR", 50, 12),
        };
        doc.InsertWaypoints(0, 5, records);
        doc.SetModifiedFlag(false);
        // A stored set: a quarter turn to the right, twice the distances, from FAR to Q.
        stored = ZeroedEntry<MapCorrectionSet>();
        stored.reference = Waypoint(FAR);
        stored.target = Waypoint(Q);
        stored.rotation = 90;
        stored.scale = 2;
        SetFieldText(stored.name, sizeof stored.name, "Blatt 7");
        doc.correctionSets.Append(stored);
    }

    WaypointRecord Waypoint(int i) const
    {
        WaypointRecord w;
        doc.GetWaypoint(i, w);
        return w;
    }

    PolarOffset From(int a, int b) const
    {
        PolarOffset p;
        CourseDistanceSemi(PositionOf(Waypoint(a)), PositionOf(Waypoint(b)), p);
        return p;
    }

    CDataDoc doc;
    MapCorrectionSet stored;
    WaypointMoveSetup setup;
};

TEST_F(WaypointMove, OkNeedsReferenceAndCorrectionOne)
{
    EXPECT_FALSE(setup.Confirm(doc, {FAR}, "", -1));
    setup.TakePoint(MOVE_REFERENCE1, P, "P");
    EXPECT_FALSE(setup.PointsChosen());
    EXPECT_FALSE(setup.Confirm(doc, {FAR}, "", -1));
    EXPECT_FALSE(doc.IsModified());
    setup.TakePoint(MOVE_CORRECTION1, Q, "Q");
    EXPECT_TRUE(setup.PointsChosen());
    EXPECT_EQ(setup.PointText(MOVE_CORRECTION1), "Q");

    ASSERT_TRUE(setup.Confirm(doc, {NORTH_OF_P, P}, "", -1));
    EXPECT_NEAR(Turn(From(Q, NORTH_OF_P).course, 0), 0, kDegrees) << "a pure shift";
    EXPECT_NEAR(From(Q, NORTH_OF_P).distance, 1, kKm);
    EXPECT_NEAR(From(Q, P).distance, 0, kKm);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.correctionSets.Count(), 1);
}

TEST_F(WaypointMove, AStoredSetIsAppliedAsItIsAndTheMoveIsOneUndoStep)
{
    setup.UseCorrectionSet(stored);
    EXPECT_EQ(setup.Mode(), MOVE_STORED_SET);
    EXPECT_EQ(setup.PointText(MOVE_REFERENCE1), "* FAR");
    EXPECT_EQ(setup.PointText(MOVE_CORRECTION1), "* Q");
    EXPECT_FALSE(setup.Confirm(doc, {P}, "", -1)) << "no set selected";

    // FAR moves onto Q; P, which lay south-west of FAR, keeps that bearing turned by 90.
    PolarOffset before = From(FAR, P);
    ASSERT_TRUE(setup.Confirm(doc, {P, FAR}, "", 0));
    EXPECT_NEAR(Turn(before.course + 90, From(Q, P).course), 0, kDegrees);
    EXPECT_NEAR(From(Q, P).distance / before.distance, 2, kKm);
    EXPECT_NEAR(From(Q, FAR).distance, 0, kKm);

    doc.Undo();
    EXPECT_TRUE(SameBytes(Waypoint(P), Named("P", 48, 11)));
    EXPECT_TRUE(SameBytes(Waypoint(FAR), Named("FAR", 50, 12)));
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(WaypointMove, UsingASetThenChoosingAPointTurnsAndStretchesAboutThatPoint)
{
    setup.UseCorrectionSet(stored);
    setup.TakePoint(MOVE_REFERENCE1, P, "P");
    EXPECT_EQ(setup.Mode(), MOVE_SET_ABOUT_POINT);
    EXPECT_EQ(setup.PointIndex(MOVE_CORRECTION1), P);
    EXPECT_EQ(setup.PointText(MOVE_CORRECTION1), "P");
    WaypointRecord p = Waypoint(P);

    ASSERT_TRUE(setup.Confirm(doc, {P, NORTH_OF_P}, "Blatt 7", 0));
    EXPECT_LE(std::abs(Waypoint(P).latitude - p.latitude), 64) << "P stays";
    EXPECT_LE(std::abs(Waypoint(P).longitude - p.longitude), 64);
    EXPECT_NEAR(From(P, NORTH_OF_P).course, 90, kDegrees);
    EXPECT_NEAR(From(P, NORTH_OF_P).distance, 2, kKm);
}

TEST_F(WaypointMove, SetStoresTheResultUnderTheTypedNameAndAppliesIt)
{
    setup.TakePoint(MOVE_REFERENCE1, P, "P");
    setup.TakePoint(MOVE_CORRECTION1, Q, "Q");
    setup.TakePoint(MOVE_REFERENCE2, NORTH_OF_P, "PN");
    setup.TakePoint(MOVE_CORRECTION2, EAST_OF_Q, "QE");
    setup.StoreNextResult();
    ASSERT_TRUE(setup.Confirm(doc, {NORTH_OF_P}, "Neue Karte \xc3\xa4", -1));
    ASSERT_EQ(doc.correctionSets.Count(), 2);
    const MapCorrectionSet& added = doc.correctionSets.At(1);
    EXPECT_EQ(FieldText(added.name, sizeof added.name), "Neue Karte \xe4");
    EXPECT_NEAR(added.rotation, 90, kDegrees);
    EXPECT_NEAR(added.scale, 2, kKm);
    EXPECT_TRUE(SameBytes(added.reference, Named("P", 48, 11)));
    EXPECT_NEAR(From(EAST_OF_Q, NORTH_OF_P).distance, 0, kKm);
}

}  // namespace
