// GPSBabel, a host nobody here wrote, against the simulator playing each known unit.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "gps/Gpx.h"
#include "link/GarminSimulator.h"
#include "link/PseudoTerminal.h"
#include "link/UnitData.h"
#include "tests/TempDir.h"

namespace {

bool HaveGpsBabel()
{
    return std::system("command -v gpsbabel >/dev/null 2>&1") == 0;
}

// Runs gpsbabel with `arguments`; its exit status, with what it said in `log`.
int RunGpsBabel(const std::string& arguments, const std::string& logPath, std::string& log)
{
    int status = std::system(("gpsbabel " + arguments + " >" + logPath + " 2>&1").c_str());
    std::ifstream in(logPath);
    std::stringstream text;
    text << in.rdbuf();
    log = text.str();
    return status;
}

// A GPX position goes through degrees with 9 decimals: a semicircle (8.4e-8 degrees) off at
// most.
void ExpectSamePlace(int32_t want, int32_t got, const std::string& what)
{
    EXPECT_LE(std::abs(int64_t{want} - int64_t{got}), 1) << what;
}

void ExpectSameAltitude(float want, float got, const std::string& what)
{
    if (HasValue(want)) {  // GPSBabel writes 0 for a type without altitude
        EXPECT_NEAR(want, got, 0.001) << what;
    }
}

const WaypointDetails& DetailsOf(const std::vector<WaypointDetails>& details, size_t i)
{
    return i < details.size() ? details[i] : NoWaypointDetails();
}

const TrackpointDetails& DetailsOf(const std::vector<TrackpointDetails>& details, size_t i)
{
    return i < details.size() ? details[i] : NoTrackpointDetails();
}

void ExpectSameWaypoints(const GpsRecords& want, const GpsRecords& got, const std::string& unit)
{
    ASSERT_EQ(want.waypoints.size(), got.waypoints.size()) << unit;
    for (size_t i = 0; i < want.waypoints.size(); ++i) {
        const WaypointDetails& w = DetailsOf(want.waypointDetails, i);
        const WaypointDetails& g = DetailsOf(got.waypointDetails, i);
        std::string what = unit + " waypoint " + std::to_string(i);
        EXPECT_EQ(WaypointName(want.waypoints[i], w), WaypointName(got.waypoints[i], g)) << what;
        ExpectSamePlace(want.waypoints[i].latitude, got.waypoints[i].latitude, what);
        ExpectSamePlace(want.waypoints[i].longitude, got.waypoints[i].longitude, what);
        ExpectSameAltitude(w.altitude, g.altitude, what);
    }
}

// Route point names only when `named`: GPSBabel (1.8.0) uploads route points under short
// names of its own making ("Z B" for "Zug Bahnhof"), whatever the unit takes.
void ExpectSameRoutes(const GpsRecords& want, const GpsRecords& got, bool named,
                      const std::string& unit)
{
    ASSERT_EQ(want.routes.size(), got.routes.size()) << unit;
    for (size_t r = 0; r < want.routes.size(); ++r) {
        const std::vector<RoutePoint>& w = want.routes[r].points;
        const std::vector<RoutePoint>& g = got.routes[r].points;
        ASSERT_EQ(w.size(), g.size()) << unit << " route " << r;
        for (size_t i = 0; i < w.size(); ++i) {
            std::string what = unit + " route " + std::to_string(r) + " point " + std::to_string(i);
            if (named) {
                EXPECT_EQ(WaypointName(w[i].record, w[i].details),
                          WaypointName(g[i].record, g[i].details))
                    << what;
            }
            ExpectSamePlace(w[i].record.latitude, g[i].record.latitude, what);
            ExpectSamePlace(w[i].record.longitude, g[i].record.longitude, what);
        }
    }
}

// Track names only where the unit's headers carry them.
void ExpectSameTracks(const GpsRecords& want, const GpsRecords& got, bool named,
                      const std::string& unit)
{
    ASSERT_EQ(want.trackpoints.size(), got.trackpoints.size()) << unit;
    for (size_t i = 0; i < want.trackpoints.size(); ++i) {
        const TrackpointRecord& w = want.trackpoints[i];
        const TrackpointRecord& g = got.trackpoints[i];
        std::string what = unit + " track point " + std::to_string(i);
        ExpectSamePlace(w.latitude, g.latitude, what);
        ExpectSamePlace(w.longitude, g.longitude, what);
        EXPECT_EQ(w.time, g.time) << what;
        const TrackpointDetails& wd = DetailsOf(want.trackpointDetails, i);
        const TrackpointDetails& gd = DetailsOf(got.trackpointDetails, i);
        ExpectSameAltitude(wd.altitude, gd.altitude, what);
        if (named && w.newTrack != 0) {
            EXPECT_EQ(FieldText(wd.trackName, TRACK_NAME_SIZE),
                      FieldText(gd.trackName, TRACK_NAME_SIZE))
                << what;
        }
    }
}

class SimulatorGpsBabel : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveGpsBabel()) {
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
        int status = RunGpsBabel("-t -r -w -i garmin -f " + device + " -o gpx -F " + gpx,
                                 dir_.File("gpsbabel.log"), log);
        sim_.Stop();
        ASSERT_EQ(status, 0) << unit.model << ": " << log;
        GpxData got = ReadGpxFile(gpx);
        GpsRecords held = sim_.Records();
        EXPECT_FALSE(held.waypoints.empty() || held.routes.empty() || held.trackpoints.empty())
            << unit.model;
        ExpectSameWaypoints(held, got, unit.model);
        ExpectSameRoutes(held, got, true, unit.model);
        ExpectSameTracks(held, got, unit.protocols.trackHeaderType != 0, unit.model);
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
    int status = RunGpsBabel("-t -r -w -i gpx -f " + in + " -o garmin -F " + device,
                             dir_.File("gpsbabel.log"), log);
    sim_.Stop();
    ASSERT_EQ(status, 0) << log;
    GpsRecords stored = sim_.Records();
    EXPECT_EQ(sim_.Stats().uploadsStored, 3);
    ExpectSameWaypoints(sent, stored, "upload");
    ExpectSameRoutes(sent, stored, false, "upload");
    for (size_t r = 0; r < sent.routes.size() && r < stored.routes.size(); ++r) {
        EXPECT_EQ(FieldText(sent.routes[r].header.name, ROUTE_NAME_SIZE),
                  FieldText(stored.routes[r].header.name, ROUTE_NAME_SIZE));
    }
    ExpectSameTracks(sent, stored, true, "upload");
}

}  // namespace
