#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>

#include "live/PositionSource.h"

class Settings;

// Which source live positions come from, as the command line and the options name it.
struct LiveSourceSettings {
    // The numbers are those the settings keep.
    enum class Kind : uint8_t {
        RECEIVER = 0,  // the receiver's PVT packets on the link, at `port`
        NMEA = 1,      // NMEA 0183 at `port`, `baud`
        GPSD = 2,      // gpsd at `host`, `gpsdPort`
        PORT = 3,      // whichever of the two the receiver at `port` speaks (PortSource)
    };
    Kind kind = Kind::PORT;
    std::string port = "COM1:";  // "COMn:" or a device path
    int baud = 4800;             // of NMEA
    std::string host = "localhost";
    int gpsdPort = 2947;

    // Whether the source reads the link's port, which a transfer needs for its time.
    bool OnPort() const { return kind != Kind::GPSD; }
};

// From the settings of the group "Settings": "LiveSource", "NmeaBaud", "Gpsd" (HOST[:PORT])
// and the link's "Port"; what is missing or out of range reads as the default.
LiveSourceSettings ReadLiveSourceSettings(Settings& settings);
// Stores all but the port, which is the link's.
void StoreLiveSourceSettings(Settings& settings, const LiveSourceSettings& source);
// "HOST:PORT" of gpsd.
std::string GpsdAddress(const LiveSourceSettings& source);

// The source for `settings`, not started; null with the reason in `error` when it cannot be
// made (a baud rate the serial line does not have). The receiver's PVT reads the port of the
// settings (Settings "Port"), as the link does.
std::unique_ptr<PositionSource> CreatePositionSource(const LiveSourceSettings& settings,
                                                     QString& error, QObject* parent = nullptr);

// Reads "HOST" or "HOST:PORT" into `host` and `port` (left as it is without one). False for
// an empty host or a port that is no number from 1 to 65535; IPv6 addresses are not taken.
bool ParseGpsdAddress(const std::string& text, std::string& host, int& port);
