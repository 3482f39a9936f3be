// Our GPX read by GPSBabel, a program no one here wrote, and what it writes read by ours.

#include <cstdlib>

#include <gtest/gtest.h>

#include "gps/CDataDoc.h"
#include "gps/Gpx.h"
#include "tests/cli/CliRunner.h"
#include "tests/gps/GpsTestRecords.h"

namespace {

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
    // extensions too: GPSBabel keeps every value the records hold.
    GpxData theirs = ReadGpxFile(dir.File("theirs.gpx"));
    EXPECT_TRUE(GpxReadNotes(theirs).empty());
    ASSERT_EQ(theirs.routes.size(), 2u);
    EXPECT_EQ(theirs.routes[1].header.number, 7);
    EXPECT_TRUE(SameRecordBytes(theirs, records));
}

}  // namespace
