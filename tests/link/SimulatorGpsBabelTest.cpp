// GPSBabel, a host nobody here wrote, against the simulator playing each known unit.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "gps/Gpx.h"
#include "link/GarminSimulator.h"
#include "link/PseudoTerminal.h"
#include "link/UnitData.h"
#include "tests/TempDir.h"

namespace {

// Runs gpsbabel with `arguments`, ended after `seconds` when that is not 0; its exit
// status, with what it said in `log`.
int RunGpsBabel(const std::string& arguments, std::string& log, int seconds = 0)
{
    std::string command = "gpsbabel " + arguments + " 2>&1";
    if (seconds > 0) {
        command = "timeout " + std::to_string(seconds) + " " + command;
    }
    FILE* out = ::popen(command.c_str(), "r");
    for (int c; out && (c = std::fgetc(out)) != EOF;) {
        log += static_cast<char>(c);
    }
    return out ? ::pclose(out) : -1;
}

// One line a record: names, positions (GPSBabel's nine decimals of degrees give the same
// semicircles back), times and altitudes. GPSBabel writes 0 for a type without altitude,
// so 0 and none look alike. Route point names only when `routePointNames`: GPSBabel (1.8.0)
// uploads route points under short names of its own making ("Z B" for "Zug Bahnhof").
// Track names only when `trackNames`, for units whose headers carry them.
std::vector<std::string> Dump(const GpsRecords& r, bool routePointNames, bool trackNames)
{
    auto place = [](int32_t latitude, int32_t longitude, float altitude) {
        std::string text = std::to_string(latitude) + " " + std::to_string(longitude);
        return HasValue(altitude) && altitude != 0 ? text + " " + std::to_string(altitude) : text;
    };
    std::vector<std::string> lines;
    for (size_t i = 0; i < r.waypoints.size(); ++i) {
        const WaypointDetails& d =
            i < r.waypointDetails.size() ? r.waypointDetails[i] : NoWaypointDetails();
        lines.push_back("W " + std::string(WaypointName(r.waypoints[i], d)) + " " +
                        place(r.waypoints[i].latitude, r.waypoints[i].longitude, d.altitude));
    }
    for (const Route& route : r.routes) {
        lines.push_back("R " + std::string(FieldText(route.header.name, ROUTE_NAME_SIZE)));
        for (const RoutePoint& p : route.points) {
            std::string name =
                routePointNames ? std::string(WaypointName(p.record, p.details)) : "";
            lines.push_back("  " + name + " " + place(p.record.latitude, p.record.longitude, 0));
        }
    }
    for (size_t i = 0; i < r.trackpoints.size(); ++i) {
        const TrackpointRecord& t = r.trackpoints[i];
        const TrackpointDetails& d =
            i < r.trackpointDetails.size() ? r.trackpointDetails[i] : NoTrackpointDetails();
        std::string name(trackNames && t.newTrack ? FieldText(d.trackName, TRACK_NAME_SIZE) : "");
        lines.push_back("T " + name + " " + std::to_string(t.time) + " " +
                        place(t.latitude, t.longitude, d.altitude));
    }
    return lines;
}

class SimulatorGpsBabel : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::system("command -v gpsbabel >/dev/null 2>&1") != 0) {
            GTEST_SKIP() << "gpsbabel is not on PATH";
        }
    }

    // Plays `unit` holding `records` on a new pseudo-terminal; its device path.
    std::string Play(const UnitProfile& unit, const GpsRecords& records)
    {
        std::string error;
        auto pty = PseudoTerminal::Create(error);
        if (!pty) {
            ADD_FAILURE() << error;
            return {};
        }
        std::string device = pty->DevicePath();
        sim_.SetUnit(unit);
        sim_.SetRecords(records);
        sim_.Start(std::move(pty));
        return device;
    }

    TempDir dir_;
    GarminSimulator sim_;
};

TEST_F(SimulatorGpsBabel, DownloadsWhatEveryUnitHolds)
{
    for (const UnitProfile& unit : KnownUnits()) {
        std::string device = Play(unit, UnitSampleRecords(unit));
        std::string gpx = dir_.File(std::string(unit.model) + ".gpx");
        std::string log;
        int status = RunGpsBabel("-t -r -w -i garmin -f " + device + " -o gpx -F " + gpx, log);
        sim_.Stop();
        ASSERT_EQ(status, 0) << unit.model << ": " << log;
        GpxData got = ReadGpxFile(gpx);
        GpsRecords held = sim_.Records();
        EXPECT_FALSE(held.waypoints.empty() || held.routes.empty() || held.trackpoints.empty())
            << unit.model;
        bool named = unit.protocols.trackHeaderType != 0;
        EXPECT_EQ(Dump(held, true, named), Dump(got, true, named)) << unit.model;
    }
}

TEST_F(SimulatorGpsBabel, UploadIsStoredInTheUnitsTypes)
{
    const UnitProfile& unit = *UnitByModel("gpsmap60csx");
    GpsRecords sent = UnitSampleRecords(unit);
    std::string in = dir_.File("upload.gpx");
    WriteGpxFile(in, sent);
    std::string device = Play(unit, {});
    std::string log;
    int status = RunGpsBabel("-t -r -w -i gpx -f " + in + " -o garmin -F " + device, log);
    sim_.Stop();
    ASSERT_EQ(status, 0) << log;
    GpsRecords stored = sim_.Records();
    EXPECT_EQ(sim_.Stats().uploadsStored, 3);
    EXPECT_EQ(Dump(sent, false, true), Dump(stored, false, true));
}

TEST_F(SimulatorGpsBabel, TracksTheMovingUnitByItsPvtPackets)
{
    const UnitProfile& unit = *UnitByModel("etrex");
    const GpsRecords held = UnitSampleRecords(unit);
    std::string device = Play(unit, held);
    const TrackMotion motion(held.trackpoints, held.trackpointDetails);
    sim_.SetClock([] { return int64_t{1717286400}; });  // 2 June 2024, 00:00:00 UTC
    ASSERT_TRUE(sim_.SetMoving(motion, {2, false}));
    std::string nmea = dir_.File("fixes.nmea");
    std::string log;
    RunGpsBabel("-T -i garmin -f " + device + " -o nmea -F " + nmea, log, 4);
    sim_.Stop();
    std::ifstream in(nmea);
    int fixes = 0;
    // $GPGGA,hhmmss.sss,ddmm.mmm,N,dddmm.mmm,E,... at 00:00
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("$GPGGA,0000", 0) != 0) {
            continue;
        }
        const LiveFix fix = motion.FixAt(std::atof(line.substr(11, 6).c_str()), 0);
        EXPECT_NEAR(47 + std::atof(line.substr(20, 6).c_str()) / 60, fix.latitude, 2e-5) << line;
        EXPECT_NEAR(8 + std::atof(line.substr(32, 6).c_str()) / 60, fix.longitude, 2e-5) << line;
        ++fixes;
    }
    EXPECT_GE(fixes, 3) << log;  // GPSBabel takes about one a second
}

}  // namespace
