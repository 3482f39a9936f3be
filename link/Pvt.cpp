#include "link/Pvt.h"

#include <cmath>

#include "gps/TrackTime.h"
#include "link/DataTypeBytes.h"

namespace {

constexpr int kD800 = 800;
constexpr double kDegreesPerRadian = 180.0 / 3.14159265358979323846;
constexpr int64_t kSecondsPerDay = 86400;
constexpr int64_t kSecondsPerWeek = 7 * kSecondsPerDay;
// Receivers mark unknown floats so.
constexpr float kUnknown = 1.0e25f;
FixKind KindOfFix(uint16_t fix)
{
    switch (fix) {
    case 2:
    case 4:
        return FixKind::TWO_D;
    case 3:
    case 5:
        return FixKind::THREE_D;
    default:
        return FixKind::NONE;
    }
}

// Degrees of a position field; throws unless it is finite and within +/-limit.
double PositionDegrees(double radians, double limit, const char* what)
{
    const double degrees = radians * kDegreesPerRadian;
    if (!std::isfinite(degrees) || std::fabs(degrees) > limit) {
        FailDataType(kD800, std::string(what) + " ungültig");
    }
    return degrees;
}

}  // namespace

LiveFix DecodePvt(const uint8_t* data, size_t size)
{
    RequireSize(kD800, size, D800_SIZE);
    DataTypeReader in(kD800, data, size);
    const float ellipsoidAltitude = in.F32();
    in.F32();  // total error
    const float horizontalError = in.F32();
    in.F32();  // vertical error
    const uint16_t fix = in.U16();
    const double timeOfWeek = in.F64();
    const double latitude = in.F64();
    const double longitude = in.F64();
    const float east = in.F32();
    const float north = in.F32();
    in.F32();  // up
    const float ellipsoidAboveSea = in.F32();
    const auto leapSeconds = static_cast<int16_t>(in.U16());
    const uint32_t days = in.U32();
    in.End();

    LiveFix result;
    result.latitude = PositionDegrees(latitude, 90, "Breite");
    result.longitude = PositionDegrees(longitude, 180, "Länge");
    if (!std::isfinite(timeOfWeek) || timeOfWeek < 0 || timeOfWeek >= 2.0 * kSecondsPerWeek) {
        FailDataType(kD800, "Zeit der Woche ungültig");
    }
    // At most 2^32 days and two weeks: far within 64 bits of milliseconds.
    result.utcMillis = (TRACK_TIME_BASE + int64_t{days} * kSecondsPerDay - leapSeconds) * 1000 +
                       std::llround(timeOfWeek * 1000.0);
    result.kind = KindOfFix(fix);
    if (result.kind == FixKind::THREE_D) {
        result.altitude = LiveMeasure(double{ellipsoidAltitude} + double{ellipsoidAboveSea});
    }
    result.speed = LiveMeasure(std::hypot(double{east}, double{north}));
    if (result.speed != VALUE_NONE && result.speed >= PVT_STANDING_SPEED) {
        result.course = LiveCourse(std::atan2(double{east}, double{north}) * kDegreesPerRadian);
    }
    if (horizontalError >= 0) {
        result.horizontalError = LiveMeasure(horizontalError);
    }
    return result;
}

std::vector<uint8_t> EncodePvt(const LiveFix& fix, const PvtExtras& extras)
{
    const int64_t gpsMillis =
        fix.utcMillis - TRACK_TIME_BASE * 1000 + int64_t{extras.leapSeconds} * 1000;
    if (gpsMillis < 0) {
        FailDataType(kD800, "Zeit vor dem 31. Dezember 1989");
    }
    const int64_t weeks = gpsMillis / (kSecondsPerWeek * 1000);
    const int64_t days = weeks * 7;
    if (days > int64_t{UINT32_MAX}) {
        FailDataType(kD800, "Zeit jenseits der Tage, die das Feld fasst");
    }
    const double timeOfWeek =
        static_cast<double>(gpsMillis - weeks * kSecondsPerWeek * 1000) / 1000.0;

    const bool errorKnown = fix.horizontalError != VALUE_NONE;
    const float horizontal = errorKnown ? fix.horizontalError : kUnknown;
    const float total = errorKnown ? fix.horizontalError * std::sqrt(2.0f) : kUnknown;
    float east = kUnknown;
    float north = kUnknown;
    if (fix.speed != VALUE_NONE) {
        const double course = fix.course != VALUE_NONE ? fix.course / kDegreesPerRadian : 0.0;
        east = static_cast<float>(fix.speed * std::sin(course));
        north = static_cast<float>(fix.speed * std::cos(course));
    }
    uint16_t fixField = 1;
    if (fix.kind == FixKind::TWO_D) {
        fixField = 2;
    } else if (fix.kind == FixKind::THREE_D) {
        fixField = 3;
    }

    DataTypeWriter out;
    out.F32(fix.altitude != VALUE_NONE ? fix.altitude - extras.ellipsoidAboveSea : kUnknown);
    out.F32(total);
    out.F32(horizontal);
    out.F32(horizontal);
    out.U16(fixField);
    out.F64(timeOfWeek);
    out.F64(fix.latitude / kDegreesPerRadian);
    out.F64(fix.longitude / kDegreesPerRadian);
    out.F32(east);
    out.F32(north);
    out.F32(extras.velocityUp);
    out.F32(extras.ellipsoidAboveSea);
    out.U16(static_cast<uint16_t>(static_cast<int16_t>(extras.leapSeconds)));
    out.U32(static_cast<uint32_t>(days));
    return out.Take();
}
