// GPX import: ParseGpx and what it tells the user.

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <utility>

#include "framework/ByteStream.h"
#include "framework/Cp1252.h"
#include "gps/CDataDoc.h"
#include "gps/Geodesy.h"
#include "gps/Gpx.h"
#include "gps/GpxXml.h"
#include "gps/TrackTime.h"

namespace {

using gpx::Child;
using gpx::ChildText;
using gpx::LocalName;
using gpx::ParseMeasure;

// A text for a field of `width` bytes: Windows-1252, cut to the field, and without the
// white space the cut leaves at its end, so that the export writes what an import reads
// back the same.
std::string FieldOfText(std::string_view utf8, size_t width)
{
    std::string text = Utf8ToCp1252(utf8);
    return std::string(gpx::TrimSpace(std::string_view(text).substr(0, width)));
}

void SetTextField(char* field, size_t width, std::string_view utf8)
{
    SetFieldText(field, width, FieldOfText(utf8, width));
}

uint32_t TimeOfText(std::string_view text)
{
    if (auto moment = ParseIso8601(text)) {
        return UnixToTrackTime(*moment).value_or(TIME_NONE);
    }
    return TIME_NONE;
}

// The record symbol a `sym` names by the word of the symbol list ("dot", "house", ...), or
// by the names GPX files of GPS 12 documents give the two symbols the full table lacks.
std::optional<int> RecordSymbolByWord(std::string_view name)
{
    for (int s = 0; s < SYMBOL_COUNT; ++s) {
        std::string_view label = SymbolLabel(s);
        if (gpx::SameIgnoringCase(name, label.substr(label.rfind(' ') + 1))) {
            return s;
        }
    }
    if (gpx::SameIgnoringCase(name, "Waterfowl")) {
        return SYMBOL_DUCK;
    }
    if (gpx::SameIgnoringCase(name, "Temporary")) {
        return SYMBOL_TEMP;
    }
    return std::nullopt;
}

// A route's number, or its place among the file's routes when it has none of 0 to 254.
uint8_t RouteNumber(std::string_view text, int place)
{
    std::optional<double> number = gpx::ParseDecimal(text);
    if (number && *number >= 0 && *number <= 254 && *number == static_cast<int>(*number)) {
        return static_cast<uint8_t>(*number);
    }
    return static_cast<uint8_t>(std::min(place, 254));
}

void CheckCount(size_t count, const char* kind)
{
    if (count > static_cast<size_t>(MAX_DOC_RECORDS)) {
        throw GpxError("Die Datei hält mehr als " + std::to_string(MAX_DOC_RECORDS) + " " + kind +
                       "; ein GPS-Datendokument hält höchstens " + std::to_string(MAX_DOC_RECORDS) +
                       ".");
    }
}

template <class Details>
void DropIfAllEmpty(std::vector<Details>& details)
{
    for (const Details& d : details) {
        if (!IsEmpty(d)) {
            return;
        }
    }
    details.clear();
}

std::string CountedText(int count, const char* one, const char* many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// This program's own elements for what the maker's extensions do not carry.
void ReadOwnWaypointDetails(const pugi::xml_node& own, WaypointDetails& d)
{
    if (!own) {
        return;
    }
    if (auto colour = gpx::ColourByName(ChildText(own, "Colour")); colour && *colour < 16) {
        d.colour = *colour;
    }
    if (auto number = gpx::ParseDecimal(ChildText(own, "Class"));
        number && *number >= 0 && *number <= 255 && *number == std::floor(*number)) {
        d.wptClass = static_cast<uint8_t>(*number);
    }
    gpx::BytesOfHex(ChildText(own, "Subclass"), d.subclass, sizeof d.subclass);
    SetTextField(d.facility, sizeof d.facility, ChildText(own, "Facility"));
    SetTextField(d.crossRoad, sizeof d.crossRoad, ChildText(own, "CrossRoad"));
}

RouteLink RouteLinkOf(const pugi::xml_node& own)
{
    RouteLink link = NoRouteLink();
    if (!own) {
        return link;
    }
    if (auto number = gpx::ParseDecimal(ChildText(own, "Class"));
        number && *number >= 0 && *number <= 0xFFFF && *number == std::floor(*number)) {
        link.linkClass = static_cast<uint16_t>(*number);
    }
    gpx::BytesOfHex(ChildText(own, "Subclass"), link.subclass, sizeof link.subclass);
    SetTextField(link.ident, sizeof link.ident, ChildText(own, "Ident"));
    return link;
}

class GpxReader {
public:
    GpxData Read(const pugi::xml_node& root);

private:
    std::optional<SemicirclePosition> PositionOf(const pugi::xml_node& point);
    bool ReadPoint(const pugi::xml_node& point, WaypointRecord& record, WaypointDetails& details);
    void ReadSymbol(std::string_view name, WaypointRecord& record, WaypointDetails& details);
    void ReadRoute(const pugi::xml_node& route);
    void ReadTrack(const pugi::xml_node& track);

    GpxData data_;
    int routesSeen_ = 0;
    size_t routePoints_ = 0;
    bool leavingOutRoutes_ = false;
};

// The point's position, or nothing (counted) when an attribute is missing, is not a number
// or lies beyond the range of GPX.
std::optional<SemicirclePosition> GpxReader::PositionOf(const pugi::xml_node& point)
{
    auto coordinate = [&](const char* attribute, double limit) -> std::optional<int32_t> {
        std::optional<double> value = gpx::ParseDecimal(point.attribute(attribute).as_string());
        if (!value || !std::isfinite(*value) || std::fabs(*value) > limit) {
            return std::nullopt;
        }
        return DegreesToSemicirclesRounded(*value);
    };
    std::optional<int32_t> latitude = coordinate("lat", 90);
    std::optional<int32_t> longitude = coordinate("lon", 180);
    if (!latitude || !longitude) {
        ++data_.skipped;
        return std::nullopt;
    }
    return SemicirclePosition{*latitude, *longitude};
}

bool GpxReader::ReadPoint(const pugi::xml_node& point, WaypointRecord& w, WaypointDetails& d)
{
    std::optional<SemicirclePosition> position = PositionOf(point);
    if (!position) {
        return false;
    }
    std::memset(&w, 0, sizeof w);
    d = NoWaypointDetails();
    w.latitude = position->latitude;
    w.longitude = position->longitude;
    w.display = DISPLAY_SYMBOL_NAME;
    SetWaypointName(w, d, FieldOfText(ChildText(point, "name"), WAYPOINT_NAME_SIZE));
    std::string_view comment = ChildText(point, "cmt");
    if (comment.empty()) {
        comment = ChildText(point, "desc");
    }
    SetWaypointComment(w, d, FieldOfText(comment, WAYPOINT_LONG_COMMENT_SIZE));
    ReadSymbol(ChildText(point, "sym"), w, d);
    d.altitude = ParseMeasure(ChildText(point, "ele"));
    d.time = TimeOfText(ChildText(point, "time"));

    ReadOwnWaypointDetails(Child(Child(point, "extensions"), "WaypointDetails"), d);
    pugi::xml_node extension = Child(Child(point, "extensions"), "WaypointExtension");
    if (!extension) {
        return true;
    }
    d.proximity = ParseMeasure(ChildText(extension, "Proximity"));
    d.temperature = ParseMeasure(ChildText(extension, "Temperature"));
    d.depth = ParseMeasure(ChildText(extension, "Depth"));
    if (auto display = gpx::DisplayByModeName(ChildText(extension, "DisplayMode"))) {
        w.display = *display;
    }
    for (pugi::xml_node category : Child(extension, "Categories").children()) {
        if (LocalName(category) == "Category") {
            if (auto bit = gpx::CategoryBit(gpx::TrimSpace(category.child_value()))) {
                d.category = static_cast<uint16_t>(d.category | (1u << *bit));
            }
        }
    }
    pugi::xml_node address = Child(extension, "Address");
    SetTextField(d.address, sizeof d.address, ChildText(address, "StreetAddress"));
    SetTextField(d.city, sizeof d.city, ChildText(address, "City"));
    for (auto [field, name] : {std::pair{d.state, "State"}, std::pair{d.country, "Country"}}) {
        std::string code = FieldOfText(ChildText(address, name), sizeof d.state + 1);
        if (code.size() <= sizeof d.state) {
            SetFieldText(field, sizeof d.state, code);
        }
    }
    return true;
}

void GpxReader::ReadSymbol(std::string_view name, WaypointRecord& w, WaypointDetails& d)
{
    w.symbol = SYMBOL_DOT;
    if (name.empty()) {
        return;
    }
    if (std::optional<uint16_t> full = SymbolByName(name)) {
        SetWaypointFullSymbol(w, d, *full);
    } else if (std::optional<int> symbol = RecordSymbolByWord(name)) {
        w.symbol = static_cast<int16_t>(*symbol);
    } else {
        ++data_.unknownSymbols;
    }
}

void GpxReader::ReadRoute(const pugi::xml_node& rte)
{
    Route route;
    route.header.number = RouteNumber(ChildText(rte, "number"), routesSeen_++);
    SetTextField(route.header.name, sizeof route.header.name, ChildText(rte, "name"));
    // Points of a route that does not fit are counted, not kept.
    bool fits = !leavingOutRoutes_ && data_.routes.size() < static_cast<size_t>(MAX_DOC_ROUTES);
    size_t points = 0;
    for (pugi::xml_node node : rte.children()) {
        WaypointRecord record;
        WaypointDetails details;
        if (LocalName(node) != "rtept" || !ReadPoint(node, record, details)) {
            continue;
        }
        ++points;
        if (fits && routePoints_ + points > static_cast<size_t>(MAX_DOC_ROUTE_POINTS)) {
            fits = false;
            route.points = {};
        }
        if (fits) {
            route.points.push_back(MakeRoutePoint(record, details));
            route.points.back().link = RouteLinkOf(Child(Child(node, "extensions"), "RouteLink"));
        }
    }
    if (fits && !route.points.empty()) {
        route.points.back().link = NoRouteLink();  // the last point leads nowhere
    }
    if (fits) {
        routePoints_ += points;
        data_.routes.push_back(std::move(route));
    } else {
        leavingOutRoutes_ = true;
        ++data_.routesLeftOut;
        data_.routePointsLeftOut += static_cast<int>(points);
    }
}

void GpxReader::ReadTrack(const pugi::xml_node& trk)
{
    TrackpointDetails header = NoTrackpointDetails();
    SetTextField(header.trackName, sizeof header.trackName, ChildText(trk, "name"));
    pugi::xml_node trackExtension = Child(Child(trk, "extensions"), "TrackExtension");
    if (auto colour = gpx::ColourByName(ChildText(trackExtension, "DisplayColor"))) {
        header.trackColour = *colour;
    }
    pugi::xml_node own = Child(Child(trk, "extensions"), "TrackDetails");
    if (gpx::SameIgnoringCase(ChildText(own, "Display"), "false")) {
        header.trackDisplay = 0;
    }
    bool started = false;
    for (pugi::xml_node segment : trk.children()) {
        if (LocalName(segment) != "trkseg") {
            continue;
        }
        bool first = true;
        for (pugi::xml_node point : segment.children()) {
            std::optional<SemicirclePosition> position;
            if (LocalName(point) != "trkpt" || !(position = PositionOf(point))) {
                continue;
            }
            TrackpointDetails d = started ? NoTrackpointDetails() : header;
            d.altitude = ParseMeasure(ChildText(point, "ele"));
            // TrackPointExtension v1 (atemp, depth) or the one of GpxExtensions v3.
            for (pugi::xml_node e : Child(point, "extensions").children()) {
                if (LocalName(e) != "TrackPointExtension") {
                    continue;
                }
                auto read = [&e](const char* v1, const char* v3) {
                    float value = ParseMeasure(ChildText(e, v1));
                    return HasValue(value) ? value : ParseMeasure(ChildText(e, v3));
                };
                if (!HasValue(d.temperature)) {
                    d.temperature = read("atemp", "Temperature");
                }
                if (!HasValue(d.depth)) {
                    d.depth = read("depth", "Depth");
                }
            }
            data_.trackpoints.push_back({position->latitude, position->longitude,
                                         TimeOfText(ChildText(point, "time")),
                                         static_cast<uint8_t>(first ? 1 : 0)});
            data_.trackpointDetails.push_back(d);
            CheckCount(data_.trackpoints.size(), "Trackpoints");
            first = false;
            started = true;
        }
    }
}

GpxData GpxReader::Read(const pugi::xml_node& root)
{
    for (pugi::xml_node node : root.children()) {
        std::string_view name = LocalName(node);
        if (name == "wpt") {
            WaypointRecord record;
            WaypointDetails details;
            if (ReadPoint(node, record, details)) {
                data_.waypoints.push_back(record);
                data_.waypointDetails.push_back(details);
                CheckCount(data_.waypoints.size(), "Waypoints");
            }
        } else if (name == "rte") {
            ReadRoute(node);
        } else if (name == "trk") {
            ReadTrack(node);
        }
    }
    DropIfAllEmpty(data_.waypointDetails);
    DropIfAllEmpty(data_.trackpointDetails);
    return std::move(data_);
}

}  // namespace

GpxData ParseGpx(std::string_view xml)
{
    pugi::xml_document document;
    pugi::xml_parse_result parsed = document.load_buffer(xml.data(), xml.size());
    if (!parsed) {
        throw GpxError("Die Datei ist kein lesbares XML (Fehler bei Byte " +
                       std::to_string(parsed.offset) + ").");
    }
    pugi::xml_node root = document.document_element();
    if (LocalName(root) != "gpx") {
        throw GpxError("Die Datei ist keine GPX-Datei: ihr äußerstes Element ist \"" +
                       std::string(root.name()) + "\".");
    }
    return GpxReader().Read(root);
}

GpxData ReadGpxFile(const std::string& path)
{
    FileInputStream file(path);
    std::string bytes(file.Remaining(), '\0');
    bytes.resize(file.Read(bytes.data(), bytes.size()));
    return ParseGpx(bytes);
}

std::string SkippedPointsText(int count)
{
    return CountedText(count, "Punkt", "Punkte") + " ohne gültige Position übersprungen";
}

std::vector<std::string> GpxReadNotes(const GpxData& data)
{
    std::vector<std::string> notes;
    if (data.skipped > 0) {
        notes.push_back(SkippedPointsText(data.skipped));
    }
    if (data.unknownSymbols > 0) {
        notes.push_back(
            CountedText(data.unknownSymbols, "unbekannter Symbolname", "unbekannte Symbolnamen") +
            " durch das Symbol \"dot\" ersetzt");
    }
    if (data.routesLeftOut > 0) {
        notes.push_back(CountedText(data.routesLeftOut, "Route", "Routen") + " mit " +
                        CountedText(data.routePointsLeftOut, "Punkt", "Punkten") +
                        " ausgelassen: ein GPS-Datendokument hält höchstens " +
                        std::to_string(MAX_DOC_ROUTES) + " Routen und " +
                        std::to_string(MAX_DOC_ROUTE_POINTS) + " Routenpunkte");
    }
    return notes;
}
