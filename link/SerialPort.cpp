#include "link/SerialPort.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>

#include "link/Frame.h"

namespace {

constexpr int kInterByteMs = 10;
constexpr int kTotalBaseMs = 200;
constexpr int kTotalPerByteMs = 2;

// ReadWithTimeouts after `got` bytes are in the buffer already, its overall time-out that of
// a read of `timed` bytes.
int ReadOnFrom(SerialPort& port, uint8_t* buffer, int size, bool frames, int got, int timed)
{
    const auto deadline =
        port.Now() + std::chrono::milliseconds(kTotalBaseMs + kTotalPerByteMs * timed);
    bool incomplete = false;  // a frame has begun and is not yet whole
    if (frames && got > 0) {
        DecodedFrame frame;
        FrameStatus status = DecodeFrame(buffer, got, frame);
        if (status == FrameStatus::Whole) {
            return got;
        }
        incomplete = status == FrameStatus::Incomplete;
    }
    while (got < size) {
        auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - port.Now()).count();
        if (left <= 0) {
            break;
        }
        int wait = got == 0 || incomplete ? static_cast<int>(left)
                                          : std::min<int>(kInterByteMs, static_cast<int>(left));
        int n = port.ReadAvailable(buffer + got, size - got, wait);
        if (n < 0) {
            return -1;
        }
        if (n == 0) {
            if (got > 0) {
                break;  // the silence after the last byte, or the overall time-out
            }
            continue;
        }
        got += n;
        if (frames) {
            DecodedFrame frame;
            FrameStatus status = DecodeFrame(buffer, got, frame);
            if (status == FrameStatus::Whole) {
                break;
            }
            incomplete = status == FrameStatus::Incomplete;
        }
    }
    return got;
}

}  // namespace

int ReadWithTimeouts(SerialPort& port, uint8_t* buffer, int size, bool frames)
{
    return ReadOnFrom(port, buffer, size, frames, 0, size);
}

int ReadFrameCarrying(SerialPort& port, std::vector<uint8_t>& carry, uint8_t* buffer, int size,
                      int expected)
{
    const int carried = std::min(static_cast<int>(carry.size()), size);
    std::copy_n(carry.begin(), carried, buffer);
    carry.erase(carry.begin(), carry.begin() + carried);
    const int got = ReadOnFrom(port, buffer, size, true, carried, std::min(expected, size));
    DecodedFrame frame;
    if (got > 0 && DecodeFrame(buffer, got, frame) == FrameStatus::Whole && frame.length < got) {
        carry.insert(carry.begin(), buffer + frame.length, buffer + got);
        return frame.length;
    }
    return got;
}

int ReadUntilQuiet(SerialPort& port, uint8_t* buffer, int size, int quietMs)
{
    const auto deadline =
        port.Now() + std::chrono::milliseconds(kTotalBaseMs + kTotalPerByteMs * size);
    int got = 0;
    while (got < size) {
        auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - port.Now()).count();
        if (left <= 0) {
            break;
        }
        int n = port.ReadAvailable(buffer + got, size - got,
                                   std::min<int>(quietMs, static_cast<int>(left)));
        if (n < 0) {
            return -1;
        }
        if (n == 0) {
            break;
        }
        got += n;
    }
    return got;
}

std::string DevicePathForPort(const std::string& name)
{
    if (!name.empty() && name[0] == '/') {
        return name;
    }
    if (name.size() < 4 || std::toupper(static_cast<unsigned char>(name[0])) != 'C' ||
        std::toupper(static_cast<unsigned char>(name[1])) != 'O' ||
        std::toupper(static_cast<unsigned char>(name[2])) != 'M') {
        return {};
    }
    size_t end = name.size();
    if (name[end - 1] == ':') {
        --end;
    }
    int number = 0;
    for (size_t i = 3; i < end; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(name[i])) || number > 9999) {
            return {};
        }
        number = number * 10 + (name[i] - '0');
    }
    if (end == 3 || number < 1) {
        return {};
    }
    return "/dev/ttyS" + std::to_string(number - 1);
}
