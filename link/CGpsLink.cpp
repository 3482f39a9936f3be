#include "link/CGpsLink.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "framework/Prompts.h"
#include "framework/Settings.h"
#include "link/Frame.h"
#include "link/LinkMessages.h"
#include "link/SharedPort.h"
#include "res/StringTable.h"

CGpsLink::CGpsLink(ProgressCallback progress, StartupRead startup)
    : CGpsLink(std::move(progress), DeferredOpen{}, startup)
{
    Open();
}

CGpsLink::CGpsLink(ProgressCallback progress, DeferredOpen, StartupRead startup)
    : pendingProgress_(std::move(progress)), startup_(startup)
{
}

void CGpsLink::Open()
{
    if (holdsShare_) {
        return;
    }
    CancelScope scope(cancel_);
    holdsShare_ = true;
    if (!SharedPort::Instance().Join()) {
        // Another link holds the port (or failed to open it: then every exchange fails).
        state_ = LINK_READY;
        progress_ = pendingProgress_;
        if (!cancel_) {
            RequestProduct(0);
        }
        return;
    }
    OpenPort();
}

CGpsLink::~CGpsLink()
{
    Close();
}

void CGpsLink::OpenPort()
{
    SharedPort& shared = SharedPort::Instance();
    state_ = LINK_CLOSED;
    std::string name = Settings::Current().GetString("Settings", "Port", "COM1:");
    int error = 0;
    if (!shared.Open(name, error)) {
        lastError_ = error;
        Prompts::Current().Message(PortOpenFailedText(error, name));
        return;
    }
    state_ = LINK_PORT_OPEN;

    // Each step holds the port for itself; messages show without it.
    FlowControlFlags found;
    bool readable;
    {
        SharedPort::Lease port = shared.Borrow();
        readable = port && port->ReadFlowControl(found);
    }
    if (!readable) {
        return;
    }
    if (found.Any()) {
        Prompts::Current().Message(FlowControlText(found));
    }
    int timeouts;
    {
        SharedPort::Lease port = shared.Borrow();
        if (!port || !port->ApplyLineSettings()) {
            return;
        }
        timeouts = port->ApplyReadTimeouts();
    }
    if (timeouts != 0) {
        Prompts::Current().Message(TimeoutsFailedText(timeouts));
        return;
    }

    state_ = LINK_READY;
    progress_ = pendingProgress_;
    if (cancel_) {
        return;
    }
    // A receiver may have been sending (position reports, say) before we came.
    uint8_t waiting[LINK_READ_BUFFER];
    int n = -1;
    if (SharedPort::Lease port = shared.Borrow()) {
        n = startup_ == StartupRead::Full
                ? ReadWithTimeouts(*port, waiting, LINK_READ_BUFFER, false)
                : ReadUntilQuiet(*port, waiting, LINK_READ_BUFFER, QUIET_LINE_MS);
    }
    if (n > 0) {
        Prompts::Current().Message(StartupBytesText(n));
    }
    if (!cancel_) {
        RequestProduct(0);
    }
}

void CGpsLink::Close()
{
    records_ = {};
    if (!holdsShare_) {
        return;
    }
    holdsShare_ = false;
    SharedPort::Instance().Leave();
}

bool CGpsLink::ReopenIfVanished()
{
    SharedPort& shared = SharedPort::Instance();
    if (!shared.Vanished()) {
        return shared.IsOpen();
    }
    OpenPort();
    return shared.IsOpen();
}

bool CGpsLink::PortVanished() const
{
    return SharedPort::Instance().Vanished();
}

int CGpsLink::PortWrite(const uint8_t* data, int size)
{
    SharedPort::Lease port = SharedPort::Instance().Borrow();
    if (!port) {
        lastError_ = EBADF;
        return -1;
    }
    if (port->Write(data, size) != size) {
        lastError_ = errno;
        port.Failed(lastError_);
        return -1;
    }
    return size;
}

int CGpsLink::PortRead(uint8_t* buffer, int size, int expected)
{
    SharedPort::Lease port = SharedPort::Instance().Borrow();
    if (!port) {
        lastError_ = EBADF;
        return -1;
    }
    int n = ReadFrameCarrying(*port, port.Carry(), buffer, size, expected);
    if (n < 0) {
        lastError_ = errno;
        port.Failed(lastError_);
    }
    return n;
}

PacketResult CGpsLink::WriteFrame(uint8_t id, const uint8_t* data, uint8_t size, int flags)
{
    if (state_ < LINK_PORT_OPEN) {
        return PacketResult::PortNotOpen;
    }
    uint8_t frame[MAX_FRAME_BYTES];
    int length = EncodeFrame(id, data, size, frame);
    if (PortWrite(frame, length) < 0) {
        return PacketResult::PortFailed;
    }
    if (flags & LF_NOHANDSHAKE) {
        return PacketResult::Written;
    }
    return ReceivePacket(id, nullptr, 0, flags | LF_ACKFRAME);
}

PacketResult CGpsLink::SendPacket(uint8_t id, const uint8_t* data, uint8_t size, int flags)
{
    PacketResult result = WriteFrame(id, data, size, flags);
    if (Failed(result) && !(flags & LF_QUIET)) {
        ReportLinkError();
    }
    return result;
}

