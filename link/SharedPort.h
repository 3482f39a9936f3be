#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "link/SerialPort.h"

// The one serial port of the process, shared by every live link through a user count: the
// first link opens it, the last one closes it. When the device goes away (a USB-serial
// adapter is unplugged) the port is closed while its users remain; the next GPS command
// of any of them opens it again.
class SharedPort {
public:
    // Opens the port of a name; returns null and sets `error` (an errno value) on failure.
    using Opener = std::function<std::unique_ptr<SerialPort>(const std::string& name, int& error)>;

    static SharedPort& Instance();

    // Replaces the way ports are opened (tests, the simulator); null restores the device
    // opener (DevicePathForPort, then PosixSerialPort::Open).
    void SetOpener(Opener opener);
    std::unique_ptr<SerialPort> OpenPort(const std::string& name, int& error);

    std::mutex mutex;
    int users = 0;                     // links that use the port
    std::unique_ptr<SerialPort> port;  // null while none is open
    bool vanished = false;             // closed because the device went away

private:
    Opener opener_;
};
