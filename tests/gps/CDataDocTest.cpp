#include "gps/CDataDoc.h"

#include <gtest/gtest.h>

#include "tests/gps/GpsTestRecords.h"

namespace {

std::vector<WaypointRecord> Waypoints(int from, int to)
{
    std::vector<WaypointRecord> v;
    for (int i = from; i < to; ++i) {
        v.push_back(TestWaypoint(i));
    }
    return v;
}

TEST(CDataDoc, InsertingThreeAtTheFrontOfOnePutsTheNewOnesFirst)
{
    CDataDoc doc;
    WaypointRecord old = TestWaypoint(9);
    ASSERT_EQ(doc.InsertWaypoints(0, 1, &old), DOC_OK);
    auto added = Waypoints(0, 3);
    ASSERT_EQ(doc.InsertWaypoints(0, 3, added.data()), DOC_OK);
    ASSERT_EQ(doc.waypointCount(), 4);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(SameBytes(doc.Waypoints()[i], added[i])) << i;
    }
    EXPECT_TRUE(SameBytes(doc.Waypoints()[3], old));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.InsertWaypoints(5, 1, &old), DOC_BAD_INDEX);
}

TEST(CDataDoc, TrackpointsAreInsertedLikeWaypoints)
{
    CDataDoc doc;
    TrackpointRecord points[] = {TestTrackpoint(1), TestTrackpoint(2)};
    ASSERT_EQ(doc.InsertTrackpoints(0, 2, points), DOC_OK);
    TrackpointRecord front = TestTrackpoint(7);
    ASSERT_EQ(doc.InsertTrackpoints(0, 1, &front), DOC_OK);
    ASSERT_EQ(doc.trackpointCount(), 3);
    EXPECT_TRUE(SameBytes(doc.Trackpoints()[0], front));
    EXPECT_TRUE(SameBytes(doc.Trackpoints()[2], points[1]));
    EXPECT_TRUE(doc.IsModified());
}

TEST(CDataDoc, DeletingChecksTheRangeAndMovesTheRestDown)
{
    CDataDoc doc;
    auto five = Waypoints(0, 5);
    doc.InsertWaypoints(0, 5, five.data());
    doc.SetModifiedFlag(false);

    EXPECT_EQ(doc.DeleteWaypoints(5, 1), DOC_BAD_INDEX);
    EXPECT_EQ(doc.DeleteWaypoints(-1, 1), DOC_BAD_INDEX);
    EXPECT_EQ(doc.DeleteWaypoints(0, 0), DOC_BAD_INDEX);
    EXPECT_EQ(doc.DeleteWaypoints(3, 3), DOC_BAD_INDEX);  // runs past the end
    EXPECT_FALSE(doc.IsModified());

    EXPECT_EQ(doc.DeleteWaypoints(4, 1), DOC_OK);  // the last: nothing moves
    EXPECT_EQ(doc.waypointCount(), 4);
    EXPECT_EQ(doc.DeleteWaypoints(1, 2), DOC_OK);
    ASSERT_EQ(doc.waypointCount(), 2);
    EXPECT_TRUE(SameBytes(doc.Waypoints()[1], five[3]));
    EXPECT_TRUE(doc.IsModified());

    EXPECT_EQ(doc.DeleteTrackpoints(0, 1), DOC_BAD_INDEX);  // no trackpoints
}

TEST(CDataDoc, GetAndSetCheckTheIndex)
{
    CDataDoc doc;
    WaypointRecord w = TestWaypoint(1), out;
    EXPECT_EQ(doc.GetWaypoint(0, out), DOC_BAD_INDEX);
    EXPECT_EQ(doc.SetWaypoint(0, w), DOC_BAD_INDEX);
    EXPECT_FALSE(doc.IsModified());
    doc.InsertWaypoints(0, 1, &w);
    doc.SetModifiedFlag(false);
    WaypointRecord changed = TestWaypoint(2);
    EXPECT_EQ(doc.SetWaypoint(0, changed), DOC_OK);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetWaypoint(0, out), DOC_OK);
    EXPECT_TRUE(SameBytes(out, changed));
    EXPECT_EQ(doc.GetWaypoint(1, out), DOC_BAD_INDEX);
    TrackpointRecord t;
    EXPECT_EQ(doc.GetTrackpoint(0, t), DOC_BAD_INDEX);
}

TEST(CDataDoc, NeverHoldsMoreThan32767OfAKind)
{
    CDataDoc doc;
    auto many = std::vector<WaypointRecord>(MAX_DOC_RECORDS, TestWaypoint(1));
    ASSERT_EQ(doc.InsertWaypoints(0, MAX_DOC_RECORDS - 1, many.data()), DOC_OK);
    doc.SetModifiedFlag(false);
    EXPECT_EQ(doc.InsertWaypoints(0, 2, many.data()), DOC_TOO_MANY);
    EXPECT_EQ(doc.waypointCount(), MAX_DOC_RECORDS - 1);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.InsertWaypoints(0, 1, many.data()), DOC_OK);
    EXPECT_EQ(doc.InsertWaypoints(0, 1, many.data()), DOC_TOO_MANY);

    std::vector<TrackpointRecord> track(MAX_DOC_RECORDS + 1, TestTrackpoint(1));
    EXPECT_EQ(doc.InsertTrackpoints(0, MAX_DOC_RECORDS + 1, track.data()), DOC_TOO_MANY);
    EXPECT_EQ(doc.ReplaceTrackpoints(track), DOC_TOO_MANY);
    EXPECT_EQ(doc.trackpointCount(), 0);
}

TEST(CDataDoc, ReplacingAndTheCollectionsLeaveTheModifiedFlagAlone)
{
    CDataDoc doc;
    EXPECT_EQ(doc.ReplaceWaypoints(Waypoints(0, 3)), DOC_OK);
    EXPECT_EQ(doc.ReplaceTrackpoints({TestTrackpoint(1)}), DOC_OK);
    doc.correctionSets.Append(ZeroedEntry<MapCorrectionSet>());
    doc.gridPresets.Append(ZeroedEntry<GridScalePreset>());
    EXPECT_EQ(doc.waypointCount(), 3);
    EXPECT_FALSE(doc.IsModified());
}

TEST(RecordCollection, RemovingMovesLaterEntriesDownAndNamesStopAtTheField)
{
    GridScalePresets presets;
    for (const char* name : {"eins", "zwei", "drei"}) {
        GridScalePreset p = ZeroedEntry<GridScalePreset>();
        SetFieldText(p.name, sizeof p.name, name);
        presets.Append(p);
    }
    GridScalePreset full = ZeroedEntry<GridScalePreset>();
    std::memset(full.name, 'X', sizeof full.name);
    presets.Append(full);
    EXPECT_EQ(presets.Names().back(), std::string(41, 'X'));

    EXPECT_TRUE(presets.RemoveAt(3));  // the last
    EXPECT_TRUE(presets.RemoveAt(0));
    EXPECT_FALSE(presets.RemoveAt(2));
    EXPECT_EQ(presets.Names(), (std::vector<std::string>{"zwei", "drei"}));
}

}  // namespace
