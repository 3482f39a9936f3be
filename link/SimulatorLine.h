#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "link/LinkTypes.h"

class SerialPort;

// A frame from the host, as the receiver's side reads it off the line.
struct HostFrame {
    enum Kind {
        Nothing,   // no frame began before the time was up
        Packet,    // a whole frame with a correct checksum
        Damaged,   // a wrong checksum, a 0x10 not doubled, a frame cut short
        LineGone,  // the port failed (errno tells why)
    };
    Kind kind = Nothing;
    int id = -1;  // the packet id; for a damaged frame the id it seems to carry, or -1
    uint8_t size = 0;
    uint8_t data[255] = {};

    // The first two data bytes as a 16-bit number (little-endian), missing ones 0.
    uint16_t Word() const
    {
        return static_cast<uint16_t>((size > 0 ? data[0] : 0) | (size > 1 ? data[1] << 8 : 0));
    }
};

// Bytes put on the line and taken off it, counted as they pass; read from any thread.
struct LineCounters {
    std::atomic<uint64_t> sent{0};
    std::atomic<uint64_t> received{0};
    // The time all of them need on the line at the rate each went at (paced lines only).
    std::atomic<int64_t> wireNanos{0};
};

// How the receiver's side puts its bytes on the line.
struct LineShape {
    // Pace at this many baud (10 bits per byte on the wire), in both directions: a frame is
    // handed to the port when its last byte would have left a real line, and an answer
    // waits until the host's bytes would have arrived. 0: as fast as the port takes them.
    int baud = 0;
    // Frames go out in bursts of this many bytes with a pause between two bursts, as
    // USB-serial adapters deliver them. 0: whole frames.
    int burstBytes = 0;
    int gapMinMs = 12;
    int gapMaxMs = 16;
    // An acknowledgement is held back and goes out in one write with the frame that follows
    // it, so that the host reads both at once (what a fast line through an adapter does).
    bool joinFrames = false;
};

// What happens to one frame on its way to the host.
struct FrameFault {
    bool corrupt = false;        // a wrong checksum
    std::vector<uint8_t> stray;  // line noise before it
    bool lost = false;           // it never arrives (the line is busy for its time all the same)
    int pauseMs = 0;             // the line stays quiet this long before it
    int burstBytes = 0;          // in bursts of this many bytes; 0: as the line's shape says

    bool Any() const { return corrupt || !stray.empty() || lost || pauseMs > 0 || burstBytes > 0; }
};

// The receiver's side of the frame layer over a SerialPort (which it does not own): finds
// the host's frames in the byte stream, however they are split, and writes frames, paced
// and shaped as `shape` says at the moment (asked for every read and write, so a change
// counts at once). Used by one thread.
class SimulatorLine {
public:
    SimulatorLine(SerialPort& port, LineCounters& counters, std::function<LineShape()> shape);

    // The next frame from the host. Bytes before a frame's DLE are skipped. Waits at most
    // `timeoutMs` for a frame to begin; a frame that has begun is waited for until it is
    // whole or the line has been quiet for 100 ms (then it is Damaged). Returns Nothing at
    // once when `stop` is set.
    HostFrame Read(int timeoutMs, const std::atomic<bool>& stop);

    // Puts the frame on the line, as `fault` would have it. Blocks for the pacing, the
    // pause and the gaps between bursts. False when the port did not take the bytes (errno
    // set).
    bool Send(uint8_t id, const uint8_t* data, uint8_t size, const FrameFault& fault = {});
    // Puts `bytes` on the line as they are (NMEA sentences), paced and shaped as Send puts a
    // frame. False as Send.
    bool SendText(const std::string& bytes);

private:
    // Writes `bytes`, paced, in the bursts of `shape` or `fault`. False as Send.
    bool Put(const std::vector<uint8_t>& bytes, const LineShape& shape, const FrameFault& fault);
    using Clock = std::chrono::steady_clock;

    // Writes an acknowledgement held back for the next frame. False as Send.
    bool Flush();
    // Takes one frame off the front of the buffer into `frame`; false when more bytes are
    // needed.
    bool Parse(HostFrame& frame);
    void DropFront(size_t count);
    static Clock::duration WireTime(size_t bytes, int baud);
    // Counts `bytes` that went at `baud`.
    void CountWire(size_t bytes, int baud);

    SerialPort& port_;
    LineCounters& counters_;
    std::function<LineShape()> shape_;
    std::vector<uint8_t> buffer_;
    std::vector<uint8_t> held_;  // an acknowledgement waiting for the next frame
    Clock::time_point lastByte_{};
    Clock::time_point outboundFree_{};  // when the line has sent what we wrote so far
    Clock::time_point inboundDone_{};   // when the host's bytes so far would have arrived
    std::minstd_rand random_{20240613};
};
