#pragma once

#include <cstdint>
#include <functional>

// Packet ids of the receiver protocol.
enum PacketId : uint8_t {
    PKT_ACK = 6,
    PKT_COMMAND = 10,
    PKT_XFER_DONE = 12,
    PKT_DATE_TIME = 14,
    PKT_NAK = 21,
    PKT_RECORD_COUNT = 27,
    PKT_TRACKPOINT = 34,
    PKT_WAYPOINT = 35,
    PKT_PROTOCOL_ARRAY = 253,  // sent by later receivers after their product data
    PKT_PRODUCT_REQUEST = 254,
    PKT_PRODUCT_DATA = 255,
};

// Command numbers carried by PKT_COMMAND.
enum CommandId : uint16_t {
    CMD_ABORT_TRANSFER = 0,
    CMD_SEND_TIME = 5,
    CMD_SEND_TRACK = 6,
    CMD_SEND_WAYPOINTS = 7,
    CMD_POWER_OFF = 8,
};

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
};

constexpr uint8_t DLE = 0x10;
constexpr uint8_t ETX = 0x03;

// The read buffer of one frame; longer frames are refused.
constexpr int LINK_READ_BUFFER = 512;
// The longest frame: 255 data bytes, every stuffable byte 0x10.
constexpr int MAX_FRAME_BYTES = 519;

// Called during record transfers with a zero-terminated text ("%d / %d"). Runs on the
// thread that runs the transfer.
using ProgressCallback = std::function<void(const char* text)>;

// Result of a record transfer stopped by CGpsLink::Cancel(); no message is shown.
constexpr int XFER_CANCELLED = -10;
