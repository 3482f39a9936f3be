#include "gps/Gpx.h"

#include <clocale>
#include <cstring>

#include <gtest/gtest.h>

#include "gps/CDataDoc.h"
#include "gps/Geodesy.h"
#include "gps/TrackTime.h"
#include "tests/gps/GpsTestRecords.h"

namespace {

std::string Gpx(const std::string& body)
{
    return "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" creator=\"test\" "
           "xmlns=\"http://www.topografix.com/GPX/1/1\">" +
           body + "</gpx>";
}

TEST(Gpx, ExportAndImportKeepTheRecords)
{
    std::vector<WaypointRecord> waypoints = {TestWaypoint(1), TestWaypoint(14)};
    SetFieldText(waypoints[0].comment, 40,
                 "Br\xFC"
                 "cke & <Tor>");
    // The second as a receiver sends it: both texts padded with blanks.
    std::memcpy(waypoints[1].ident, "WP14  ", 6);
    std::memset(waypoints[1].comment, ' ', 40);
    std::memcpy(waypoints[1].comment, "two  words", 10);
    waypoints[1].display = 0;
    waypoints[0].display = 0;
    std::vector<TrackpointRecord> track = {TestTrackpoint(0), TestTrackpoint(1), TestTrackpoint(2)};
    track[2].newTrack = 1;
    track[1].time = TRACK_TIME_NONE;

    std::string text = FormatGpx(waypoints, track);
    EXPECT_NE(text.find("<cmt>Brücke &amp; &lt;Tor&gt;</cmt>"), std::string::npos);
    EXPECT_NE(text.find("<name>WP14</name>"), std::string::npos);
    EXPECT_NE(text.find("<cmt>two  words</cmt>"), std::string::npos);
    EXPECT_NE(text.find("<time>1989-12-31T00:00:00Z</time>"), std::string::npos);
    EXPECT_EQ(text.find("<time>", text.find("<time>") + 1),
              text.find("<time>1989-12-31T00:02:00Z</time>"));  // the middle point has none

    GpxData back = ParseGpx(text);
    ASSERT_EQ(back.waypoints.size(), 2u);
    EXPECT_EQ(WaypointIdent(back.waypoints[0]), "WP1   ") << "padded as renaming stores it";
    EXPECT_EQ(WaypointIdent(back.waypoints[1]), "WP14  ");
    EXPECT_EQ(WaypointComment(back.waypoints[1]), "two  words");
    EXPECT_EQ(WaypointComment(back.waypoints[0]), WaypointComment(waypoints[0]));
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(back.waypoints[i].symbol, waypoints[i].symbol);
        EXPECT_EQ(back.waypoints[i].latitude, waypoints[i].latitude);
        EXPECT_EQ(back.waypoints[i].longitude, waypoints[i].longitude);
    }
    ASSERT_EQ(back.trackpoints.size(), 3u);
    EXPECT_EQ(back.trackpoints[0].time, 0u);
    EXPECT_EQ(back.trackpoints[1].time, TRACK_TIME_NONE);
    EXPECT_EQ(back.trackpoints[2].time, 120u);
    EXPECT_EQ(back.trackpoints[0].newTrack, 1);
    EXPECT_EQ(back.trackpoints[1].newTrack, 0);
    EXPECT_EQ(back.trackpoints[2].newTrack, 1);
}

