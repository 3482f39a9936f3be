#include "edit/PointListFormat.h"

#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "gps/CDataDoc.h"
#include "tests/edit/ProcessSettings.h"

namespace {

// 107176 semicircles of latitude are 1.000004 km.
constexpr int32_t kOneKm = 107176;

TrackpointRecord Point(int32_t latitude, int32_t longitude, uint32_t time, uint8_t newTrack = 0)
{
    return {latitude, longitude, time, newTrack};
}

// Each point after the first shows one of the cases of the derived columns.
std::vector<TrackpointRecord> CaseTrack()
{
    return {
        Point(0, 0, 1000, 1),        Point(kOneKm, 0, 1060),  // 1 km north, 60 s later
        Point(0, 0, 1060),                                    // back south, same time
        Point(kOneKm, 0, 1120, 1),                            // a new segment
        Point(0, 0, 1000),                                    // an earlier time
        Point(-1000000, 6981, 1100),  // the previous point a hair west of north
    };
}

struct TrackRow {
    const char* legend;
    int record;
    const char* course;
    const char* distance;
    const char* speed;
    const char* total;
};

void ExpectTrackRows(const std::vector<TrackRow>& rows)
{
    std::vector<TrackpointRecord> track = CaseTrack();
    std::vector<TrackLeg> legs = ComputeTrackLegs(track);
    ASSERT_EQ(legs.size(), track.size());
    for (const TrackRow& row : rows) {
        auto i = static_cast<size_t>(row.record);
        auto text = [&](int column) {
            return TrackpointCellText(track[i], legs[i], row.record, column);
        };
        EXPECT_EQ(text(TRK_COL_COURSE), row.course) << row.legend;
        EXPECT_EQ(text(TRK_COL_DISTANCE), row.distance) << row.legend;
        EXPECT_EQ(text(TRK_COL_SPEED), row.speed) << row.legend;
        EXPECT_EQ(text(TRK_COL_TOTAL), row.total) << row.legend;
    }
}

TEST(PointListFormat, DerivedTrackColumnsInTheCLocale)
{
    ScopedLocale locale("C");
    ExpectTrackRows({
        {"first point: total only", 0, "", "", "", "0.00"},
        {"1 km in 60 s, previous point south", 1, "180", "1.000", "60.0", "1.00"},
        {"equal times: no speed, previous point north", 2, "000", "1.000", "", "2.00"},
        {"new segment: no speed, total runs on", 3, "180", "1.000", "", "3.00"},
        {"earlier time wraps to a tiny speed", 4, "000", "1.000", "00.0", "4.00"},
        {"course 359.6 prints as 360", 5, "360", "9.331", "335.9", "13.33"},
    });
}

TEST(PointListFormat, DerivedTrackColumnsFollowAGermanLocale)
{
    ScopedLocale locale("de_DE.UTF-8");
    if (!locale.ok()) {
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    }
    ExpectTrackRows({
        {"first point", 0, "", "", "", "0,00"},
        {"1 km in 60 s", 1, "180", "1,000", "60,0", "1,00"},
    });
}

TEST(PointListFormat, TrackLegsKeepTheNumbersBehindTheTexts)
{
    std::vector<TrackLeg> legs = ComputeTrackLegs(CaseTrack());
    EXPECT_FALSE(legs[0].hasPrevious);
    EXPECT_NEAR(legs[1].distance, 1.0, 1e-5);
    EXPECT_FALSE(legs[2].hasSpeed);
    EXPECT_FALSE(legs[3].hasSpeed);
    ASSERT_TRUE(legs[4].hasSpeed);
    EXPECT_GT(legs[4].speed, 0.0);
    EXPECT_NEAR(legs[4].speed, legs[4].distance * 3600.0 / (4294967296.0 - 120), 1e-15);
    EXPECT_GT(legs[5].course, 359.5);
    EXPECT_LT(legs[5].course, 360.0);
    EXPECT_TRUE(ComputeTrackLegs({}).empty());
}

TEST(PointListFormat, PlainTrackpointColumns)
{
    ScopedLocale locale("C");
    ScopedTimeZone zone("UTC");
    TrackpointRecord t = Point(1 << 30, -(1 << 29), 0, 255);
    TrackLeg first;
    EXPECT_EQ(TrackpointCellText(t, first, 7, TRK_COL_NUMBER), "0007");
    EXPECT_EQ(TrackpointCellText(t, first, 12345, TRK_COL_NUMBER), "12345");
    EXPECT_EQ(TrackpointCellText(t, first, 7, TRK_COL_NEW), "255");
    EXPECT_EQ(TrackpointCellText(t, first, 7, TRK_COL_LATITUDE), "90");
    EXPECT_EQ(TrackpointCellText(t, first, 7, TRK_COL_LONGITUDE), "-45");
    EXPECT_EQ(TrackpointCellText(t, first, 7, TRK_COL_TIME), "Sun Dec 31 00:00:00 1989");
    EXPECT_EQ(TrackpointCellText(t, first, 7, TRK_COLUMN_COUNT), "");
}

TEST(PointListFormat, DatesInAGermanLocaleAreUtf8)
{
    ScopedLocale locale("de_DE.UTF-8");
    if (!locale.ok()) {
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    }
    ScopedTimeZone zone("UTC");
    // 64 days after the epoch: Monday, 5 March 1990.
    std::string date = FormatTrackTime(Point(0, 0, 64 * 86400));
    EXPECT_EQ(date.rfind("Mo 05 M\xc3\xa4r 1990 00:00:00", 0), 0u) << date;
}

WaypointRecord Waypoint(const char* ident, const char* comment, int16_t symbol)
{
    WaypointRecord w;
    std::memset(&w, 0, sizeof w);
    std::memcpy(w.ident, ident, std::min(std::strlen(ident), sizeof w.ident));
    std::memcpy(w.comment, comment, std::min(std::strlen(comment), sizeof w.comment));
    w.latitude = 1 << 30;
    w.longitude = 89478485;  // 7.49999997 degrees
    w.symbol = symbol;
    return w;
}

TEST(PointListFormat, WaypointColumns)
{
    ScopedLocale locale("C");
    const std::string longComment(45, 'c');
    struct Case {
        const char* legend;
        WaypointRecord w;
        int index;
        int column;
        std::string text;
    } cases[] = {
        {"name ends at a zero byte", Waypoint("AB", "", 0), 0, WPT_COL_NAME, "AB"},
        {"a full name has no terminator", Waypoint("ABCDEFGH", "x", 0), 0, WPT_COL_NAME, "ABCDEF"},
        {"latitude %g", Waypoint("A", "", 0), 0, WPT_COL_LATITUDE, "90"},
        {"longitude %g, six digits", Waypoint("A", "", 0), 0, WPT_COL_LONGITUDE, "7.5"},
        {"comment keeps its Windows-1252 bytes",
         Waypoint("A",
                  "Gr\xfc\xdf"
                  "e",
                  0),
         0, WPT_COL_COMMENT,
         "Gr\xfc\xdf"
         "e"},
        {"a full comment is cut at 40", Waypoint("A", longComment.c_str(), 0), 0, WPT_COL_COMMENT,
         std::string(40, 'c')},
        {"number %03d", Waypoint("A", "", 0), 5, WPT_COL_NUMBER, "005"},
        {"number beyond three digits", Waypoint("A", "", 0), 1234, WPT_COL_NUMBER, "1234"},
        {"symbol %02d", Waypoint("A", "", 7), 0, WPT_COL_SYMBOL, "07"},
        {"symbol sign-extended", Waypoint("A", "", -1), 0, WPT_COL_SYMBOL, "-1"},
        {"no such column", Waypoint("A", "", 0), 0, WPT_COLUMN_COUNT, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WaypointCellText(c.w, c.index, c.column), c.text) << c.legend;
    }
}

TEST(PointListFormat, CellsOfADocumentByRecord)
{
    ScopedLocale locale("C");
    CDataDoc doc;
    std::vector<WaypointRecord> waypoints = {Waypoint("ONE", "", 0), Waypoint("TWO", "", 0)};
    doc.InsertWaypoints(0, 2, waypoints.data());
    doc.ReplaceTrackpoints(CaseTrack());
    std::vector<TrackLeg> legs = ComputeTrackLegs(doc.Trackpoints());
    EXPECT_EQ(PointListCellText(doc, LIST_WAYPOINTS, {}, 1, WPT_COL_NAME), "TWO");
    EXPECT_EQ(PointListCellText(doc, LIST_WAYPOINTS, {}, 2, WPT_COL_NAME), "");
    EXPECT_EQ(PointListCellText(doc, LIST_WAYPOINTS, {}, -1, WPT_COL_NAME), "");
    EXPECT_EQ(PointListCellText(doc, LIST_TRACKPOINTS, legs, 1, TRK_COL_SPEED), "60.0");
    EXPECT_EQ(PointListCellText(doc, LIST_TRACKPOINTS, {}, 1, TRK_COL_SPEED), "")
        << "legs that do not cover the record";
    EXPECT_EQ(PointListCellText(doc, LIST_NONE, legs, 1, 0), "");
}

TEST(PointListFormat, LaterReceiversValuesHaveColumnsOnlyWhereTheDocumentHoldsThem)
{
    ScopedLocale locale("C");
    ScopedTimeZone utc("UTC");
    CDataDoc doc;
    doc.ReplaceWaypoints({Waypoint("ONE", "", 0), Waypoint("TWO", "", 0)});
    std::vector<TrackpointRecord> track = CaseTrack();
    doc.ReplaceTrackpoints(track);
    EXPECT_FALSE(ShowsRichColumns(doc, LIST_WAYPOINTS));
    EXPECT_FALSE(ShowsRichColumns(doc, LIST_TRACKPOINTS));

    WaypointDetails high = NoWaypointDetails();
    high.altitude = 1898.25f;
    high.time = 86400;
    doc.SetWaypoint(1, doc.Waypoints()[1], high);
    std::vector<TrackpointDetails> points(track.size(), NoTrackpointDetails());
    SetFieldText(points[0].trackName, sizeof points[0].trackName, "Morgen");
    points[1].altitude = -3;
    doc.ReplaceTrackpoints(track, points);
    EXPECT_TRUE(ShowsRichColumns(doc, LIST_WAYPOINTS));
    EXPECT_TRUE(ShowsRichColumns(doc, LIST_TRACKPOINTS));
    EXPECT_EQ(ListColumnCount(LIST_WAYPOINTS, true), 8);
    EXPECT_STREQ(ListColumnAt(LIST_WAYPOINTS, WPT_COL_ALTITUDE).caption, "Höhe");

    std::vector<TrackLeg> legs = ComputeTrackLegs(doc.Trackpoints());
    struct Case {
        ListMode mode;
        int record;
        int column;
        const char* text;
    } cases[] = {
        {LIST_WAYPOINTS, 1, WPT_COL_ALTITUDE, "1898.2"},
        {LIST_WAYPOINTS, 1, WPT_COL_TIME, "Mon Jan  1 00:00:00 1990"},
        {LIST_WAYPOINTS, 0, WPT_COL_ALTITUDE, ""},
        {LIST_WAYPOINTS, 0, WPT_COL_TIME, ""},
        {LIST_TRACKPOINTS, 1, TRK_COL_ALTITUDE, "-3.0"},
        {LIST_TRACKPOINTS, 1, TRK_COL_TRACK, "Morgen"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PointListCellText(doc, c.mode, legs, c.record, c.column), c.text)
            << c.mode << " " << c.record << " " << c.column;
    }
}

}  // namespace
