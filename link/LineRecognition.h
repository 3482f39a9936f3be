#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// What a receiver says on a line by itself: NMEA 0183 sentences (a unit in NMEA mode, and
// most other GPS devices) or the frames of the binary protocol (a unit that still sends the
// PVT packets a host asked for earlier).
enum class LineSpeech : uint8_t {
    UNKNOWN,  // nothing recognisable yet: silence, noise, or bytes at another rate
    NMEA,
    BINARY,
};

// Reads the bytes that come from a line until they show which way the receiver speaks: one
// whole NMEA sentence with its right checksum, or one whole frame with its right checksum.
// Noise, bytes at the wrong rate and what is cut short do not count; a sentence or frame
// may come in pieces. Only the last kKeep bytes are kept.
class LineRecogniser {
public:
    static constexpr size_t kKeep = 1024;

    // The bytes as they came; what they show so far, and from then on the same.
    LineSpeech Take(const uint8_t* data, size_t size);
    LineSpeech Speech() const { return speech_; }
    void Reset();

private:
    std::vector<uint8_t> bytes_;
    LineSpeech speech_ = LineSpeech::UNKNOWN;
};
