#include "live/PositionSources.h"

#include <charconv>

#include "framework/Settings.h"
#include "link/PosixSerialPort.h"
#include "live/GpsdSource.h"
#include "live/NmeaSource.h"
#include "live/PortSource.h"
#include "live/PvtSource.h"

std::unique_ptr<PositionSource> CreatePositionSource(const LiveSourceSettings& settings,
                                                     QString& error, QObject* parent)
{
    const bool nmea = settings.kind == LiveSourceSettings::Kind::NMEA ||
                      settings.kind == LiveSourceSettings::Kind::PORT;
    if (nmea && !IsSerialBaudRate(settings.baud)) {
        error = QStringLiteral(
                    "%1 baud: the serial line has no such rate (4800, 9600, "
                    "19200, 38400, 57600, 115200)")
                    .arg(settings.baud);
        return nullptr;
    }
    switch (settings.kind) {
    case LiveSourceSettings::Kind::NMEA:
        return std::make_unique<NmeaSource>(settings.port, settings.baud, parent);
    case LiveSourceSettings::Kind::PORT:
        return std::make_unique<PortSource>(settings.port, settings.baud, parent);
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

LiveSourceSettings ReadLiveSourceSettings(Settings& settings)
{
    LiveSourceSettings source;
    const int kind = settings.GetInt("Settings", "LiveSource", static_cast<int>(source.kind));
    if (kind >= 0 && kind <= static_cast<int>(LiveSourceSettings::Kind::PORT)) {
        source.kind = static_cast<LiveSourceSettings::Kind>(kind);
    }
    source.port = settings.GetString("Settings", "Port", source.port);
    const int baud = settings.GetInt("Settings", "NmeaBaud", source.baud);
    if (IsSerialBaudRate(baud)) {
        source.baud = baud;
    }
    std::string host = source.host;
    int port = source.gpsdPort;
    if (ParseGpsdAddress(settings.GetString("Settings", "Gpsd", GpsdAddress(source)), host, port)) {
        source.host = host;
        source.gpsdPort = port;
    }
    return source;
}

void StoreLiveSourceSettings(Settings& settings, const LiveSourceSettings& source)
{
    settings.SetInt("Settings", "LiveSource", static_cast<int>(source.kind));
    settings.SetInt("Settings", "NmeaBaud", source.baud);
    settings.SetString("Settings", "Gpsd", GpsdAddress(source));
}

std::string GpsdAddress(const LiveSourceSettings& source)
{
    return source.host + ":" + std::to_string(source.gpsdPort);
}
