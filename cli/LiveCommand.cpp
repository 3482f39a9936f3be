// orvi live: the positions of a receiver as they come, from its PVT packets, its NMEA
// sentences or gpsd.

#include <QCoreApplication>
#include <QDateTime>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/Commands.h"
#include "framework/QtSettings.h"
#include "framework/UnixSignalNotifier.h"
#include "live/PositionSources.h"

namespace {

// Measures to the millimetre (and so on), so that a float prints as it was sent.
nlohmann::json Rounded(float value)
{
    return HasValue(value) ? nlohmann::json(std::round(double(value) * 1000) / 1000)
                           : nlohmann::json(nullptr);
}

std::string TimeText(const LiveFix& fix)
{
    if (fix.utcMillis == 0) {
        return {};
    }
    return QDateTime::fromMSecsSinceEpoch(fix.utcMillis, Qt::UTC)
        .toString(Qt::ISODateWithMs)
        .toStdString();
}

// Degrees to a tenth of a millimetre on the ground, without the noise of the conversion from
// degrees and minutes.
nlohmann::json Degrees(double value)
{
    return std::round(value * 1e9) / 1e9;
}

std::string JsonLine(const LiveFix& fix)
{
    static const char* const kFixNames[] = {"none", "2d", "3d"};
    std::string time = TimeText(fix);
    bool position = fix.HasPosition();
    nlohmann::ordered_json line = {
        {"time", time.empty() ? nlohmann::json(nullptr) : nlohmann::json(time)},
        {"latitude", position ? Degrees(fix.latitude) : nlohmann::json(nullptr)},
        {"longitude", position ? Degrees(fix.longitude) : nlohmann::json(nullptr)},
        {"altitude", Rounded(fix.altitude)},
        {"fix", kFixNames[static_cast<int>(fix.kind)]},
        {"speed", Rounded(fix.speed)},
        {"course", Rounded(fix.course)},
        {"satellites", fix.satellites >= 0 ? nlohmann::json(fix.satellites) : nullptr},
    };
    return line.dump();
}

// "2024-03-23T12:35:19.000Z 3D 48.1173000 11.5166667 545.4 m 11.52 m/s 84.4° 5 sat.",
// what is unknown left out.
std::string TextLine(const LiveFix& fix)
{
    std::string time = TimeText(fix);
    std::string line = (time.empty() ? std::string("-") : time) + " " + FixKindText(fix.kind);
    char part[64];
    if (fix.HasPosition()) {
        std::snprintf(part, sizeof part, " %.7f %.7f", fix.latitude, fix.longitude);
        line += part;
    }
    if (HasValue(fix.altitude)) {
        std::snprintf(part, sizeof part, " %.1f m", double(fix.altitude));
        line += part;
    }
    if (HasValue(fix.speed)) {
        std::snprintf(part, sizeof part, " %.2f m/s", double(fix.speed));
        line += part;
    }
    if (HasValue(fix.course)) {
        std::snprintf(part, sizeof part, " %.1f°", double(fix.course));
        line += part;
    }
    if (fix.satellites >= 0) {
        std::snprintf(part, sizeof part, " %d sat.", fix.satellites);
        line += part;
    }
    return line;
}

std::string StateLine(LiveState state, const QString& detail)
{
    std::string where = detail.toStdString();
    switch (state) {
    case LiveState::WAITING:
        return "waiting for a fix" + (where.empty() ? std::string() : " (" + where + ")");
    case LiveState::RECEIVING:
        return "receiving";
    case LiveState::LINK_LOST:
        return "link lost: " + where + "; trying again";
    case LiveState::STOPPED:
        break;
    }
    return "stopped";
}

}  // namespace

int RunLive(const LiveOptions& options)
{
    LiveSourceSettings settings;
    settings.baud = options.baud;
    if (!options.gpsd.empty()) {
        settings.kind = LiveSourceSettings::Kind::GPSD;
        if (!ParseGpsdAddress(options.gpsd, settings.host, settings.gpsdPort)) {
            return Fail(options.gpsd, "not a gpsd address (HOST or HOST:PORT)");
        }
    } else if (options.nmea) {
        settings.kind = LiveSourceSettings::Kind::NMEA;
    } else if (options.pvt) {
        settings.kind = LiveSourceSettings::Kind::RECEIVER;
    }
    int argc = 1;
    char name[] = "orvi";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    // The receiver's PVT goes over the link, which opens the port of the settings: --port,
    // else the editor's stored one.
    QtSettings stored;
    MemorySettings given;
    given.SetString("Settings", "Port", options.port);
    Settings* chosen = options.port.empty() ? static_cast<Settings*>(&stored) : &given;
    Settings* previous = Settings::SetCurrent(chosen);
    settings.port = ReadLiveSourceSettings(*chosen).port;
    QString error;
    std::unique_ptr<PositionSource> source = CreatePositionSource(settings, error);
    if (!source) {
        std::string what = !options.gpsd.empty() ? options.gpsd : options.port;
        Settings::SetCurrent(previous);
        return Fail(what.empty() ? "live" : what, error.toStdString());
    }
    int positions = 0;
    QObject::connect(source.get(), &PositionSource::fixArrived, [&](const LiveFix& fix) {
        std::cout << (options.json ? JsonLine(fix) : TextLine(fix)) << std::endl;
        positions += fix.HasPosition() ? 1 : 0;
        if (options.count > 0 && positions == options.count) {
            QCoreApplication::quit();
        }
    });
    QObject::connect(source.get(), &PositionSource::stateChanged,
                     [](LiveState state, const QString& detail) {
                         std::cerr << "orvi: live: " << StateLine(state, detail) << std::endl;
                     });
    UnixSignalNotifier endSignals({SIGTERM, SIGINT});
    QObject::connect(&endSignals, &UnixSignalNotifier::received, &app, &QCoreApplication::quit);
    source->Start();
    app.exec();
    source->Stop();
    Settings::SetCurrent(previous);
    return 0;
}
