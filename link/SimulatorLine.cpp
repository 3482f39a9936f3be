#include "link/SimulatorLine.h"

#include <algorithm>
#include <cstring>
#include <thread>

#include "link/Frame.h"
#include "link/SerialPort.h"

namespace {

using std::chrono::milliseconds;

// A frame that has begun and then stays quiet this long is given up as cut short.
constexpr milliseconds kStall{100};
// Reads wait at most this long at a time, so that a stop request is noticed.
constexpr int kSliceMs = 20;
// Bytes that do not make a frame are not kept beyond this.
constexpr size_t kMaxBuffered = 4 * MAX_FRAME_BYTES;

int CeilMs(std::chrono::steady_clock::duration d)
{
    auto ms = std::chrono::ceil<milliseconds>(d).count();
    return static_cast<int>(std::clamp<int64_t>(ms, 0, 1 << 30));
}

}  // namespace

SimulatorLine::SimulatorLine(SerialPort& port, LineCounters& counters,
                             std::function<LineShape()> shape)
    : port_(port), counters_(counters), shape_(std::move(shape))
{
}

SimulatorLine::Clock::duration SimulatorLine::WireTime(size_t bytes, int baud)
{
    // 10 bits per byte: start bit, 8 data bits, stop bit.
    return std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(static_cast<double>(bytes) * 10.0 / baud));
}

void SimulatorLine::CountWire(size_t bytes, int baud)
{
    if (baud > 0) {
        counters_.wireNanos +=
            std::chrono::duration_cast<std::chrono::nanoseconds>(WireTime(bytes, baud)).count();
    }
}

void SimulatorLine::DropFront(size_t count)
{
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(count));
}

namespace {

// The id a damaged frame at the front of `b` seems to carry, or -1.
int GuessId(const std::vector<uint8_t>& b)
{
    if (b.size() < 2) {
        return -1;
    }
    if (b[1] != DLE) {
        return b[1];
    }
    return b.size() > 2 && b[2] == DLE ? DLE : -1;
}

// Where a damaged frame at the front of `b` ends: after its closing DLE ETX (a DLE not
// doubled, followed by ETX). 0 when that has not arrived yet.
size_t DamagedFrameEnd(const std::vector<uint8_t>& b)
{
    for (size_t i = 1; i + 1 < b.size();) {
        if (b[i] != DLE) {
            ++i;
        } else if (b[i + 1] == DLE) {
            i += 2;
        } else if (b[i + 1] == ETX) {
            return i + 2;
        } else {
            ++i;
        }
    }
    return 0;
}

}  // namespace

bool SimulatorLine::Parse(HostFrame& frame)
{
    auto dle = std::find(buffer_.begin(), buffer_.end(), DLE);
    DropFront(static_cast<size_t>(dle - buffer_.begin()));  // line noise before a frame
    if (buffer_.empty()) {
        return false;
    }
    int count = static_cast<int>(std::min(buffer_.size(), kMaxBuffered));
    DecodedFrame decoded;
    switch (DecodeFrame(buffer_.data(), count, decoded)) {
    case FrameStatus::Incomplete:
        return false;
    case FrameStatus::Whole:
        frame.kind = decoded.checksumOk ? HostFrame::Packet : HostFrame::Damaged;
        frame.id = decoded.id;
        frame.size = decoded.size;
        std::memcpy(frame.data, decoded.data, decoded.size);
        DropFront(static_cast<size_t>(decoded.length));
        return true;
    case FrameStatus::Unterminated:
    case FrameStatus::LoneDle:
    case FrameStatus::NotAFrame:  // not here: the buffer begins with DLE
        break;
    }
    size_t end = DamagedFrameEnd(buffer_);
    if (end == 0) {
        return false;  // until its end arrives, or the line goes quiet
    }
    frame.kind = HostFrame::Damaged;
    frame.id = GuessId(buffer_);
    frame.size = 0;
    DropFront(end);
    return true;
}

