#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QTest>

#include "framework/Settings.h"
#include "link/GarminSimulator.h"
#include "link/PseudoTerminal.h"
#include "live/PortSource.h"
#include "live/PositionSources.h"
#include "tests/link/NorthboundTrack.h"

namespace {

TEST(ParseGpsdAddress, HostAndOptionalPort)
{
    struct {
        const char* legend;
        const char* text;
        bool ok;
        const char* host;
        int port;
    } const kRows[] = {
        {"a host alone keeps the port", "gps.local", true, "gps.local", 2947},
        {"host and port", "127.0.0.1:3000", true, "127.0.0.1", 3000},
        {"an IPv6 address", "::1", false, "", 0},
        {"an empty port", "localhost:", false, "", 0},
        {"no host", ":2947", false, "", 0},
        {"port 0", "localhost:0", false, "", 0},
        {"a port beyond 65535", "localhost:65536", false, "", 0},
        {"a port that is no number", "localhost:29a", false, "", 0},
    };
    for (const auto& row : kRows) {
        SCOPED_TRACE(row.legend);
        std::string host = "localhost";
        int port = 2947;
        ASSERT_EQ(ParseGpsdAddress(row.text, host, port), row.ok);
        if (row.ok) {
            EXPECT_EQ(host, row.host);
            EXPECT_EQ(port, row.port);
        }
    }
}

// A moving eTrex on a pseudo-terminal, sending NMEA or, when asked, PVT packets.
TEST(PortSource, FindsOutWhetherTheReceiverSpeaksNmeaOrItsOwnProtocol)
{
    struct {
        const char* legend;
        bool nmea;
        LineSpeech speech;
    } const kRows[] = {
        {"sentences by themselves", true, LineSpeech::NMEA},
        {"silence: the receiver is asked for its PVT", false, LineSpeech::BINARY},
    };
    for (const auto& row : kRows) {
        SCOPED_TRACE(row.legend);
        GarminSimulator sim;
        sim.SetUnit(*UnitByModel("etrex"));
        ASSERT_TRUE(sim.SetMoving(TrackMotion(NorthboundTrack()), {10, row.nmea}));
        std::string error;
        auto pty = PseudoTerminal::Create(error);
        ASSERT_TRUE(pty) << error;
        const std::string device = pty->DevicePath();
        ASSERT_TRUE(sim.Start(std::move(pty)));
        MemorySettings settings;  // the link's port, which PVT takes
        settings.SetString("Settings", "Port", device);
        Settings* previous = Settings::SetCurrent(&settings);

        PortSource source(device, 4800);
        int positions = 0;
        QObject::connect(&source, &PositionSource::fixArrived,
                         [&](const LiveFix& fix) { positions += fix.HasPosition() ? 1 : 0; });
        source.Start();
        EXPECT_TRUE(QTest::qWaitFor([&] { return positions >= 2; }, 10000));
        EXPECT_EQ(source.Speech(), row.speech);
        EXPECT_EQ(source.State(), LiveState::RECEIVING);

        // Started again (after a transfer, say), it takes the way found without listening.
        source.Stop();
        positions = 0;
        QElapsedTimer clock;
        clock.start();
        source.Start();
        EXPECT_TRUE(QTest::qWaitFor([&] { return positions >= 1; }, 10000));
        EXPECT_LT(clock.elapsed(), PortSource::kListenMs);
        source.Stop();
        EXPECT_EQ(source.State(), LiveState::STOPPED);
        Settings::SetCurrent(previous);
    }
}

}  // namespace
