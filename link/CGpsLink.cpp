#include "link/CGpsLink.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "framework/Prompts.h"
#include "framework/Settings.h"
#include "link/Frame.h"
#include "link/SharedPort.h"
#include "res/StringTable.h"

namespace {

std::string Format(const char* format, auto... args)
{
    char text[512];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

}  // namespace

CGpsLink::CGpsLink(ProgressCallback progress) : CGpsLink(std::move(progress), DeferredOpen{})
{
    Open();
}

CGpsLink::CGpsLink(ProgressCallback progress, DeferredOpen) : pendingProgress_(std::move(progress))
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
        Prompts::Current().Message(
            Format("Error No %d while opening Port %s", error, name.c_str()));
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
        Prompts::Current().Message(
            Format("fDtrControl: %d, fDsrSensitivity: %d, fRtsControl: %d, \nfOutxCtsFlow: %d, "
                   "fOutxDsrFlow: %d",
                   found.dtrControl, found.dsrSensitivity, found.rtsControl, found.outxCtsFlow,
                   found.outxDsrFlow));
    }
    int timeouts;
    {
        SharedPort::Lease port = shared.Borrow();
        if (!port || !port->ApplyLineSettings()) {
            return;
        }
        timeouts = port->ApplyReadTimeouts();
    }
    switch (timeouts) {
    case 0:
        break;
    case 1:
        Prompts::Current().Message("!GetCommTimeouts ");
        return;
    default:
        Prompts::Current().Message("!SetCommTimeouts ");
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
        n = ReadWithTimeouts(*port, waiting, LINK_READ_BUFFER, false);
    }
    if (n > 0) {
        Prompts::Current().Message(Format("Received %d Byte(s) at startup", n));
    }
    if (!cancel_) {
        RequestProduct(0);
    }
}

void CGpsLink::Close()
{
    waypoints_.clear();
    trackpoints_.clear();
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

int CGpsLink::PortRead(uint8_t* buffer, int size)
{
    SharedPort::Lease port = SharedPort::Instance().Borrow();
    if (!port) {
        lastError_ = EBADF;
        return -1;
    }
    int n = ReadWithTimeouts(*port, buffer, size, true);
    if (n < 0) {
        lastError_ = errno;
        port.Failed(lastError_);
    }
    return n;
}

int CGpsLink::WriteFrame(uint8_t id, const uint8_t* data, uint8_t size, int flags)
{
    if (state_ < LINK_PORT_OPEN) {
        return -1;
    }
    uint8_t frame[MAX_FRAME_BYTES];
    int length = EncodeFrame(id, data, size, frame);
    if (PortWrite(frame, length) < 0) {
        return -2;
    }
    if (flags & LF_NOHANDSHAKE) {
        return 0;
    }
    return ReceivePacket(id, nullptr, 0, flags | LF_ACKFRAME);
}

int CGpsLink::SendPacket(uint8_t id, const uint8_t* data, uint8_t size, int flags)
{
    int result = WriteFrame(id, data, size, flags);
    if (result < 0 && !(flags & LF_QUIET)) {
        ReportLinkError();
    }
    return result;
}

int CGpsLink::ReadFrame(uint8_t expectedId, uint8_t* buffer, uint8_t capacity, int flags)
{
    if (state_ < LINK_PORT_OPEN) {
        return -1;
    }
    state_ = LINK_READING;
    // Bytes that never arrive read as 0; a frame cut short then fails its checksum.
    uint8_t raw[LINK_READ_BUFFER] = {};
    int n = PortRead(raw, (flags & LF_ACKFRAME) ? 8 : LINK_READ_BUFFER);
    if (n < 0) {
        return -2;
    }
    if (n == 0) {
        return -3;
    }
    state_ = LINK_FRAMING;
    if (raw[0] != DLE) {
        return -4;
    }

    int pos = 1;
    // One un-stuffed byte: 0, or -8 for a 0x10 not doubled, or -4 for a frame that runs
    // past the read buffer.
    auto next = [&](uint8_t& b) {
        if (pos >= LINK_READ_BUFFER) {
            return -4;
        }
        b = raw[pos++];
        if (b == DLE) {
            if (pos >= LINK_READ_BUFFER) {
                return -4;
            }
            if (raw[pos] != DLE) {
                return -8;
            }
            ++pos;
        }
        return 0;
    };
    uint8_t id, size, checksum;
    uint8_t data[255];
    int failed = next(id);
    if (failed == 0) {
        failed = next(size);
    }
    unsigned sum = id + size;
    for (int i = 0; failed == 0 && i < size; ++i) {
        failed = next(data[i]);
        sum += data[i];
    }
    if (failed == 0) {
        failed = next(checksum);
    }
    if (failed != 0) {
        return failed;
    }
    if (((sum + checksum) & 0xFF) != 0) {
        state_ = LINK_BAD_CHECKSUM;
        return -5;
    }

    if (id == expectedId) {
        if (buffer && capacity > 0) {
            std::memcpy(buffer, data, std::min(capacity, size));
        }
        state_ = LINK_OK;
        if (flags & LF_NOHANDSHAKE) {
            return 1;
        }
        return SendAck(expectedId, flags) < 0 ? -9 : 1;
    }
    if (!(flags & LF_ACKFRAME)) {
        return -6;
    }
    if (size != 2 || raw[6] != DLE || raw[7] != ETX) {
        return -6;
    }
    if (data[0] != expectedId) {
        return -7;
    }
    if (id == PKT_ACK) {
        state_ = LINK_OK;
        return 1;
    }
    if (id == PKT_NAK) {
        state_ = LINK_NAK;
        return 0;
    }
    return -6;
}

int CGpsLink::ReceivePacket(uint8_t expectedId, uint8_t* buffer, uint8_t capacity, int flags)
{
    int result = ReadFrame(expectedId, buffer, capacity, flags);
    if (result < 0) {
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

int CGpsLink::SendCommand(uint16_t command, int flags)
{
    uint8_t data[2] = {static_cast<uint8_t>(command), static_cast<uint8_t>(command >> 8)};
    return SendPacket(PKT_COMMAND, data, 2, flags);
}

int CGpsLink::SendAck(uint8_t id, int flags)
{
    uint8_t data[2] = {id, 0};
    return SendPacket(PKT_ACK, data, 2, flags | LF_NOHANDSHAKE);
}

int CGpsLink::ReportLinkError()
{
    switch (state_) {
    case LINK_CLOSED:
        ShowLinkMessage(true, IDS_GPS_OPEN_FAILED);
        break;
    case LINK_PORT_OPEN:
    case LINK_READY:
    case LINK_READING:
        ShowLinkMessage(false, IDS_GPS_DISTURBED);
        break;
    case LINK_FRAMING:
        ShowLinkMessage(false, IDS_GPS_FORMAT);
        break;
    case LINK_BAD_CHECKSUM:
        ShowLinkMessage(false, IDS_GPS_CHECKSUM);
        break;
    case LINK_NAK:
        ShowLinkMessage(false, IDS_GPS_ERROR_REPORT);
        break;
    default:
        ShowLinkMessage(false, IDS_GPS_READY);
        break;
    }
    return state_;
}

int CGpsLink::ShowLinkMessage(bool withSystemError, int messageId)
{
    int error = lastError_;
    Prompts::Current().Message(LoadString(messageId));
    if (withSystemError) {
        Prompts::Current().Message(Format("Error No %d", error));
    }
    return 0;
}
