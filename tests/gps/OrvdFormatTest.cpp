#include <algorithm>
#include <fstream>
#include <tuple>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "framework/Archive.h"
#include "gps/CDataDoc.h"
#include "tests/TempDir.h"
#include "tests/gps/GpsTestRecords.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Stored(CDataDoc& doc)
{
    MemoryOutputStream out;
    Archive archive(out);
    doc.Serialize(archive);
    return out.bytes();
}

void Load(CDataDoc& doc, const Bytes& bytes)
{
    MemoryInputStream in(bytes);
    Archive archive(in);
    doc.Serialize(archive);
}

Bytes Tag(const char* text)
{
    Bytes tag(8, 0);
    std::memcpy(tag.data(), text, std::strlen(text));
    return tag;
}

Bytes RecordBytes(const void* record, size_t size)
{
    const auto* p = static_cast<const uint8_t*>(record);
    return Bytes(p, p + size);
}

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes WaypointSection(std::initializer_list<int> ids)
{
    Bytes bytes = Tag("WayPts") + Bytes{static_cast<uint8_t>(ids.size()), 0};
    for (int id : ids) {
        WaypointRecord w = TestWaypoint(id);
        bytes = bytes + RecordBytes(&w, sizeof w);
    }
    return bytes;
}

TEST(OrvdFormat, OneWaypointIsSixtySevenBytes)
{
    CDataDoc doc;
    WaypointRecord w = TestWaypoint(4);
    doc.InsertWaypoints(0, 1, &w);
    Bytes expected = Bytes{0x57, 0x61, 0x79, 0x50, 0x74, 0x73, 0x00, 0x00, 0x01, 0x00} +
                     RecordBytes(&w, sizeof w);
    EXPECT_EQ(Stored(doc), expected);
    EXPECT_EQ(Stored(doc).size(), 67u);
}

TEST(OrvdFormat, AnEmptyDocumentIsAnEmptyFileAndBack)
{
    CDataDoc doc;
    EXPECT_TRUE(Stored(doc).empty());
    CDataDoc loaded;
    Load(loaded, {});
    EXPECT_EQ(loaded.waypointCount(), 0);
    EXPECT_EQ(loaded.trackpointCount(), 0);
}

TEST(OrvdFormat, TheSampleFileLoadsAsItsDumpAndStoresByteForByte)
{
    std::string path = ORVI_TEST_DATA "/orvd/sample.orvd";
    CDataDoc doc;
    doc.OnOpenDocument(path);
    EXPECT_FALSE(doc.IsModified());
    ASSERT_EQ(doc.waypointCount(), 2);
    ASSERT_EQ(doc.trackpointCount(), 3);
    EXPECT_EQ(WaypointIdent(doc.Waypoints()[0]), "HOME");
    EXPECT_EQ(WaypointComment(doc.Waypoints()[0]),
              "Zuhause Stra\xDF"
              "e");
    EXPECT_EQ(WaypointIdent(doc.Waypoints()[1]), "GIPFEL");  // six bytes, no terminator
    EXPECT_EQ(WaypointComment(doc.Waypoints()[1]), std::string(40, 'A'));
    EXPECT_EQ(doc.Waypoints()[1].latitude, -404442729);
    EXPECT_EQ(doc.Trackpoints()[2].time, TRACK_TIME_NONE);
    ASSERT_EQ(doc.correctionSets.Count(), 1);
    EXPECT_EQ(doc.correctionSets.At(0).rotation, 12.5);
    EXPECT_EQ(doc.correctionSets.At(0).scale, 1.25);
    EXPECT_TRUE(SameBytes(doc.correctionSets.At(0).reference, doc.Waypoints()[0]));
    ASSERT_EQ(doc.gridPresets.Count(), 1);
    EXPECT_EQ(doc.gridPresets.Names()[0], std::string(41, 'G'));
    EXPECT_EQ(doc.gridPresets.At(0).longitudeScale, 650.5);

    TempDir dir;
    doc.OnSaveDocument(dir.File("copy.orvd"));
    EXPECT_EQ(ReadBytes(dir.File("copy.orvd")), ReadBytes(path));
}

