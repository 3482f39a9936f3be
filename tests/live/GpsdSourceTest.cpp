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

// A receiver moving north at 22.4 knots on a pseudo-terminal: epoch k is 12:35:(10 + k) on
// 23 March 2024 at latitude 48 degrees 7.038 + 0.001 k minutes.
class NmeaReceiver {
public:
    explicit NmeaReceiver(std::string& error) : line_(PseudoTerminal::Create(error))
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] { SendEpoch(); });
    }
    bool Ok() const { return line_ != nullptr; }
    const std::string& Device() const { return line_->DevicePath(); }
    void Run() { timer_.start(100); }

    static double Latitude(int k) { return 48 + (7.038 + 0.001 * k) / 60; }
    static int64_t Time(int k) { return 1711197310000 + 1000 * int64_t(k); }

private:
    void SendEpoch()
    {
        char time[16];
        char latitude[16];
        std::snprintf(time, sizeof time, "1235%02d", 10 + epoch_ % 50);
        std::snprintf(latitude, sizeof latitude, "4807.%03d", 38 + epoch_ % 50);
        std::string bytes =
            Sentence(std::string("GPRMC,") + time + ",A," + latitude +
                     ",N,01131.000,E,022.4,084.4,230324,003.1,W") +
            Sentence(std::string("GPGGA,") + time + "," + latitude +
                     ",N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,") +
            Sentence("GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1") +
            Sentence("GPGSV,2,1,08,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45") +
            Sentence("GPGSV,2,2,08,04,40,083,46,05,17,308,41,09,07,344,39,24,22,228,45");
        line_->Write(reinterpret_cast<const uint8_t*>(bytes.data()),
                     static_cast<int>(bytes.size()));
        ++epoch_;
    }

    std::unique_ptr<PseudoTerminal> line_;
    QTimer timer_;
    int epoch_ = 0;
};

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

// gpsd in the foreground on a loopback port, reading `device` read-only; killed with this
// object.
class Gpsd {
public:
    Gpsd(const QString& program, int port, const std::string& device, const std::string& socket)
    {
        process_.setStandardOutputFile(QProcess::nullDevice());
        process_.setStandardErrorFile(QProcess::nullDevice());
        process_.start(program, {"-N", "-n", "-b", "-S", QString::number(port), "-F",
                                 QString::fromStdString(socket), QString::fromStdString(device)});
    }
    ~Gpsd() { Kill(); }
    bool Started() { return process_.waitForStarted(5000); }
    void Kill()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }

private:
    QProcess process_;
};

QString GpsdProgram()
{
    QString found = QStandardPaths::findExecutable("gpsd");
    return found.isEmpty()
               ? QStandardPaths::findExecutable("gpsd", {"/usr/sbin", "/usr/local/sbin"})
               : found;
}

TEST(GpsdSource, FollowsGpsdThroughItsComingAndGoing)
{
    const QString program = GpsdProgram();
    if (program.isEmpty()) {
        GTEST_SKIP() << "gpsd is not installed (scripts/install-deps installs it)";
    }
    TempDir dir;
    std::string error;
    NmeaReceiver receiver(error);
    ASSERT_TRUE(receiver.Ok()) << error;
    receiver.Run();
    const int port = FreeLoopbackPort();
    ASSERT_NE(port, 0);

    GpsdSource source("127.0.0.1", port);
    std::vector<LiveFix> fixes;
    QObject::connect(&source, &PositionSource::fixArrived,
                     [&](const LiveFix& fix) { fixes.push_back(fix); });
    source.Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return source.State() == LiveState::LINK_LOST; }, 5000));

    auto gpsd = std::make_unique<Gpsd>(program, port, receiver.Device(), dir.File("control"));
    ASSERT_TRUE(gpsd->Started());
    // gpsd needs a few epochs to know the device; satellites come with the SKY reports.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !fixes.empty() && fixes.back().satellites == 5; },
                                4 * GpsdSource::kReconnectMs + 10000));
    EXPECT_EQ(source.State(), LiveState::RECEIVING);
    const LiveFix& fix = fixes.back();
    EXPECT_EQ(fix.kind, FixKind::THREE_D);
    int k = static_cast<int>((fix.utcMillis - NmeaReceiver::Time(0)) / 1000);
    EXPECT_EQ(fix.utcMillis, NmeaReceiver::Time(k));
    EXPECT_NEAR(fix.latitude, NmeaReceiver::Latitude(k), 1e-7);
    EXPECT_NEAR(fix.longitude, 11 + 31.0 / 60, 1e-7);
    EXPECT_NEAR(fix.altitude, 545.4f, 1e-3);
    EXPECT_NEAR(fix.speed, 22.4 * 1852 / 3600, 1e-2);
    EXPECT_NEAR(fix.course, 84.4f, 1e-3);
    EXPECT_TRUE(HasValue(fix.horizontalError));

    gpsd->Kill();
    ASSERT_TRUE(QTest::qWaitFor([&] { return source.State() == LiveState::LINK_LOST; }, 5000));
    gpsd = std::make_unique<Gpsd>(program, port, receiver.Device(), dir.File("control"));
    ASSERT_TRUE(gpsd->Started());
    size_t before = fixes.size();
    ASSERT_TRUE(QTest::qWaitFor([&] { return fixes.size() > before + 1; },
                                2 * GpsdSource::kReconnectMs + 10000));
    EXPECT_EQ(source.State(), LiveState::RECEIVING);

    source.Stop();
    EXPECT_EQ(source.State(), LiveState::STOPPED);
}

}  // namespace
