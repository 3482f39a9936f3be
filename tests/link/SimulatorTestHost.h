#pragma once

#include <chrono>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "framework/Prompts.h"
#include "gps/Records.h"
#include "link/Frame.h"
#include "link/PosixSerialPort.h"
#include "tests/RecordingPrompts.h"

// Helpers of the tests that run a GarminSimulator on a pseudo-terminal.

using ByteVector = std::vector<uint8_t>;

// Installs a Prompts for the life of the object.
class PromptsScope {
public:
    explicit PromptsScope(Prompts& prompts) : previous_(Prompts::SetCurrent(&prompts)) {}
    ~PromptsScope() { Prompts::SetCurrent(previous_); }
    PromptsScope(const PromptsScope&) = delete;
    PromptsScope& operator=(const PromptsScope&) = delete;

private:
    Prompts* previous_;
};

// Polls `done` every 2 ms until it holds or `ms` passed; returns its last value.
inline bool WaitUntil(const std::function<bool()>& done, int ms = 2000)
{
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= until) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

inline ByteVector EncodedFrame(uint8_t id, const ByteVector& data)
{
    uint8_t out[MAX_FRAME_BYTES];
    int n = EncodeFrame(id, data.data(), static_cast<uint8_t>(data.size()), out);
    return ByteVector(out, out + n);
}

// A host that speaks raw frames to the device, without the link's handshake, so that a
// test can say exactly what the receiver gets and see exactly what it answers.
class RawHost {
public:
    explicit RawHost(const std::string& device) : port_(PosixSerialPort::Open(device))
    {
        if (port_) {
            port_->ApplyLineSettings();
        }
    }
    bool ok() const { return port_ != nullptr; }
    PosixSerialPort& port() { return *port_; }

    void Write(const ByteVector& bytes)
    {
        port_->Write(bytes.data(), static_cast<int>(bytes.size()));
    }
    void Send(uint8_t id, const ByteVector& data) { Write(EncodedFrame(id, data)); }

    // The next whole frame from the receiver, waiting at most `ms`; bytes before it are
    // dropped. Nothing when none came.
    std::optional<DecodedFrame> Next(int ms = 1000)
    {
        auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        for (;;) {
            if (auto frame = TakeFrame()) {
                return frame;
            }
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                            until - std::chrono::steady_clock::now())
                            .count();
            if (left <= 0) {
                return std::nullopt;
            }
            if (ReadSome(static_cast<int>(left)) < 0) {
                return std::nullopt;
            }
        }
    }

    // Every byte that arrives until the line has been quiet for `quietMs`.
    ByteVector Drain(int quietMs = 100)
    {
        while (ReadSome(quietMs) > 0) {
        }
        ByteVector all;
        all.swap(pending_);
        return all;
    }

    // One read of what is there within `ms`; the arrival times of the reads are kept.
    int ReadSome(int ms)
    {
        uint8_t buffer[512];
        int n = port_->ReadAvailable(buffer, sizeof buffer, ms);
        if (n > 0) {
            pending_.insert(pending_.end(), buffer, buffer + n);
            arrivals.push_back(std::chrono::steady_clock::now());
        }
        return n;
    }

    std::vector<std::chrono::steady_clock::time_point> arrivals;

private:
    // The first whole frame among the bytes read so far, with what came before it.
    std::optional<DecodedFrame> TakeFrame()
    {
        const int count = static_cast<int>(pending_.size());
        for (int start = 0; start < count; ++start) {
            DecodedFrame frame;
            switch (DecodeFrame(pending_.data() + start, count - start, frame)) {
            case FrameStatus::Whole:
                pending_.erase(pending_.begin(), pending_.begin() + start + frame.length);
                return frame;
            case FrameStatus::Incomplete:
                return std::nullopt;
            default:
                break;
            }
        }
        return std::nullopt;
    }

    std::unique_ptr<PosixSerialPort> port_;
    ByteVector pending_;
};

// The 60 bytes a waypoint travels as: ident 6, latitude 4, longitude 4, 4 unused, comment
// 40, symbol 1, display 1.
inline ByteVector WaypointPacketBytes(const WaypointRecord& w)
{
    ByteVector p(60, 0);
    std::memcpy(p.data(), w.ident, 6);
    std::memcpy(p.data() + 6, &w.latitude, 4);
    std::memcpy(p.data() + 10, &w.longitude, 4);
    std::memcpy(p.data() + 18, w.comment, 40);
    p[58] = static_cast<uint8_t>(w.symbol);
    p[59] = w.display;
    return p;
}
