#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "gps/RichRecords.h"

// The data types of the receivers' packets (the numbers their protocol array names after
// each application protocol: D103 waypoints, D301 track points, D202 route headers, ...)
// to and from the program's records and details. The bytes are a packet's data, without
// its id, size and checksum: packed, little-endian, texts Windows-1252.
//
// Decoding takes outside data: every length is checked, and data that cannot be what its
// type says throws DataTypeError; nothing is read beyond `size`. Floats and times are
// copied bit for bit (1.0e25 and 0xFFFFFFFF, "unknown", stay what they are). For every
// packet whose fields the model holds, encoding what was decoded gives the same bytes.
// A text longer than the model holds is cut to it.

// Data that cannot be what its type says, or a type the program does not know. what():
// a German sentence that begins with the type, "D108: Text ohne abschließendes Nullbyte".
class DataTypeError : public std::runtime_error {
public:
    using runtime_error::runtime_error;
};

// The most data bytes a packet carries; no encoder writes more, no decoder takes more.
constexpr size_t DATA_TYPE_MAX_SIZE = 255;

// Waypoints: D100 to D110.
//
// The fixed-layout types (D100 to D104, D107) carry the record's ident and comment as
// they are. D105, D106 and D108 to D110 carry whole names: decoding gives the record its
// ident by the program's ident rule (SetWaypointName), encoding writes WaypointName (an
// ident without the blanks that pad it) and WaypointLongComment. D103 and D107 carry the record's
// 16 symbols, D101, D102, D104 and the later types full-table symbols; D100 has none (the dot).
//
// Display: D103, D107 and D108 hold the record's display byte as it is. D104's numbers
// (1 symbol only, 3 with name, 5 with comment; 0 "symbol by itself" reads as 1) and bits
// 5-6 of the D109/D110 colour byte map to the record's; what a type does not know reads as
// symbol + name.
//
// Colour: D107 knows default, red, green and blue (read as the palette's red, green and
// blue; written from the nearest of those, others as default); D108 and the D109/D110
// colour bits hold the details' 0 to 15, with 0xFF (D108) and 0x1F (D109, D110) for
// COLOUR_DEFAULT. Any other colour, D110's transparent too, reads as COLOUR_DEFAULT.
//
// What the model does not hold is written as a constant: the unused word of the old types
// 0, D109's and D110's estimated time en route 0xFFFFFFFF, D106's link ident empty; the
// type and attribute bytes (D108 0x60, D109 0x01 and 0x70, D110 0x01 and 0x80) are
// written as their type wants them and not looked at when reading.
bool KnownWaypointType(int type);

// The most characters of ident and comment a unit takes (0: what the type holds). They
// cut what is written of WaypointName / WaypointLongComment, or of the record's fields for
// the fixed-layout types.
struct StringLimits {
    int ident = 0;
    int comment = 0;
};

// The strings of D108 to D110 are cut, the last first, so that a packet holds at most
// DATA_TYPE_MAX_SIZE bytes. Throws DataTypeError for an unknown type.
std::vector<uint8_t> EncodeWaypoint(int type, const WaypointRecord& record,
                                    const WaypointDetails& details, StringLimits limits = {});
// Replaces all of `record` and `details`. Throws DataTypeError.
void DecodeWaypoint(int type, const uint8_t* data, size_t size, WaypointRecord& record,
                    WaypointDetails& details);

// Track points: D300, D301 (with altitude and depth), D302 (and temperature), D303 (altitude
// and a heart rate, written 0 "none" and not read; no new-track byte: decoding gives 0).
bool KnownTrackPointType(int type);
std::vector<uint8_t> EncodeTrackPoint(int type, const TrackpointRecord& record,
                                      const TrackpointDetails& details);
// Replaces `record` and the altitude, depth and temperature of `details` (VALUE_NONE where
// the type has none); the track's name, colour and display are left for the header.
void DecodeTrackPoint(int type, const uint8_t* data, size_t size, TrackpointRecord& record,
                      TrackpointDetails& details);

// Track headers: D310 (display, colour 0 to 15, name), D311 (a number), D312 (as D310,
// colour 16 transparent too). They go into the track's first point's name, colour and
// display: D311's number becomes the name, in decimal digits, with the default colour,
// shown. Encoding D311 writes `trackIndex` (0 to 65535, else DataTypeError); the other
// types ignore it.
bool KnownTrackHeaderType(int type);
std::vector<uint8_t> EncodeTrackHeader(int type, const TrackpointDetails& first, int trackIndex);
// Replaces the track's name, colour and display in `first`; leaves the point's values.
void DecodeTrackHeader(int type, const uint8_t* data, size_t size, TrackpointDetails& first);

// Route headers: D200 (a number), D201 (number and a 20-byte comment, the route's name),
// D202 (a name). D202 has no number: the route takes `routeIndex`, its place in the
// transfer (0 to 254, as a document numbers routes; else DataTypeError).
bool KnownRouteHeaderType(int type);
std::vector<uint8_t> EncodeRouteHeader(int type, const RouteHeader& header);
RouteHeader DecodeRouteHeader(int type, const uint8_t* data, size_t size, int routeIndex);

// The link between two route points: D210 only.
bool KnownRouteLinkType(int type);
std::vector<uint8_t> EncodeRouteLink(int type, const RouteLink& link);
RouteLink DecodeRouteLink(int type, const uint8_t* data, size_t size);
