// The georeference of a map in its file: a stream of its own beside "Contents", written only
// for a map that has one; a damaged one leaves the map without it.

#include <cstring>
#include <functional>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawRect.h"
#include "framework/CompoundFile.h"
#include "tests/TempDir.h"
#include "tests/draw/TestMaps.h"

namespace {

std::vector<uint8_t> Hex(std::string text)
{
    std::erase(text, ' ');
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < text.size(); i += 2) {
        bytes.push_back(static_cast<uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

const MapGeoReference kCalibration = MapGeoReference::OfControlPoints(
    {{{100, 100, 47.5, 8.25}, {700, 100, 47.5, 8.5}, {100, 700, 47.25, 8.25}}});
const MapGeoReference kProjection =
    MapGeoReference::OfProjection({1 << 30, 0.5, -1000, 2000, 0.25, 800, 800});

TEST(MapGeoReference, StreamsOfBothKindsAreLittleEndianVersionedAndCounted)
{
    struct Case {
        const char* legend;
        MapGeoReference record;
        std::string bytes;
    } cases[] = {
        {"three control points", kCalibration,
         "0100 0200 60000000"
         " 0000000000005940 0000000000005940 0000000000c04740 0000000000802040"
         " 0000000000e08540 0000000000005940 0000000000c04740 0000000000002140"
         " 0000000000005940 0000000000e08540 0000000000a04740 0000000000802040"},
        {"the projection of a map of points", kProjection,
         "0100 0100 2c000000 00000040 000000000000e03f 0000000000408fc0 0000000000409f40"
         " 000000000000d03f 20030000 20030000"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.record.WriteStream(), Hex(c.bytes)) << c.legend;
        EXPECT_EQ(MapGeoReference::ReadStream(Hex(c.bytes)), c.record) << c.legend;
    }
}

TEST(CDrawDoc, GeoReferenceIsAStreamOfItsOwnWrittenOnlyForAMapThatHasOne)
{
    TempDir dir;
    CDrawDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    AddShape(doc, CDrawRect::rectangle, {10, 10, 50, 50});
    doc.OnSaveDocument(dir.File("plain.orvg"));
    const CompoundStorage plain = ReadCompoundFile(dir.File("plain.orvg"));
    EXPECT_EQ(plain.Stream(GEO_REFERENCE_STREAM_NAME), nullptr);

    doc.SetGeoReference(kCalibration);
    doc.OnSaveDocument(dir.File("placed.orvg"));
    const CompoundStorage placed = ReadCompoundFile(dir.File("placed.orvg"));
    EXPECT_EQ(placed.streams.size(), plain.streams.size() + 1);
    EXPECT_EQ(*placed.Stream("Contents"), *plain.Stream("Contents"));
    ASSERT_NE(placed.Stream(GEO_REFERENCE_STREAM_NAME), nullptr);
    EXPECT_EQ(*placed.Stream(GEO_REFERENCE_STREAM_NAME), kCalibration.WriteStream());

    CDrawDoc back;
    back.OnOpenDocument(dir.File("placed.orvg"));
    EXPECT_EQ(back.GetGeoReference(), kCalibration);
    EXPECT_TRUE(back.GeoReferenceError().empty());
    back.SetGeoReference(std::nullopt);
    back.OnSaveDocument(dir.File("again.orvg"));
    EXPECT_EQ(ReadCompoundFile(dir.File("again.orvg")).Stream(GEO_REFERENCE_STREAM_NAME), nullptr);
}

TEST(CDrawDoc, ADamagedGeoReferenceLeavesTheMapOpenWithoutOne)
{
    TempDir dir;
    CDrawDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    AddShape(doc, CDrawRect::rectangle, {10, 10, 50, 50});
    doc.SetGeoReference(kCalibration);
    doc.OnSaveDocument(dir.File("good.orvg"));
    const CompoundStorage good = ReadCompoundFile(dir.File("good.orvg"));
    const std::vector<uint8_t> stream = kCalibration.WriteStream();
    auto with = [&](std::function<void(std::vector<uint8_t>&)> change) {
        std::vector<uint8_t> bytes = stream;
        change(bytes);
        return bytes;
    };
    auto setDouble = [](std::vector<uint8_t>& bytes, size_t at, double v) {
        std::memcpy(&bytes[at], &v, 8);
    };
    const size_t firstLatitude = 8 + 16;

    struct Case {
        const char* legend;
        std::vector<uint8_t> stream;
        bool kept;  // a stream this program reads
    } cases[] = {
        {"a later version", with([](auto& b) { b[0] = 2; }), false},
        {"an unknown kind", with([](auto& b) { b[2] = 9; }), false},
        {"the header cut short", with([](auto& b) { b.resize(6); }), false},
        {"the data cut short", with([](auto& b) { b.resize(b.size() - 1); }), false},
        {"bytes after the length", with([](auto& b) { b.push_back(0); }), false},
        {"a latitude that is not a number", with([&](auto& b) {
             setDouble(b, firstLatitude, std::numeric_limits<double>::quiet_NaN());
         }),
         false},
        {"three positions in a line",
         with([&](auto& b) { setDouble(b, firstLatitude + 64, 47.5); }), false},
        {"more data within the length, from a later writer", with([](auto& b) {
             b[4] = 100;
             b.insert(b.end(), {1, 2, 3, 4});
         }),
         true},
    };
    for (const Case& c : cases) {
        CompoundStorage file = good;
        file.streams[GEO_REFERENCE_STREAM_NAME] = c.stream;
        WriteCompoundFile(dir.File("damaged.orvg"), file);
        CDrawDoc back;
        back.OnOpenDocument(dir.File("damaged.orvg"));
        EXPECT_EQ(back.ObjectList().size(), 1u) << c.legend;
        EXPECT_EQ(back.GetGeoReference().has_value(), c.kept) << c.legend;
        EXPECT_EQ(back.GeoReferenceError().empty(), c.kept) << c.legend;
        EXPECT_FALSE(back.IsModified()) << c.legend;
    }
}

}  // namespace
