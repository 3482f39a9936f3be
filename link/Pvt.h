#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "gps/LiveFix.h"
#include "link/DataTypes.h"

// D800, the data of a PKT_PVT packet: where the receiver is, how it moves and the time, as
// units of the A800 protocol send it once a second after CMD_START_PVT_DATA.
//
// 64 bytes, packed, little-endian: 0 altitude above the WGS 84 ellipsoid f32 (m); 4, 8, 12
// estimated errors total, horizontal, vertical f32 (m); 16 fix u16 (0 unusable, 1 invalid,
// 2 2D, 3 3D, 4 2D differential, 5 3D differential); 18 time of week f64 (s, GPS time);
// 26 latitude f64, 34 longitude f64 (radians); 42, 46, 50 velocity east, north, up f32
// (m/s); 54 height of the ellipsoid above mean sea level f32 (m); 58 leap seconds s16 (GPS
// time less UTC); 60 days from 31 December 1989 to the start of the week u32.
constexpr size_t D800_SIZE = 64;

// Below this horizontal speed (m/s) a receiver's course is noise: no course is reported.
constexpr float PVT_STANDING_SPEED = 0.1f;

// Reads a D800 packet. UTC = 31 December 1989 + days + time of week - leap seconds, to the
// millisecond; the sum is taken as it is, so a time of week of 604800 s or more runs into
// the following week, and days that already name the next week count so. Altitude (a 3D fix
// only) = ellipsoid altitude + height of the ellipsoid above sea level. Speed is the
// horizontal speed of the east and north velocities; course from them, none below
// PVT_STANDING_SPEED. The horizontal error is the packet's horizontal estimate, taken as the
// radius of the error circle. Fix 2 and 4 give TWO_D, 3 and 5 THREE_D, any other NONE.
// Satellites are not reported (-1). A value that is not finite, or beyond 1e7 (m, m/s) for
// altitude, speed and error, reads as VALUE_NONE.
//
// Throws DataTypeError ("D800: ...") for a size other than D800_SIZE, a latitude or
// longitude that is not finite or lies beyond +/-90 or +/-180 degrees (whatever the fix), and
// a time of week that is not finite, negative, or two weeks or more.
LiveFix DecodePvt(const uint8_t* data, size_t size);

// What a D800 packet carries beyond a LiveFix.
struct PvtExtras {
    int leapSeconds = 18;         // GPS time less UTC (18 s since 2017)
    float ellipsoidAboveSea = 0;  // m; negative where the geoid lies above the ellipsoid
    float velocityUp = 0;         // m/s
};

// Writes `fix` as a D800 packet that DecodePvt reads back as `fix`, to float precision, less
// what D800 does not carry: `satellites`, the altitude of a fix that is not 3D, and a course
// at less than PVT_STANDING_SPEED (a speed without a course is written as northward). The
// time is split into the days to its GPS week's Sunday and the time of week. NONE is
// written as fix 1 (invalid), TWO_D as 2, THREE_D as 3. The vertical error is written as
// the horizontal one, the total as their root sum square; an unknown error, altitude or
// speed (both velocities) is written as 1.0e25. Throws DataTypeError for a time before
// 31 December 1989 or beyond what the days' 32 bits hold.
std::vector<uint8_t> EncodePvt(const LiveFix& fix, const PvtExtras& extras = {});
