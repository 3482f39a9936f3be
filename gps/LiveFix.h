#pragma once

#include <cmath>
#include <cstdint>

#include "gps/RichRecords.h"

// One position of a receiver as it moves, whatever reported it: the receiver's PVT packets
// on the link, NMEA sentences, or gpsd. Positions in degrees (WGS 84), times in UTC.

enum class FixKind : uint8_t {
    NONE,     // the source reports, but has no position
    TWO_D,    // latitude and longitude
    THREE_D,  // and altitude
};

struct LiveFix {
    int64_t utcMillis = 0;  // milliseconds since 1970-01-01 00:00 UTC; 0: no time
    FixKind kind = FixKind::NONE;
    double latitude = 0;                 // degrees, north positive
    double longitude = 0;                // degrees, east positive
    float altitude = VALUE_NONE;         // metres above mean sea level
    float speed = VALUE_NONE;            // metres a second over ground
    float course = VALUE_NONE;           // degrees clockwise from true north, [0, 360)
    float horizontalError = VALUE_NONE;  // metres, the radius of the error circle
    int satellites = -1;                 // used in the fix; -1: not reported

    bool HasPosition() const { return kind != FixKind::NONE; }
};

// Altitudes, speeds and errors beyond this (m, m/s) are no measurements.
constexpr double kLargestLiveMeasure = 1.0e7;

// A measurement as LiveFix holds it: VALUE_NONE when it is not finite or beyond
// kLargestLiveMeasure.
inline float LiveMeasure(double value)
{
    return std::isfinite(value) && std::fabs(value) < kLargestLiveMeasure
               ? static_cast<float>(value)
               : VALUE_NONE;
}

// Degrees of a finite direction as a course in [0, 360).
inline float LiveCourse(double degrees)
{
    const double course = std::fmod(degrees, 360.0);
    const auto wrapped = static_cast<float>(course < 0 ? course + 360.0 : course);
    return wrapped >= 360.0f ? 0.0f : wrapped;  // just below 0, rounded up
}

// What a position source is doing, beside its fixes.
enum class LiveState : uint8_t {
    STOPPED,    // not started, or stopped by the user
    WAITING,    // started; nothing usable has come yet, or no fix for a while
    RECEIVING,  // fixes come
    LINK_LOST,  // the line or the daemon went away; the source tries again
};

// "2D", "3D" or "kein Fix", as the status bar and `orvi live` show it.
inline const char* FixKindText(FixKind kind)
{
    switch (kind) {
    case FixKind::TWO_D:
        return "2D";
    case FixKind::THREE_D:
        return "3D";
    case FixKind::NONE:
        break;
    }
    return "kein Fix";
}
