// The simulated receiver's faster line: a baud request answered with the rate it will use,
// the switch once that answer is acknowledged, and the fall-back to the base rate when the
// host's pings do not follow within 2 s.

#include <algorithm>

#include "link/GarminSimulator.h"
#include "link/SerialPort.h"

namespace {

constexpr std::chrono::seconds kPingWait{2};

}  // namespace

void GarminSimulator::SetFastestBaud(int baud)
{
    std::lock_guard lock(mutex_);
    fastestBaud_ = std::max(baud, BASE_BAUD);
}

int GarminSimulator::LineBaud() const
{
    std::lock_guard lock(mutex_);
    return lineBaud_;
}

void GarminSimulator::SwitchRate(const HostFrame& request)
{
    int rate;
    int named;
    {
        std::lock_guard lock(mutex_);
        if (fastestBaud_ <= BASE_BAUD || request.size < 4) {
            return;  // a receiver that cannot switch has no answer
        }
        const int64_t wanted = request.data[0] | (request.data[1] << 8) | (request.data[2] << 16) |
                               (static_cast<int64_t>(request.data[3]) << 24);
        // The fastest standard rate the receiver has that is not beyond the one asked for.
        rate = BASE_BAUD;
        for (int standard : {19200, 38400, 57600, 115200}) {
            if (standard <= wanted && standard <= fastestBaud_) {
                rate = standard;
            }
        }
        named = faults_.namedBaud > 0 ? faults_.namedBaud : rate;
    }
    const uint8_t answer[4] = {static_cast<uint8_t>(named), static_cast<uint8_t>(named >> 8),
                               static_cast<uint8_t>(named >> 16),
                               static_cast<uint8_t>(named >> 24)};
    if (!SendPacket(PKT_BAUD_ACCEPT, answer, 4)) {
        return;
    }
    std::lock_guard lock(mutex_);
    lineBaud_ = rate;
    pingsDue_ = rate != BASE_BAUD ? 2 : 0;
    pingDeadline_ = std::chrono::steady_clock::now() + kPingWait;
}

void GarminSimulator::NotePing()
{
    std::lock_guard lock(mutex_);
    pingsDue_ = std::max(pingsDue_ - 1, 0);
}

void GarminSimulator::CheckPingsDue()
{
    std::lock_guard lock(mutex_);
    if (pingsDue_ > 0 && std::chrono::steady_clock::now() >= pingDeadline_) {
        pingsDue_ = 0;
        lineBaud_ = BASE_BAUD;
    }
}

bool GarminSimulator::HostAtLineRate()
{
    const int host = port_ ? port_->PeerBaudRate() : 0;
    std::lock_guard lock(mutex_);
    if (host == 0 || host == lineBaud_) {
        return true;
    }
    // What came at another rate is noise to the receiver, which goes back to its base rate
    // (a host that gave up on the faster line talks there).
    lineBaud_ = BASE_BAUD;
    pingsDue_ = 0;
    return false;
}
