#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "gps/Gpx.h"
#include "tests/cli/CliRunner.h"
#include "tests/gps/GpsTestRecords.h"

namespace {

const std::string kSample = ORVI_TEST_DATA "/orvd/sample.orvd";

nlohmann::json ReadJson(const std::string& path)
{
    auto bytes = ReadBytes(path);
    return nlohmann::json::parse(bytes.begin(), bytes.end());
}

TEST(OrviInfo, JsonOfTheSampleIsItsDump)
{
    CliResult r = RunOrvi("info --json " + kSample);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out), ReadJson(ORVI_TEST_DATA "/orvd/sample.json"));
}

TEST(OrviInfo, ReadableSummary)
{
    CliResult r = RunOrvi("info " + kSample);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Waypoints: 2"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("HOME"), std::string::npos);
    EXPECT_NE(r.out.find("Zuhause Straße"), std::string::npos);
    EXPECT_NE(r.out.find("Trackpoints: 3 in 2 tracks"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"Karte Nord\""), std::string::npos);
}

TEST(OrviConvert, OrvdToGpxAndBackKeepsTheRecords)
{
    TempDir dir;
    ASSERT_EQ(RunOrvi("convert " + kSample + " " + dir.File("a.gpx")).status, 0);
    CliResult r = RunOrvi("convert " + dir.File("a.gpx") + " " + dir.File("b.orvd"));
    ASSERT_EQ(r.status, 0) << r.err;
    nlohmann::json back = nlohmann::json::parse(RunOrvi("info --json " + dir.File("b.orvd")).out);
    nlohmann::json original = ReadJson(ORVI_TEST_DATA "/orvd/sample.json");
    ASSERT_EQ(back["waypoints"].size(), 2u);
    EXPECT_EQ(back["waypoints"][0]["ident"], "HOME  ");
    EXPECT_EQ(back["waypoints"][0]["comment"], "Zuhause Straße");
    EXPECT_EQ(back["waypoints"][1]["symbol"], 15);
    EXPECT_EQ(back["waypoints"][1]["latitudeSemicircles"], -404442729);
    ASSERT_EQ(back["trackpoints"].size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(back["trackpoints"][i]["time"], original["trackpoints"][i]["time"]);
        EXPECT_EQ(back["trackpoints"][i]["latitudeSemicircles"],
                  original["trackpoints"][i]["latitudeSemicircles"]);
    }
    EXPECT_TRUE(back["correctionSets"].empty());  // GPX has no place for them
}

TEST(OrviConvert, GpxToOrvdAndBackKeepsEverythingGpxCarries)
{
    TempDir dir;
    const std::string receiver = ORVI_TEST_DATA "/gpx/receiver.gpx";
    ASSERT_EQ(RunOrvi("convert " + receiver + " " + dir.File("b.orvd")).status, 0);
    CliResult r = RunOrvi("convert " + dir.File("b.orvd") + " " + dir.File("c.gpx"));
    ASSERT_EQ(r.status, 0) << r.err;
    GpxData back = ReadGpxFile(dir.File("c.gpx"));
    EXPECT_EQ(back.routes.size(), 1u);
    EXPECT_TRUE(SameRecordBytes(back, ReadGpxFile(receiver)));
}

TEST(OrviConvert, AGpxFileGivesEveryPointWithAValidPositionAndCountsTheOthers)
{
    TempDir dir;
    const std::string mixed =
        "<gpx><wpt lat='1' lon='2'><sym>Nowhere</sym></wpt><trk><trkseg><trkpt lat='95' lon='1'/>"
        "<trkpt lon='1'/><trkpt lat='1' lon='1'/></trkseg></trk></gpx>";
    WriteBytes(dir.File("mixed.gpx"), std::vector<uint8_t>(mixed.begin(), mixed.end()));
    CliResult r = RunOrvi("convert " + dir.File("mixed.gpx") + " " + dir.File("mixed.orvd"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("2 Punkte ohne gültige Position übersprungen"), std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("1 unbekannter Symbolname"), std::string::npos) << r.err;
    nlohmann::json back =
        nlohmann::json::parse(RunOrvi("info --json " + dir.File("mixed.orvd")).out);
    EXPECT_EQ(back["waypoints"].size(), 1u);
    EXPECT_EQ(back["trackpoints"].size(), 1u);
}

TEST(OrviConvert, OrvdToOrvdIsByteIdentical)
{
    TempDir dir;
    ASSERT_EQ(RunOrvi("convert " + kSample + " " + dir.File("c.ORVD")).status, 0);
    EXPECT_EQ(ReadBytes(dir.File("c.ORVD")), ReadBytes(kSample));
}

TEST(Orvi, DamagedFilesAndBadArgumentsFailWithAMessage)
{
    TempDir dir;
    auto sample = ReadBytes(kSample);
    WriteBytes(dir.File("cut.orvd"), std::vector<uint8_t>(sample.begin(), sample.begin() + 100));
    WriteBytes(dir.File("bad.gpx"), {'<', 'g', 'p', 'x', '>', '<'});
    struct Case {
        const char* legend;
        std::string arguments;
        const char* says;
    } cases[] = {
        {"cut short", "info " + dir.File("cut.orvd"), "Unexpected file format."},
        {"missing file", "info " + dir.File("none.orvd"), "Failed to open document."},
        {"unknown type", "info " + dir.File("x.txt"), "unknown file type"},
        {"damaged GPX", "convert " + dir.File("bad.gpx") + " " + dir.File("o.orvd"),
         "kein lesbares XML"},
        {"unknown conversion", "convert " + kSample + " " + dir.File("o.kml"), "cannot convert"},
        {"unwritable output", "convert " + kSample + " /nonexistent-dir/o.orvd",
         "Failed to save document."},
        {"no sub-command", "", ""},
    };
    for (const Case& c : cases) {
        CliResult r = RunOrvi(c.arguments);
        EXPECT_NE(r.status, 0) << c.legend;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << c.legend << ": " << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("o.orvd")));
}

}  // namespace
