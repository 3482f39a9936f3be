// The simulator playing the known units, seen by a raw host: what each unit's protocols
// put on the line, and what it refuses.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "link/GarminSimulator.h"
#include "link/PseudoTerminal.h"
#include "tests/link/SimulatorTestHost.h"

namespace {

class SimulatorUnit : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        auto pty = PseudoTerminal::Create(error);
        ASSERT_TRUE(pty) << error;
        std::string device = pty->DevicePath();
        ASSERT_TRUE(sim.Start(std::move(pty)));
        host = std::make_unique<RawHost>(device);
        ASSERT_TRUE(host->ok());
    }

    void Play(const char* model)
    {
        sim.SetUnit(*UnitByModel(model));
        sim.SetRecords(UnitSampleRecords(*UnitByModel(model)));
    }

    // Reads a frame, acknowledges it and gives its id (0: none came) and data. The simulator
    // takes an acknowledged acknowledgement for a late one.
    uint8_t Take(ByteVector* data = nullptr)
    {
        auto frame = host->Next(1000);
        if (!frame) {
            return 0;
        }
        host->Send(PKT_ACK, {frame->id, 0});
        if (data) {
            data->assign(frame->data, frame->data + frame->size);
        }
        return frame->id;
    }

    GarminSimulator sim;
    std::unique_ptr<RawHost> host;
};

TEST_F(SimulatorUnit, TransfersFollowTheUnitsProtocolAndCountEveryPacket)
{
    using Ids = std::vector<uint8_t>;
    const Ids twoTracks(10, PKT_TRACKPOINT);  // the samples' two tracks of five points
    const Ids twoHeadedTracks = {99, 34, 34, 34, 34, 34, 99, 34, 34, 34, 34, 34};
    struct Case {
        const char* legend;
        const char* model;
        uint16_t command;
        Ids ids;
    } cases[] = {
        {"A200: header, then the waypoints",
         "gps12",
         CMD_SEND_ROUTES,
         {29, 30, 30, 30, 29, 30, 30, 30}},
        {"A201: a link between two waypoints; the eTrex holds one route",
         "etrex",
         CMD_SEND_ROUTES,
         {29, 30, 98, 30, 98, 30}},
        {"A300: the points only", "gps12", CMD_SEND_TRACK, twoTracks},
        {"A301: a header before each track", "gpsmap60csx", CMD_SEND_TRACK, twoHeadedTracks},
        {"A302: as A301", "forerunner301", CMD_SEND_TRACK, twoHeadedTracks},
    };
    for (const Case& c : cases) {
        Play(c.model);
        host->Send(PKT_COMMAND, {static_cast<uint8_t>(c.command), 0});
        EXPECT_EQ(Take(), PKT_ACK) << c.legend;
        ByteVector count;
        ASSERT_EQ(Take(&count), PKT_RECORD_COUNT) << c.legend;
        EXPECT_EQ(count, (ByteVector{static_cast<uint8_t>(c.ids.size()), 0})) << c.legend;
        std::vector<uint8_t> ids;
        for (uint8_t id = Take(); id != PKT_XFER_DONE && id != 0; id = Take()) {
            ids.push_back(id);
        }
        EXPECT_EQ(ids, c.ids) << c.legend;
    }
}

TEST_F(SimulatorUnit, RecordsNotOfTheUnitsTypeAreRefused)
{
    ByteVector d108(48, 0);  // the fixed fields; the texts after them are missing
    struct Case {
        const char* legend;
        const char* model;
        uint8_t id;
        ByteVector data;
        uint8_t answer;
    } cases[] = {
        {"D108 waypoint without its texts", "etrex", PKT_WAYPOINT, d108, PKT_NAK},
        {"D310 track header cut short", "etrex", PKT_TRACK_HEADER, {1}, PKT_NAK},
        {"D210 link of a unit without links: taken and dropped",
         "gps12",
         PKT_ROUTE_LINK,
         {1},
         PKT_ACK},
    };
    for (const Case& c : cases) {
        Play(c.model);
        sim.ResetStats();
        host->Send(PKT_RECORD_COUNT, {1, 0});
        EXPECT_EQ(Take(), PKT_ACK) << c.legend;
        host->Send(c.id, c.data);
        auto answer = host->Next(1000);
        ASSERT_TRUE(answer) << c.legend;
        EXPECT_EQ(answer->id, c.answer) << c.legend;
        EXPECT_EQ(sim.Stats().naksSent, c.answer == PKT_NAK ? 1 : 0) << c.legend;
    }
}

}  // namespace