PacketResult CGpsLink::ReadFrame(uint8_t expectedId, uint8_t* buffer, uint8_t capacity, int flags)
{
    if (state_ < LINK_PORT_OPEN) {
        return PacketResult::PortNotOpen;
    }
    state_ = LINK_READING;
    // Bytes that never arrive read as 0; a frame cut short then fails its checksum.
    uint8_t raw[LINK_READ_BUFFER] = {};
    // An acknowledgement is waited for as long as its 8 bytes take.
    int n = PortRead(raw, LINK_READ_BUFFER, (flags & LF_ACKFRAME) ? 8 : LINK_READ_BUFFER);
    if (n < 0) {
        return PacketResult::PortFailed;
    }
    if (n == 0) {
        return PacketResult::NothingReceived;
    }
    state_ = LINK_FRAMING;
    DecodedFrame frame;
    const FrameStatus status = DecodeFrame(raw, LINK_READ_BUFFER, frame);
    switch (status) {
    case FrameStatus::Whole:
    case FrameStatus::Unterminated:  // what follows the checksum is not examined
        break;
    case FrameStatus::LoneDle:
        return PacketResult::LoneDle;
    case FrameStatus::NotAFrame:
    case FrameStatus::Incomplete:  // longer than the read buffer
        return PacketResult::NotAFrame;
    }
    if (!frame.checksumOk) {
        state_ = LINK_BAD_CHECKSUM;
        return PacketResult::BadChecksum;
    }

    const bool anyId = (flags & LF_ANYID) && !(flags & LF_ACKFRAME) &&
                       (transferIds_.empty() ||
                        std::find(transferIds_.begin(), transferIds_.end(), frame.id) !=
                            transferIds_.end());
    if (frame.id == expectedId || anyId) {
        if (buffer && capacity > 0) {
            std::memcpy(buffer, frame.data, std::min(capacity, frame.size));
        }
        lastPacketId_ = frame.id;
        lastPacketSize_ = frame.size;
        state_ = LINK_OK;
        if (flags & LF_NOHANDSHAKE) {
            return PacketResult::Ok;
        }
        return Failed(SendAck(frame.id, flags)) ? PacketResult::AckNotSent : PacketResult::Ok;
    }
    // An acknowledgement frame is 8 bytes: DLE, id, 2, the id acknowledged, 0, checksum,
    // DLE, ETX.
    if (!(flags & LF_ACKFRAME) || frame.size != 2 || status != FrameStatus::Whole) {
        return PacketResult::OtherPacket;
    }
    if (frame.data[0] != expectedId) {
        return PacketResult::AckForOtherPacket;
    }
    if (frame.id == PKT_ACK) {
        state_ = LINK_OK;
        return PacketResult::Ok;
    }
    if (frame.id == PKT_NAK) {
        state_ = LINK_NAK;
        return PacketResult::Refused;
    }
    return PacketResult::OtherPacket;
}

PacketResult CGpsLink::ReceivePacket(uint8_t expectedId, uint8_t* buffer, uint8_t capacity,
                                     int flags)
{
    PacketResult result = ReadFrame(expectedId, buffer, capacity, flags);
    if (Failed(result)) {
        if (state_ >= LINK_FRAMING) {
            DropRestOfFrame();
        }
        if (!(flags & LF_QUIET)) {
            ReportLinkError();
        }
        if (!(flags & LF_NOHANDSHAKE)) {
            uint8_t nak[2] = {expectedId, 0};
            SendPacket(PKT_NAK, nak, 2, flags | LF_NOHANDSHAKE);
        }
    }
    return result;
}

void CGpsLink::DropRestOfFrame()
{
    uint8_t rest[LINK_READ_BUFFER];
    SharedPort::Lease port = SharedPort::Instance().Borrow();
    if (port) {
        port.Carry().clear();
    }
    if (port && ReadUntilQuiet(*port, rest, LINK_READ_BUFFER, QUIET_LINE_MS) < 0) {
        lastError_ = errno;
        port.Failed(lastError_);
    }
}

PacketResult CGpsLink::SendCommand(uint16_t command, int flags)
{
    uint8_t data[2] = {static_cast<uint8_t>(command), static_cast<uint8_t>(command >> 8)};
    return SendPacket(PKT_COMMAND, data, 2, flags);
}

PacketResult CGpsLink::SendAck(uint8_t id, int flags)
{
    uint8_t data[2] = {id, 0};
    return SendPacket(PKT_ACK, data, 2, flags | LF_NOHANDSHAKE);
}

int CGpsLink::ReportLinkError()
{
    int messageId = LinkStateMessageId(state_);
    ShowLinkMessage(messageId == IDS_GPS_OPEN_FAILED, messageId);
    return state_;
}

int CGpsLink::ShowLinkMessage(bool withSystemError, int messageId)
{
    int error = lastError_;
    Prompts::Current().Message(LoadString(messageId));
    if (withSystemError) {
        Prompts::Current().Message(SystemErrorText(error));
    }
    return 0;
}
