#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "link/SerialPort.h"

// The one serial port of the process, shared by every live link through a user count: the
// first link opens it, the last one closes it. When the device goes away (a USB-serial
// adapter is unplugged) the port is closed while its users remain; the next GPS command
// of any of them opens it again.
//
// It owns the port and hands it out only for one exchange at a time, through a Lease that
// holds its lock: another link (on another thread) cannot close the port under a running
// read or write. Everything here may be called from any thread; a thread that holds a
// Lease must not call the other members until the lease is gone.
class SharedPort {
public:
    // Opens the port of a name; returns null and sets `error` (an errno value) on failure.
    using Opener = std::function<std::unique_ptr<SerialPort>(const std::string& name, int& error)>;

    static SharedPort& Instance();

    // Replaces the way ports are opened (tests, the simulator); null restores the device
    // opener (DevicePathForPort, then PosixSerialPort::Open).
    void SetOpener(Opener opener);

    // A link takes its share. True when it is to open the port itself (Open): it is the
    // first user, or the device went away. False when another link holds the port, or has
    // failed to open it (then every exchange of the joining link fails).
    bool Join();
    // A link gives its share back; the last one closes the port.
    void Leave();
    // Opens the device of `name` for all users (after Join() said so, or when the device
    // went away). False with `error` (an errno value) when it cannot be opened.
    bool Open(const std::string& name, int& error);

    // The port for one exchange: holds the owner's lock while it lives. Empty (false) while
    // no port is open.
    class Lease {
    public:
        explicit operator bool() const { return port_ != nullptr; }
        SerialPort& operator*() const { return *port_; }
        SerialPort* operator->() const { return port_; }
        SerialPort* get() const { return port_; }
        // An operation on the port failed with `error` (errno). When that says the device
        // has gone (EIO, ENXIO, ENODEV), the port is closed for all its users and noted as
        // vanished, and the lease is empty from then on. Returns whether that happened.
        bool Failed(int error);
        // What a read took off the line beyond the frame it returned: the next read's start.
        std::vector<uint8_t>& Carry() const { return owner_.carry_; }

    private:
        friend class SharedPort;
        Lease(SharedPort& owner, std::unique_lock<std::mutex> lock);

        SharedPort& owner_;
        std::unique_lock<std::mutex> lock_;
        SerialPort* port_;
    };
    Lease Borrow();

    int Users() const;
    bool IsOpen() const;
    // Closed because the device went away, while links still use it.
    bool Vanished() const;

private:
    mutable std::mutex mutex_;
    Opener opener_;
    int users_ = 0;                     // links that use the port
    std::unique_ptr<SerialPort> port_;  // null while none is open
    bool vanished_ = false;
    std::vector<uint8_t> carry_;  // bytes read beyond a frame, for the next read
};
