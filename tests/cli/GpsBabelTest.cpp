// Our GPX read by GPSBabel, a program no one here wrote, and what it writes read by ours.

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include <gtest/gtest.h>

#include "gps/CDataDoc.h"
#include "gps/Gpx.h"
#include "tests/cli/CliRunner.h"
#include "tests/gps/GpsTestRecords.h"

namespace {

// The values only this program's own GPX elements carry, as they are when not given.
void LeaveOutOwnElements(GpsRecords& records)
{
    auto leaveOut = [](WaypointDetails& d) {
        const WaypointDetails& none = NoWaypointDetails();
        d.colour = none.colour;
        d.wptClass = none.wptClass;
        std::memcpy(d.subclass, none.subclass, sizeof d.subclass);
        std::memcpy(d.facility, none.facility, sizeof d.facility);
        std::memcpy(d.crossRoad, none.crossRoad, sizeof d.crossRoad);
    };
    std::for_each(records.waypointDetails.begin(), records.waypointDetails.end(), leaveOut);
    for (Route& route : records.routes) {
        for (RoutePoint& point : route.points) {
            leaveOut(point.details);
            point.link = NoRouteLink();
        }
    }
    for (TrackpointDetails& d : records.trackpointDetails) {
        d.trackDisplay = NoTrackpointDetails().trackDisplay;
    }
}

TEST(GpsBabel, WhatItWritesOfOurGpxImportsAsTheDocumentWeExported)
{
    if (std::system("command -v gpsbabel >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "gpsbabel is not on PATH";
    }
    TempDir dir;
    GpsRecords records = GpxTestRecords();
    CDataDoc doc;
    doc.ReplaceWaypoints(records.waypoints, records.waypointDetails);
    doc.ReplaceTrackpoints(records.trackpoints, records.trackpointDetails);
    doc.ReplaceRoutes(records.routes);
    doc.OnSaveDocument(dir.File("rich.orvd"));
    ASSERT_EQ(RunOrvi("convert " + dir.File("rich.orvd") + " " + dir.File("ours.gpx")).status, 0);
    std::string babel = "gpsbabel -i gpx -f " + dir.File("ours.gpx") + " -o gpx -F " +
                        dir.File("theirs.gpx") + " 2>" + dir.File("babel.err");
    ASSERT_EQ(std::system(babel.c_str()), 0);

    // Names, positions, altitudes, times, symbols, route order and tracks, and the maker's
    // extensions too: GPSBabel keeps every value that GPX and the maker carry.
    GpxData theirs = ReadGpxFile(dir.File("theirs.gpx"));
    EXPECT_TRUE(GpxReadNotes(theirs).empty());
    ASSERT_EQ(theirs.routes.size(), 2u);
    EXPECT_EQ(theirs.routes[1].header.number, 7);
    // Of this program's own elements GPSBabel keeps some; they are left out of both.
    LeaveOutOwnElements(theirs);
    LeaveOutOwnElements(records);
    EXPECT_TRUE(SameRecordBytes(theirs, records));
}

}  // namespace
