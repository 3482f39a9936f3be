#include "gps/Gpx.h"

#include <clocale>
#include <cstring>

#include <gtest/gtest.h>

#include "gps/CDataDoc.h"
#include "gps/Geodesy.h"
#include "gps/TrackTime.h"
#include "tests/gps/GpsTestRecords.h"

namespace {

GpsRecords Plain(std::vector<WaypointRecord> waypoints, std::vector<TrackpointRecord> track)
{
    GpsRecords records;
    records.waypoints = std::move(waypoints);
    records.trackpoints = std::move(track);
    return records;
}

size_t Count(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}

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

    std::string text = FormatGpx(Plain(waypoints, track));
    EXPECT_EQ(text.find("xmlns:gpx"), std::string::npos) << "no extensions, no namespaces";
    EXPECT_NE(text.find("<cmt>Brücke &amp; &lt;Tor&gt;</cmt>"), std::string::npos);
    EXPECT_NE(text.find("<name>WP14</name>"), std::string::npos);
    EXPECT_NE(text.find("<cmt>two  words</cmt>"), std::string::npos);
    EXPECT_NE(text.find("<time>1989-12-31T00:00:00Z</time>"), std::string::npos);
    EXPECT_EQ(text.find("<time>", text.find("<time>") + 1),
              text.find("<time>1989-12-31T00:02:00Z</time>"));  // the middle point has none

    GpxData back = ParseGpx(text);
    EXPECT_TRUE(back.waypointDetails.empty() && back.trackpointDetails.empty());
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

TEST(Gpx, ExportAndImportKeepEverythingGpxCarries)
{
    GpsRecords records = GpxTestRecords();
    std::string text = FormatGpx(records);
    for (const char* written :
         {"xmlns:gpxx=\"http://www.garmin.com/xmlschemas/GpxExtensions/v3\"",
          "xmlns:gpxtpx=\"http://www.garmin.com/xmlschemas/TrackPointExtension/v1\"",
          "<sym>City (Medium)</sym>", "<gpxx:Temperature>-12.5</gpxx:Temperature>",
          "<gpxx:DisplayMode>SymbolOnly<", "<gpxx:Category>Category 16</gpxx:Category>",
          "<gpxx:City>Zürich</gpxx:City>", "<number>7</number>",
          "<gpxx:DisplayColor>DarkRed</gpxx:DisplayColor>", "<gpxtpx:atemp>21.5</gpxtpx:atemp>"}) {
        EXPECT_NE(text.find(written), std::string::npos) << written;
    }
    EXPECT_EQ(Count(text, "<trk>"), 2u) << "the unnamed start is a segment";
    EXPECT_EQ(Count(text, "<trkseg>"), 3u);
    EXPECT_EQ(Count(text, "<gpxx:WaypointExtension>"), 6u) << "none for WP3, twice";

    EXPECT_TRUE(SameRecordBytes(ParseGpx(text), records));
}

TEST(Gpx, ReadsWhatReceiversWrite)
{
    GpxData data = ReadGpxFile(ORVI_TEST_DATA "/gpx/receiver.gpx");
    EXPECT_TRUE(GpxReadNotes(data).empty());
    ASSERT_EQ(data.waypoints.size(), 2u);
    const WaypointRecord& w = data.waypoints[0];
    const WaypointDetails& d = data.waypointDetails.at(0);
    EXPECT_EQ(WaypointName(w, d), "Wildspitz Gipfelkreuz");
    EXPECT_EQ(WaypointLongComment(w, d), "Aussicht auf den Zugersee und die Rigi, 1580 m");
    EXPECT_EQ(WaypointFullSymbol(w, d), *SymbolByName("Summit"));
    EXPECT_EQ(d.altitude, 1097.42f);
    EXPECT_EQ(TrackTimeToUnix(d.time), 1714554750);
    EXPECT_EQ(d.proximity, 25.0f);
    EXPECT_EQ(d.temperature, 8.5f);
    EXPECT_FALSE(HasValue(d.depth));
    EXPECT_EQ(w.display, DISPLAY_SYMBOL_COMMENT) << "the first extension counts";
    EXPECT_EQ(d.category, 0x0002) << "a category named by the user is left out";
    EXPECT_EQ(FieldText(d.address, 50), "Wildspitz 1");
    EXPECT_EQ(FieldText(d.city, 24), "Steinerberg");
    EXPECT_EQ(FieldText(d.state, 2), "SZ");
    EXPECT_EQ(FieldText(d.country, 2), "") << "a country name is no code";

    ASSERT_EQ(data.routes.size(), 1u);
    EXPECT_EQ(data.routes[0].header.number, 4);
    EXPECT_EQ(FieldText(data.routes[0].header.name, 50), "Zug - Wildspitz");
    ASSERT_EQ(data.routes[0].points.size(), 2u);
    EXPECT_TRUE(SameBytes(data.routes[0].points[0].record, data.waypoints[1]));

    ASSERT_EQ(data.trackpoints.size(), 3u);
    const auto& t = data.trackpointDetails;
    EXPECT_EQ(FieldText(t.at(0).trackName, 50), "2024-05-01 09:02:11 Tag");
    EXPECT_EQ(t[0].trackColour, 2);
    EXPECT_EQ(t[0].altitude, 414.37f);
    EXPECT_EQ(t[0].temperature, 14.0f);
    EXPECT_EQ(t[1].temperature, 13.5f);
    EXPECT_EQ(t[1].depth, 1.5f);
    EXPECT_EQ(data.trackpoints[2].newTrack, 1);
    EXPECT_TRUE(FieldText(t[2].trackName, 50).empty()) << "a segment starts no named track";
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
    ASSERT_EQ(data.waypoints.size(), 2u);
    EXPECT_EQ(WaypointComment(data.waypoints[0]), "only a description");
    EXPECT_EQ(data.waypoints[0].symbol, SYMBOL_FLAG);
    EXPECT_EQ(data.waypoints[0].latitude, DegreesToSemicirclesRounded(47.5));
    EXPECT_EQ(data.waypoints[0].longitude, DegreesToSemicirclesRounded(-8.25));
    EXPECT_EQ(data.waypointDetails.at(0).altitude, 400.0f);
    EXPECT_EQ(data.waypoints[1].symbol, SYMBOL_DOT);
    ASSERT_EQ(data.routes.size(), 1u) << "route points stay in their route";
    EXPECT_EQ(data.routes[0].header.number, 0) << "no number: its place";
    ASSERT_EQ(data.routes[0].points.size(), 2u);
    EXPECT_EQ(WaypointIdent(data.routes[0].points[0].record), "R1    ");
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
        {"blanks left by characters left out", "<name>!? ab</name>", " AB   "},
        {"no name", "", "      "},
    };
    for (const Case& c : cases) {
        GpxData data = ParseGpx(Gpx("<wpt lat='0' lon='0'>" + c.name + "</wpt>"));
        ASSERT_EQ(data.waypoints.size(), 1u) << c.legend;
        EXPECT_EQ(std::string(data.waypoints[0].ident, 6), c.ident) << c.legend;
    }
}

