#include "link/Frame.h"

#include <cstring>

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

namespace {

// Walks a frame from its DLE. Stores the un-stuffed id, size and data when asked.
FrameScan Walk(const uint8_t* bytes, int count, int* length, DecodedFrame* frame)
{
    if (count < 1) {
        return FrameScan::Incomplete;
    }
    if (bytes[0] != DLE) {
        return FrameScan::Invalid;
    }
    int pos = 1;
    // Reads one stuffed byte; false when the bytes end first.
    FrameScan failure = FrameScan::Incomplete;
    auto next = [&](uint8_t& b) {
        if (pos >= count) {
            failure = FrameScan::Incomplete;
            return false;
        }
        b = bytes[pos++];
        if (b != DLE) {
            return true;
        }
        if (pos >= count) {
            failure = FrameScan::Incomplete;
            return false;
        }
        if (bytes[pos] != DLE) {
            failure = FrameScan::Invalid;
            return false;
        }
        ++pos;
        return true;
    };
    uint8_t id, size, checksum;
    if (!next(id) || !next(size)) {
        return failure;
    }
    uint8_t data[255];
    for (int i = 0; i < size; ++i) {
        if (!next(data[i])) {
            return failure;
        }
    }
    if (!next(checksum)) {
        return failure;
    }
    if (pos + 2 > count) {
        return count > pos && bytes[pos] != DLE ? FrameScan::Invalid : FrameScan::Incomplete;
    }
    if (bytes[pos] != DLE || bytes[pos + 1] != ETX) {
        return FrameScan::Invalid;
    }
    if (length) {
        *length = pos + 2;
    }
    if (frame) {
        frame->id = id;
        frame->size = size;
        std::memcpy(frame->data, data, size);
        frame->checksumOk = FrameChecksum(id, data, size) == checksum;
    }
    return FrameScan::Complete;
}

}  // namespace

FrameScan ScanFrame(const uint8_t* bytes, int count, int* length)
{
    return Walk(bytes, count, length, nullptr);
}

int ExtractFrame(const uint8_t* bytes, int count, DecodedFrame& frame)
{
    for (int start = 0; start < count; ++start) {
        if (bytes[start] != DLE) {
            continue;
        }
        int length = 0;
        FrameScan scan = Walk(bytes + start, count - start, &length, &frame);
        if (scan == FrameScan::Complete) {
            return start + length;
        }
        if (scan == FrameScan::Incomplete) {
            return 0;
        }
    }
    return 0;
}