TEST(OrvdFormat, CollectionsStoreTheirCountThenTheEntries)
{
    CDataDoc doc;
    doc.correctionSets.Append(ZeroedEntry<MapCorrectionSet>());
    doc.correctionSets.Append(ZeroedEntry<MapCorrectionSet>());
    Bytes bytes = Stored(doc);
    ASSERT_EQ(bytes.size(), 8u + 2 + 368);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 10), (Tag("MapCorr") + Bytes{2, 0}));

    CDataDoc grids;
    for (int i = 0; i < 65535; ++i) {
        grids.gridPresets.Append(ZeroedEntry<GridScalePreset>());
    }
    bytes = Stored(grids);
    ASSERT_EQ(bytes.size(), 8u + 6 + 65535u * 144);
    EXPECT_EQ(Bytes(bytes.begin() + 8, bytes.begin() + 14),
              (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}));
    CDataDoc loaded;
    Load(loaded, bytes);
    EXPECT_EQ(loaded.gridPresets.Count(), 65535);
}

TEST(OrvdFormat, LoadingPassesOverUnknownTagsAndReadsAtMostFourSections)
{
    struct Case {
        const char* legend;
        Bytes file;
        int waypoints;
        int trackpoints;
    } cases[] = {
        {"unknown tag skips 8 bytes only", Tag("Garbage") + WaypointSection({1, 2}), 2, 0},
        {"tag differing in a padding byte is unknown",
         Bytes{'W', 'a', 'y', 'P', 't', 's', 0, 1} + WaypointSection({1}), 1, 0},
        {"a count of zero", Tag("WayPts") + Bytes{0, 0}, 0, 0},
        {"a repeated section replaces the first", WaypointSection({1, 2, 3}) + WaypointSection({4}),
         1, 0},
        {"a fifth section is never read",
         Tag("x") + Tag("y") + Tag("z") + WaypointSection({1}) + WaypointSection({1, 2}), 1, 0},
        {"a tag cut short at the end ends loading", WaypointSection({1}) + Bytes{'T', 'r', 'k'}, 1,
         0},
    };
    for (const Case& c : cases) {
        CDataDoc doc;
        Load(doc, c.file);
        EXPECT_EQ(doc.waypointCount(), c.waypoints) << c.legend;
        EXPECT_EQ(doc.trackpointCount(), c.trackpoints) << c.legend;
    }
}

TEST(OrvdFormat, DamagedFilesAreRefusedAndTheDocumentKeepsItsContent)
{
    Bytes sample = ReadBytes(ORVI_TEST_DATA "/orvd/sample.orvd");
    ASSERT_EQ(sample.size(), 521u);
    struct Case {
        const char* legend;
        Bytes file;
        ArchiveException::Kind kind;
    } cases[] = {
        {"end inside a count", Tag("WayPts") + Bytes{1}, ArchiveException::EndOfFile},
        {"end inside the waypoint array", Bytes(sample.begin(), sample.begin() + 100),
         ArchiveException::BadFormat},
        {"count beyond the rest of the file", Tag("TrkPts") + Bytes{0x10, 0x27} + Bytes(13, 0),
         ArchiveException::BadFormat},
        {"negative count", Tag("WayPts") + Bytes{0x00, 0x80}, ArchiveException::OutOfMemory},
        {"end inside a collection", Bytes(sample.begin(), sample.end() - 1),
         ArchiveException::BadFormat},
        {"escaped collection count too large",
         Tag("MapGrid") + Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, ArchiveException::BadFormat},
        {"escaped collection count cut short", Tag("MapCorr") + Bytes{0xFF, 0xFF, 0x01},
         ArchiveException::EndOfFile},
        {"another kind of file", Bytes{'{', '\n', ' ', ' ', '"', 'f', 'o', 'r', 'm', 'a', 't', '"'},
         ArchiveException::BadFormat},
        {"a few stray bytes", Bytes{1, 2, 3}, ArchiveException::BadFormat},
    };
    for (const Case& c : cases) {
        CDataDoc doc;
        doc.ReplaceWaypoints({TestWaypoint(1)});
        try {
            Load(doc, c.file);
            ADD_FAILURE() << c.legend << ": loaded";
        } catch (const ArchiveException& e) {
            EXPECT_EQ(e.kind(), c.kind) << c.legend;
        }
        ASSERT_EQ(doc.waypointCount(), 1) << c.legend;
        EXPECT_TRUE(SameBytes(doc.Waypoints()[0], TestWaypoint(1))) << c.legend;
        EXPECT_EQ(doc.correctionSets.Count(), 0) << c.legend;
    }
}

