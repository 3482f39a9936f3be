#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "link/Frame.h"
#include "link/LinkTypes.h"

// The bytes one side of the serial line sends, as the fuzz targets of the link take them
// from their input: the input is cut into replies, each sent in one piece and followed by a
// pause, the way a receiver or a host waits for the other side after every frame.
//
// A reply ends after the first DLE ETX whose DLE is not the second half of a doubled DLE
// (the end of a frame as the line sees it), or with the input. DLE ETX where a reply would
// begin stands for a silence instead: one read that gets nothing.
using LineBytes = std::vector<uint8_t>;

inline std::deque<LineBytes> SplitIntoReplies(const uint8_t* data, size_t size)
{
    std::deque<LineBytes> replies;
    size_t start = 0;
    while (start < size) {
        if (size - start >= 2 && data[start] == DLE && data[start + 1] == ETX) {
            replies.emplace_back();
            start += 2;
            continue;
        }
        size_t end = size;
        for (size_t i = start + 1; i + 1 < size;) {
            if (data[i] != DLE) {
                ++i;
            } else if (data[i + 1] == DLE) {
                i += 2;
            } else if (data[i + 1] == ETX) {
                end = i + 2;
                break;
            } else {
                ++i;
            }
        }
        replies.emplace_back(data + start, data + end);
        start = end;
    }
    return replies;
}

// The silence marker of SplitIntoReplies, for writing inputs.
inline LineBytes LineSilence()
{
    return {DLE, ETX};
}

inline LineBytes LineFrame(uint8_t id, const LineBytes& data)
{
    uint8_t out[MAX_FRAME_BYTES];
    int n = EncodeFrame(id, data.data(), static_cast<uint8_t>(data.size()), out);
    return LineBytes(out, out + n);
}

inline LineBytes LineAck(uint8_t id)
{
    return LineFrame(PKT_ACK, {id, 0});
}