HostFrame SimulatorLine::Read(int timeoutMs, const std::atomic<bool>& stop)
{
    const Clock::time_point deadline = Clock::now() + milliseconds(timeoutMs);
    HostFrame frame;
    // Nothing follows a held acknowledgement while we wait for the host.
    if (!Flush()) {
        frame.kind = HostFrame::LineGone;
        return frame;
    }
    uint8_t chunk[LINK_READ_BUFFER];
    while (!stop) {
        if (Parse(frame)) {
            return frame;
        }
        Clock::time_point now = Clock::now();
        int wait;
        if (!buffer_.empty()) {
            if (now - lastByte_ >= kStall || buffer_.size() > kMaxBuffered) {
                frame.kind = HostFrame::Damaged;
                frame.id = GuessId(buffer_);
                buffer_.clear();
                return frame;
            }
            wait = CeilMs(lastByte_ + kStall - now);
        } else {
            if (now >= deadline) {
                return frame;
            }
            wait = CeilMs(deadline - now);
        }
        int n = port_.ReadAvailable(chunk, sizeof chunk, std::clamp(wait, 1, kSliceMs));
        if (n < 0) {
            frame.kind = HostFrame::LineGone;
            return frame;
        }
        if (n > 0) {
            buffer_.insert(buffer_.end(), chunk, chunk + n);
            counters_.received += static_cast<uint64_t>(n);
            lastByte_ = Clock::now();
            int baud = shape_().baud;
            CountWire(static_cast<size_t>(n), baud);
            if (baud > 0) {
                inboundDone_ =
                    std::max(lastByte_, inboundDone_) + WireTime(static_cast<size_t>(n), baud);
            }
        }
    }
    return frame;
}

bool SimulatorLine::Flush()
{
    if (held_.empty()) {
        return true;
    }
    std::vector<uint8_t> bytes;
    bytes.swap(held_);
    if (port_.Write(bytes.data(), static_cast<int>(bytes.size())) !=
        static_cast<int>(bytes.size())) {
        return false;
    }
    counters_.sent += bytes.size();
    CountWire(bytes.size(), shape_().baud);
    return true;
}

bool SimulatorLine::Send(uint8_t id, const uint8_t* data, uint8_t size, const FrameFault& fault)
{
    uint8_t frame[MAX_FRAME_BYTES];
    int length = EncodeFrame(id, data, size, frame, fault.corrupt ? 1 : 0);
    const LineShape shape = shape_();
    if (shape.joinFrames && id == PKT_ACK && !fault.Any()) {
        held_.insert(held_.end(), frame, frame + length);
        return true;
    }
    // A held acknowledgement goes out first, with this frame unless that is to be late or lost.
    std::vector<uint8_t> bytes;
    if (fault.pauseMs > 0 || fault.lost) {
        if (!Flush()) {
            return false;
        }
    } else {
        bytes.swap(held_);
    }
    bytes.insert(bytes.end(), fault.stray.begin(), fault.stray.end());
    bytes.insert(bytes.end(), frame, frame + length);
    return Put(bytes, shape, fault);
}

bool SimulatorLine::SendText(const std::string& bytes)
{
    if (!Flush()) {
        return false;
    }
    return Put(std::vector<uint8_t>(bytes.begin(), bytes.end()), shape_(), {});
}

bool SimulatorLine::Put(const std::vector<uint8_t>& bytes, const LineShape& shape,
                        const FrameFault& fault)
{
    if (fault.pauseMs > 0) {
        std::this_thread::sleep_for(milliseconds(fault.pauseMs));
    }
    int burstBytes = fault.burstBytes > 0 ? fault.burstBytes : shape.burstBytes;
    size_t burst = burstBytes > 0 ? static_cast<size_t>(burstBytes) : bytes.size();
    for (size_t pos = 0; pos < bytes.size(); pos += burst) {
        if (pos > 0) {
            std::uniform_int_distribution<int> gap(shape.gapMinMs,
                                                   std::max(shape.gapMinMs, shape.gapMaxMs));
            std::this_thread::sleep_for(milliseconds(gap(random_)));
        }
        size_t n = std::min(burst, bytes.size() - pos);
        if (shape.baud > 0) {
            // Hand the bytes over when their last one would have left a real line.
            Clock::time_point start = std::max({Clock::now(), outboundFree_, inboundDone_});
            outboundFree_ = start + WireTime(n, shape.baud);
            std::this_thread::sleep_until(outboundFree_);
        }
        if (!fault.lost &&
            port_.Write(bytes.data() + pos, static_cast<int>(n)) != static_cast<int>(n)) {
            return false;
        }
        counters_.sent += n;
        CountWire(n, shape.baud);
    }
    return true;
}
