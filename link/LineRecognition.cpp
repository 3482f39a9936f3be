#include "link/LineRecognition.h"

#include <algorithm>
#include <string_view>

#include "link/Frame.h"
#include "link/NmeaSentences.h"

namespace {

// NMEA 0183 limits a sentence to 82 characters, "$" and CR LF included.
constexpr size_t kLongestSentence = 82;

int HexDigit(uint8_t c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Whether a whole sentence "$" body "*hh" CR with its right checksum begins at `at`.
bool SentenceAt(const std::vector<uint8_t>& bytes, size_t at)
{
    const size_t end = std::min(bytes.size(), at + kLongestSentence);
    for (size_t i = at + 1; i < end; ++i) {
        const uint8_t c = bytes[i];
        if (c == '*') {
            if (i + 3 >= bytes.size() || bytes[i + 3] != '\r') {
                return false;
            }
            const int high = HexDigit(bytes[i + 1]);
            const int low = HexDigit(bytes[i + 2]);
            const std::string_view body(reinterpret_cast<const char*>(bytes.data()) + at + 1,
                                        i - at - 1);
            return high >= 0 && low >= 0 && body.size() >= 5 &&
                   NmeaChecksum(body) == high * 16 + low;
        }
        if (c < 0x20 || c > 0x7e || c == '$') {
            return false;
        }
    }
    return false;
}

bool FrameAt(const std::vector<uint8_t>& bytes, size_t at)
{
    DecodedFrame frame;
    return DecodeFrame(bytes.data() + at, static_cast<int>(bytes.size() - at), frame) ==
               FrameStatus::Whole &&
           frame.checksumOk;
}

}  // namespace

LineSpeech LineRecogniser::Take(const uint8_t* data, size_t size)
{
    if (speech_ != LineSpeech::UNKNOWN || size == 0) {
        return speech_;
    }
    bytes_.insert(bytes_.end(), data, data + size);
    if (bytes_.size() > kKeep) {
        bytes_.erase(bytes_.begin(), bytes_.end() - kKeep);
    }
    for (size_t at = 0; at < bytes_.size() && speech_ == LineSpeech::UNKNOWN; ++at) {
        if (bytes_[at] == '$' && SentenceAt(bytes_, at)) {
            speech_ = LineSpeech::NMEA;
        } else if (bytes_[at] == DLE && FrameAt(bytes_, at)) {
            speech_ = LineSpeech::BINARY;
        }
    }
    return speech_;
}

void LineRecogniser::Reset()
{
    bytes_.clear();
    speech_ = LineSpeech::UNKNOWN;
}