TEST(Gpx, ReadsWhatOtherProgramsWrite)
{
    GpxData data = ParseGpx(Gpx(R"(
        <metadata><name>x</name></metadata>
        <wpt lat="47.5" lon="-8.25"><ele>400</ele><name>Weißhorn Gipfel</name>
            <desc>only a description</desc><sym>flag</sym></wpt>
        <wpt lat=" 1e-3 " lon="0"/>
        <rte><rtept lat="1" lon="2"><name>R1</name></rtept><rtept lat="3" lon="4"/></rte>
        <trk><trkseg>
            <trkpt lat="10" lon="20"><time>2024-05-01T14:00:00+02:00</time></trkpt>
            <trkpt lat="10.1" lon="20.1"><time>not a time</time></trkpt>
          </trkseg><trkseg/><trkseg>
            <trkpt lat="11" lon="21"><time>1980-01-01T00:00:00Z</time></trkpt>
        </trkseg></trk>
        <trk><trkseg><trkpt lat="12" lon="22"/></trkseg></trk>)"));
    ASSERT_EQ(data.waypoints.size(), 4u);
    EXPECT_EQ(WaypointComment(data.waypoints[0]), "only a description");
    EXPECT_EQ(data.waypoints[0].symbol, SYMBOL_FLAG);
    EXPECT_EQ(data.waypoints[0].latitude, DegreesToSemicirclesRounded(47.5));
    EXPECT_EQ(data.waypoints[0].longitude, DegreesToSemicirclesRounded(-8.25));
    EXPECT_EQ(data.waypoints[1].symbol, SYMBOL_DOT);
    EXPECT_EQ(WaypointIdent(data.waypoints[2]), "R1    ");
    ASSERT_EQ(data.trackpoints.size(), 4u);
    EXPECT_EQ(data.trackpoints[0].time, *UnixToTrackTime(1714564800));
    EXPECT_EQ(data.trackpoints[1].time, TRACK_TIME_NONE);
    EXPECT_EQ(data.trackpoints[2].time, TRACK_TIME_NONE);  // before the receivers' epoch
    std::vector<int> starts;
    for (const auto& t : data.trackpoints) {
        starts.push_back(t.newTrack);
    }
    EXPECT_EQ(starts, (std::vector<int>{1, 0, 1, 1}));
}

TEST(Gpx, NamesBecomeIdentsAReceiverAccepts)
{
    struct Case {
        const char* legend;
        std::string name;  // the element in the file
        std::string ident;
    } cases[] = {
        {"accented letters in UTF-8", "<name>Zürich</name>", "ZURICH"},
        {"sharp s in UTF-8, cut to six", "<name>Weißhorn Gipfel</name>", "WEISSH"},
        {"characters outside Windows-1252 left out", "<name>Łódź</name>", "OD    "},
        {"surrounding white space", "<name>\n  ab \t</name>", "AB    "},
        {"escaped characters", "<name>A&amp;B&#x2D;1</name>", "AB-1  "},
        {"blanks left at the start by characters left out", "<name>!? ab</name>", "AB    "},
        {"no name", "", "      "},
    };
    for (const Case& c : cases) {
        GpxData data = ParseGpx(Gpx("<wpt lat='0' lon='0'>" + c.name + "</wpt>"));
        ASSERT_EQ(data.waypoints.size(), 1u) << c.legend;
        EXPECT_EQ(std::string(data.waypoints[0].ident, 6), c.ident) << c.legend;
    }
}

TEST(Gpx, CommentsAreCutToFortyCharacters)
{
    struct Case {
        const char* legend;
        std::string comment;  // the element's text in the file
        std::string kept;
    } cases[] = {
        {"longer", std::string(50, 'c'), std::string(40, 'c')},
        {"white space at the cut", std::string(37, 'c') + " \t d", std::string(37, 'c')},
    };
    for (const Case& c : cases) {
        GpxData data = ParseGpx(Gpx("<wpt lat='0' lon='0'><cmt>" + c.comment + "</cmt></wpt>"));
        ASSERT_EQ(data.waypoints.size(), 1u) << c.legend;
        EXPECT_EQ(std::string(data.waypoints[0].comment, 40),
                  c.kept + std::string(40 - c.kept.size(), '\0'))
            << c.legend;
    }
}

TEST(Gpx, CarriageReturnsInCommentsAreWrittenAsReferences)
{
    WaypointRecord w = TestWaypoint(1);
    SetFieldText(w.comment, 40,
                 "Tor\r\nNord\rS\xFC"
                 "d");
    std::string text = FormatGpx({w}, {});
    EXPECT_NE(text.find("<cmt>Tor&#13;\nNord&#13;S"), std::string::npos);
    GpxData back = ParseGpx(text);
    ASSERT_EQ(back.waypoints.size(), 1u);
    EXPECT_EQ(WaypointComment(back.waypoints[0]), WaypointComment(w));
}

TEST(Gpx, SymbolNamesInAnyCaseAndUnknownOnes)
{
    EXPECT_EQ(SymbolFromGpxName("Residence"), SYMBOL_HOUSE);
    EXPECT_EQ(SymbolFromGpxName("SKULL AND CROSSBONES"), SYMBOL_SKULL);
    EXPECT_EQ(SymbolFromGpxName("temp"), SYMBOL_TEMP);
    EXPECT_EQ(SymbolFromGpxName("Unheard Of"), SYMBOL_DOT);
    for (int s = 0; s < SYMBOL_COUNT; ++s) {
        EXPECT_EQ(SymbolFromGpxName(GpxSymbolName(s)), s);
    }
}

TEST(Gpx, NumbersAreReadAndWrittenTheSameUnderTheGermanLocale)
{
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) {
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    }
    std::string text = FormatGpx({TestWaypoint(3)}, {});
    GpxData data = ParseGpx(Gpx("<wpt lat='52.25' lon='13.5'/>"));
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(text.find(','), std::string::npos);
    EXPECT_EQ(data.waypoints[0].latitude, DegreesToSemicirclesRounded(52.25));
}

