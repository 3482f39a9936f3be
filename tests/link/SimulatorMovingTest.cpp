// The simulator on the move, end to end over a pseudo-terminal: PVT packets between the
// host's start and stop commands, and NMEA sentences.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

#include "framework/Settings.h"
#include "gps/Geodesy.h"
#include "link/GarminSimulator.h"
#include "link/NmeaSentences.h"
#include "link/PseudoTerminal.h"
#include "link/Pvt.h"
#include "link/PvtStream.h"
#include "tests/link/NorthboundTrack.h"
#include "tests/link/SimulatorTestHost.h"

namespace {

class MovingSimulator : public ::testing::Test {
protected:
    // Plays `model`, moving at 10 fixes a second from 47 N 8.5 E due north.
    void Serve(const char* model, bool nmea)
    {
        host.reset();
        sim.Stop();
        sim.SetUnit(*UnitByModel(model));
        sim.SetClock([] { return kNorthboundStart; });
        ASSERT_TRUE(sim.SetMoving(TrackMotion(NorthboundTrack()), {10, nmea}));
        std::string error;
        auto pty = PseudoTerminal::Create(error);
        ASSERT_TRUE(pty) << error;
        std::string device = pty->DevicePath();
        ASSERT_TRUE(sim.Start(std::move(pty)));
        host = std::make_unique<RawHost>(device);
        ASSERT_TRUE(host->ok());
    }

    GarminSimulator sim;
    std::unique_ptr<RawHost> host;
};

TEST_F(MovingSimulator, PvtPacketsComeFromStartToStopOnlyFromAUnitWithA800)
{
    struct Case {
        const char* model;
        bool speaksPvt;
    } cases[] = {{"etrex", true}, {"gps12", false}};
    for (const Case& c : cases) {
        Serve(c.model, false);
        host->Send(PKT_COMMAND, {CMD_START_PVT_DATA, 0});
        auto ack = host->Next();
        ASSERT_TRUE(ack && ack->id == PKT_ACK && ack->data[0] == PKT_COMMAND) << c.model;
        int fixes = 0;
        while (auto frame = host->Next(400)) {
            ASSERT_EQ(frame->id, PKT_PVT) << c.model;
            LiveFix fix = DecodePvt(frame->data, frame->size);
            const int64_t afterStart = fix.utcMillis - kNorthboundStart * 1000;
            EXPECT_EQ(afterStart % 100, 0) << c.model;
            EXPECT_NEAR(fix.latitude, NorthboundLatitudeAt(afterStart / 1000.0), 1e-6) << c.model;
            EXPECT_NEAR(fix.longitude, 8.5, 1e-6) << c.model;
            EXPECT_NEAR(fix.speed, 11.13, 0.01) << c.model;
            EXPECT_EQ(fix.course, 0) << c.model;
            EXPECT_EQ(fix.kind, FixKind::TWO_D) << c.model;  // the track has no altitudes
            if (++fixes == 3) {
                break;
            }
        }
        EXPECT_EQ(fixes, c.speaksPvt ? 3 : 0) << c.model;

        host->Send(PKT_COMMAND, {CMD_STOP_PVT_DATA, 0});
        for (ack = host->Next(); ack && ack->id == PKT_PVT; ack = host->Next()) {
        }  // those on their way before the command came
        ASSERT_TRUE(ack && ack->id == PKT_ACK) << c.model;
        EXPECT_FALSE(host->Next(300)) << c.model;
    }
}

TEST_F(MovingSimulator, NmeaModeSendsSentencesWithValidChecksumsAlongTheTrack)
{
    Serve("gps12", true);
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
    while (std::chrono::steady_clock::now() < until) {
        host->ReadSome(50);
    }
    ByteVector bytes = host->Drain(0);
    const std::string text(bytes.begin(), bytes.end());
    int positions = 0;
    int errors = 0;
    for (size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2) {
        const std::string line = text.substr(at, end - at);
        ASSERT_TRUE(line.size() > 4 && line[0] == '$' && line[line.size() - 3] == '*') << line;
        const std::string body = line.substr(1, line.size() - 4);
        EXPECT_EQ(std::strtoul(line.c_str() + line.size() - 2, nullptr, 16), NmeaChecksum(body))
            << line;
        // GPRMC,hhmmss.ss,A,ddmm.mmmm,N,dddmm.mmmm,E,...
        if (body.rfind("GPRMC,", 0) == 0 && body.size() > 42) {
            const double seconds = std::atof(body.substr(10, 5).c_str());  // ss.ss; minute 0
            const double latitude = 47 + std::atof(body.substr(20, 7).c_str()) / 60;
            const double longitude = 8 + std::atof(body.substr(33, 7).c_str()) / 60;
            EXPECT_EQ(body.substr(6, 4) + body.substr(15, 5) + body.substr(27, 6),
                      "0000,A,47,N,008")
                << line;
            EXPECT_NEAR(latitude, NorthboundLatitudeAt(seconds), 2e-6) << line;
            EXPECT_NEAR(longitude, 8.5, 2e-6) << line;
            ++positions;
        }
        if (body.rfind("PGRME,", 0) == 0) {  // the error of a 2D fix, 9 m
            EXPECT_EQ(body, "PGRME,9.0,M,9.0,M,12.7,M");
            ++errors;
        }
    }
    EXPECT_GE(positions, 3);
    EXPECT_GE(errors, 3);
}

}  // namespace

