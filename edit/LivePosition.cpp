#include "edit/LivePosition.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "framework/Settings.h"

size_t LivePath::Take(const LiveFix& fix, int64_t arrivedMillis)
{
    if (!fix.HasPosition()) {
        return 0;
    }
    lastPosition_ = fix;
    lastPositionMillis_ = arrivedMillis;
    trail_.push_back({{fix.latitude, fix.longitude}, arrivedMillis});
    size_t dropped = 0;
    while (trail_.size() > kTrailMost ||
           (trail_.size() > 1 && arrivedMillis - trail_.front().arrivedMillis > kTrailMillis)) {
        trail_.pop_front();
        ++dropped;
    }
    return dropped;
}

void LivePath::Clear()
{
    *this = LivePath();
}

bool LivePath::Receiving(int64_t nowMillis) const
{
    return HasPosition() && nowMillis - lastPositionMillis_ < kNoReceptionMillis;
}

std::string LiveStatusText(const LiveFix& fix, bool receiving)
{
    if (!receiving) {
        return "kein Empfang";
    }
    std::string text = FixKindText(fix.kind);
    char part[48];
    auto add = [&text, &part](int length) {
        if (length > 0) {
            text += "  ";
            text += part;
        }
    };
    if (fix.satellites >= 0) {
        add(std::snprintf(part, sizeof part, "%d Sat.", fix.satellites));
    }
    if (HasValue(fix.speed)) {
        add(std::snprintf(part, sizeof part, "%.1f km/h", fix.speed * 3.6));
    }
    if (HasValue(fix.course)) {
        add(std::snprintf(part, sizeof part, "%.0f\xC2\xB0", fix.course));
    }
    if (fix.kind == FixKind::THREE_D && HasValue(fix.altitude)) {
        add(std::snprintf(part, sizeof part, "%.0f m", fix.altitude));
    }
    return text;
}

bool FollowPosition(PlotViewport& viewport, PlotPoint at, FollowMode mode)
{
    if (mode == FollowMode::OFF) {
        return false;
    }
    const PixelPoint pixel = viewport.ToPixel(at);
    const double width = viewport.Width();
    const double height = viewport.Height();
    if (mode == FollowMode::IN_VIEW && pixel.x >= width / 8 && pixel.x <= width * 7 / 8 &&
        pixel.y >= height / 8 && pixel.y <= height * 7 / 8) {
        return false;
    }
    // Centred already (within half a pixel): nothing moves.
    if (std::fabs(pixel.x - width / 2) < 0.5 && std::fabs(pixel.y - height / 2) < 0.5) {
        return false;
    }
    viewport = PlotViewport(at, viewport.PixelsPerMetre(), viewport.Width(), viewport.Height());
    return true;
}

PixelRect LiveMarkerArea(PixelPoint at, double errorPixels)
{
    // The marker and its arrow reach 14 pixels; circles larger than any screen are cut.
    const double reach = std::min(std::max(errorPixels, 0.0), 1e5) + 16;
    return PixelRect::Around(at.x - reach, at.y - reach, at.x + reach, at.y + reach);
}

namespace {

constexpr int kNmeaRates[] = {4800, 9600, 19200, 38400, 57600, 115200};

}  // namespace

LiveSettings ReadLiveSettings()
{
    Settings& settings = Settings::Current();
    LiveSettings live;
    const int source = settings.GetInt("Settings", "LiveSource", 0);
    live.source = source == 1   ? LiveSourceKind::NMEA
                  : source == 2 ? LiveSourceKind::GPSD
                                : LiveSourceKind::PVT;
    const int baud = settings.GetInt("Settings", "NmeaBaud", 4800);
    if (std::find(std::begin(kNmeaRates), std::end(kNmeaRates), baud) != std::end(kNmeaRates)) {
        live.nmeaBaud = baud;
    }
    const std::string gpsd = settings.GetString("Settings", "Gpsd", live.gpsd);
    if (!gpsd.empty()) {
        live.gpsd = gpsd;
    }
    const bool byDistance = settings.GetInt("Settings", "RecordBy", 0) == 1;
    const int every = settings.GetInt("Settings", "RecordEvery", byDistance ? 10 : 1);
    live.interval.kind =
        byDistance ? RecordingInterval::Kind::DISTANCE : RecordingInterval::Kind::TIME;
    if (every >= 1 && every <= 3600) {
        if (byDistance) {
            live.interval.metres = every;
        } else {
            live.interval.seconds = every;
        }
    }
    return live;
}

void StoreLiveSettings(const LiveSettings& live)
{
    Settings& settings = Settings::Current();
    settings.SetInt("Settings", "LiveSource", static_cast<int>(live.source));
    settings.SetInt("Settings", "NmeaBaud", live.nmeaBaud);
    settings.SetString("Settings", "Gpsd", live.gpsd);
    const bool byDistance = live.interval.kind == RecordingInterval::Kind::DISTANCE;
    settings.SetInt("Settings", "RecordBy", byDistance ? 1 : 0);
    settings.SetInt("Settings", "RecordEvery",
                    byDistance ? static_cast<int>(live.interval.metres) : live.interval.seconds);
}
