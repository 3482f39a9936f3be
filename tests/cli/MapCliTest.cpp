#include <cstdlib>

#include <QImage>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "draw/model/MapGeoReference.h"
#include "framework/CompoundFile.h"
#include "tests/cli/CliRunner.h"

namespace {

const std::string kMap = ORVI_TEST_DATA "/orvg/every-kind.orvg";

nlohmann::json ReadJson(const std::string& path)
{
    auto bytes = ReadBytes(path);
    return nlohmann::json::parse(bytes.begin(), bytes.end());
}

TEST(OrviMapInfo, JsonOfTheSampleMapIsItsDump)
{
    setenv("TZ", "UTC", 1);
    CliResult r = RunOrvi("info --json " + kMap);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out), ReadJson(ORVI_TEST_DATA "/orvg/every-kind.json"));
}

TEST(OrviMapInfo, ReadableSummary)
{
    CliResult r = RunOrvi("info " + kMap);
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* part :
         {"Objects: 13", "(520, 190) - (760, 330)  line, reversed", "text \"Karte Nord\" in Arial",
          "polygon of 5 vertices", "linked legende.pdf", "Title:         Beispielkarte",
          "Georeference: none"}) {
        EXPECT_NE(r.out.find(part), std::string::npos) << part << "\n" << r.out;
    }
}

TEST(OrviMapInfo, GeoreferenceOfEitherKind)
{
    TempDir dir;
    const ControlPoints points{{{100, 100, 47.5, 8}, {700, 100, 47.5, 8.6}, {100, 700, 47.1, 8}}};
    const PointMapProjection projection{1 << 26, 0.5, 1000, -2000, 0.25, 800, 800};  // 5.625 E
    struct Case {
        const char* legend;
        MapGeoReference geo;
        const char* json;
        const char* line;
    } cases[] = {
        {"three control points", MapGeoReference::OfControlPoints(points),
         R"({"kind":"calibration","controlPoints":[{"page":[100,100],"latitude":47.5,
             "longitude":8},{"page":[700,100],"latitude":47.5,"longitude":8.6},
             {"page":[100,700],"latitude":47.1,"longitude":8}]})",
         "  (700.0, 100.0)  N  47.500000  E    8.600000\n"},
        {"a map of GPS points", MapGeoReference::OfProjection(projection),
         R"({"kind":"pointMap","centralLongitude":5.625,"eastWestScale":0.5,
             "centre":[1000,-2000],"unitsPerMetre":0.25,"pageSize":[800,800]})",
         "at 1000.0 m east, -2000.0 m north; 0.25 units per metre on a 800 x 800 page\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        CompoundStorage map = ReadCompoundFile(kMap);
        map.streams[GEO_REFERENCE_STREAM_NAME] = c.geo.WriteStream();
        WriteCompoundFile(dir.File("map.orvg"), map);
        CliResult r = RunOrvi("info --json " + dir.File("map.orvg"));
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(nlohmann::json::parse(r.out)["georeference"], nlohmann::json::parse(c.json));
        r = RunOrvi("info " + dir.File("map.orvg"));
        EXPECT_NE(r.out.find(c.line), std::string::npos) << r.out;
    }
}

TEST(OrviMapConvert, ContentsAndItemsStayByteIdenticalAndTheRevisionGrows)
{
    TempDir dir;
    CliResult r = RunOrvi("convert " + kMap + " " + dir.File("copy.orvg"));
    ASSERT_EQ(r.status, 0) << r.err;
    CompoundStorage original = ReadCompoundFile(kMap);
    CompoundStorage copy = ReadCompoundFile(dir.File("copy.orvg"));
    EXPECT_EQ(*copy.Stream("Contents"), *original.Stream("Contents"));
    ASSERT_EQ(copy.storages.size(), original.storages.size());
    for (const auto& [name, storage] : original.storages) {
        EXPECT_EQ(copy.Storage(name)->streams, storage.streams) << name;
    }
    nlohmann::json info =
        nlohmann::json::parse(RunOrvi("info --json " + dir.File("copy.orvg")).out);
    EXPECT_EQ(info["summary"]["revision"], "2");
    EXPECT_EQ(info["objects"], ReadJson(ORVI_TEST_DATA "/orvg/every-kind.json")["objects"]);
}

