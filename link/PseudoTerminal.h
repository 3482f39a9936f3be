#pragma once

#include <memory>
#include <string>

#include "link/SerialPort.h"

// The receiver's end of a pseudo-terminal: the master side, as a SerialPort. The host opens
// the device (the slave side, DevicePath()) as it would open a serial port.
//
// The pseudo-terminal keeps a descriptor of the device open itself, so that the host may
// close and reopen the device between operations without the line hanging up. Destroying
// the object closes both ends: a host that still holds the device then reads end of file
// (EIO) and sees a hang-up, as when a USB-serial adapter is pulled.
class PseudoTerminal : public SerialPort {
public:
    // A new pseudo-terminal in raw mode (9600 baud, 8 data bits, no parity, no flow control,
    // no echo). Null with a readable reason in `error` when the system refuses one.
    static std::unique_ptr<PseudoTerminal> Create(std::string& error);
    ~PseudoTerminal() override;
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // The device path the host opens ("/dev/pts/N").
    const std::string& DevicePath() const { return device_; }

    // Makes `path` a symbolic link to the device, replacing a symbolic link that is there
    // (atomically: a host opening the path never finds it missing), refusing to replace any
    // other kind of file. The link is removed with this object when it still points to
    // this device. False with a readable reason in `error`.
    bool LinkAs(const std::string& path, std::string& error);
    const std::string& LinkPath() const { return link_; }

    // Writes all bytes; waits up to 2 s while the host does not read. Returns `size`, or -1
    // with errno set (EAGAIN when the host has not taken the bytes in time).
    int Write(const uint8_t* data, int size) override;
    // Waits at most `timeoutMs` for bytes from the host. Returns their number, 0 when none
    // came, or -1 with errno set.
    int ReadAvailable(uint8_t* buffer, int size, int timeoutMs) override;
    // The speed the host set on the device.
    int PeerBaudRate() const override;
    // What waits in the device's input for the host to read.
    int UnreadOutput() const override;

private:
    PseudoTerminal(int master, int device, std::string path);

    int master_;
    int deviceFd_;  // our own descriptor of the device, kept open while we exist
    std::string device_;
    std::string link_;
};
