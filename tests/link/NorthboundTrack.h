#pragma once

#include <cstdint>
#include <vector>

#include "gps/Geodesy.h"
#include "gps/Records.h"

// The track the moving simulator follows in the tests: due north from 47 N 8.5 E,
// kNorthboundDegrees in 100 s (11.13 m/s).
constexpr int64_t kNorthboundStart = 1717286400;  // Sunday 2 June 2024, 00:00:00 UTC
constexpr double kNorthboundDegrees = 0.01;

// Where a receiver on the track is `seconds` after setting out.
inline double NorthboundLatitudeAt(double seconds)
{
    return 47 + kNorthboundDegrees * seconds / 100;
}

// Its two track points, 100 s apart.
inline std::vector<TrackpointRecord> NorthboundTrack()
{
    TrackpointRecord from{DegreesToSemicirclesRounded(47), DegreesToSemicirclesRounded(8.5), 1000,
                          1};
    TrackpointRecord to = from;
    to.latitude = DegreesToSemicirclesRounded(NorthboundLatitudeAt(100));
    to.time += 100;
    to.newTrack = 0;
    return {from, to};
}