TEST(OrviMapRender, PngPdfAndSvgOfThePage)
{
    TempDir dir;
    ASSERT_EQ(RunOrvi("render " + kMap + " " + dir.File("page.png")).status, 0);
    std::vector<uint8_t> png = ReadBytes(dir.File("page.png"));
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG");
    // IHDR: width and height, big-endian, one pixel per unit.
    EXPECT_EQ((std::vector<uint8_t>(png.begin() + 16, png.begin() + 24)),
              (std::vector<uint8_t>{0, 0, 3, 0x20, 0, 0, 3, 0x20}));

    ASSERT_EQ(RunOrvi("render " + kMap + " " + dir.File("page.pdf")).status, 0);
    std::vector<uint8_t> pdf = ReadBytes(dir.File("page.pdf"));
    EXPECT_EQ(std::string(pdf.begin(), pdf.begin() + 5), "%PDF-");
    ASSERT_EQ(RunOrvi("render " + kMap + " " + dir.File("page.svg")).status, 0);
    std::vector<uint8_t> svg = ReadBytes(dir.File("page.svg"));
    EXPECT_NE(std::string(svg.begin(), svg.end()).find("<svg"), std::string::npos);
}

TEST(OrviMapRender, GpsDataBecomesAMapOfItsPoints)
{
    TempDir dir;
    CliResult r = RunOrvi("render " ORVI_TEST_DATA "/orvd/sample.orvd " + dir.File("points.png"));
    ASSERT_EQ(r.status, 0) << r.err;
    QImage image(QString::fromStdString(dir.File("points.png")));
    ASSERT_EQ(image.size(), QSize(800, 800));
    int marked = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            marked += image.pixel(x, y) != qRgb(255, 255, 255) ? 1 : 0;
        }
    }
    EXPECT_GT(marked, 100) << "two waypoints with their names and two dots of track";
}

TEST(OrviMap, DamagedMapsAndWrongEndingsAreErrors)
{
    TempDir dir;
    CompoundStorage damaged = ReadCompoundFile(kMap);
    damaged.streams["Contents"].resize(100);
    WriteCompoundFile(dir.File("cut.orvg"), damaged);
    auto data = ReadBytes(ORVI_TEST_DATA "/orvd/sample.orvd");
    WriteBytes(dir.File("cut.orvd"), std::vector<uint8_t>(data.begin(), data.begin() + 100));
    struct Case {
        const char* legend;
        std::string arguments;
        const char* message;
    } cases[] = {
        {"info of a cut map", "info " + dir.File("cut.orvg"), "Unexpected file format."},
        {"render of a cut map", "render " + dir.File("cut.orvg") + " " + dir.File("a.png"),
         "Unexpected file format."},
        {"convert to a GPS data file", "convert " + kMap + " " + dir.File("a.orvd"),
         "cannot convert .orvg to .orvd"},
        {"render to an unknown picture", "render " + kMap + " " + dir.File("a.gif"),
         "unknown picture type"},
        {"render of a cut GPS data file",
         "render " + dir.File("cut.orvd") + " " + dir.File("a.png"), "Unexpected file format."},
        {"render of a GPX file", "render " + dir.File("a.gpx") + " " + dir.File("a.png"),
         "expected .orvg or .orvd"},
        {"missing map", "info " + dir.File("none.orvg"), "Failed to open document."},
    };
    for (const Case& c : cases) {
        CliResult r = RunOrvi(c.arguments);
        EXPECT_EQ(r.status, 1) << c.legend;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.legend << ": " << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("a.png")));
}

TEST(OrviMap, DamagedSummaryIsLeftOutWithAWarning)
{
    TempDir dir;
    CompoundStorage map = ReadCompoundFile(kMap);
    map.streams["\005SummaryInformation"].resize(40);
    WriteCompoundFile(dir.File("map.orvg"), map);
    CliResult r = RunOrvi("info --json " + dir.File("map.orvg"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("summary information"), std::string::npos) << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out)["summary"]["title"], "");
}

}  // namespace
