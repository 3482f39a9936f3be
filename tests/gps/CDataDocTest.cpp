#include "gps/CDataDoc.h"

#include "framework/Archive.h"

#include <functional>

#include <gtest/gtest.h>

#include "tests/TempDir.h"
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
    TrackpointDetails details[] = {NoTrackpointDetails(), NoTrackpointDetails()};
    details[0].altitude = 500;
    ASSERT_EQ(doc.InsertTrackpoints(0, 2, points, details), DOC_OK);
    TrackpointRecord front = TestTrackpoint(7);
    ASSERT_EQ(doc.InsertTrackpoints(0, 1, &front), DOC_OK);
    ASSERT_EQ(doc.trackpointCount(), 3);
    EXPECT_TRUE(SameBytes(doc.Trackpoints()[0], front));
    EXPECT_TRUE(SameBytes(doc.Trackpoints()[2], points[1]));
    EXPECT_EQ(doc.TrackpointDetailsAt(1).altitude, 500) << "with the first records of the kind";
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

TEST(CDataDocUndo, AChangeOutsideTheRecordsStaysUntilSaved)
{
    WaypointRecord edited = TestWaypoint(2);
    auto edit = [&](CDataDoc& doc) { doc.SetWaypoint(0, edited); };
    auto setStored = [](CDataDoc& doc) { doc.MarkChangedOutsideRecords(); };
    auto save = [](CDataDoc& doc) { doc.SetModifiedFlag(false); };
    auto undo = [](CDataDoc& doc) { doc.Undo(); };
    auto redo = [](CDataDoc& doc) { doc.Redo(); };
    struct Case {
        const char* legend;
        std::vector<std::function<void(CDataDoc&)>> steps;
        bool modified;
    } cases[] = {
        {"a set stored", {setStored}, true},
        {"a set stored, then saved", {setStored, save}, false},
        {"a record edit undone", {edit, undo}, false},
        {"set stored, record edit undone", {setStored, edit, undo}, true},
        {"record edit, set stored, undo", {edit, setStored, undo}, true},
        {"record edit undone, set stored, redo and undo",
         {edit, undo, setStored, redo, undo},
         true},
        {"set stored and saved, record edit undone", {setStored, save, edit, undo}, false},
    };
    for (const Case& c : cases) {
        CDataDoc doc;
        WaypointRecord w = TestWaypoint(1);
        doc.InsertWaypoints(0, 1, &w);
        doc.SetModifiedFlag(false);
        for (const auto& step : c.steps) {
            step(doc);
        }
        EXPECT_EQ(doc.IsModified(), c.modified) << c.legend;
    }
}

TEST(CDataDocUndo, EveryKindOfChangeGoesBackAndForth)
{
    CDataDoc doc;
    auto five = Waypoints(0, 5);
    TrackpointRecord t[2] = {TestTrackpoint(1), TestTrackpoint(2)};
    WaypointRecord renamed = TestWaypoint(9);
    WaypointDetails details[2] = {TestDetails(1), TestDetails(2)};
    TrackpointDetails climb = NoTrackpointDetails();
    climb.altitude = 1200;
    struct Change {
        const char* legend;
        std::function<void()> apply;
    } changes[] = {
        {"insert waypoints", [&] { doc.InsertWaypoints(0, 5, five.data()); }},
        {"insert trackpoints", [&] { doc.InsertTrackpoints(0, 2, t); }},
        {"set a waypoint", [&] { doc.SetWaypoint(2, renamed); }},
        {"delete a waypoint", [&] { doc.DeleteWaypoints(0, 1); }},
        {"delete a trackpoint", [&] { doc.DeleteTrackpoints(1, 1); }},
        {"replace the track", [&] { doc.ReplaceTrackpoints({TestTrackpoint(7)}); }},
        {"insert waypoints with details", [&] { doc.InsertWaypoints(1, 2, five.data(), details); }},
        {"set a waypoint's details", [&] { doc.SetWaypoint(0, renamed, TestDetails(5)); }},
        {"a track point's altitude", [&] { doc.InsertTrackpoints(0, 1, t, &climb); }},
        {"replace the routes", [&] { doc.ReplaceRoutes({TestRoute(1, 2)}); }},
        {"delete a route", [&] { doc.ReplaceRoutes({}); }},
    };
    auto stored = [&] {
        MemoryOutputStream out;
        Archive archive(out);
        doc.Serialize(archive);
        return out.bytes();
    };
    std::vector<std::vector<uint8_t>> states{stored()};
    for (const Change& c : changes) {
        c.apply();
        states.push_back(stored());
        EXPECT_NE(states.back(), states[states.size() - 2]) << c.legend;
    }
    for (size_t i = std::size(changes); i > 0; --i) {
        ASSERT_TRUE(doc.CanUndo()) << changes[i - 1].legend;
        doc.Undo();
        EXPECT_EQ(stored(), states[i - 1]) << "undo " << changes[i - 1].legend;
    }
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_FALSE(doc.IsModified());  // back where it started, which counts as saved
    for (size_t i = 1; i <= std::size(changes); ++i) {
        doc.Redo();
        EXPECT_EQ(stored(), states[i]) << "redo " << changes[i - 1].legend;
    }
    EXPECT_FALSE(doc.CanRedo());
}

TEST(CDataDocUndo, OneStepPerCommandAndTheModifiedFlagFollowsTheSavedState)
{
    TempDir dir;
    CDataDoc doc;
    doc.ReplaceWaypoints(Waypoints(0, 6));
    doc.OnSaveDocument(dir.File("a.orvd"));
    EXPECT_FALSE(doc.IsModified());
    {
        CDataDoc::UndoStep step(doc, "delete");
        doc.DeleteWaypoints(5, 1);
        doc.DeleteWaypoints(2, 1);
    }
    EXPECT_EQ(doc.waypointCount(), 4);
    EXPECT_TRUE(doc.IsModified());
    doc.Undo();
    EXPECT_EQ(doc.waypointCount(), 6);  // both deletions in one step
    EXPECT_FALSE(doc.IsModified());
    doc.Redo();
    EXPECT_TRUE(doc.IsModified());
    doc.Undo();
    WaypointRecord w = TestWaypoint(40);
    doc.InsertWaypoints(0, 1, &w);  // a new change ends what could be redone
    EXPECT_FALSE(doc.CanRedo());
    doc.OnSaveDocument(dir.File("a.orvd"));
    doc.Undo();
    EXPECT_TRUE(doc.IsModified());  // the saved state now has the new waypoint
    doc.Redo();
    EXPECT_FALSE(doc.IsModified());

    doc.OnOpenDocument(dir.File("a.orvd"));  // a loaded document starts a new history
    EXPECT_FALSE(doc.CanUndo());
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
