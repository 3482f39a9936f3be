#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "gps/ReceiverProfile.h"

// One entry of a protocol array: its tag ('P' physical, 'L' link, 'A' application protocol,
// 'D' data type of the application protocol before it) and its number.
struct ProtocolEntry {
    char tag = 'A';
    uint16_t number = 0;

    bool operator==(const ProtocolEntry&) const = default;
};

// The entry as the maker writes it: "A010", "D108", "A1000".
std::string ProtocolName(const ProtocolEntry& entry);

// A protocol array that cannot be read. The text (German) says what is wrong with it.
class ProtocolArrayError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The protocols and data types a unit speaks: from its protocol array (packet 253) or, for
// units without one, from the table of known products. Numbers as the array gives them (108
// for D108); 0: the unit has no such protocol. A field holds only a protocol the program
// knows: link L001 or L002; waypoints A100; routes A200 (header and waypoint type) or A201
// (header, waypoint and link type); tracks A300 (point type), A301 or A302 (header and point
// type); time A600; PVT A800.
struct UnitProtocols {
    bool fromArray = false;  // the unit sent them; else they come from the program's table
    int link = 0;
    int waypoints = 0;
    int waypointType = 0;
    int routes = 0;
    int routeHeaderType = 0;
    int routeWaypointType = 0;
    int routeLinkType = 0;  // A201 only
    int tracks = 0;
    int trackHeaderType = 0;  // A301 and A302 only
    int trackPointType = 0;
    int time = 0;
    int timeType = 0;
    int pvt = 0;
    int pvtType = 0;
    // What the program does not use, each protocol followed by its data types, in the order
    // EncodeProtocolArray writes them: P000, A010, A400 D403, A500 D501, ... A protocol of the
    // fields above that names more data types than it has is kept here too, and not used:
    // the program cannot know what its extra types would change.
    std::vector<ProtocolEntry> others;

    bool operator==(const UnitProtocols&) const = default;
};

// Reads the payload of packet 253 (3 bytes an entry: tag, number u16 little-endian). Throws
// ProtocolArrayError for a length that is not a multiple of 3, a tag other than P L A D, a
// data type that follows no application protocol, a protocol listed twice, two protocols
// for the same thing (A200 and A201, L001 and L002), and a protocol of the fields above
// with fewer data types than it needs. An empty array is a unit that speaks nothing.
UnitProtocols ParseProtocolArray(const uint8_t* data, size_t size);

// The payload of packet 253 for `protocols`: the physical, link and application protocols
// in ascending order, each followed by its data types, as the maker's units send them.
// ParseProtocolArray reads it back as `protocols` (with fromArray set). A packet carries
// 255 bytes: 85 entries; a longer list is the caller's to refuse.
std::vector<uint8_t> EncodeProtocolArray(const UnitProtocols& protocols);

// The entries in the order of EncodeProtocolArray, separated by blanks:
// "P000 L001 A010 A100 D108 A201 D202 D108 D210 ..."; empty when there are none.
std::string DescribeProtocols(const UnitProtocols& protocols);

// What a unit holds and how it talks: the product data it sends, its protocols and limits.
struct UnitProfile {
    const char* model;  // the simulator's name for it: "gps12", "etrex", ...
    const char* name;   // "GPS 12", "eTrex", ...
    // As its product data (packet 255) sends them; the version in hundredths.
    uint16_t productId;
    int16_t softwareVersion;
    const char* description;
    bool sendsProtocolArray;  // after the product data; else ProtocolsOfProduct knows it
    UnitProtocols protocols;
    int nameLength;  // characters of a waypoint's name
    ReceiverProfile::NameCharacters nameCharacters;
    int commentLength;  // characters of a waypoint's comment
    int maxWaypoints;
    int maxRoutes;
    int maxRoutePoints;  // per route
    int maxTrackpoints;
    int fastestBaud;  // 9600 for a unit that cannot switch to a faster line
};

// The units the program knows, the GPS 12 first. Made on the first call; safe from any thread.
std::span<const UnitProfile> KnownUnits();
// The known unit of that simulator name; null when there is none.
const UnitProfile* UnitByModel(std::string_view model);

// The protocols of a unit that sent no protocol array, from the maker's table of such
// products (by product id, and for product 77 by software version); nothing for a product
// the table does not hold.
// The receiver profile (gps/ReceiverProfile.h) a document downloaded from a unit follows:
// the known unit of that product id, else the generic profile its waypoint type holds
// names for ("gps12" for the fixed six-character idents, "named50" for whole names).
std::string ReceiverIdOf(const UnitProtocols& protocols, uint16_t productId);

std::optional<UnitProtocols> ProtocolsOfProduct(uint16_t productId, int16_t softwareVersion);
