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

#include "gps/GpsRecords.h"

// Records with every value GPX carries: whole names and comments, full-table symbols, display
// modes, altitudes, times and the maker's waypoint extension; two routes; two named and
// coloured tracks, one of two segments, with altitudes, temperatures and depths.
inline GpsRecords GpxTestRecords()
{
    GpsRecords r;
    for (int i = 1; i <= 3; ++i) {
        WaypointRecord w = TestWaypoint(i);
        WaypointDetails d = NoWaypointDetails();
        SetWaypointName(w, d, "Aussichtspunkt Nummer " + std::to_string(i));
        SetWaypointComment(w, d,
                           "Br\xFC"
                           "cke \xFC"
                           "ber den Fluss, l\xE4nger als vierzig Zeichen");
        SetWaypointFullSymbol(w, d, static_cast<uint16_t>(8198 + i));
        d.altitude = 400.5f + static_cast<float>(i);
        d.time = 1000u * static_cast<uint32_t>(i);
        r.waypoints.push_back(w);
        r.waypointDetails.push_back(d);
    }
    WaypointDetails& full = r.waypointDetails[0];
    full.proximity = 50;
    full.temperature = -12.5f;
    full.depth = 3.25f;
    full.category = 0x8005;
    SetFieldText(full.address, sizeof full.address, "Bahnhofstrasse 1");
    SetFieldText(full.city, sizeof full.city, "Z\xFCrich");
    SetFieldText(full.state, sizeof full.state, "ZH");
    SetFieldText(full.country, sizeof full.country, "CH");
    full.colour = 12;  // Green
    full.wptClass = 3;
    full.subclass[0] = 0x2A;
    SetFieldText(full.facility, sizeof full.facility, "Hauptbahnhof");
    SetFieldText(full.crossRoad, sizeof full.crossRoad, "Lintheschergasse");
    for (int number : {3, 7}) {
        Route route;
        route.header.number = static_cast<uint8_t>(number);
        SetFieldText(route.header.name, sizeof route.header.name,
                     number == 3 ? "Route 3"
                                 : "\xDC"
                                   "ber den Pass");
        for (int i = number == 3 ? 1 : 0; i < 3; ++i) {
            route.points.push_back(MakeRoutePoint(r.waypoints[static_cast<size_t>(2 - i)],
                                                  r.waypointDetails[static_cast<size_t>(2 - i)]));
        }
        route.points[0].link.linkClass = 1;
        SetFieldText(route.points[0].link.ident, sizeof route.points[0].link.ident, "A1");
        r.routes.push_back(route);
    }
    for (int i = 0; i < 5; ++i) {
        TrackpointRecord t = TestTrackpoint(i);
        t.newTrack = i == 0 || i == 2 || i == 3;
        TrackpointDetails d = NoTrackpointDetails();
        d.altitude = 500.25f + static_cast<float>(i);
        d.temperature = i < 2 ? 21.5f : VALUE_NONE;
        d.depth = i == 1 ? 2.0f : VALUE_NONE;
        if (i == 0 || i == 3) {
            SetFieldText(d.trackName, sizeof d.trackName, i == 0 ? "Morgen" : "Abend");
            d.trackColour = i == 0 ? 1 : 16;  // DarkRed, Transparent
            d.trackDisplay = i == 0 ? 1 : 0;
        }
        r.trackpoints.push_back(t);
        r.trackpointDetails.push_back(d);
    }
    r.trackpoints[4].time = TRACK_TIME_NONE;
    return r;
}

// Whether two sets of records hold the same bytes, details and routes included.
inline bool SameRecordBytes(const GpsRecords& a, const GpsRecords& b)
{
    auto same = [](const auto& x, const auto& y) {
        return x.size() == y.size() &&
               (x.empty() || std::memcmp(x.data(), y.data(), x.size() * sizeof x[0]) == 0);
    };
    return same(a.waypoints, b.waypoints) && same(a.waypointDetails, b.waypointDetails) &&
           same(a.trackpoints, b.trackpoints) && same(a.trackpointDetails, b.trackpointDetails) &&
           SameRoutes(a.routes, b.routes);
}
