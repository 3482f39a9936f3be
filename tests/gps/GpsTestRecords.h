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

#include "gps/RichRecords.h"

// Details that differ from each other and from none in every field kind.
inline WaypointDetails TestDetails(int n)
{
    WaypointDetails d = NoWaypointDetails();
    SetFieldText(d.name, sizeof d.name, "Aussichtspunkt Nummer " + std::to_string(n));
    d.symbol = static_cast<uint16_t>(8200 + n);
    d.altitude = 400.5f + static_cast<float>(n);
    d.time = 1000u * static_cast<uint32_t>(n);
    d.colour = static_cast<uint8_t>(n % 16);
    SetFieldText(d.city, sizeof d.city, "Zug");
    return d;
}

inline Route TestRoute(int number, int points)
{
    Route route;
    route.header.number = static_cast<uint8_t>(number);
    SetFieldText(route.header.name, sizeof route.header.name, "Route " + std::to_string(number));
    for (int i = 0; i < points; ++i) {
        route.points.push_back(MakeRoutePoint(TestWaypoint(i), TestDetails(i)));
    }
    return route;
}
