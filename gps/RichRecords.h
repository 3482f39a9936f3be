#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gps/Records.h"
#include "gps/SymbolTable.h"

// What the receivers after the GPS 12 carry beside its records: whole names, altitudes,
// times, the full symbol table, colours and addresses of waypoints; altitude, depth and
// temperature of track points and the name and colour of each track; routes. Like the
// records these are packed byte structures (Windows-1252 texts, zero-terminated only when
// shorter than their field), held in arrays beside the record arrays, copied and compared
// byte for byte, and stored in files and on the clipboard as they are.

// A float the receiver does not know (altitude, depth, ...), on the wire and in the files.
constexpr float VALUE_NONE = 1.0e25f;
inline bool HasValue(float value)
{
    // Receivers write 1.0e25 for "unknown"; anything that large is taken as unknown too.
    return value == value && value < 1.0e24f && value > -1.0e24f;
}

// Times count seconds from 31 December 1989 00:00 UTC, as the track points' do.
constexpr uint32_t TIME_NONE = 0xFFFFFFFF;

// No colour given: the receiver's default.
constexpr uint8_t COLOUR_DEFAULT = 0xFF;

constexpr size_t WAYPOINT_NAME_SIZE = 50;
constexpr size_t WAYPOINT_LONG_COMMENT_SIZE = 50;

struct __attribute__((packed)) WaypointDetails {
    // The whole name, when the record's six-character ident does not hold it; empty when
    // the ident is the name. The ident is always this name by the ident rule.
    char name[WAYPOINT_NAME_SIZE];
    // The whole comment, when it is longer than the record's 40 bytes; empty otherwise.
    // The record's comment is always its first 40 bytes.
    char comment[WAYPOINT_LONG_COMMENT_SIZE];
    uint16_t symbol;  // the maker's symbol table; SYMBOL_NONE: the record's symbol
    float altitude;   // metres above sea level
    float depth;      // metres
    float proximity;  // proximity alarm distance, metres
    float temperature;  // degrees Celsius
    uint32_t time;      // TIME_NONE when unknown
    uint8_t colour;     // 0 to 15, COLOUR_DEFAULT
    uint8_t wptClass;   // 0 a user waypoint; others come from the receiver's maps
    uint8_t subclass[18];
    uint16_t category;  // bit set of the receiver's waypoint categories
    char state[2];
    char country[2];
    char facility[30];
    char city[24];
    char address[50];
    char crossRoad[50];
};
static_assert(sizeof(WaypointDetails) == 302);

// Details that say nothing beyond the record.
const WaypointDetails& NoWaypointDetails();
bool IsEmpty(const WaypointDetails& details);

// The name of a track (segment), kept with its first point.
constexpr size_t TRACK_NAME_SIZE = 50;

struct __attribute__((packed)) TrackpointDetails {
    float altitude;
    float depth;
    float temperature;
    // Meaningful on the first point of a track only.
    char trackName[TRACK_NAME_SIZE];
    uint8_t trackColour;   // 0 to 16 (16 transparent), COLOUR_DEFAULT
    uint8_t trackDisplay;  // non-zero: the receiver shows the track
};
static_assert(sizeof(TrackpointDetails) == 64);

const TrackpointDetails& NoTrackpointDetails();
bool IsEmpty(const TrackpointDetails& details);

// The link from a route point to the next one (what A201 receivers send between them).
constexpr size_t ROUTE_LINK_IDENT_SIZE = 50;
struct __attribute__((packed)) RouteLink {
    uint16_t linkClass;  // 0 line, 1 link, 2 net, 3 direct, 0xFF snap
    uint8_t subclass[18];
    char ident[ROUTE_LINK_IDENT_SIZE];
};
static_assert(sizeof(RouteLink) == 70);
const RouteLink& NoRouteLink();

// A route carries whole waypoints, not references to the waypoint list.
struct __attribute__((packed)) RoutePoint {
    WaypointRecord record;
    WaypointDetails details;
    RouteLink link;  // to the next point; ignored on the last
};
static_assert(sizeof(RoutePoint) == 429);

constexpr size_t ROUTE_NAME_SIZE = 50;
struct __attribute__((packed)) RouteHeader {
    uint8_t number;  // 0 to 254 as the receiver numbers its routes
    char name[ROUTE_NAME_SIZE];  // name or comment
};
static_assert(sizeof(RouteHeader) == 51);

struct Route {
    RouteHeader header{};
    std::vector<RoutePoint> points;
};
bool SameBytes(const Route& a, const Route& b);
bool SameRoutes(const std::vector<Route>& a, const std::vector<Route>& b);

// A document holds at most this many routes and route points in all.
constexpr int MAX_DOC_ROUTES = 255;
constexpr int MAX_DOC_ROUTE_POINTS = 32767;
bool RoutesFit(const std::vector<Route>& routes);

// The whole name of a waypoint: its details' name when there is one, else its ident.
std::string_view WaypointName(const WaypointRecord& record, const WaypointDetails& details);
std::string_view WaypointLongComment(const WaypointRecord& record,
                                     const WaypointDetails& details);
// The full-table symbol: the details' symbol when given, else the record's.
uint16_t WaypointFullSymbol(const WaypointRecord& record, const WaypointDetails& details);

// Gives a waypoint `name` (up to WAYPOINT_NAME_SIZE bytes kept): the record's ident is the
// name by the ident rule; the details keep the name only when the ident does not say it.
void SetWaypointName(WaypointRecord& record, WaypointDetails& details, std::string_view name);
// The same for the comment: its first 40 bytes in the record, the whole in the details
// when longer.
void SetWaypointComment(WaypointRecord& record, WaypointDetails& details,
                        std::string_view comment);
// The symbol from the full table; the record takes the nearest of its 16, and the details
// keep the number only when the record's symbol does not say it.
void SetWaypointFullSymbol(WaypointRecord& record, WaypointDetails& details, uint16_t symbol);

// After the record alone was changed (renamed in the list, a comment or symbol set by the
// GPS 12's rules): whatever of the details no longer agrees with the record is dropped, so
// that the record's value counts.
void DropDetailsTheRecordContradicts(const WaypointRecord& record, WaypointDetails& details);

RoutePoint MakeRoutePoint(const WaypointRecord& record, const WaypointDetails& details);
