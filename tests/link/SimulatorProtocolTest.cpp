// The simulator's side of the protocol, byte for byte: a raw host on the pseudo-terminal's
// device says exactly what the receiver gets and sees exactly what it answers.

#include <string>

#include <gtest/gtest.h>

#include "link/GarminSimulator.h"
#include "link/PseudoTerminal.h"
#include "tests/gps/GpsTestRecords.h"
#include "tests/link/SimulatorTestHost.h"

namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

ByteVector operator+(ByteVector a, const ByteVector& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

ByteVector Data(const DecodedFrame& f)
{
    return ByteVector(f.data, f.data + f.size);
}

const ByteVector kProductData = [] {
    std::string text = "GPS 12 Software Version 4.60";
    ByteVector data = {77, 0, 0xCC, 0x01};  // product 77, version 460
    data.insert(data.end(), text.begin(), text.end());
    data.push_back(0);
    return data;
}();

class SimulatorProtocol : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        auto pty = PseudoTerminal::Create(error);
        ASSERT_TRUE(pty) << error;
        device = pty->DevicePath();
        ASSERT_TRUE(sim.Start(std::move(pty)));
        host = std::make_unique<RawHost>(device);
        ASSERT_TRUE(host->ok());
    }

    // Reads the next frame and checks that it is `id` with `data`.
    void Expect(uint8_t id, const ByteVector& data, int ms = 1000)
    {
        auto frame = host->Next(ms);
        ASSERT_TRUE(frame) << "no frame " << int(id);
        EXPECT_EQ(frame->id, id);
        EXPECT_TRUE(frame->checksumOk);
        EXPECT_EQ(Data(*frame), data) << "frame " << int(id);
    }

    GarminSimulator sim;
    std::string device;
    std::unique_ptr<RawHost> host;
};

TEST_F(SimulatorProtocol, ProductRequestGetsAcknowledgementAndProductDataAndNothingMore)
{
    host->Send(PKT_PRODUCT_REQUEST, {});
    ByteVector ack = {0x10, 0x06, 0x02, 0xFE, 0x00, 0xFA, 0x10, 0x03};
    EXPECT_EQ(host->Drain(50), ack + EncodedFrame(PKT_PRODUCT_DATA, kProductData));
    host->Send(PKT_ACK, {PKT_PRODUCT_DATA, 0});
    EXPECT_TRUE(host->Drain(100).empty());  // no protocol capability array
    EXPECT_EQ(sim.Stats().resends, 0);
}

TEST_F(SimulatorProtocol, RefusedRecordIsRepeatedAndOneByteAcknowledgementsCount)
{
    WaypointRecord w = TestWaypoint(1);
    w.symbol = 200;
    sim.SetWaypoints({w});
    host->Send(PKT_COMMAND, {CMD_SEND_WAYPOINTS, 0});
    Expect(PKT_ACK, {PKT_COMMAND, 0});
    Expect(PKT_RECORD_COUNT, {1, 0});
    host->Send(PKT_ACK, {PKT_RECORD_COUNT});
    Expect(PKT_WAYPOINT, WaypointPacketBytes(w));
    host->Send(PKT_NAK, {PKT_WAYPOINT, 0});
    Expect(PKT_WAYPOINT, WaypointPacketBytes(w));
    host->Send(PKT_ACK, {PKT_WAYPOINT});
    Expect(PKT_XFER_DONE, {CMD_SEND_WAYPOINTS, 0});
    host->Send(PKT_ACK, {PKT_XFER_DONE, 0});

    ASSERT_TRUE(WaitUntil([&] { return sim.Stats().downloadsDone == 1; }));
    SimulatorStats stats = sim.Stats();
    EXPECT_EQ(stats.naksReceived, 1);
    EXPECT_EQ(stats.resends, 1);
}

TEST_F(SimulatorProtocol, DamagedFramesAreRefusedOnceWithTheIdTheyCarry)
{
    struct Case {
        const char* legend;
        ByteVector bytes;
        uint8_t answer;
        uint8_t about;
    } cases[] = {
        {"checksum one off", {0x10, 0x0A, 0x02, 0x07, 0x00, 0xEE, 0x10, 0x03}, PKT_NAK, 0x0A},
        {"0x10 in the data not doubled",
         {0x10, 0x0A, 0x02, 0x10, 0x07, 0x00, 0xED, 0x10, 0x03},
         PKT_NAK,
         0x0A},
        {"cut short, then quiet", {0x10, 0x0A, 0x02, 0x07}, PKT_NAK, 0x0A},
        {"noise before a good frame", ByteVector{0x00, 0xFF} + EncodedFrame(0x33, {1, 2}), PKT_ACK,
         0x33},
        {"id 0x10, doubled", EncodedFrame(0x10, {}), PKT_ACK, 0x10},
    };
    for (const Case& c : cases) {
        host->Write(c.bytes);
        auto answer = host->Next(500);
        ASSERT_TRUE(answer) << c.legend;
        EXPECT_EQ(answer->id, c.answer) << c.legend;
        EXPECT_EQ(Data(*answer), (ByteVector{c.about, 0})) << c.legend;
        EXPECT_TRUE(host->Drain(30).empty()) << c.legend;
    }
    EXPECT_EQ(sim.Stats().naksSent, 3);
}

