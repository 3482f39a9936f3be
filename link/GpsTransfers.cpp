// The record transfers of CGpsLink: product exchange, waypoints and track log in both
// directions, power off.

#include <chrono>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "framework/Cp1252.h"
#include "framework/Prompts.h"
#include "link/CGpsLink.h"
#include "link/LinkMessages.h"
#include "link/SerialPort.h"
#include "link/SharedPort.h"
#include "link/WaypointPacket.h"

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

template <class Record>
TransferResult CGpsLink::DownloadRecords(uint16_t command, uint8_t packetId, bool everyRecord,
                                         TransferResult budgetExceeded, TransferResult doneMissing,
                                         std::vector<Record>& target)
{
    constexpr int packetSize =
        std::is_same_v<Record, WaypointRecord> ? WAYPOINT_PACKET_SIZE : sizeof(TrackpointRecord);
    CancelScope scope(cancel_);
    DiscardInput();
    if (SendCommand(command, 0) != PacketResult::Ok) {
        return TransferResult::NotStarted;
    }
    target.clear();
    uint8_t countBytes[2] = {};
    if (Failed(ReceivePacket(PKT_RECORD_COUNT, countBytes, 2, 0))) {
        return TransferResult::CountFailed;
    }
    auto count = static_cast<int16_t>(countBytes[0] | (countBytes[1] << 8));
    if (count < 0) {
        return TransferResult::CountFailed;
    }
    // Slots that are never received stay zero.
    std::vector<Record> records(static_cast<size_t>(count));
    int failures = 0;
    for (int i = 0; i < count;) {
        if (cancel_) {
            AbortTransfer();
            return TransferResult::Cancelled;
        }
        uint8_t packet[WAYPOINT_PACKET_SIZE] = {};
        if (Failed(ReceivePacket(packetId, packet, packetSize, LF_QUIET))) {
            // The failed read has sent a PKT_NAK, so the receiver repeats the record. One
            // budget for the whole transfer; a device that has gone ends it at once.
            if (++failures > count || PortVanished()) {
                ReportLinkError();
                AbortTransfer();
                target = std::move(records);
                return budgetExceeded;
            }
            continue;
        }
        if constexpr (std::is_same_v<Record, WaypointRecord>) {
            records[static_cast<size_t>(i)] = PacketToWaypoint(packet, packetSize);
        } else {
            records[static_cast<size_t>(i)] = PacketToTrackpoint(packet, packetSize);
        }
        ++i;
        if (ShowsProgress(everyRecord, i, count)) {
            Progress(i, count);
        }
    }
    target = std::move(records);
    uint8_t done[2];
    if (Failed(ReceivePacket(PKT_XFER_DONE, done, 2, 0))) {
        return doneMissing;
    }
    return TransferResult::Done;
}

TransferResult CGpsLink::DownloadWaypoints()
{
    return DownloadRecords(CMD_SEND_WAYPOINTS, PKT_WAYPOINT, true, TransferResult::BudgetExceeded,
                           TransferResult::DoneMissing, waypoints_);
}

TransferResult CGpsLink::DownloadTrackpoints()
{
    return DownloadRecords(CMD_SEND_TRACK, PKT_TRACKPOINT, false,
                           TransferResult::TrackBudgetExceeded, TransferResult::TrackDoneMissing,
                           trackpoints_);
}

template <class Record>
TransferResult CGpsLink::UploadRecords(uint16_t command, uint8_t packetId, bool everyRecord,
                                       const std::vector<Record>& records)
{
    CancelScope scope(cancel_);
    if (records.empty()) {
        return TransferResult::NotStarted;
    }
    DiscardInput();
    auto count = static_cast<int>(records.size());
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
        uint8_t packet[WAYPOINT_PACKET_SIZE];
        uint8_t size;
        if constexpr (std::is_same_v<Record, WaypointRecord>) {
            WaypointToPacket(records[static_cast<size_t>(i)], packet);
            size = WAYPOINT_PACKET_SIZE;
        } else {
            std::memcpy(packet, &records[static_cast<size_t>(i)], sizeof(Record));
            size = sizeof(Record);
        }
        // A record the receiver refuses (PKT_NAK) is sent again, like one that got lost.
        if (SendPacket(packetId, packet, size, LF_QUIET) != PacketResult::Ok) {
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

TransferResult CGpsLink::UploadWaypoints()
{
    return UploadRecords(CMD_SEND_WAYPOINTS, PKT_WAYPOINT, true, waypoints_);
}

TransferResult CGpsLink::UploadTrackpoints()
{
    return UploadRecords(CMD_SEND_TRACK, PKT_TRACKPOINT, false, trackpoints_);
}

void CGpsLink::SetWaypoints(const WaypointRecord* records, int count)
{
    waypoints_.assign(records, records + (records && count > 0 ? count : 0));
}

void CGpsLink::SetTrackpoints(const TrackpointRecord* records, int count)
{
    trackpoints_.assign(records, records + (records && count > 0 ? count : 0));
}

PacketResult CGpsLink::PowerOff()
{
    DiscardInput();
    return SendCommand(CMD_POWER_OFF, LF_NOHANDSHAKE);
}
