#include <gtest/gtest.h>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "link/GarminSimulator.h"
#include "link/PseudoTerminal.h"
#include "live/GpsdSource.h"
#include "tests/TempDir.h"
#include "tests/link/NorthboundTrack.h"

namespace {

// A port on the loopback interface that nobody listens on at the moment.
int FreeLoopbackPort()
{
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0) {
        port = ntohs(address.sin_port);
    }
    ::close(fd);
    return port;
}

// gpsd in the foreground on a loopback port, reading a device read-only; killed with this
// object, whatever the test's outcome.
struct Gpsd {
    Gpsd(const QString& program, const QStringList& arguments)
    {
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        process.start(program, arguments);
    }
    ~Gpsd()
    {
        process.kill();
        process.waitForFinished(5000);
    }
    QProcess process;
};

TEST(GpsdSource, FollowsGpsdThroughItsComingAndGoing)
{
    const QString program = QStandardPaths::findExecutable("gpsd", {"/usr/sbin", "/usr/bin"});
    if (program.isEmpty()) {
        GTEST_SKIP() << "gpsd is not installed (scripts/install-deps installs it)";
    }
    TempDir dir;
    // A Garmin in NMEA mode, 10 fixes a second, without the outages of fix it would have.
    // On the northbound track at 500 m.
    TrackpointDetails height = NoTrackpointDetails();
    height.altitude = 500;
    TrackMotion motion(NorthboundTrack(), {height, height});
    motion.SetOutages(0, 0);
    GarminSimulator receiver;
    receiver.SetClock([] { return kNorthboundStart; });
    ASSERT_TRUE(receiver.SetMoving(motion, {10, true}));
    std::string error;
    std::unique_ptr<PseudoTerminal> pty = PseudoTerminal::Create(error);
    ASSERT_TRUE(pty) << error;
    const QString device = QString::fromStdString(pty->DevicePath());
    ASSERT_TRUE(receiver.Start(std::move(pty)));
    const int port = FreeLoopbackPort();
    ASSERT_NE(port, 0);
    const QStringList arguments = {"-N",
                                   "-n",
                                   "-b",
                                   "-S",
                                   QString::number(port),
                                   "-F",
                                   QString::fromStdString(dir.File("control")),
                                   device};

    GpsdSource source("127.0.0.1", port);
    std::vector<LiveFix> fixes;
    QObject::connect(&source, &PositionSource::fixArrived,
                     [&](const LiveFix& fix) { fixes.push_back(fix); });
    source.Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return source.State() == LiveState::LINK_LOST; }, 5000));

    auto gpsd = std::make_unique<Gpsd>(program, arguments);
    // gpsd needs a few epochs to know the device; satellites come with its SKY reports.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return !fixes.empty() && fixes.back().kind == FixKind::THREE_D &&
                   fixes.back().satellites == 8;
        },
        4 * GpsdSource::kReconnectMs + 10000));
    EXPECT_EQ(source.State(), LiveState::RECEIVING);
    const LiveFix& fix = fixes.back();
    const double seconds = static_cast<double>(fix.utcMillis - kNorthboundStart * 1000) / 1000;
    EXPECT_GE(seconds, 0);
    EXPECT_EQ((fix.utcMillis - kNorthboundStart * 1000) % 100,
              0);  // a fix every 0.1 s from the start
    EXPECT_NEAR(fix.latitude, NorthboundLatitudeAt(seconds), 2e-6);  // 1/10000 minute
    EXPECT_NEAR(fix.longitude, 8.5, 2e-6);
    EXPECT_NEAR(fix.altitude, 500, 0.05);
    EXPECT_NEAR(fix.speed, 11.13, 0.03);  // to 0.1 knot
    EXPECT_EQ(fix.course, 0);
    EXPECT_TRUE(HasValue(fix.horizontalError));

    gpsd.reset();
    ASSERT_TRUE(QTest::qWaitFor([&] { return source.State() == LiveState::LINK_LOST; }, 5000));
    gpsd = std::make_unique<Gpsd>(program, arguments);
    size_t before = fixes.size();
    ASSERT_TRUE(QTest::qWaitFor([&] { return fixes.size() > before + 1; },
                                2 * GpsdSource::kReconnectMs + 10000));
    EXPECT_EQ(source.State(), LiveState::RECEIVING);
    source.Stop();
    EXPECT_EQ(source.State(), LiveState::STOPPED);
}

}  // namespace