TEST(Gpx, CommentsAreKeptToFiftyCharacters)
{
    struct Case {
        const char* legend;
        std::string comment;  // the element's text in the file
        std::string kept;
    } cases[] = {
        {"longer", std::string(60, 'c'), std::string(50, 'c')},
        {"white space at the cut", std::string(47, 'c') + " \t d", std::string(47, 'c')},
    };
    for (const Case& c : cases) {
        GpxData data = ParseGpx(Gpx("<wpt lat='0' lon='0'><cmt>" + c.comment + "</cmt></wpt>"));
        ASSERT_EQ(data.waypoints.size(), 1u) << c.legend;
        EXPECT_EQ(WaypointLongComment(data.waypoints[0], data.waypointDetails.at(0)), c.kept);
        EXPECT_EQ(WaypointComment(data.waypoints[0]), c.kept.substr(0, 40)) << c.legend;
    }
}

TEST(Gpx, CarriageReturnsInCommentsAreWrittenAsReferences)
{
    WaypointRecord w = TestWaypoint(1);
    SetFieldText(w.comment, 40,
                 "Tor\r\nNord\rS\xFC"
                 "d");
    std::string text = FormatGpx(Plain({w}, {}));
    EXPECT_NE(text.find("<cmt>Tor&#13;\nNord&#13;S"), std::string::npos);
    GpxData back = ParseGpx(text);
    ASSERT_EQ(back.waypoints.size(), 1u);
    EXPECT_EQ(WaypointComment(back.waypoints[0]), WaypointComment(w));
}

