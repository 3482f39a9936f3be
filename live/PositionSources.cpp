#include "live/PositionSources.h"

#include <charconv>

#include "link/PosixSerialPort.h"
#include "live/GpsdSource.h"
#include "live/NmeaSource.h"
#include "live/PvtSource.h"

std::unique_ptr<PositionSource> CreatePositionSource(const LiveSourceSettings& settings,
                                                     QString& error, QObject* parent)
{
    switch (settings.kind) {
    case LiveSourceSettings::Kind::NMEA:
        if (!IsSerialBaudRate(settings.baud)) {
            error = QStringLiteral(
                        "%1 baud: the serial line has no such rate (4800, 9600, "
                        "19200, 38400, 57600, 115200)")
                        .arg(settings.baud);
            return nullptr;
        }
        return std::make_unique<NmeaSource>(settings.port, settings.baud, parent);
    case LiveSourceSettings::Kind::GPSD:
        return std::make_unique<GpsdSource>(settings.host, settings.gpsdPort, parent);
    case LiveSourceSettings::Kind::RECEIVER:
        break;
    }
    return std::make_unique<PvtSource>(parent);
}

bool ParseGpsdAddress(const std::string& text, std::string& host, int& port)
{
    std::string name = text;
    std::string number;
    if (!text.empty() && text.front() == '[') {
        size_t close = text.find(']');
        if (close == std::string::npos || (close + 1 < text.size() && text[close + 1] != ':')) {
            return false;
        }
        name = text.substr(1, close - 1);
        number = close + 1 < text.size() ? text.substr(close + 2) : std::string();
        if (close + 1 < text.size() && number.empty()) {
            return false;
        }
    } else if (size_t colon = text.rfind(':'); colon != std::string::npos) {
        if (text.find(':') != colon) {
            return false;  // an IPv6 address without brackets
        }
        name = text.substr(0, colon);
        number = text.substr(colon + 1);
        if (number.empty()) {
            return false;
        }
    }
    if (name.empty()) {
        return false;
    }
    int value = port;
    if (!number.empty()) {
        auto [end, failure] = std::from_chars(number.data(), number.data() + number.size(), value);
        if (failure != std::errc() || end != number.data() + number.size() || value < 1 ||
            value > 65535) {
            return false;
        }
    }
    host = name;
    port = value;
    return true;
}
