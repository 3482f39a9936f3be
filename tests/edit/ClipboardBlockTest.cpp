#include "edit/ClipboardBlock.h"

#include <gtest/gtest.h>

#include "gps/Geodesy.h"
#include "gps/RichRecordBytes.h"
#include "tests/edit/ProcessSettings.h"
#include "tests/gps/GpsTestRecords.h"

namespace {

WaypointRecord Named(const char* name, double lat, double lon, const char* comment)
{
    WaypointRecord w = TestWaypoint(0);
    SetFieldText(w.ident, sizeof w.ident, name);
    SetFieldText(w.comment, sizeof w.comment, comment);
    w.latitude = DegreesToSemicircles(lat);
    w.longitude = DegreesToSemicircles(lon);
    return w;
}

TEST(ClipboardBlock, TwoWaypointsAsBlockAndText)
{
    ScopedLocale c("C");
    std::vector<WaypointRecord> two = {Named("A", 47.5, 8.25, "erster"), Named("B", -1.0, -2.5,
                                                                               "Stra\xDF"
                                                                               "e, 5%")};
    std::vector<uint8_t> block = EncodeClipboardBlock(two);
    ASSERT_EQ(block.size(), 4u + 2 * 57);
    EXPECT_EQ(std::vector<uint8_t>(block.begin(), block.begin() + 4),
              (std::vector<uint8_t>{2, 0, 0, 0}));
    auto back = DecodeWaypointBlock(block);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->size(), 2u);
    EXPECT_TRUE(SameBytes((*back)[1], two[1]));

    EXPECT_EQ(ClipboardTextHeader(2), "2 items selected:\r\n");
    EXPECT_EQ(WaypointClipboardLine(two[0]), "WP,D,A,47.499997,8.250000,erster");
    EXPECT_EQ(WaypointClipboardLine(two[1]).substr(0, 5), "WP,D,");
    EXPECT_NE(WaypointClipboardLine(two[1]).find(",Straße, 5%"), std::string::npos);

    WaypointDetails details = NoWaypointDetails();
    SetWaypointName(two[0], details, "Aussicht Zugerberg");
    details.altitude = 988.5f;
    EXPECT_EQ(WaypointClipboardLine(two[0], details),
              "WP,D,Aussicht Zugerberg,47.499997,8.250000,erster,988.5");
}

TEST(ClipboardBlock, DetailsPasteOnlyWhenTheirBlockIsWholeAndMatchesTheRecords)
{
    std::vector<uint8_t> two = EncodeDetails(std::vector{TestDetails(1), TestDetails(2)});
    struct Case {
        const char* legend;
        std::vector<uint8_t> block;
        size_t records;
        size_t pasted;
    } cases[] = {
        {"one per record", two, 2, 2},
        {"none beside the records", {}, 2, 0},
        {"for another number of records", two, 3, 0},
        {"cut short", std::vector<uint8_t>(two.begin(), two.end() - 1), 2, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PastedWaypointDetails(c.block, c.records).size(), c.pasted) << c.legend;
    }
}

TEST(ClipboardBlock, TrackpointBlocksTakeTheWaypointSizeAndTheirLinesTheTime)
{
    ScopedLocale c("C");
    ScopedTimeZone utc("UTC");
    std::vector<TrackpointRecord> track = {TestTrackpoint(0), TestTrackpoint(1)};
    std::vector<uint8_t> block = EncodeClipboardBlock(track);
    ASSERT_EQ(block.size(), 4u + 2 * 57);
    EXPECT_EQ(block[4 + 26], 0);  // behind the two trackpoints
    auto back = DecodeTrackpointBlock(block);
    ASSERT_TRUE(back && back->size() == 2);
    EXPECT_TRUE(SameBytes((*back)[1], track[1]));
    EXPECT_EQ(TrackpointClipboardLine(track[0]),
              "TP,D,0.000000,0.000000,Sun Dec 31 00:00:00 1989,1");
}

TEST(ClipboardBlock, UnderADecimalCommaTheCoordinatesHoldCommasToo)
{
    ScopedLocale german("de_DE.UTF-8");
    if (!german.ok()) {
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    }
    EXPECT_EQ(WaypointClipboardLine(Named("X", 0.5, 0.25, "")), "WP,D,X,0,500000,0,250000,");
}

TEST(ClipboardBlock, DamagedBlocksAreRefusedWhole)
{
    struct Case {
        const char* legend;
        std::vector<uint8_t> block;
    } cases[] = {
        {"empty", {}},
        {"count cut short", {1, 0}},
        {"negative count", {0xFF, 0xFF, 0xFF, 0xFF}},
        {"count larger than the block", {2, 0, 0, 0, 1, 2, 3}},
        {"count beyond what a document holds", {0x00, 0x80, 0x00, 0x00}},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(DecodeWaypointBlock(c.block)) << c.legend;
        EXPECT_FALSE(DecodeTrackpointBlock(c.block)) << c.legend;
    }
    std::vector<uint8_t> oneTrackpoint = {1, 0, 0, 0};
    oneTrackpoint.resize(4 + 13);
    EXPECT_TRUE(DecodeTrackpointBlock(oneTrackpoint));
    EXPECT_FALSE(DecodeWaypointBlock(oneTrackpoint));
}

}  // namespace
