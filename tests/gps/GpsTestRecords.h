#pragma once

#include <cstring>
#include <string>

#include "gps/Records.h"

// Records that differ from each other in every field, for tests.
inline WaypointRecord TestWaypoint(int n)
{
    WaypointRecord w;
    std::memset(&w, 0, sizeof w);
    std::string ident = "WP" + std::to_string(n);
    SetFieldText(w.ident, sizeof w.ident, ident);
    w.latitude = 1000 * n + 1;
    w.longitude = -1000 * n - 2;
    SetFieldText(w.comment, sizeof w.comment, "comment " + std::to_string(n));
    w.symbol = static_cast<int16_t>(n % 16);
    w.display = static_cast<uint8_t>(n % 3);
    return w;
}

inline TrackpointRecord TestTrackpoint(int n)
{
    return {100 * n, -100 * n, static_cast<uint32_t>(60 * n), static_cast<uint8_t>(n == 0)};
}
