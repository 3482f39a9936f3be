#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <string>

#include "live/PositionSource.h"

// Which source live positions come from, as the command line and the options name it.
struct LiveSourceSettings {
    enum class Kind {
        RECEIVER,  // the receiver's PVT packets on the link, at `port`
        NMEA,      // NMEA 0183 at `port`, `baud`
        GPSD,      // gpsd at `host`, `gpsdPort`
    };
    Kind kind = Kind::RECEIVER;
    std::string port;  // "COMn:" or a device path
    int baud = 4800;
    std::string host = "localhost";
    int gpsdPort = 2947;
};

// The source for `settings`, not started; null with the reason in `error` when it cannot be
// made (a baud rate the serial line does not have). The receiver's PVT reads the port of the
// settings (Settings "Port"), as the link does.
std::unique_ptr<PositionSource> CreatePositionSource(const LiveSourceSettings& settings,
                                                     QString& error, QObject* parent = nullptr);

// Reads "HOST" or "HOST:PORT" into `host` and `port` (left as it is without one). False for
// an empty host or a port that is no number from 1 to 65535; IPv6 addresses are not taken.
bool ParseGpsdAddress(const std::string& text, std::string& host, int& port);