TEST(OrvdFormat, ACountAboveThirtyTwoThousandIsOnlyShownByTheUserMessage)
{
    CDataDoc doc;
    try {
        Load(doc, Tag("WayPts") + Bytes{0xFF, 0xFF});
        FAIL();
    } catch (const ArchiveException& e) {
        EXPECT_STREQ(e.UserMessage(), "Failed to open document.");
    }
}

TEST(OrvdFormat, ReservedBytesOfEntriesAreWrittenAsZero)
{
    MapCorrectionSet set = ZeroedEntry<MapCorrectionSet>();
    std::memset(set.reserved1, 0xEE, sizeof set.reserved1);
    std::memset(set.reserved2, 0xEE, sizeof set.reserved2);
    Bytes file = Tag("MapCorr") + Bytes{1, 0} + RecordBytes(&set, sizeof set);
    CDataDoc doc;
    Load(doc, file);
    Bytes stored = Stored(doc);
    EXPECT_EQ(stored.size(), file.size());
    EXPECT_EQ(std::count(stored.begin(), stored.end(), 0xEE), 0);
}

}  // namespace

namespace {

Bytes Length64(uint64_t n)
{
    Bytes bytes(8);
    std::memcpy(bytes.data(), &n, 8);
    return bytes;
}

Bytes U32(uint32_t n)
{
    Bytes bytes(4);
    std::memcpy(bytes.data(), &n, 4);
    return bytes;
}

Bytes Part(const char* tag, const Bytes& body)
{
    return Tag(tag) + Length64(body.size()) + body;
}

Bytes Extra(const Bytes& parts)
{
    return Part("Extra", parts);
}

// A document with all four sections, details of every kind, two routes and a receiver.
void FillRich(CDataDoc& doc)
{
    std::vector<WaypointRecord> waypoints = {TestWaypoint(1), TestWaypoint(2)};
    doc.ReplaceWaypoints(waypoints, {TestDetails(1), NoWaypointDetails()});
    TrackpointDetails t = NoTrackpointDetails();
    t.altitude = 433.25f;
    SetFieldText(t.trackName, sizeof t.trackName, "Morgenrunde");
    doc.ReplaceTrackpoints({TestTrackpoint(0), TestTrackpoint(1)}, {t, NoTrackpointDetails()});
    doc.ReplaceRoutes({TestRoute(1, 3), TestRoute(7, 0)});
    doc.SetReceiver("named14");
}

// Loads by the rule of a reader that knows only the four sections: four passes of an 8-byte
// tag, any other 8 bytes passed over.
std::pair<Bytes, Bytes> LoadByTheFourSectionRule(const Bytes& file)
{
    Bytes waypoints, trackpoints;
    size_t at = 0;
    for (int pass = 0; pass < 4 && at + 8 <= file.size(); ++pass) {
        Bytes tag(file.begin() + at, file.begin() + at + 8);
        at += 8;
        for (auto [name, size, into] : {std::tuple{"WayPts", 57, &waypoints},
                                        std::tuple{"TrkPts", 13, &trackpoints}}) {
            if (tag == Tag(name)) {
                int16_t n = static_cast<int16_t>(file[at] | file[at + 1] << 8);
                *into = Bytes(file.begin() + at + 2, file.begin() + at + 2 + n * size);
                at += 2 + n * size;
            }
        }
        if (tag == Tag("MapCorr") || tag == Tag("MapGrid")) {
            uint16_t n = static_cast<uint16_t>(file[at] | file[at + 1] << 8);
            at += 2 + n * (tag == Tag("MapCorr") ? 184 : 144);
        }
    }
    return {waypoints, trackpoints};
}

}  // namespace

TEST(OrvdExtra, DetailsRoutesAndTheReceiverFollowTheFourSectionsInOneSection)
{
    CDataDoc doc;
    doc.ReplaceWaypoints({TestWaypoint(1)}, {TestDetails(1)});
    doc.ReplaceRoutes({TestRoute(2, 1)});
    doc.SetReceiver("named14");
    WaypointDetails details = TestDetails(1);
    Route route = TestRoute(2, 1);
    Bytes routes = U32(1) + U32(51) + U32(429) + RecordBytes(&route.header, 51) + U32(1) +
                   RecordBytes(route.points.data(), 429);
    Bytes expected = WaypointSection({1}) +
                     Extra(Part("WptDetl", U32(1) + U32(302) + RecordBytes(&details, 302)) +
                           Part("Routes", routes) + Part("Receivr", Bytes{'n', 'a', 'm', 'e', 'd', '1', '4'}));
    EXPECT_EQ(Stored(doc), expected);

    CDataDoc loaded;
    Load(loaded, expected);
    EXPECT_EQ(Stored(loaded), expected);
    EXPECT_STREQ(loaded.Receiver().id, "named14");

    doc.ReplaceWaypoints({TestWaypoint(1)}, {NoWaypointDetails()});
    doc.ReplaceRoutes({});
    doc.SetReceiver("gps12");
    EXPECT_EQ(Stored(doc), WaypointSection({1})) << "empty details write nothing";
}

