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

enum class FrameScan {
    Incomplete,  // a frame so far; more bytes are needed
    Complete,    // a whole frame, `length` bytes long
    Invalid,     // these bytes cannot be the start of a frame
};

// Looks at the first `count` bytes as one frame.
FrameScan ScanFrame(const uint8_t* bytes, int count, int* length = nullptr);

// A frame decoded as a whole, for the receiver's side (the simulator), which reads frames
// from a stream: leading bytes that are not a frame are skipped.
struct DecodedFrame {
    uint8_t id = 0;
    uint8_t size = 0;
    uint8_t data[255] = {};
    bool checksumOk = false;
};

// Finds the first whole frame in `bytes`; returns the number of bytes it and anything before
// it took (to drop from the stream), or 0 when no whole frame is there yet.
int ExtractFrame(const uint8_t* bytes, int count, DecodedFrame& frame);
