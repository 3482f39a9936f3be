#include <gtest/gtest.h>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "link/PseudoTerminal.h"
#include "live/GpsdSource.h"
#include "tests/TempDir.h"

namespace {

std::string Sentence(const std::string& body)
{
    uint8_t sum = 0;
    for (char c : body) {
        sum ^= static_cast<uint8_t>(c);
    }
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", sum);
    return "$" + body + tail;
}

// Epoch k of a receiver moving north at 22.4 knots: 2024-03-23 12:35:(10 + k) UTC at
// 48 degrees 7.038 + 0.001 k minutes north (k < 50).
std::string Epoch(int k)
{
    char fix[96];
    std::snprintf(fix, sizeof fix, "1235%02d,A,4807.%03d,N,01131.000,E", 10 + k, 38 + k);
    std::string at(fix);
    at.replace(at.find(",A,"), 3, ",");
    return Sentence("GPRMC," + std::string(fix) + ",022.4,084.4,230324,003.1,W") +
           Sentence("GPGGA," + at + ",1,08,0.9,545.4,M,46.9,M,,") +
           Sentence("GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1") +
           Sentence("GPGSV,2,1,08,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45") +
           Sentence("GPGSV,2,2,08,04,40,083,46,05,17,308,41,09,07,344,39,24,22,228,45");
}

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
    std::string error;
    std::unique_ptr<PseudoTerminal> receiver = PseudoTerminal::Create(error);
    ASSERT_TRUE(receiver) << error;
    int epoch = 0;
    QTimer sender;
    QObject::connect(&sender, &QTimer::timeout, [&] {
        std::string bytes = Epoch(epoch++ % 50);
        receiver->Write(reinterpret_cast<const uint8_t*>(bytes.data()),
                        static_cast<int>(bytes.size()));
    });
    sender.start(100);
    const int port = FreeLoopbackPort();
    ASSERT_NE(port, 0);
    const QStringList arguments = {"-N",
                                   "-n",
                                   "-b",
                                   "-S",
                                   QString::number(port),
                                   "-F",
                                   QString::fromStdString(dir.File("control")),
                                   QString::fromStdString(receiver->DevicePath())};

    GpsdSource source("127.0.0.1", port);
    std::vector<LiveFix> fixes;
    QObject::connect(&source, &PositionSource::fixArrived,
                     [&](const LiveFix& fix) { fixes.push_back(fix); });
    source.Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return source.State() == LiveState::LINK_LOST; }, 5000));

    auto gpsd = std::make_unique<Gpsd>(program, arguments);
    // gpsd needs a few epochs to know the device; satellites come with the SKY reports.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !fixes.empty() && fixes.back().satellites == 5; },
                                4 * GpsdSource::kReconnectMs + 10000));
    EXPECT_EQ(source.State(), LiveState::RECEIVING);
    const LiveFix& fix = fixes.back();
    int k = static_cast<int>((fix.utcMillis - 1711197310000) / 1000);
    EXPECT_EQ(fix.kind, FixKind::THREE_D);
    EXPECT_EQ(fix.utcMillis, 1711197310000 + 1000 * int64_t(k));
    EXPECT_NEAR(fix.latitude, 48 + (7.038 + 0.001 * k) / 60, 1e-7);
    EXPECT_NEAR(fix.longitude, 11 + 31.0 / 60, 1e-7);
    EXPECT_NEAR(fix.altitude, 545.4f, 1e-3);
    EXPECT_NEAR(fix.speed, 22.4 * 1852 / 3600, 1e-2);
    EXPECT_NEAR(fix.course, 84.4f, 1e-3);
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