TEST(Gpx, OnlyAFileThatIsNotGpxIsRefused)
{
    struct Case {
        const char* legend;
        std::string xml;
        const char* says;
    } cases[] = {
        {"not XML", "<gpx><wpt", "kein lesbares XML"},
        {"another root", "<kml/>", "keine GPX-Datei"},
        {"empty", "", "kein lesbares XML"},
    };
    for (const Case& c : cases) {
        try {
            ParseGpx(c.xml);
            ADD_FAILURE() << c.legend << ": accepted";
        } catch (const GpxError& e) {
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos)
                << c.legend << ": " << e.what();
        }
    }
}

TEST(Gpx, PointsWithoutAValidPositionAreLeftOutAndCounted)
{
    GpxData data = ParseGpx(Gpx(R"(
        <wpt lon='1'/>
        <wpt lat='91' lon='1'/>
        <wpt lat='nan' lon='1'/>
        <wpt lat='-90' lon='-180'><name>POL</name></wpt>
        <rte><rtept lat='1' lon='180.5'/></rte>
        <trk><trkseg>
          <trkpt lat='1' lon='east'/>
          <trkpt lat='1' lon='2'/>
          <trkpt lat='1' lon='3'/>
        </trkseg></trk>)"));
    EXPECT_EQ(data.skipped, 5);
    ASSERT_EQ(data.waypoints.size(), 1u);
    EXPECT_EQ(WaypointIdent(data.waypoints[0]), "POL   ");
    ASSERT_EQ(data.trackpoints.size(), 2u);
    EXPECT_EQ(data.trackpoints[0].newTrack, 1) << "the first valid point starts the track";
    EXPECT_EQ(data.trackpoints[1].newTrack, 0);
    EXPECT_EQ(SkippedPointsText(2), "2 Punkte ohne gültige Position übersprungen");
    EXPECT_EQ(SkippedPointsText(1), "1 Punkt ohne gültige Position übersprungen");
}

TEST(Gpx, ALatitudeBeyondThePoleIsWrittenAsThePoleAndCounted)
{
    WaypointRecord north = TestWaypoint(1);
    north.latitude = DegreesToSemicircles(95);
    TrackpointRecord south = TestTrackpoint(0);
    south.latitude = DegreesToSemicircles(-120);
    int adjusted = 0;
    GpxData back = ParseGpx(FormatGpx({north, TestWaypoint(2)}, {south}, &adjusted));
    EXPECT_EQ(adjusted, 2);
    EXPECT_EQ(back.skipped, 0);
    ASSERT_EQ(back.waypoints.size(), 2u);
    EXPECT_EQ(back.waypoints[0].latitude, 1 << 30);
    EXPECT_EQ(back.waypoints[0].longitude, north.longitude);
    EXPECT_EQ(back.waypoints[1].latitude, TestWaypoint(2).latitude);
    EXPECT_EQ(back.trackpoints.at(0).latitude, -(1 << 30));
}

TEST(Gpx, MoreRecordsThanADocumentHoldsAreRefused)
{
    std::string points;
    for (int i = 0; i <= MAX_DOC_RECORDS; ++i) {
        points += "<trkpt lat='1' lon='1'/>";
    }
    try {
        ParseGpx(Gpx("<trk><trkseg>" + points + "</trkseg></trk>"));
        FAIL() << "accepted";
    } catch (const GpxError& e) {
        EXPECT_NE(std::string(e.what()).find("32767"), std::string::npos) << e.what();
    }
}

}  // namespace
