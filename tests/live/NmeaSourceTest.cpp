#include <gtest/gtest.h>
#include <QTest>

#include <string>
#include <vector>

#include <dirent.h>
#include <unistd.h>

#include "link/PseudoTerminal.h"
#include "link/SharedPort.h"
#include "live/NmeaSource.h"
#include "tests/TempDir.h"

namespace {

// The sentences of three epochs of a Garmin unit, written into the receiver's end.
void SendEpochs(PseudoTerminal& receiver)
{
    std::vector<uint8_t> bytes = ReadBytes(ORVI_TEST_DATA "/nmea/garmin.nmea");
    ASSERT_EQ(receiver.Write(bytes.data(), static_cast<int>(bytes.size())),
              static_cast<int>(bytes.size()));
}

TEST(NmeaSource, SaysTheLineIsLostWhenTheDeviceGoesAndOpensItAgainWhenItIsBack)
{
    TempDir dir;
    const std::string device = dir.File("gps");
    std::string error;
    std::unique_ptr<PseudoTerminal> receiver = PseudoTerminal::Create(error);
    ASSERT_TRUE(receiver) << error;
    ASSERT_TRUE(receiver->LinkAs(device, error)) << error;

    NmeaSource source(device);
    std::vector<LiveState> states;
    std::vector<LiveFix> fixes;
    QObject::connect(&source, &PositionSource::stateChanged,
                     [&](LiveState state, const QString&) { states.push_back(state); });
    QObject::connect(&source, &PositionSource::fixArrived,
                     [&](const LiveFix& fix) { fixes.push_back(fix); });
    source.Start();
    EXPECT_EQ(source.State(), LiveState::WAITING);

    SendEpochs(*receiver);
    ASSERT_TRUE(QTest::qWaitFor([&] { return fixes.size() == 3; }, 5000));
    EXPECT_EQ(fixes[0].kind, FixKind::THREE_D);
    EXPECT_NEAR(fixes[2].latitude, 48 + 7.04 / 60, 1e-9);
    EXPECT_EQ(source.State(), LiveState::RECEIVING);

    receiver.reset();  // the adapter pulled
    ASSERT_TRUE(QTest::qWaitFor([&] { return source.State() == LiveState::LINK_LOST; }, 5000));
    EXPECT_TRUE(source.StateDetail().startsWith(QString::fromStdString(device)))
        << source.StateDetail().toStdString();

    receiver = PseudoTerminal::Create(error);  // and plugged in again
    ASSERT_TRUE(receiver) << error;
    ASSERT_TRUE(receiver->LinkAs(device, error)) << error;
    ASSERT_TRUE(QTest::qWaitFor([&] { return source.State() == LiveState::WAITING; },
                                3 * NmeaSource::kReopenMs));
    SendEpochs(*receiver);
    ASSERT_TRUE(QTest::qWaitFor([&] { return fixes.size() == 6; }, 5000));

    source.Stop();
    EXPECT_EQ(states, (std::vector<LiveState>{LiveState::WAITING, LiveState::RECEIVING,
                                              LiveState::LINK_LOST, LiveState::WAITING,
                                              LiveState::RECEIVING, LiveState::STOPPED}));
}

// How many descriptors of this process are open on `device`.
int DescriptorsOn(const std::string& device)
{
    int count = 0;
    DIR* fds = ::opendir("/proc/self/fd");
    while (dirent* entry = ::readdir(fds)) {
        char target[256] = {};
        std::string path = std::string("/proc/self/fd/") + entry->d_name;
        if (::readlink(path.c_str(), target, sizeof target - 1) > 0 && device == target) {
            ++count;
        }
    }
    ::closedir(fds);
    return count;
}

// A document's link holds the port (opened exclusively): the source reads it through the
// link's share and leaves it at the link's 9600 baud.
TEST(NmeaSource, SharesThePortWithTheLinksAndLeavesItAtTheirRate)
{
    std::string error;
    std::unique_ptr<PseudoTerminal> receiver = PseudoTerminal::Create(error);
    ASSERT_TRUE(receiver) << error;
    SharedPort& shared = SharedPort::Instance();
    ASSERT_TRUE(shared.Join());
    int failure = 0;
    ASSERT_TRUE(shared.Open(receiver->DevicePath(), failure)) << failure;
    ASSERT_TRUE(shared.Borrow()->ApplyLineSettings());

    const int descriptors = DescriptorsOn(receiver->DevicePath());
    NmeaSource source(receiver->DevicePath());
    int fixes = 0;
    QObject::connect(&source, &PositionSource::fixArrived, [&](const LiveFix&) { ++fixes; });
    source.Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return receiver->PeerBaudRate() == 4800; }, 5000));
    SendEpochs(*receiver);
    ASSERT_TRUE(QTest::qWaitFor([&] { return fixes == 3; }, 5000));
    EXPECT_EQ(DescriptorsOn(receiver->DevicePath()), descriptors);
    source.Stop();
    EXPECT_EQ(receiver->PeerBaudRate(), 9600);
    EXPECT_TRUE(shared.IsOpen());
    shared.Leave();
}

}  // namespace
