// The record transfers of CGpsLink: product exchange, waypoints and track log in both
// directions, power off.

#include <chrono>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "framework/Cp1252.h"
#include "framework/Prompts.h"
#include "link/CGpsLink.h"
#include "link/DataTypes.h"
#include "link/LinkMessages.h"
#include "link/SerialPort.h"
#include "link/SharedPort.h"

namespace {

constexpr int kProductArea = 204;
constexpr int kDescriptionLength = 199;

// Track logs run to thousands of points: their progress shows every eighth record and the
// last 20.
bool ShowsProgress(bool everyRecord, int number, int count)
{
    return everyRecord || number % 8 == 0 || number > count - 20;
}

}  // namespace

void CGpsLink::Progress(int number, int count)
{
    if (progress_) {
        progress_(ProgressText(number, count).c_str());
    }
}

void CGpsLink::AbortTransfer()
{
    SendCommand(CMD_ABORT_TRANSFER, LF_QUIET | LF_NOHANDSHAKE);
    SharedPort::Lease port = SharedPort::Instance().Borrow();
    if (!port) {
        return;
    }
    // Drop what the receiver still sends, until it has been quiet for a while (2 s at most).
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    uint8_t discard[LINK_READ_BUFFER];
    while (std::chrono::steady_clock::now() < until &&
           port->ReadAvailable(discard, sizeof discard, QUIET_LINE_MS) > 0) {
    }
}

void CGpsLink::DiscardInput()
{
    SharedPort::Lease port = SharedPort::Instance().Borrow();
    if (port) {
        port.Carry().clear();
    }
    uint8_t discard[LINK_READ_BUFFER];
    for (int i = 0; port && i < 128 && port->ReadAvailable(discard, sizeof discard, 0) > 0; ++i) {
    }
}

int CGpsLink::RequestProduct(int flags)
{
    DiscardInput();
    if (SendPacket(PKT_PRODUCT_REQUEST, nullptr, 0, 0) != PacketResult::Ok) {
        return -1;
    }
    uint8_t area[kProductArea] = {};
    if (Failed(ReceivePacket(PKT_PRODUCT_DATA, area, kProductArea, 0))) {
        return -1;
    }
    productId_ = static_cast<uint16_t>(area[0] | (area[1] << 8));
    softwareVersion_ = static_cast<int16_t>(area[2] | (area[3] << 8));
    const char* text = reinterpret_cast<const char*>(area + 4);
    description_.assign(text, strnlen(text, kDescriptionLength));
    if (flags & 1) {
        Prompts::Current().Message(Cp1252ToUtf8(description_));
    }
    LearnProtocols();
    return 0;
}

TransferResult CGpsLink::DownloadPackets(uint16_t command, std::vector<uint8_t> ids,
                                         bool everyRecord, TransferResult budgetExceeded,
                                         TransferResult doneMissing, const PacketSink& sink)
{
    CancelScope scope(cancel_);
    DiscardInput();
    FasterLine faster(*this);
    if (SendCommand(command, 0) != PacketResult::Ok) {
        return TransferResult::NotStarted;
    }
    uint8_t countBytes[2] = {};
    if (Failed(ReceivePacket(PKT_RECORD_COUNT, countBytes, 2, 0))) {
        return TransferResult::CountFailed;
    }
    auto count = static_cast<int16_t>(countBytes[0] | (countBytes[1] << 8));
    if (count < 0) {
        return TransferResult::CountFailed;
    }
    sink.begin(count);
    transferIds_ = std::move(ids);
    struct ClearIds {
        std::vector<uint8_t>& ids;
        ~ClearIds() { ids.clear(); }
    } clearIds{transferIds_};
    int failures = 0;
    for (int i = 0; i < count;) {
        if (cancel_) {
            AbortTransfer();
            return TransferResult::Cancelled;
        }
        uint8_t packet[255] = {};
        if (Failed(
                ReceivePacket(transferIds_.front(), packet, sizeof packet, LF_QUIET | LF_ANYID))) {
            // The failed read has sent a PKT_NAK, so the receiver repeats the packet. One
            // budget for the whole transfer; a device that has gone ends it at once.
            if (++failures > count || PortVanished()) {
                ReportLinkError();
                AbortTransfer();
                return budgetExceeded;
            }
            continue;
        }
        try {
            sink.take(LastPacketId(), packet, LastPacketSize());
        } catch (const DataTypeError& e) {
            // The unit sends what it did not announce: nothing of the transfer is taken.
            AbortTransfer();
            Prompts::Current().Message(e.what());
            return TransferResult::BadData;
        }
        ++i;
        if (ShowsProgress(everyRecord, i, count)) {
            Progress(i, count);
        }
    }
    uint8_t done[2];
    if (Failed(ReceivePacket(PKT_XFER_DONE, done, 2, 0))) {
        return doneMissing;
    }
    return TransferResult::Done;
}

TransferResult CGpsLink::UploadPackets(uint16_t command, bool everyRecord,
                                       const std::vector<UnitPacket>& packets)
{
    CancelScope scope(cancel_);
    if (packets.empty()) {
        return TransferResult::NotStarted;
    }
    DiscardInput();
    FasterLine faster(*this);
    auto count = static_cast<int>(packets.size());
    if (count > INT16_MAX) {
        return TransferResult::CountFailed;  // the count packet cannot announce them
    }
    uint8_t countBytes[2] = {static_cast<uint8_t>(count), static_cast<uint8_t>(count >> 8)};
    if (Failed(SendPacket(PKT_RECORD_COUNT, countBytes, 2, 0))) {
        return TransferResult::CountFailed;
    }
    int failures = 0;
    for (int i = 0; i < count;) {
        if (cancel_) {
            AbortTransfer();
            return TransferResult::Cancelled;
        }
        const UnitPacket& packet = packets[static_cast<size_t>(i)];
        // A packet the receiver refuses (PKT_NAK) is sent again, like one that got lost.
        if (SendPacket(packet.id, packet.data.data(), static_cast<uint8_t>(packet.data.size()),
                       LF_QUIET) != PacketResult::Ok) {
            if (++failures > count || PortVanished()) {
                ReportLinkError();
                AbortTransfer();
                return TransferResult::BudgetExceeded;
            }
            continue;
        }
        ++i;
        if (ShowsProgress(everyRecord, i, count)) {
            Progress(i, count);
        }
    }
    // The transfer-complete packet names the transfer, as receivers send it themselves.
    uint8_t done[2] = {static_cast<uint8_t>(command), static_cast<uint8_t>(command >> 8)};
    if (Failed(SendPacket(PKT_XFER_DONE, done, 2, 0))) {
        return TransferResult::DoneMissing;
    }
    return TransferResult::Done;
}

PacketResult CGpsLink::PowerOff()
{
    DiscardInput();
    return SendCommand(CMD_POWER_OFF, LF_NOHANDSHAKE);
}
