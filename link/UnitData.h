#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gps/GpsRecords.h"
#include "link/DataTypes.h"
#include "link/UnitProfile.h"

// What a unit holds, in the data types its profile names: the packets of its transfers, the
// records an upload gives, and records cut to what the unit holds. The simulator plays units
// with these; no function here knows a model by name.

// One packet of a transfer: its id and data bytes (without id, size and checksum).
struct UnitPacket {
    uint8_t id = 0;
    std::vector<uint8_t> data;
};

// The names and comments the unit keeps, for its waypoint types.
StringLimits UnitStringLimits(const UnitProfile& unit);

// The packets a unit sends between the record count and the transfer-complete packet for
// CMD_SEND_WAYPOINTS (a waypoint each), CMD_SEND_TRACK (A300: the points; A301, A302: a
// header before the points of each track, which starts at the first point and at every
// point with newTrack set; that point goes out with newTrack set) and CMD_SEND_ROUTES (a
// header and the route's waypoints per route, with A201 a link between two consecutive
// waypoints). Nothing for other commands and for a protocol the unit lacks. Throws
// DataTypeError when a record cannot be written in the unit's type (a D311 track beyond
// 65535, a D202 route beyond 254).
std::vector<UnitPacket> UnitTransferPackets(const UnitProfile& unit, const GpsRecords& records,
                                            uint16_t command);
// The same for what speaks `protocols` and keeps names and comments as `limits` says: the
// host's uploads build their packets so.
std::vector<UnitPacket> TransferPackets(const UnitProtocols& protocols, StringLimits limits,
                                        const GpsRecords& records, uint16_t command);

// Whether the unit takes a packet of this id in an upload: waypoints, track points, route
// headers and route waypoints when it has their protocols, track headers and route links
// when its protocols have them.
bool UnitTakesPacket(const UnitProfile& unit, uint8_t id);

// Reads an uploaded packet as the unit's type would: throws DataTypeError when it cannot be
// one. The types of fixed layout (waypoints D100 to D104 and D107, track points) are read as
// the GPS 12 always read them: cut or filled with zero bytes to their size.
void CheckUnitPacket(const UnitProfile& unit, const UnitPacket& packet);

// The kinds of records an upload of these packets (each passed by CheckUnitPacket) replaces:
// those it has packets of, and with none the kind that `command` (its transfer-complete
// packet's) names. Waypoint and track point details are kept only when one of them says
// more than its record; a track point after a header starts a track (newTrack set) and has
// the header's name, colour and display, as has the first point of a unit with headers.
// Routes beyond a document's MAX_DOC_ROUTES are dropped. Returns false when the upload
// replaces nothing.
bool StoreUnitUpload(const UnitProfile& unit, const std::vector<UnitPacket>& packets,
                     uint16_t command, GpsRecords& records);

// Cuts `records` to what the unit holds: at most its counts of waypoints, routes, points
// per route and track points (the ones at the end go), and every record as the unit's types
// carry it (names and comments cut, what a type has no field for gone). Returns a note
// (German) for every count that was cut. Throws DataTypeError for a unit whose types the
// program cannot write (none of KnownUnits()).
std::vector<std::string> AdaptToUnit(const UnitProfile& unit, GpsRecords& records);

// A few waypoints, one or two routes and two tracks near Zug, as the unit holds them.
GpsRecords UnitSampleRecords(const UnitProfile& unit);
