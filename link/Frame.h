#pragma once

#include <cstdint>

#include "link/LinkTypes.h"

// The frames of the receiver protocol: DLE, id, size, data, checksum (each byte 0x10 of
// these doubled), DLE, ETX. The checksum makes id + size + data + checksum 0 modulo 256.

uint8_t FrameChecksum(uint8_t id, const uint8_t* data, uint8_t size);

// Writes the frame into `out` (at least MAX_FRAME_BYTES) and returns its length.
// `checksumError` is added to the checksum: a simulated receiver sends damaged frames so.
int EncodeFrame(uint8_t id, const uint8_t* data, uint8_t size, uint8_t* out,
                uint8_t checksumError = 0);

// What the bytes at the start of a buffer are, read as one frame.
enum class FrameStatus {
    Whole,         // a frame up to its closing DLE ETX
    Unterminated,  // id, size, data and checksum, followed by something else than DLE ETX
    Incomplete,    // a frame so far: the bytes end before it does
    NotAFrame,     // the first byte is not DLE
    LoneDle,       // a 0x10 among id, size, data or checksum that is not doubled
};

// A frame un-stuffed. `checksumOk` and `length` (the bytes taken, DLE ETX included when
// they are there) hold for Whole and Unterminated frames.
struct DecodedFrame {
    uint8_t id = 0;
    uint8_t size = 0;
    uint8_t data[255] = {};
    bool checksumOk = false;
    int length = 0;
};

// The one decoder of frames, for both sides of the line: reads the frame that begins at
// `bytes[0]`, never looking past `count` bytes. The receiver's side skips bytes that come
// before a DLE itself.
FrameStatus DecodeFrame(const uint8_t* bytes, int count, DecodedFrame& frame);
