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

// How a PacketAssembler reads. Strict, as the host reads a receiver's downloads: every
// packet as long as its type says; a route waypoint or link before a route's header and
// more routes than a document's MAX_DOC_ROUTES are errors. Lenient, as the simulated units
// take the host's uploads, the way the GPS 12 always did: the types of fixed layout cut or
// zero-filled to their size (see CheckUnitPacket), route waypoints without a header start
// a route, a link before the route's first waypoint is ignored, routes beyond
// MAX_DOC_ROUTES are dropped with all route packets after them, and the first track point
// of a unit with track headers starts a track.
enum class PacketReading { Strict, Lenient };

// The records a transfer's packets give, taken in order: waypoints, track headers and
// points (a point after a header starts a track, newTrack set, and has the header's name,
// colour and display), route headers, route waypoints and links (a link leads from the
// route's last waypoint). Packets of other ids are ignored.
class PacketAssembler {
public:
    PacketAssembler(const UnitProtocols& protocols, PacketReading reading);
    // The waypoints fill `count` slots in order; a slot no packet fills stays zero.
    void WaypointSlots(int count) { waypointSlots_ = static_cast<size_t>(count); }
    // Throws DataTypeError for a packet that cannot be what its type says, and for what
    // the reading does not allow.
    void Take(uint8_t id, const uint8_t* data, size_t size);
    // What was taken; the waypoint and track point details only when one of them says more
    // than its record.
    GpsRecords Finish();

private:
    void TakeRoutePacket(uint8_t id, const uint8_t* data, size_t size);

    UnitProtocols protocols_;
    bool lenient_;
    GpsRecords records_;
    size_t waypointSlots_ = 0;
    TrackpointDetails trackHead_;
    bool trackStarts_;         // the next track point starts a track
    bool routesFull_ = false;  // the routes beyond a document's are dropped
};

// The kinds of records an upload of these packets (each passed by CheckUnitPacket) replaces:
// those it has packets of, and with none the kind that `command` (its transfer-complete
// packet's) names; the packets are read as a PacketAssembler reads them leniently. Returns
// false when the upload replaces nothing.
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
