#include <cstring>

#include <gtest/gtest.h>

#include "gps/CDataDoc.h"
#include "link/CGpsConnection.h"
#include "tests/gps/GpsTestRecords.h"
#include "tests/link/ScriptedPort.h"

namespace {

Bytes WaypointPacket(const WaypointRecord& w)
{
    Bytes p(60, 0);
    std::memcpy(p.data(), w.ident, 6);
    std::memcpy(p.data() + 6, &w.latitude, 8);
    std::memcpy(p.data() + 18, w.comment, 40);
    p[58] = static_cast<uint8_t>(w.symbol);
    p[59] = w.display;
    return p;
}

Bytes Count(int n)
{
    return FrameBytes(27, {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8)});
}

class Transfers : public ::testing::Test {
protected:
    void SetUp() override
    {
        env.ScriptOpening();
        connection = std::make_unique<CGpsConnection>([this](const char* text) {
            progress.push_back(text);
            if (onProgress) {
                onProgress(text);
            }
        });
        env.ClearWritten();
    }

    // The receiver's side of a download: acknowledgement of the command, the count, the
    // records (`extra` frames go before the record of the same index), transfer complete.
    void ScriptDownload(uint8_t packetId, const std::vector<Bytes>& records,
                        const std::map<size_t, Bytes>& extra = {})
    {
        env.script->Reply(Ack(10));
        env.script->Reply(Count(static_cast<int>(records.size())));
        for (size_t i = 0; i < records.size(); ++i) {
            if (auto it = extra.find(i); it != extra.end()) {
                env.script->Reply(it->second);
            }
            env.script->Reply(FrameBytes(packetId, records[i]));
        }
        env.script->Reply(FrameBytes(12, {packetId == 35 ? uint8_t{7} : uint8_t{6}, 0}));
    }

    ScriptedLinkEnvironment env;
    std::vector<std::string> progress;
    std::function<void(const std::string&)> onProgress;
    std::unique_ptr<CGpsConnection> connection;
};

TEST_F(Transfers, NoWaypointsAtAll)
{
    ScriptDownload(35, {});
    EXPECT_EQ(connection->DownloadWaypoints(), 0);
    EXPECT_TRUE(connection->CopyWaypoints().empty());
    EXPECT_EQ(env.script->written, FrameBytes(10, {7, 0}) + Ack(27) + Ack(12));
    EXPECT_TRUE(progress.empty());
}

TEST_F(Transfers, ACorruptWaypointIsRefusedQuietlyAndReadAgain)
{
    std::vector<WaypointRecord> records = {TestWaypoint(1), TestWaypoint(2), TestWaypoint(3)};
    records[1].symbol = 200;  // a symbol byte above 127 stays positive
    std::vector<Bytes> packets;
    for (const auto& w : records) {
        packets.push_back(WaypointPacket(w));
    }
    Bytes corrupt = FrameBytes(35, packets[1]);
    corrupt[10] ^= 0x01;
    ScriptDownload(35, packets, {{1, corrupt}});

    EXPECT_EQ(connection->DownloadWaypoints(), 0);
    EXPECT_TRUE(env.prompts.messages.empty());
    EXPECT_EQ(progress, (std::vector<std::string>{"1 / 3", "2 / 3", "3 / 3"}));
    auto got = connection->CopyWaypoints();
    ASSERT_EQ(got.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(SameBytes(got[i], records[i])) << i;
    }
    EXPECT_EQ(got[1].symbol, 200);
    EXPECT_EQ(env.script->written,
              FrameBytes(10, {7, 0}) + Ack(27) + Ack(35) + Nak(35) + Ack(35) + Ack(35) + Ack(12));
}

TEST_F(Transfers, TheFailureBudgetIsOneCounterForTheWholeTransfer)
{
    env.script->Reply(Ack(10));
    env.script->Reply(Count(5));
    EXPECT_EQ(connection->DownloadWaypoints(), -4);
    EXPECT_EQ(env.prompts.messages, std::vector<std::string>{"Kommunikation zum GPS gestört"});
    Bytes expected = FrameBytes(10, {7, 0}) + Ack(27);
    for (int i = 0; i < 6; ++i) {
        expected = expected + Nak(35);
    }
    // Then the receiver is told to stop repeating the record.
    expected = expected + FrameBytes(10, {0, 0});
    EXPECT_EQ(env.script->written, expected);
    // What was never received is zero.
    auto slots = connection->CopyWaypoints();
    ASSERT_EQ(slots.size(), 5u);
    WaypointRecord zero;
    std::memset(&zero, 0, sizeof zero);
    EXPECT_TRUE(SameBytes(slots[4], zero));
}