// The host's side: the stream of a link asks for PVT packets and hands on fixes along the
// track; a unit without A800 is said to send none; stopping asks the receiver to stop.
TEST(PvtStream, FixesComeUntilStoppedAndAUnitWithoutPvtSaysSo)
{
    struct Case {
        const char* model;
        LiveState expected;
    } cases[] = {{"etrex", LiveState::RECEIVING}, {"gps12", LiveState::LINK_LOST}};
    for (const Case& c : cases) {
        GarminSimulator sim;
        sim.SetUnit(*UnitByModel(c.model));
        ASSERT_TRUE(sim.SetMoving(TrackMotion(NorthboundTrack()), {10, false}));
        std::string error;
        auto pty = PseudoTerminal::Create(error);
        ASSERT_TRUE(pty) << error;
        MemorySettings settings;
        settings.SetString("Settings", "Port", pty->DevicePath());
        Settings* previous = Settings::SetCurrent(&settings);
        ASSERT_TRUE(sim.Start(std::move(pty)));

        std::atomic<bool> stop{false};
        std::mutex mutex;
        std::vector<LiveFix> fixes;
        std::vector<std::pair<LiveState, std::string>> states;
        std::thread stream([&] {
            RunPvtStream(stop, {[&](const LiveFix& fix) {
                                    std::lock_guard lock(mutex);
                                    fixes.push_back(fix);
                                    if (fixes.size() >= 5) {
                                        stop = true;
                                    }
                                },
                                [&](LiveState state, const std::string& detail) {
                                    std::lock_guard lock(mutex);
                                    states.emplace_back(state, detail);
                                    if (state == LiveState::LINK_LOST) {
                                        stop = true;
                                    }
                                }});
        });
        stream.join();
        Settings::SetCurrent(previous);
        sim.Stop();
        ASSERT_GE(states.size(), 2u) << c.model;
        EXPECT_EQ(states.back().first, LiveState::STOPPED) << c.model;
        if (c.expected == LiveState::LINK_LOST) {
            EXPECT_EQ(states[0], std::make_pair(LiveState::LINK_LOST,
                                                std::string("GPS 12 Software Version 4.60 "
                                                            "sendet keine Positionen")));
            EXPECT_TRUE(fixes.empty());
            continue;
        }
        EXPECT_EQ(states[0].first, LiveState::WAITING) << c.model;
        ASSERT_EQ(fixes.size(), 5u);
        for (const LiveFix& fix : fixes) {
            EXPECT_NEAR(fix.longitude, 8.5, 1e-6);
            EXPECT_GE(fix.latitude, 47 - 1e-6);
            EXPECT_LE(fix.latitude, 47.01 + 1e-6);
        }
    }
}