TEST(Gpx, BadOrUnknownValuesBecomeUnknownCutOrTheDot)
{
    struct Case {
        const char* legend;
        std::string element;  // in a wpt
        float altitude;
        uint32_t time;
        size_t nameSize;
        int symbol;
        int unknownSymbols;
    } cases[] = {
        {"altitude beyond a float", "<ele>1e30</ele>", VALUE_NONE, TIME_NONE, 0, SYMBOL_DOT, 0},
        {"altitude not a number", "<ele>NaN</ele>", VALUE_NONE, TIME_NONE, 0, SYMBOL_DOT, 0},
        {"altitude where unknown begins", "<ele>-1e24</ele>", VALUE_NONE, TIME_NONE, 0, 0, 0},
        {"altitude with a sign", "<ele>+1234.5</ele>", 1234.5f, TIME_NONE, 0, SYMBOL_DOT, 0},
        {"time before 1989", "<time>1989-12-30T23:59:59Z</time>", VALUE_NONE, TIME_NONE, 0, 0, 0},
        {"last time 32 bits hold", "<time>2126-02-06T06:28:14Z</time>", VALUE_NONE, 0xFFFFFFFE, 0,
         SYMBOL_DOT, 0},
        {"time beyond 32 bits", "<time>2126-02-06T06:28:15Z</time>", VALUE_NONE, TIME_NONE, 0, 0,
         0},
        {"name of 10000 characters", "<name>" + std::string(10000, 'x') + "</name>", VALUE_NONE,
         TIME_NONE, 50, SYMBOL_DOT, 0},
        {"full-table name in any case", "<sym>SKULL AND CROSSBONES</sym>", VALUE_NONE, TIME_NONE, 0,
         SYMBOL_SKULL, 0},
        {"the symbol list's word", "<sym>temp</sym>", VALUE_NONE, TIME_NONE, 0, SYMBOL_TEMP, 0},
        {"GPS 12 name", "<sym>Waterfowl</sym>", VALUE_NONE, TIME_NONE, 0, SYMBOL_DUCK, 0},
        {"unknown symbol", "<sym>Unheard Of</sym>", VALUE_NONE, TIME_NONE, 0, SYMBOL_DOT, 1},
    };
    for (const Case& c : cases) {
        GpxData data = ParseGpx(Gpx("<wpt lat='0' lon='0'>" + c.element + "</wpt>"));
        const WaypointDetails& d =
            data.waypointDetails.empty() ? NoWaypointDetails() : data.waypointDetails[0];
        EXPECT_EQ(d.altitude, c.altitude) << c.legend;
        EXPECT_EQ(d.time, c.time) << c.legend;
        EXPECT_EQ(FieldText(d.name, 50).size(), c.nameSize) << c.legend;
        EXPECT_EQ(data.waypoints.at(0).symbol, c.symbol) << c.legend;
        EXPECT_EQ(data.unknownSymbols, c.unknownSymbols) << c.legend;
    }
    EXPECT_EQ(
        GpxReadNotes(ParseGpx(Gpx("<wpt lat='0' lon='0'><sym>x</sym></wpt>"))),
        std::vector<std::string>{"1 unbekannter Symbolname durch das Symbol \"dot\" ersetzt"});
}

TEST(Gpx, TrackColoursAreTheReceiversNumbers)
{
    const char* names[] = {"Black",       "DarkRed",    "DarkGreen", "DarkYellow", "DarkBlue",
                           "DarkMagenta", "DarkCyan",   "LightGray", "DarkGray",   "Red",
                           "Green",       "Yellow",     "Blue",      "Magenta",    "Cyan",
                           "White",       "Transparent"};
    for (uint8_t colour = 0; colour <= 17; ++colour) {
        GpsRecords records = Plain({}, {TestTrackpoint(0)});
        records.trackpointDetails = {NoTrackpointDetails()};
        records.trackpointDetails[0].trackColour = colour;
        std::string text = FormatGpx(records);
        if (colour == 17) {
            EXPECT_EQ(text.find("DisplayColor"), std::string::npos) << "no name, nothing written";
            break;
        }
        EXPECT_NE(text.find(std::string(">") + names[colour] + "<"), std::string::npos);
        EXPECT_EQ(ParseGpx(text).trackpointDetails.at(0).trackColour, colour) << names[colour];
    }
}

TEST(Gpx, NumbersAreReadAndWrittenTheSameUnderTheGermanLocale)
{
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) {
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    }
    std::string text = FormatGpx(GpxTestRecords());
    GpxData data = ParseGpx(Gpx("<wpt lat='52.25' lon='13.5'><ele>400.5</ele></wpt>"));
    std::setlocale(LC_ALL, "C");
    EXPECT_NE(text.find("<ele>401.5</ele>"), std::string::npos);
    EXPECT_NE(text.find(" lat=\"0.000083903\""), std::string::npos);
    EXPECT_EQ(data.waypointDetails.at(0).altitude, 400.5f);
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
    GpxData back = ParseGpx(FormatGpx(Plain({north, TestWaypoint(2)}, {south}), &adjusted));
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

TEST(Gpx, RoutesAreTakenWhileTheyFitWhole)
{
    auto route = [](int points) {
        std::string text = "<rte>";
        for (int i = 0; i < points; ++i) {
            text += "<rtept lat='1' lon='1'/>";
        }
        return text + "</rte>";
    };
    std::string many;
    for (int i = 0; i <= MAX_DOC_ROUTES; ++i) {
        many += route(1);
    }
    struct Case {
        const char* legend;
        std::string body;
        size_t routes;
        const char* note;
    } cases[] = {
        {"one route too many", many, 255,
         "1 Route mit 1 Punkt ausgelassen: ein GPS-Datendokument "
         "hält höchstens 255 Routen und 32767 Routenpunkte"},
        {"100000 points", route(10) + route(100000) + route(5), 1,
         "2 Routen mit 100005 Punkten ausgelassen"},
    };
    for (const Case& c : cases) {
        GpxData data = ParseGpx(Gpx(c.body));
        EXPECT_EQ(data.routes.size(), c.routes) << c.legend;
        EXPECT_TRUE(RoutesFit(data.routes)) << c.legend;
        ASSERT_EQ(GpxReadNotes(data).size(), 1u) << c.legend;
        EXPECT_NE(GpxReadNotes(data)[0].find(c.note), std::string::npos) << GpxReadNotes(data)[0];
    }
}

}  // namespace
