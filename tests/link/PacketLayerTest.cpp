#include <gtest/gtest.h>

#include "link/CGpsLink.h"
#include "link/Frame.h"
#include "link/LineRecognition.h"
#include "tests/link/ScriptedPort.h"

namespace {

TEST(Frame, GoldenBytes)
{
    struct Case {
        const char* legend;
        uint8_t id;
        Bytes data;
        Bytes frame;
    } cases[] = {
        {"product request", 254, {}, {0x10, 0xFE, 0x00, 0x02, 0x10, 0x03}},
        {"send waypoints", 10, {7, 0}, {0x10, 0x0A, 0x02, 0x07, 0x00, 0xED, 0x10, 0x03}},
        {"send track", 10, {6, 0}, {0x10, 0x0A, 0x02, 0x06, 0x00, 0xEE, 0x10, 0x03}},
        {"send time", 10, {5, 0}, {0x10, 0x0A, 0x02, 0x05, 0x00, 0xEF, 0x10, 0x03}},
        {"power off", 10, {8, 0}, {0x10, 0x0A, 0x02, 0x08, 0x00, 0xEC, 0x10, 0x03}},
        {"ack of a record count", 6, {0x1B, 0}, {0x10, 0x06, 0x02, 0x1B, 0x00, 0xDD, 0x10, 0x03}},
        {"nak expecting a waypoint",
         21,
         {0x23, 0},
         {0x10, 0x15, 0x02, 0x23, 0x00, 0xC6, 0x10, 0x03}},
        {"data byte 0x10 is doubled",
         27,
         {0x10, 0},
         {0x10, 0x1B, 0x02, 0x10, 0x10, 0x00, 0xD3, 0x10, 0x03}},
        {"checksum 0x10 is doubled",
         10,
         {0xE4, 0},
         {0x10, 0x0A, 0x02, 0xE4, 0x00, 0x10, 0x10, 0x10, 0x03}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FrameBytes(c.id, c.data), c.frame) << c.legend;
        DecodedFrame decoded;
        ASSERT_EQ(DecodeFrame(c.frame.data(), static_cast<int>(c.frame.size()), decoded),
                  FrameStatus::Whole)
            << c.legend;
        EXPECT_EQ(decoded.length, static_cast<int>(c.frame.size())) << c.legend;
        EXPECT_EQ(decoded.id, c.id) << c.legend;
        EXPECT_EQ(Bytes(decoded.data, decoded.data + decoded.size), c.data) << c.legend;
        EXPECT_TRUE(decoded.checksumOk) << c.legend;
    }
}

TEST(Frame, DecodingTellsWhatTheBytesAre)
{
    Bytes count = FrameBytes(27, {0x10, 0});
    Bytes badChecksum = count;
    badChecksum[6] += 1;
    Bytes badEnd = FrameBytes(6, {1, 0});
    badEnd.back() = 0x04;
    Bytes trailing = count + Bytes{0x55};
    struct Case {
        const char* legend;
        Bytes bytes;
        FrameStatus status;
        bool checksumOk;
        int length;  // for Whole and Unterminated
    } cases[] = {
        {"a frame and a byte after it", trailing, FrameStatus::Whole, true, 9},
        {"a wrong checksum", badChecksum, FrameStatus::Whole, false, 9},
        {"no DLE ETX after the checksum", badEnd, FrameStatus::Unterminated, true, 6},
        {"a 0x10 not doubled", {0x10, 0x1B, 0x02, 0x10, 0x05}, FrameStatus::LoneDle, false, 0},
        {"a stray byte before the DLE", {0x00, 0x10, 0x06}, FrameStatus::NotAFrame, false, 0},
        {"nothing", {}, FrameStatus::Incomplete, false, 0},
    };
    for (const Case& c : cases) {
        DecodedFrame decoded;
        EXPECT_EQ(DecodeFrame(c.bytes.data(), static_cast<int>(c.bytes.size()), decoded), c.status)
            << c.legend;
        if (c.status == FrameStatus::Whole || c.status == FrameStatus::Unterminated) {
            EXPECT_EQ(decoded.checksumOk, c.checksumOk) << c.legend;
            EXPECT_EQ(decoded.length, c.length) << c.legend;
        }
    }
    // Every piece of a frame, up to the last byte of its DLE ETX, is a frame so far.
    for (size_t n = 1; n < count.size(); ++n) {
        DecodedFrame decoded;
        EXPECT_EQ(DecodeFrame(count.data(), static_cast<int>(n), decoded), FrameStatus::Incomplete)
            << n;
    }
}

// What a line says by itself, in pieces as a serial line hands them over.
TEST(LineRecogniser, KnowsNmeaAndFramesOnlyWhenAWholeOneWithItsChecksumHasCome)
{
    const std::string rmc =
        "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n";
    Bytes pvt(16, 0x20);
    uint8_t frame[MAX_FRAME_BYTES];
    const int frameSize = EncodeFrame(PKT_PVT, pvt.data(), 16, frame);
    auto bytes = [](const std::string& text) { return Bytes(text.begin(), text.end()); };
    Bytes whole(frame, frame + frameSize);
    Bytes damaged = whole;
    damaged[5] ^= 1;
    Bytes noise = {0x10, 0xFF, 0x24, 0x2A, 0x10, 0x03, 0x80, 0x0D, 0x0A};
    std::string wrongSum = rmc;
    wrongSum[rmc.size() - 4] = 'B';
    struct {
        const char* legend;
        std::vector<Bytes> pieces;
        LineSpeech speech;
    } const kRows[] = {
        {"a sentence after noise, in two pieces",
         {noise, bytes(rmc.substr(0, 30)), bytes(rmc.substr(30))},
         LineSpeech::NMEA},
        {"a sentence not yet ended", {bytes(rmc.substr(0, rmc.size() - 2))}, LineSpeech::UNKNOWN},
        {"a sentence with a wrong checksum", {bytes(wrongSum)}, LineSpeech::UNKNOWN},
        {"a frame after noise, in two pieces",
         {noise, Bytes(whole.begin(), whole.begin() + 7), Bytes(whole.begin() + 7, whole.end())},
         LineSpeech::BINARY},
        {"a frame with a wrong checksum", {damaged}, LineSpeech::UNKNOWN},
        {"noise only", {noise, noise}, LineSpeech::UNKNOWN},
    };
    for (const auto& row : kRows) {
        SCOPED_TRACE(row.legend);
        LineRecogniser recogniser;
        for (const Bytes& piece : row.pieces) {
            recogniser.Take(piece.data(), piece.size());
        }
        EXPECT_EQ(recogniser.Speech(), row.speech);
    }
}

class PacketLayer : public ::testing::Test {
protected:
    void SetUp() override
    {
        env.ScriptOpening();
        link = std::make_unique<CGpsLink>();
        ASSERT_EQ(link->state(), LINK_OK);
        env.ClearWritten();
    }

