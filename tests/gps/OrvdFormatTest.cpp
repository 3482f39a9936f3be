#include <fstream>

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
