#include <gtest/gtest.h>
#include <QTest>

#include <string>
#include <vector>

#include "link/PseudoTerminal.h"
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

}  // namespace