    ScriptedLinkEnvironment env;
    std::unique_ptr<CGpsLink> link;
};

TEST_F(PacketLayer, ReadingTableOfResultsStatesAndMessages)
{
    Bytes waypointCountFrame = FrameBytes(27, {0x10, 0});
    Bytes badChecksum = waypointCountFrame;
    badChecksum[6] += 1;
    Bytes loneDle = {0x10, 0x1B, 0x02, 0x10, 0x05, 0x00, 0x00, 0x10, 0x03};
    Bytes stray = {0x42};
    stray.insert(stray.end(), waypointCountFrame.begin(), waypointCountFrame.end());
    Bytes cutShort(waypointCountFrame.begin(), waypointCountFrame.begin() + 5);
    Bytes otherPacket = FrameBytes(34, Bytes(13, 1));
    Bytes longFrame = FrameBytes(27, Bytes(255, 0x10));  // 2 x 255 bytes of data alone
    struct Case {
        const char* legend;
        Bytes reply;
        PacketResult result;
        int state;
        const char* message;
    } cases[] = {
        {"the expected packet", waypointCountFrame, PacketResult::Ok, LINK_OK, nullptr},
        {"nothing received",
         {},
         PacketResult::NothingReceived,
         LINK_READING,
         "Kommunikation zum GPS gestört"},
        {"checksum off by one", badChecksum, PacketResult::BadChecksum, LINK_BAD_CHECKSUM,
         "Fehler in der Kommunikation zum GPS (Checksumme falsch)"},
        {"a lone 0x10 in the data", loneDle, PacketResult::LoneDle, LINK_FRAMING,
         "Fehler in der Kommunikation zum GPS (Format)"},
        {"a stray byte before the frame", stray, PacketResult::NotAFrame, LINK_FRAMING,
         "Fehler in der Kommunikation zum GPS (Format)"},
        {"a frame cut short", cutShort, PacketResult::BadChecksum, LINK_BAD_CHECKSUM,
         "Fehler in der Kommunikation zum GPS (Checksumme falsch)"},
        {"another packet", otherPacket, PacketResult::OtherPacket, LINK_FRAMING,
         "Fehler in der Kommunikation zum GPS (Format)"},
        {"longer than the read buffer", longFrame, PacketResult::NotAFrame, LINK_FRAMING,
         "Fehler in der Kommunikation zum GPS (Format)"},
    };
    for (const Case& c : cases) {
        env.ClearWritten();
        env.prompts.messages.clear();
        if (!c.reply.empty()) {
            env.script->Reply(c.reply);
        }
        uint8_t buffer[2] = {};
        EXPECT_EQ(link->ReceivePacket(27, buffer, 2, 0), c.result) << c.legend;
        EXPECT_EQ(link->state(), c.state) << c.legend;
        if (c.message) {
            EXPECT_EQ(env.prompts.messages, std::vector<std::string>{c.message}) << c.legend;
            EXPECT_EQ(env.script->written, Nak(27)) << c.legend;
        } else {
            EXPECT_TRUE(env.prompts.messages.empty()) << c.legend;
            EXPECT_EQ(env.script->written, Ack(27)) << c.legend;
            EXPECT_EQ(buffer[0], 0x10) << c.legend;
        }
        env.script->replies.clear();
        env.script->replyEnded = false;
    }
}

TEST_F(PacketLayer, QuietAndWithoutHandshake)
{
    env.script->Reply(FrameBytes(27, {3, 0}));
    uint8_t count[2];
    EXPECT_EQ(link->ReceivePacket(27, count, 2, LF_NOHANDSHAKE), PacketResult::Ok);
    EXPECT_TRUE(env.script->written.empty());

    EXPECT_EQ(link->ReceivePacket(35, nullptr, 0, LF_QUIET), PacketResult::NothingReceived);
    EXPECT_TRUE(env.prompts.messages.empty());
    EXPECT_EQ(env.script->written, Nak(35));
}

TEST_F(PacketLayer, MoreDataThanTheCapacityIsAcceptedAndCut)
{
    env.script->Reply(FrameBytes(35, {1, 2, 3, 4, 5}));
    uint8_t buffer[4] = {9, 9, 9, 9};
    EXPECT_EQ(link->ReceivePacket(35, buffer, 3, 0), PacketResult::Ok);
    EXPECT_EQ(Bytes(buffer, buffer + 4), (Bytes{1, 2, 3, 9}));
}

TEST_F(PacketLayer, SendingWaitsForTheAcknowledgementOfItsId)
{
    struct Case {
        const char* legend;
        Bytes reply;
        PacketResult result;
        int state;
        size_t messages;
    } cases[] = {
        {"acknowledged", Ack(10), PacketResult::Ok, LINK_OK, 0},
        {"refused", Nak(10), PacketResult::Refused, LINK_NAK, 0},
        {"acknowledgement for another id", Ack(11), PacketResult::AckForOtherPacket, LINK_FRAMING,
         2},
        {"no answer: receive and send both report",
         {},
         PacketResult::NothingReceived,
         LINK_READING,
         2},
        {"acknowledgement of the wrong size", FrameBytes(6, {10, 0, 0}), PacketResult::OtherPacket,
         LINK_FRAMING, 2},
    };
    for (const Case& c : cases) {
        env.ClearWritten();
        env.prompts.messages.clear();
        if (!c.reply.empty()) {
            env.script->Reply(c.reply);
        }
        EXPECT_EQ(link->SendCommand(CMD_SEND_WAYPOINTS, 0), c.result) << c.legend;
        EXPECT_EQ(link->state(), c.state) << c.legend;
        EXPECT_EQ(env.prompts.messages.size(), c.messages) << c.legend;
        Bytes expected = FrameBytes(10, {7, 0});
        if (Failed(c.result)) {
            Bytes nak = Nak(10);
            expected.insert(expected.end(), nak.begin(), nak.end());
        }
        EXPECT_EQ(env.script->written, expected) << c.legend;
        env.script->replies.clear();
        env.script->replyEnded = false;
    }
}

TEST_F(PacketLayer, TheRestOfAFrameThatFailedIsDroppedBeforeTheRefusal)
{
    // Line noise before an acknowledgement: the 8 bytes read are no frame, and its last two
    // bytes must not be taken for the start of the next answer.
    env.script->Reply(Bytes{0x00, 0x55} + Ack(10));
    env.script->Reply(Ack(10));
    EXPECT_EQ(link->SendCommand(CMD_SEND_TIME, LF_QUIET), PacketResult::NotAFrame);
    EXPECT_EQ(link->SendCommand(CMD_SEND_TIME, LF_QUIET), PacketResult::Ok);
    EXPECT_EQ(env.script->written, FrameBytes(10, {5, 0}) + Nak(10) + FrameBytes(10, {5, 0}));
}

TEST_F(PacketLayer, AFailedWriteKeepsTheStateAndReportsItsText)
{
    env.script->failWriteAt = 0;
    env.script->failErrno = EAGAIN;
    EXPECT_EQ(link->SendCommand(CMD_SEND_TIME, 0), PacketResult::PortFailed);
    EXPECT_EQ(link->state(), LINK_OK);
    EXPECT_EQ(env.prompts.messages, std::vector<std::string>{"GPS bereit"});
    // The link goes on working after a failure.
    env.script->Reply(Ack(10));
    EXPECT_EQ(link->SendCommand(CMD_SEND_TIME, 0), PacketResult::Ok);
}

TEST_F(PacketLayer, PowerOffWritesTheCommandAndWaitsForNothing)
{
    int readsBefore = env.script->reads;
    EXPECT_EQ(link->PowerOff(), PacketResult::Written);
    EXPECT_EQ(env.script->written, (Bytes{0x10, 0x0A, 0x02, 0x08, 0x00, 0xEC, 0x10, 0x03}));
    EXPECT_EQ(env.script->reads, readsBefore);
}

TEST(PacketLayerUnopened, EverySendFailsWithTheOpeningMessage)
{
    ScriptedLinkEnvironment env;
    env.script->failOpen = true;
    env.settings.SetString("Settings", "Port", "COM7:");
    CGpsLink link;
    EXPECT_EQ(link.state(), LINK_CLOSED);
    EXPECT_EQ(env.prompts.messages,
              std::vector<std::string>{"Error No 2 while opening Port COM7:"});
    env.prompts.messages.clear();
    EXPECT_EQ(link.SendCommand(CMD_SEND_TIME, 0), PacketResult::PortNotOpen);
    EXPECT_EQ(env.prompts.messages,
              (std::vector<std::string>{"Fehler beim Öffnen der seriellen Kommunikation:\n%%s",
                                        "Error No 2"}));
    EXPECT_EQ(link.ReceivePacket(27, nullptr, 0, LF_QUIET | LF_NOHANDSHAKE),
              PacketResult::PortNotOpen);
}

}  // namespace
