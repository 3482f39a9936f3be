// The simulated receiver on the move: fixes along a track, sent as PVT packets or as NMEA
// sentences.

#include <algorithm>
#include <cmath>
#include <ctime>

#include "link/GarminSimulator.h"
#include "link/GpsTimeConversion.h"
#include "link/NmeaSentences.h"
#include "link/Pvt.h"
#include "link/SerialPort.h"

namespace {

constexpr double kSlowestRate = 0.1;
constexpr double kFastestRate = 20;
// A host that has this much of what we sent still unread is not reading: what a real line
// would lose is not sent, so that nobody later reads old fixes and our writes never wait.
constexpr int kUnreadLimit = 1024;

int64_t SystemNowMillis()
{
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return int64_t{now.tv_sec} * 1000 + now.tv_nsec / 1000000;
}

}  // namespace

bool GarminSimulator::SetMoving(TrackMotion motion, const MovingOptions& options)
{
    if (motion.Empty()) {
        return false;
    }
    std::function<int64_t()> clock;
    bool rollover;
    {
        std::lock_guard lock(mutex_);
        clock = clock_;
        rollover = weekRollover_;
    }
    int64_t startUtcMillis = clock ? clock() * 1000 : SystemNowMillis();
    if (rollover) {
        startUtcMillis -= GPS_WEEK_ROLLOVER_SECONDS * 1000;
    }
    std::lock_guard lock(mutex_);
    moving_ = Moving{};
    moving_.on = true;
    moving_.motion = std::move(motion);
    moving_.options = options;
    moving_.options.rate = std::clamp(options.rate, kSlowestRate, kFastestRate);
    moving_.start = std::chrono::steady_clock::now();
    moving_.startUtcMillis = startUtcMillis;
    return true;
}

void GarminSimulator::StopMoving()
{
    std::lock_guard lock(mutex_);
    moving_ = Moving{};
}

bool GarminSimulator::MovingNmea() const
{
    std::lock_guard lock(mutex_);
    return moving_.on && moving_.options.nmea;
}

void GarminSimulator::StartPvt()
{
    std::lock_guard lock(mutex_);
    moving_.pvt = moving_.on && !moving_.options.nmea && unit_.protocols.pvt != 0;
}

void GarminSimulator::StopPvt()
{
    std::lock_guard lock(mutex_);
    moving_.pvt = false;
}

int GarminSimulator::IdleReadMs(int ms) const
{
    std::lock_guard lock(mutex_);
    if (!moving_.on || (!moving_.options.nmea && !moving_.pvt)) {
        return ms;
    }
    const auto due =
        moving_.start + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                            std::chrono::duration<double>(static_cast<double>(moving_.next) /
                                                          moving_.options.rate));
    auto left = std::chrono::ceil<std::chrono::milliseconds>(due - std::chrono::steady_clock::now())
                    .count();
    return static_cast<int>(std::clamp<int64_t>(left, 0, ms));
}

void GarminSimulator::SendDueFix()
{
    LiveFix fix;
    bool nmea;
    {
        std::lock_guard lock(mutex_);
        nmea = moving_.options.nmea;
        if (!moving_.on || (!nmea && !moving_.pvt)) {
            return;
        }
        const double rate = moving_.options.rate;
        const double elapsed =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - moving_.start).count();
        if (elapsed * rate < static_cast<double>(moving_.next)) {
            return;
        }
        // Overdue by more than a period: the latest fix that is due goes out.
        moving_.next = std::max(moving_.next, static_cast<int64_t>(std::floor(elapsed * rate)));
        fix =
            moving_.motion.FixAt(static_cast<double>(moving_.next) / rate, moving_.startUtcMillis);
        ++moving_.next;
    }
    if (port_ && port_->UnreadOutput() > kUnreadLimit) {
        return;
    }
    if (nmea) {
        std::string sentences;
        for (const std::string& sentence : NmeaFixSentences(fix)) {
            sentences += sentence;
        }
        line_->SendText(sentences);
        return;
    }
    std::vector<uint8_t> data;
    try {
        data = EncodePvt(fix);
    } catch (const DataTypeError&) {
        return;  // a clock set before 1990: no time a D800 packet can carry
    }
    line_->Send(PKT_PVT, data.data(), static_cast<uint8_t>(data.size()));
    std::lock_guard lock(mutex_);
    stats_.lastPositionSent = std::chrono::steady_clock::now();
}
