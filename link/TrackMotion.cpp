#include "link/TrackMotion.h"

#include <algorithm>
#include <cmath>

#include "gps/Geodesy.h"
#include "link/Pvt.h"

namespace {

constexpr double kLongestStepSeconds = 3600;  // a later time beyond this is a jump
constexpr double kShortestWalk = 1;
constexpr double kLongestWalk = 60;

// Longitude difference from `from` to `to`, the short way round: [-180, 180].
double LongitudeStep(double from, double to)
{
    double step = to - from;
    if (step > 180) {
        step -= 360;
    } else if (step < -180) {
        step += 360;
    }
    return step;
}

double WrapLongitude(double longitude)
{
    if (longitude > 180) {
        return longitude - 360;
    }
    if (longitude < -180) {
        return longitude + 360;
    }
    return longitude;
}

// Metres north and east from one position to the other.
KmOffset StepMetres(double latitude, double longitude, double toLatitude, double toLongitude)
{
    KmOffset km;
    PositionDeltaKm({latitude, longitude},
                    {toLatitude, longitude + LongitudeStep(longitude, toLongitude)}, km);
    return {km.north * 1000, km.east * 1000};
}

}  // namespace

TrackMotion::TrackMotion(const std::vector<TrackpointRecord>& points,
                         const std::vector<TrackpointDetails>& details)
{
    const TrackpointRecord* previous = nullptr;
    for (size_t i = 0; i < points.size(); ++i) {
        const TrackpointRecord& point = points[i];
        const double latitude = SemicirclesToDegrees(point.latitude);
        if (std::fabs(latitude) > 90) {
            continue;
        }
        Stop stop{latitude, SemicirclesToDegrees(point.longitude),
                  details.size() == points.size() ? details[i].altitude : VALUE_NONE, 0};
        if (!stops_.empty()) {
            const Stop& last = stops_.back();
            const bool timed = point.newTrack == 0 && previous->time != TRACK_TIME_NONE &&
                               point.time != TRACK_TIME_NONE && point.time > previous->time &&
                               point.time - previous->time <= kLongestStepSeconds;
            double walk = 0;
            if (!timed) {
                KmOffset m = StepMetres(last.latitude, last.longitude, latitude, stop.longitude);
                walk = std::clamp(std::hypot(m.north, m.east) / WALKING_SPEED, kShortestWalk,
                                  kLongestWalk);
            }
            stop.at = last.at + (timed ? point.time - previous->time : walk);
        }
        stops_.push_back(stop);
        previous = &point;
    }
    if (stops_.size() > 1) {
        const Stop& first = stops_.front();
        const Stop& last = stops_.back();
        KmOffset m = StepMetres(last.latitude, last.longitude, first.latitude, first.longitude);
        loopSeconds_ = last.at + std::clamp(std::hypot(m.north, m.east) / WALKING_SPEED,
                                            kShortestWalk, kLongestWalk);
    }
}

void TrackMotion::SetOutages(double outageEvery, double outageSeconds)
{
    outageEvery_ = outageEvery;
    outageSeconds_ = outageSeconds;
}

LiveFix TrackMotion::FixAt(double seconds, int64_t startUtcMillis) const
{
    LiveFix fix;
    if (stops_.empty()) {
        return fix;
    }
    fix.utcMillis = startUtcMillis + std::llround(seconds * 1000.0);
    const double t = loopSeconds_ > 0 ? std::fmod(std::max(seconds, 0.0), loopSeconds_) : 0;
    // The leg from stops_[i] to the stop after it (the first one after the last).
    auto after = std::upper_bound(stops_.begin(), stops_.end(), t,
                                  [](double value, const Stop& s) { return value < s.at; });
    const size_t i = static_cast<size_t>(std::max<std::ptrdiff_t>(after - stops_.begin(), 1)) - 1;
    const Stop& from = stops_[i];
    const Stop& to = i + 1 < stops_.size() ? stops_[i + 1] : stops_.front();
    const double legEnd = i + 1 < stops_.size() ? to.at : loopSeconds_;
    const double leg = legEnd - from.at;
    const double f = leg > 0 ? std::clamp((t - from.at) / leg, 0.0, 1.0) : 0;

    fix.latitude = from.latitude + f * (to.latitude - from.latitude);
    fix.longitude = WrapLongitude(from.longitude + f * LongitudeStep(from.longitude, to.longitude));
    const bool heightKnown = from.altitude != VALUE_NONE && to.altitude != VALUE_NONE;
    if (heightKnown) {
        fix.altitude = static_cast<float>(from.altitude + f * (to.altitude - from.altitude));
    }
    KmOffset m = StepMetres(from.latitude, from.longitude, to.latitude, to.longitude);
    const double speed = leg > 0 ? std::hypot(m.north, m.east) / leg : 0;
    fix.speed = static_cast<float>(speed);
    if (fix.speed >= PVT_STANDING_SPEED) {
        double course = std::atan2(m.east, m.north) * 180 / GEO_PI;
        auto degrees = static_cast<float>(course < 0 ? course + 360 : course);
        fix.course = degrees >= 360.0f ? 0.0f : degrees;
    }

    const bool outage =
        outageEvery_ > 0 && outageSeconds_ > 0 &&
        std::fmod(std::max(seconds, 0.0), outageEvery_) >= outageEvery_ - outageSeconds_;
    if (outage) {
        fix.kind = FixKind::NONE;
        fix.satellites = 0;
    } else {
        fix.kind = heightKnown ? FixKind::THREE_D : FixKind::TWO_D;
        fix.horizontalError = heightKnown ? 4.5f : 9.0f;
        fix.satellites = heightKnown ? 8 : 3;
    }
    return fix;
}
