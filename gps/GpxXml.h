#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <pugixml.hpp>

// What the GPX reader and writer share: the namespaces of the maker's extensions, the names
// it gives colours, display modes and categories, and measured values as text. Private to
// gps/GpxRead.cpp and gps/GpxWrite.cpp.
namespace gpx {

constexpr const char* kGpxNamespace = "http://www.topografix.com/GPX/1/1";
// The maker's GpxExtensions v3 (waypoint, route and track extensions) and its
// TrackPointExtension v1 (air temperature and depth of track points).
constexpr const char* kGpxxNamespace = "http://www.garmin.com/xmlschemas/GpxExtensions/v3";
constexpr const char* kTpxNamespace = "http://www.garmin.com/xmlschemas/TrackPointExtension/v1";
// This program's own elements, for what neither GPX nor the maker's extensions carry: a
// waypoint's colour, class, subclass, facility and cross road (<orvi:WaypointDetails>), a
// hidden track (<orvi:TrackDetails><orvi:Display>), the link from a route point to the next
// (<orvi:RouteLink>). Their local names differ from the maker's, as the reader compares
// local names only.
constexpr const char* kOwnNamespace = "urn:x-orviedit:gpx-extensions:1";

// The DisplayColor names; their order is that of the colour numbers of waypoints (D108)
// and track headers (D310, D312): 0 black to 15 white, 16 transparent. nullptr for any
// other number (COLOUR_DEFAULT among them).
const char* ColourName(uint8_t colour);
// Any case; nothing for other names.
std::optional<uint8_t> ColourByName(std::string_view name);

// DisplayMode: "SymbolAndName", "SymbolOnly", "SymbolAndDescription" for the record's
// display 0, 1 and 2; nullptr beyond.
const char* DisplayModeName(uint8_t display);
std::optional<uint8_t> DisplayByModeName(std::string_view name);

// A waypoint's categories are a set of 16 bits; the receivers and GPSBabel name bit n
// "Category n+1" when the user gave the category no name of its own.
std::string CategoryName(int bit);
std::optional<int> CategoryBit(std::string_view name);

// Bytes as upper-case hex digits, and back: nothing unless the text is exactly `size` bytes.
std::string HexOfBytes(const uint8_t* bytes, size_t size);
bool BytesOfHex(std::string_view text, uint8_t* bytes, size_t size);

bool SameIgnoringCase(std::string_view a, std::string_view b);  // ASCII letters
std::string_view TrimSpace(std::string_view text);

// Element names compared without a namespace prefix ("gpx:wpt" is "wpt"): the reader takes
// the maker's elements under whatever prefix a file binds to their namespace.
std::string_view LocalName(const pugi::xml_node& node);
pugi::xml_node Child(const pugi::xml_node& node, std::string_view name);
// The child's text without surrounding white space; empty when there is no such child.
std::string_view ChildText(const pugi::xml_node& node, std::string_view name);

// An xsd:decimal ("-12.5", "+3", " 1e-3 " is taken too); nothing for anything else.
std::optional<double> ParseDecimal(std::string_view text);

// A measured value (altitude, depth, proximity, temperature) as the shortest decimal that
// reads back as the same float, never in exponent form.
std::string FormatMeasure(float value);
// The value a text gives, or VALUE_NONE when it is no number or one a receiver does not hold
// as known: not a number, infinite, or of a magnitude of 1e24 or more (where the receivers'
// "unknown" 1e25 lies). Such values are kept as unknown, not clamped.
float ParseMeasure(std::string_view text);

}  // namespace gpx
