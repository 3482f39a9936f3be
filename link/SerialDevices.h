#pragma once

#include <string>
#include <vector>

// A serial device the options dialog can offer.
struct SerialDevice {
    std::string path;         // what is stored as the port
    std::string description;  // what the user sees beside it
};

// The serial devices present on this machine (/dev/ttyS*, /dev/ttyUSB*, /dev/ttyACM*,
// /dev/serial/by-id/*) and the receiver simulators that are running, in that order.
// /dev/ttyS* devices without a UART behind them are left out.
std::vector<SerialDevice> ListSerialDevices();

// Receiver simulators make themselves known by a file in a folder of the user's
// (XDG_RUNTIME_DIR, else /tmp) named after their process, holding their device path; the
// announcement is removed when the returned object is destroyed.
class SimulatorAnnouncement {
public:
    explicit SimulatorAnnouncement(const std::string& devicePath);
    ~SimulatorAnnouncement();
    SimulatorAnnouncement(const SimulatorAnnouncement&) = delete;
    SimulatorAnnouncement& operator=(const SimulatorAnnouncement&) = delete;

private:
    std::string file_;
};

// The folder of the announcements.
std::string SimulatorAnnouncementFolder();
