#include "link/Frame.h"

uint8_t FrameChecksum(uint8_t id, const uint8_t* data, uint8_t size)
{
    unsigned sum = id + size;
    for (int i = 0; i < size; ++i) {
        sum += data[i];
    }
    return static_cast<uint8_t>(-sum);
}

int EncodeFrame(uint8_t id, const uint8_t* data, uint8_t size, uint8_t* out, uint8_t checksumError)
{
    int n = 0;
    auto put = [&](uint8_t b) {
        out[n++] = b;
        if (b == DLE) {
            out[n++] = DLE;
        }
    };
    out[n++] = DLE;
    put(id);
    put(size);
    for (int i = 0; i < size; ++i) {
        put(data[i]);
    }
    put(static_cast<uint8_t>(FrameChecksum(id, data, size) + checksumError));
    out[n++] = DLE;
    out[n++] = ETX;
    return n;
}

FrameStatus DecodeFrame(const uint8_t* bytes, int count, DecodedFrame& frame)
{
    if (count < 1) {
        return FrameStatus::Incomplete;
    }
    if (bytes[0] != DLE) {
        return FrameStatus::NotAFrame;
    }
    int pos = 1;
    FrameStatus failure = FrameStatus::Incomplete;
    // One un-stuffed byte; false when the bytes end first or a 0x10 is not doubled.
    auto next = [&](uint8_t& b) {
        if (pos >= count) {
            return false;
        }
        b = bytes[pos++];
        if (b != DLE) {
            return true;
        }
        if (pos >= count) {
            return false;
        }
        if (bytes[pos] != DLE) {
            failure = FrameStatus::LoneDle;
            return false;
        }
        ++pos;
        return true;
    };
    uint8_t checksum;
    if (!next(frame.id) || !next(frame.size)) {
        return failure;
    }
    for (int i = 0; i < frame.size; ++i) {
        if (!next(frame.data[i])) {
            return failure;
        }
    }
    if (!next(checksum)) {
        return failure;
    }
    frame.checksumOk = FrameChecksum(frame.id, frame.data, frame.size) == checksum;
    frame.length = pos;
    if (pos < count && bytes[pos] != DLE) {
        return FrameStatus::Unterminated;
    }
    if (pos + 2 > count) {
        return FrameStatus::Incomplete;
    }
    if (bytes[pos + 1] != ETX) {
        return FrameStatus::Unterminated;
    }
    frame.length = pos + 2;
    return FrameStatus::Whole;
}