TEST_F(SimulatorProtocol, UnacknowledgedPacketIsSentFourTimesThenGivenUp)
{
    sim.SetAckTimeout(40);
    sim.SetClock([] { return int64_t{1007735445}; });  // 7 December 2001, 14:30:45
    host->Send(PKT_COMMAND, {CMD_SEND_TIME, 0});
    Expect(PKT_ACK, {PKT_COMMAND, 0});
    for (int i = 0; i < 4; ++i) {
        Expect(PKT_DATE_TIME, {12, 7, 0xD1, 0x07, 14, 0, 30, 45}, 500);
    }
    EXPECT_FALSE(host->Next(150));
    EXPECT_EQ(sim.Stats().resends, 3);

    host->Send(PKT_PRODUCT_REQUEST, {});  // and it serves again
    Expect(PKT_ACK, {PKT_PRODUCT_REQUEST, 0});
}

TEST_F(SimulatorProtocol, AbortOrANewCommandEndsARunningDownload)
{
    sim.SetWaypoints({TestWaypoint(1), TestWaypoint(2), TestWaypoint(3)});
    host->Send(PKT_COMMAND, {CMD_SEND_WAYPOINTS, 0});
    Expect(PKT_ACK, {PKT_COMMAND, 0});
    Expect(PKT_RECORD_COUNT, {3, 0});
    host->Send(PKT_ACK, {PKT_RECORD_COUNT, 0});
    Expect(PKT_WAYPOINT, WaypointPacketBytes(TestWaypoint(1)));
    host->Send(PKT_COMMAND, {CMD_ABORT_TRANSFER, 0});
    Expect(PKT_ACK, {PKT_COMMAND, 0});
    EXPECT_TRUE(host->Drain(100).empty());

    sim.SetClock([] { return int64_t{1007735445}; });
    host->Send(PKT_COMMAND, {CMD_SEND_WAYPOINTS, 0});
    Expect(PKT_ACK, {PKT_COMMAND, 0});
    Expect(PKT_RECORD_COUNT, {3, 0});
    host->Send(PKT_COMMAND, {CMD_SEND_TIME, 0});  // instead of acknowledging the count
    Expect(PKT_ACK, {PKT_COMMAND, 0});
    Expect(PKT_DATE_TIME, {12, 7, 0xD1, 0x07, 14, 0, 30, 45});
    EXPECT_EQ(sim.Stats().transfersBroken, 2);
}

TEST_F(SimulatorProtocol, UploadReplacesTheRecordsOnlyWhenItCompletes)
{
    sim.SetWaypoints({TestWaypoint(9)});
    host->Send(PKT_RECORD_COUNT, {2, 0});
    Expect(PKT_ACK, {PKT_RECORD_COUNT, 0});
    host->Send(PKT_WAYPOINT, WaypointPacketBytes(TestWaypoint(1)));
    Expect(PKT_ACK, {PKT_WAYPOINT, 0});
    ByteVector cut = WaypointPacketBytes(TestWaypoint(2));
    cut.resize(20);  // ident, position, unused, two comment characters
    host->Send(PKT_WAYPOINT, cut);
    Expect(PKT_ACK, {PKT_WAYPOINT, 0});
    ASSERT_EQ(sim.Waypoints().size(), 1u);
    host->Send(PKT_XFER_DONE, {CMD_SEND_WAYPOINTS, 0});
    Expect(PKT_ACK, {PKT_XFER_DONE, 0});

    ASSERT_TRUE(WaitUntil([&] { return sim.Stats().uploadsStored == 1; }));
    auto stored = sim.Waypoints();
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_TRUE(SameBytes(stored[0], TestWaypoint(1)));
    WaypointRecord shortOne = TestWaypoint(2);
    SetFieldText(shortOne.comment, sizeof shortOne.comment, "co");
    shortOne.symbol = 0;
    shortOne.display = 0;
    EXPECT_TRUE(SameBytes(stored[1], shortOne));

    // An upload that a command breaks off leaves the records alone.
    host->Send(PKT_RECORD_COUNT, {1, 0});
    Expect(PKT_ACK, {PKT_RECORD_COUNT, 0});
    host->Send(PKT_WAYPOINT, WaypointPacketBytes(TestWaypoint(5)));
    Expect(PKT_ACK, {PKT_WAYPOINT, 0});
    host->Send(PKT_COMMAND, {CMD_SEND_WAYPOINTS, 0});
    Expect(PKT_ACK, {PKT_COMMAND, 0});
    Expect(PKT_RECORD_COUNT, {2, 0});
}