TEST_F(Transfers, TrackProgressEveryEighthAndTheLastTwenty)
{
    std::vector<Bytes> points;
    for (int i = 0; i < 100; ++i) {
        TrackpointRecord t = TestTrackpoint(i);
        const auto* p = reinterpret_cast<const uint8_t*>(&t);
        points.emplace_back(p, p + 13);
    }
    ScriptDownload(34, points);
    EXPECT_EQ(connection->DownloadTrackpoints(), 0);
    std::vector<std::string> expected;
    for (int n = 8; n <= 80; n += 8) {
        expected.push_back(std::to_string(n) + " / 100");
    }
    for (int n = 81; n <= 100; ++n) {
        expected.push_back(std::to_string(n) + " / 100");
    }
    EXPECT_EQ(progress, expected);
    auto got = connection->CopyTrackpoints();
    ASSERT_EQ(got.size(), 100u);
    EXPECT_TRUE(SameBytes(got[57], TestTrackpoint(57)));
}

TEST_F(Transfers, UploadSendsLowSymbolBytesAndRepeatsRefusedRecords)
{
    EXPECT_EQ(connection->UploadWaypoints(), -1);  // nothing to send
    EXPECT_TRUE(env.script->written.empty());

    WaypointRecord w[2] = {TestWaypoint(1), TestWaypoint(2)};
    w[1].symbol = 300;
    connection->SetWaypoints(w, 2);
    env.script->Reply(Ack(27));
    env.script->Reply(Ack(35));
    env.script->Reply(Nak(35));
    env.script->Reply(Ack(35));
    env.script->Reply(Ack(12));
    EXPECT_EQ(connection->UploadWaypoints(), 0);
    Bytes second = WaypointPacket(w[1]);
    EXPECT_EQ(second[58], 44);
    EXPECT_EQ(env.script->written, Count(2) + FrameBytes(35, WaypointPacket(w[0])) +
                                       FrameBytes(35, second) + FrameBytes(35, second) +
                                       FrameBytes(12, {7, 0}));
    EXPECT_EQ(progress, (std::vector<std::string>{"1 / 2", "2 / 2"}));
    EXPECT_TRUE(env.prompts.messages.empty());
}

TEST_F(Transfers, TrackUploadAnnouncesTheTrackpointCount)
{
    TrackpointRecord t[3] = {TestTrackpoint(0), TestTrackpoint(1), TestTrackpoint(2)};
    connection->SetTrackpoints(t, 3);
    for (uint8_t id : {27, 34, 34, 34, 12}) {
        env.script->Reply(Ack(id));
    }
    EXPECT_EQ(connection->UploadTrackpoints(), 0);
    Bytes start(env.script->written.begin(), env.script->written.begin() + 8);
    EXPECT_EQ(start, Count(3));
}

TEST_F(Transfers, ProductDescriptionIsShownUpToItsZero)
{
    env.ScriptProductExchange(std::string("eTrex") + '\0' + "junk");
    EXPECT_EQ(connection->RequestProduct(1), 0);
    EXPECT_EQ(env.prompts.messages, std::vector<std::string>{"eTrex"});
    EXPECT_EQ(connection->link().productId(), 77);
    EXPECT_EQ(connection->link().softwareVersion(), 360);
}

TEST_F(Transfers, AUnitSaysWhatItSpeaksInItsArrayOrIsKnownByItsProduct)
{
    const UnitProtocols& csx = UnitByModel("gpsmap60csx")->protocols;
    const Bytes csxArray = EncodeProtocolArray(csx);
    const std::string gps12 = DescribeProtocols(*ProtocolsOfProduct(77, 360));
    struct Case {
        const char* legend;
        uint16_t product;
        std::vector<Bytes> unasked;  // the frames the unit sends after its product data
        std::string protocols;
        std::string note;
    };
    const Case cases[] = {
        {"a GPS 12 sends no array: the table knows it", 77, {}, gps12, ""},
        {"extended product data, then the array", 292,
         {FrameBytes(248, {'x', 0}), FrameBytes(253, csxArray)}, DescribeProtocols(csx), ""},
        {"a damaged array: nothing of it is trusted", 999, {FrameBytes(253, {'A', 100, 0, 'D'})},
         "", "Protokollliste: 4 Bytes sind keine ganzen Einträge"},
        {"neither array nor table: what a GPS 12 speaks", 999, {},
         DescribeProtocols(*ProtocolsOfProduct(77, 460)), ""},
    };
    for (const Case& c : cases) {
        env.script->Reply(Ack(254));
        env.script->Reply(FrameBytes(255, {static_cast<uint8_t>(c.product),
                                           static_cast<uint8_t>(c.product >> 8), 0x68, 0x01, 0}));
        for (const Bytes& frame : c.unasked) {
            env.script->Reply(frame);
        }
        EXPECT_EQ(connection->RequestProduct(0), 0) << c.legend;
        EXPECT_EQ(DescribeProtocols(connection->link().protocols()), c.protocols) << c.legend;
        EXPECT_EQ(connection->link().protocolsNote(), c.note) << c.legend;
        EXPECT_TRUE(env.script->replies.empty()) << c.legend;
    }
}

