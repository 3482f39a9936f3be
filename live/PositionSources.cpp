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
    size_t colon = text.find(':');
    std::string name = text.substr(0, colon);
    int value = port;
    if (colon != std::string::npos) {
        const char* first = text.data() + colon + 1;
        const char* last = text.data() + text.size();
        auto [end, failure] = std::from_chars(first, last, value);
        if (first == last || failure != std::errc() || end != last || value < 1 || value > 65535) {
            return false;
        }
    }
    if (name.empty()) {
        return false;
    }
    host = name;
    port = value;
    return true;
}
