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

RecordingInterval ReadRecordingInterval()
{
    Settings& settings = Settings::Current();
    RecordingInterval interval;
    const bool byDistance = settings.GetInt("Settings", "RecordBy", 0) == 1;
    const int every = settings.GetInt("Settings", "RecordEvery", byDistance ? 10 : 1);
    interval.kind = byDistance ? RecordingInterval::Kind::DISTANCE : RecordingInterval::Kind::TIME;
    if (every >= 1 && every <= 3600) {
        if (byDistance) {
            interval.metres = every;
        } else {
            interval.seconds = every;
        }
    }
    return interval;
}

void StoreRecordingInterval(const RecordingInterval& interval)
{
    Settings& settings = Settings::Current();
    const bool byDistance = interval.kind == RecordingInterval::Kind::DISTANCE;
    settings.SetInt("Settings", "RecordBy", byDistance ? 1 : 0);
    settings.SetInt("Settings", "RecordEvery",
                    byDistance ? static_cast<int>(interval.metres) : interval.seconds);
}
