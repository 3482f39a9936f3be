// Switching the line to a faster rate for a transfer, and back.
//
// The receiver's part, as the units of the later serial generation do it and as GPSBabel
// asks for it: the host stops the receiver's unsolicited reports (PKT_ASYNC_EVENTS with 0),
// asks for a rate (PKT_BAUD_REQUEST), and the receiver names the rate it will use
// (PKT_BAUD_ACCEPT, within 5 % of a standard rate) and switches once that answer is
// acknowledged. The host switches its port about 100 ms later and pings twice; a receiver
// that has not seen the pings after 2 s returns to 9600 baud by itself.

#include <chrono>
#include <cstdint>

#include "framework/Prompts.h"
#include "framework/Settings.h"
#include "link/CGpsLink.h"
#include "link/LinkMessages.h"
#include "link/SharedPort.h"

namespace {

constexpr int kStandardRates[] = {9600, 19200, 38400, 57600, 115200};
constexpr int kSettleMs = 100;             // between the receiver's answer and the port's switch
constexpr int kReceiverFallbackMs = 2100;  // the receiver's 2 s wait for pings, and a little

void PutU32(uint8_t* out, uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

}  // namespace

int StandardRateNear(int64_t rate)
{
    for (int standard : kStandardRates) {
        if (rate * 100 >= standard * 95LL && rate * 100 <= standard * 105LL) {
            return standard;
        }
    }
    return 0;
}

void CGpsLink::QuietFor(int ms)
{
    uint8_t discard[LINK_READ_BUFFER];
    SharedPort::Lease port = SharedPort::Instance().Borrow();
    if (port) {
        port.Carry().clear();
        const auto until = port->Now() + std::chrono::milliseconds(ms);
        while (port->Now() < until) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - port->Now());
            if (port->ReadAvailable(discard, sizeof discard, static_cast<int>(left.count()) + 1) <
                0) {
                break;
            }
        }
    }
}

bool CGpsLink::SetPortRate(int baud)
{
    SharedPort::Lease port = SharedPort::Instance().Borrow();
    if (!port || !port->SetBaudRate(baud)) {
        return false;
    }
    lineBaud_ = baud;
    return true;
}

int CGpsLink::SwitchBaudRate(int baud)
{
    if (baud == lineBaud_) {
        return lineBaud_;
    }
    uint8_t data[4] = {};
    if (SendPacket(PKT_ASYNC_EVENTS, data, 2, LF_QUIET) != PacketResult::Ok) {
        Prompts::Current().Message(FastLineRefusedText(baud));
        return lineBaud_;
    }
    PutU32(data, static_cast<uint32_t>(baud));
    uint8_t answer[4] = {};
    if (SendPacket(PKT_BAUD_REQUEST, data, 4, LF_QUIET) != PacketResult::Ok ||
        ReceivePacket(PKT_BAUD_ACCEPT, answer, 4, LF_QUIET) != PacketResult::Ok) {
        // The receiver may have switched all the same: it falls back without the pings.
        QuietFor(kReceiverFallbackMs);
        Prompts::Current().Message(FastLineRefusedText(baud));
        return lineBaud_;
    }
    const uint32_t named =
        answer[0] | (answer[1] << 8) | (answer[2] << 16) | (static_cast<uint32_t>(answer[3]) << 24);
    const int rate = StandardRateNear(named);
    QuietFor(kSettleMs);
    bool pinged = rate > 0 && SetPortRate(rate);
    for (int ping = 0; pinged && ping < 2; ++ping) {
        pinged = SendCommand(CMD_PING, LF_QUIET) == PacketResult::Ok;
    }
    if (pinged) {
        return lineBaud_;
    }
    // Back at the base rate on both ends: the port now, the receiver when its wait is over.
    SetPortRate(BASE_BAUD);
    QuietFor(kReceiverFallbackMs);
    Prompts::Current().Message(rate == 0 ? FastLineUnusableText(static_cast<int64_t>(named))
                                         : FastLineUnconfirmedText(rate));
    return lineBaud_;
}

int CGpsLink::FastestRateForTransfers() const
{
    if (Settings::Current().GetInt("Settings", "FastLine", 1) == 0) {
        return BASE_BAUD;
    }
    for (const UnitProfile& unit : KnownUnits()) {
        if (unit.productId == productId_) {
            return unit.fastestBaud;
        }
    }
    return BASE_BAUD;
}

CGpsLink::FasterLine::FasterLine(CGpsLink& link) : link_(link)
{
    const int fastest = link_.FastestRateForTransfers();
    if (fastest > BASE_BAUD && link_.lineBaud_ == BASE_BAUD) {
        switched_ = link_.SwitchBaudRate(fastest) != BASE_BAUD;
    }
}

CGpsLink::FasterLine::~FasterLine()
{
    if (switched_) {
        link_.SwitchBaudRate(BASE_BAUD);
    }
}