TEST_F(SimulatorProtocol, ARecordTheHostSendsAgainAfterMissingOurAcknowledgementIsKeptOnce)
{
    const ByteVector w1 = WaypointPacketBytes(TestWaypoint(1));
    const ByteVector w2 = WaypointPacketBytes(TestWaypoint(2));
    const ByteVector nakRecord = {PKT_NAK, PKT_WAYPOINT};  // an id and a data byte
    const ByteVector nakCount = {PKT_NAK, PKT_RECORD_COUNT};
    struct Case {
        const char* legend;
        std::vector<ByteVector> records;  // a waypoint's bytes, or PKT_NAK and the id it names
        std::vector<WaypointRecord> kept;
    } cases[] = {
        {"the host refuses what we took, and sends it again",
         {w1, nakRecord, w1, w2},
         {TestWaypoint(1), TestWaypoint(2)}},
        {"a refusal of another packet", {w1, nakCount, w2}, {TestWaypoint(1), TestWaypoint(2)}},
        {"the same record twice without a refusal", {w1, w1}, {TestWaypoint(1), TestWaypoint(1)}},
    };
    for (const Case& c : cases) {
        sim.ResetStats();
        host->Send(PKT_RECORD_COUNT, {2, 0});
        Expect(PKT_ACK, {PKT_RECORD_COUNT, 0});
        for (const ByteVector& r : c.records) {
            if (r.size() == 2) {
                host->Send(r[0], {r[1], 0});
                continue;
            }
            host->Send(PKT_WAYPOINT, r);
            Expect(PKT_ACK, {PKT_WAYPOINT, 0});
        }
        host->Send(PKT_XFER_DONE, {CMD_SEND_WAYPOINTS, 0});
        Expect(PKT_ACK, {PKT_XFER_DONE, 0});
        ASSERT_TRUE(WaitUntil([&] { return sim.Stats().uploadsStored == 1; })) << c.legend;
        auto stored = sim.Waypoints();
        ASSERT_EQ(stored.size(), c.kept.size()) << c.legend;
        for (size_t i = 0; i < stored.size(); ++i) {
            EXPECT_TRUE(SameBytes(stored[i], c.kept[i])) << c.legend << ", record " << i;
        }
    }
}

TEST_F(SimulatorProtocol, PacedAnswersTakeTheirTimeOnTheWire)
{
    sim.SetBaudRate(9600);
    auto start = steady_clock::now();
    host->Send(PKT_PRODUCT_REQUEST, {});
    ByteVector got = host->Drain(80);
    ASSERT_FALSE(host->arrivals.empty());
    double elapsed = std::chrono::duration<double>(host->arrivals.back() - start).count();
    // The request, the acknowledgement and the product data, 10 bits a byte.
    size_t bytes = 6 + got.size();
    EXPECT_EQ(got.size(), 8 + EncodedFrame(PKT_PRODUCT_DATA, kProductData).size());
    double wire = bytes * 10.0 / 9600;
    EXPECT_GE(elapsed, wire - 0.001);
    EXPECT_LT(elapsed, wire + 0.1);
}

TEST_F(SimulatorProtocol, BurstsComeWithGapsAndNothingLost)
{
    SimulatorFaults faults;
    faults.burstBytes = 3;
    sim.SetFaults(faults);
    auto start = steady_clock::now();
    host->Send(PKT_PRODUCT_REQUEST, {});
    ByteVector got = host->Drain(50);
    ByteVector product = EncodedFrame(PKT_PRODUCT_DATA, kProductData);
    EXPECT_EQ(got, EncodedFrame(PKT_ACK, {PKT_PRODUCT_REQUEST, 0}) + product);
    // 8 bytes in 3 bursts, then the product data in bursts of 3: at least 12 ms between
    // two bursts of one frame.
    size_t gaps = 2 + (product.size() + 2) / 3 - 1;
    ASSERT_FALSE(host->arrivals.empty());
    EXPECT_GE(host->arrivals.back() - start, milliseconds(12 * gaps));
}

TEST(SimulatorClock, TimePacketFieldsInUniversalTime)
{
    struct Case {
        const char* legend;
        int64_t now;
        bool rollover;
        ByteVector packet;
    } cases[] = {
        {"7 December 2001, 14:30:45", 1007735445, false, {12, 7, 0xD1, 0x07, 14, 0, 30, 45}},
        {"the same, 1024 weeks early", 1007735445, true, {4, 23, 0xBE, 0x07, 14, 0, 30, 45}},
        {"end of a leap day", 1709251199, false, {2, 29, 0xE8, 0x07, 23, 0, 59, 59}},
    };
    for (const Case& c : cases) {
        GarminSimulator sim;
        sim.SetClock([&] { return c.now; });
        sim.SetWeekRollover(c.rollover);
        EXPECT_EQ(sim.TimePacket(), c.packet) << c.legend;
    }
}

}  // namespace
