#pragma once

#include <cstdint>
#include <functional>

// Packet ids of the receiver protocol.
enum PacketId : uint8_t {
    PKT_ACK = 6,
    PKT_COMMAND = 10,
    PKT_XFER_DONE = 12,
    PKT_DATE_TIME = 14,
    PKT_POSITION = 17,  // D700: latitude, longitude, radians as 64-bit floats
    PKT_NAK = 21,
    PKT_RECORD_COUNT = 27,
    PKT_ASYNC_EVENTS = 28,  // u16 mask of unsolicited reports; 0 stops them
    PKT_ROUTE_HEADER = 29,
    PKT_ROUTE_WAYPOINT = 30,
    PKT_TRACKPOINT = 34,
    PKT_WAYPOINT = 35,
    PKT_BAUD_REQUEST = 48,  // u32: the rate the host asks for
    PKT_BAUD_ACCEPT = 49,   // u32: the rate the receiver will use
    PKT_PVT = 51,           // D800: position, velocity and time, once a second (link/Pvt.h)
    PKT_ROUTE_LINK = 98,    // A201: between two route waypoints
    PKT_TRACK_HEADER = 99,  // A301, A302: before the points of each track
    PKT_EXTENDED_PRODUCT_DATA = 248,
    PKT_PROTOCOL_ARRAY = 253,  // sent by later receivers after their product data
    PKT_PRODUCT_REQUEST = 254,
    PKT_PRODUCT_DATA = 255,
};

// Command numbers carried by PKT_COMMAND.
enum CommandId : uint16_t {
    CMD_ABORT_TRANSFER = 0,
    CMD_SEND_POSITION = 2,
    CMD_SEND_ROUTES = 4,
    CMD_SEND_TIME = 5,
    CMD_SEND_TRACK = 6,
    CMD_SEND_WAYPOINTS = 7,
    CMD_POWER_OFF = 8,
    // A800: the receiver sends PKT_PVT unasked from then on, until CMD_STOP_PVT_DATA. It
    // does not wait for the host's acknowledgement of them, nor send one again on PKT_NAK.
    CMD_START_PVT_DATA = 49,
    CMD_STOP_PVT_DATA = 50,
    CMD_PING = 58,  // answered with an acknowledgement only: the line works at its rate
};

// The speed every receiver starts at and returns to.
constexpr int BASE_BAUD = 9600;

// The link's state; it selects the text of the next error message.
enum LinkState : int {
    LINK_CLOSED = 0,        // port not opened, or opening failed
    LINK_PORT_OPEN = 1,     // port handle obtained, configuration not finished
    LINK_READY = 2,         // port configured; nothing exchanged yet
    LINK_READING = 3,       // a read for a frame was issued
    LINK_FRAMING = 4,       // bytes arrived and are being parsed
    LINK_BAD_CHECKSUM = 5,  // the last frame had a wrong checksum
    LINK_NAK = 6,           // the receiver answered with PKT_NAK
    LINK_OK = 7,            // the last packet or acknowledgement was received correctly
};

// Transfer flags passed to every packet operation.
enum LinkFlags : int {
    LF_ACKFRAME = 1,     // the read expects an acknowledgement frame (8 bytes)
    LF_QUIET = 2,        // no message box on failure
    LF_NOHANDSHAKE = 4,  // no acknowledgement awaited after sending, none sent after receiving
    LF_ANYID = 8,        // a read takes a packet of any id (CGpsLink::LastPacketId says which)
};

constexpr uint8_t DLE = 0x10;
constexpr uint8_t ETX = 0x03;

// The read buffer of one frame; longer frames are refused.
constexpr int LINK_READ_BUFFER = 512;
// The longest frame: 255 data bytes, every stuffable byte 0x10.
constexpr int MAX_FRAME_BYTES = 519;

// How the opening of the port reads (and drops) what a receiver sent before the link came.
enum class StartupRead {
    // One read as every frame read: it ends 10 ms after the last byte, or after 1224 ms
    // when nothing comes. The editor opens so.
    Full,
    // Ends once the line has been quiet for QUIET_LINE_MS, from its start or from the last
    // byte (and at the latest as the full read would). For `orvi`, whose every command opens
    // the port: it has no reason to wait out a receiver that says nothing.
    UntilQuiet,
};

// How long the line must be quiet before we take it that nobody is sending: at 9600 baud
// 50 ms is 48 byte times, and three times the 16 ms for which USB-serial adapters hold bytes
// back, so a receiver that is sending is never quiet that long within a frame or a burst.
constexpr int QUIET_LINE_MS = 50;

// Called during record transfers with a zero-terminated text ("%d / %d"). Runs on the
// thread that runs the transfer.
using ProgressCallback = std::function<void(const char* text)>;

// Results of the packet layer (WriteFrame, SendPacket, ReadFrame, ReceivePacket), numbered
// as the link's documentation numbers them.
enum class PacketResult : int {
    Ok = 1,                  // the expected packet, or the acknowledgement of ours, came
    Refused = 0,             // the receiver answered with PKT_NAK
    Written = 0,             // written without waiting for the handshake
    PortNotOpen = -1,        // the link's state is below LINK_PORT_OPEN
    PortFailed = -2,         // the port's write or read call failed
    NothingReceived = -3,    // the read ended without a byte
    NotAFrame = -4,          // the first byte is not DLE, or the frame overruns the read
    BadChecksum = -5,        // the checksum is wrong
    OtherPacket = -6,        // not the expected packet, or a malformed acknowledgement
    AckForOtherPacket = -7,  // an acknowledgement (or PKT_NAK) that names another id
    LoneDle = -8,            // a 0x10 inside the frame not doubled
    AckNotSent = -9,         // the packet came, but our acknowledgement could not be written
};

// The failures among them; Ok, Refused and Written are not.
constexpr bool Failed(PacketResult result)
{
    return static_cast<int>(result) < 0;
}

// Results of the record transfers, numbered as the link's documentation numbers them: the
// same failure has another number in a track log download than in the other transfers.
enum class TransferResult : int {
    Done = 0,
    NotStarted = -1,           // the command was not acknowledged, or nothing to upload
    CountFailed = -2,          // the record count was not received or could not be sent
    TrackBudgetExceeded = -3,  // track log download: more failed records than records
    BudgetExceeded = -4,       // the other transfers: more failed records than records
    TrackDoneMissing = -4,     // track log download: no transfer-complete packet
    DoneMissing = -5,          // the other transfers: transfer-complete not received or sent
    BadData = -6,              // a packet was not what the unit's data type says
    Cancelled = -10,           // stopped by CGpsLink::Cancel(); no message is shown
};