TEST_F(Transfers, AKindInATypeTheProgramDoesNotKnowIsRefusedAndTheOthersWork)
{
    UnitProtocols speaks;
    speaks.waypoints = 100;
    speaks.waypointType = 155;
    speaks.tracks = 300;
    speaks.trackPointType = 300;
    env.script->Reply(Ack(254));
    env.script->Reply(FrameBytes(255, {0xE7, 0x03, 0x68, 0x01, 0}));
    env.script->Reply(FrameBytes(253, EncodeProtocolArray(speaks)));
    ASSERT_EQ(connection->RequestProduct(0), 0);
    env.ClearWritten();
    env.prompts.messages.clear();
    EXPECT_EQ(connection->DownloadWaypoints(), static_cast<int>(TransferResult::NotStarted));
    EXPECT_EQ(connection->DownloadRoutes(), static_cast<int>(TransferResult::NotStarted));
    EXPECT_EQ(env.prompts.messages,
              (std::vector<std::string>{
                  "Der Empfänger überträgt Wegpunkte als D155, einen Datentyp, den das Programm "
                  "nicht kennt; die Übertragung unterbleibt.",
                  "Der Empfänger überträgt keine Routen."}));
    EXPECT_TRUE(env.script->written.empty()) << "nothing is asked for";
    ScriptDownload(34, {Bytes(13, 0)});
    EXPECT_EQ(connection->DownloadTrackpoints(), 0);
}

TEST_F(Transfers, CancellingStopsBetweenPacketsAndAsksTheReceiverToStop)
{
    std::vector<Bytes> packets;
    for (int i = 0; i < 10; ++i) {
        packets.push_back(WaypointPacket(TestWaypoint(i)));
    }
    ScriptDownload(35, packets);
    // The progress callback runs on the transfer's thread; here it stands in for the user
    // pressing Cancel after the third record.
    onProgress = [this](const std::string& text) {
        if (text == "3 / 10") {
            connection->Cancel();
        }
    };
    EXPECT_EQ(connection->DownloadWaypoints(), static_cast<int>(TransferResult::Cancelled));
    EXPECT_TRUE(env.prompts.messages.empty());
    EXPECT_EQ(progress.back(), "3 / 10");
    EXPECT_TRUE(connection->CopyWaypoints().empty());
    Bytes abort = FrameBytes(10, {0, 0});
    EXPECT_NE(std::search(env.script->written.begin(), env.script->written.end(), abort.begin(),
                          abort.end()),
              env.script->written.end());

    // A cancel that comes before the next transfer has begun stops that one.
    env.script->replies.clear();
    env.script->replyEnded = false;
    onProgress = nullptr;
    connection->Cancel();
    TrackpointRecord t = TestTrackpoint(1);
    connection->SetTrackpoints(&t, 1);
    env.script->Reply(Ack(27));
    EXPECT_EQ(connection->UploadTrackpoints(), static_cast<int>(TransferResult::Cancelled));
    // and it is used up by it.
    env.ClearWritten();
    for (uint8_t id : {27, 34, 12}) {
        env.script->Reply(Ack(id));
    }
    EXPECT_EQ(connection->UploadTrackpoints(), 0);
}

TEST_F(Transfers, TheDocumentTakesDownloadsOnlyWhenTheyWorked)
{
    CDataDoc doc;
    doc.ReplaceWaypoints({TestWaypoint(8)});
    doc.SetModifiedFlag(false);
    doc.gpsConnection = std::move(connection);

    env.script->Reply(Ack(10));
    env.script->Reply(Count(2));  // then silence: the budget runs out
    EXPECT_EQ(doc.DownloadWaypointsIntoDoc(), -4);
    ASSERT_EQ(doc.waypointCount(), 1);
    EXPECT_TRUE(SameBytes(doc.Waypoints()[0], TestWaypoint(8)));
    EXPECT_FALSE(doc.IsModified());

    ScriptDownload(35, {WaypointPacket(TestWaypoint(1)), WaypointPacket(TestWaypoint(2))});
    EXPECT_EQ(doc.DownloadWaypointsIntoDoc(), 0);
    ASSERT_EQ(doc.waypointCount(), 2);
    EXPECT_TRUE(SameBytes(doc.Waypoints()[1], TestWaypoint(2)));
    EXPECT_TRUE(doc.IsModified());

    doc.SetModifiedFlag(false);
    env.ClearWritten();
    for (uint8_t id : {27, 35, 35, 12}) {
        env.script->Reply(Ack(id));
    }
    EXPECT_EQ(doc.UploadWaypointsFromDoc(), 0);
    EXPECT_EQ(Bytes(env.script->written.begin(), env.script->written.begin() + 8), Count(2));
    EXPECT_FALSE(doc.IsModified());
}

}  // namespace