TEST(OrvdExtra, AReaderOfTheFourSectionsGetsTheSameWaypointsAndTrackLog)
{
    for (int omitted = 0; omitted < 16; ++omitted) {
        CDataDoc doc;
        FillRich(doc);
        if (omitted & 1) {
            doc.ReplaceWaypoints({});
        }
        if (omitted & 2) {
            doc.ReplaceTrackpoints({});
        }
        if (!(omitted & 4)) {
            doc.correctionSets.Append(MapCorrectionSet{});
        }
        if (!(omitted & 8)) {
            doc.gridPresets.Append(GridScalePreset{});
        }
        auto [waypoints, trackpoints] = LoadByTheFourSectionRule(Stored(doc));
        EXPECT_EQ(waypoints, RecordBytes(doc.Waypoints().data(), doc.Waypoints().size() * 57))
            << omitted;
        EXPECT_EQ(trackpoints,
                  RecordBytes(doc.Trackpoints().data(), doc.Trackpoints().size() * 13))
            << omitted;
    }
}

TEST(OrvdExtra, PartsAndEntriesOfALaterProgramAreReadAsFarAsKnown)
{
    WaypointDetails details = TestDetails(3);
    Bytes wider = U32(1) + U32(310) + RecordBytes(&details, 302) + Bytes(8, 0xEE);
    CDataDoc doc;
    Load(doc, WaypointSection({3}) + Extra(Part("Future", Bytes(5, 1)) + Part("WptDetl", wider)));
    EXPECT_EQ(std::memcmp(&doc.WaypointDetailsAt(0), &details, 302), 0);
}

TEST(OrvdExtra, ADamagedExtraSectionIsRefusedAndNothingIsTaken)
{
    CDataDoc rich;
    FillRich(rich);
    Bytes good = Stored(rich);
    Bytes extraTag = Tag("Extra");
    auto extraAt = std::search(good.begin(), good.end(), extraTag.begin(), extraTag.end());
    ASSERT_NE(extraAt, good.end());
    Bytes head(good.begin(), extraAt);
    WaypointDetails d = TestDetails(1);
    Bytes oneDetail = U32(1) + U32(302) + RecordBytes(&d, 302);
    struct Case {
        const char* legend;
        Bytes file;
    } cases[] = {
        {"cut short", Bytes(good.begin(), good.end() - 1)},
        {"a length beyond the file", head + Tag("Extra") + Length64(1u << 20)},
        {"a part beyond its section", head + Extra(Tag("Routes") + Length64(100) + Bytes(4, 0))},
        {"details for another number of waypoints", head + Extra(Part("WptDetl", oneDetail))},
        {"entries smaller than a record",
         head + Extra(Part("WptDetl", U32(2) + U32(301) + Bytes(602, 0)))},
        {"more routes than a document holds", head + Extra(Part("Routes", U32(256) + U32(51) + U32(429)))},
        {"route points beyond the part",
         head + Extra(Part("Routes", U32(1) + U32(51) + U32(429) + Bytes(51, 0) + U32(30000)))},
        {"a receiver id of 100 bytes", head + Extra(Part("Receivr", Bytes(100, 'x')))},
        {"entries wider than any program writes",
         head + Extra(Part("Routes", U32(1) + U32(51) + U32(0x70000000) + Bytes(51, 0) + U32(0)))},
    };
    for (const Case& c : cases) {
        CDataDoc doc;
        doc.ReplaceWaypoints({TestWaypoint(9)});
        try {
            Load(doc, c.file);
            ADD_FAILURE() << c.legend << ": loaded";
        } catch (const ArchiveException& e) {
            EXPECT_STREQ(e.UserMessage(), "Unexpected file format.") << c.legend;
        }
        EXPECT_EQ(doc.waypointCount(), 1) << c.legend;
        EXPECT_TRUE(doc.Routes().empty()) << c.legend;
        EXPECT_FALSE(doc.HasWaypointDetails()) << c.legend;
    }
}
