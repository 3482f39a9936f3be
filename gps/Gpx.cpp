#include "gps/Gpx.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <sstream>
#include <utility>

#include <pugixml.hpp>

#include "framework/ByteStream.h"
#include "framework/Cp1252.h"
#include "gps/CDataDoc.h"
#include "gps/Geodesy.h"
#include "gps/TrackTime.h"
#include "gps/WaypointName.h"

namespace {

constexpr const char* kGpxNamespace = "http://www.topografix.com/GPX/1/1";

struct SymbolName {
    const char* gpx;     // written, and read back
    const char* short_;  // the symbol list's word, also read
};

constexpr SymbolName kSymbolNames[SYMBOL_COUNT] = {
    {"Waypoint", "dot"},      {"Residence", "house"},
    {"Gas Station", "gas"},   {"Car", "car"},
    {"Fishing Area", "fish"}, {"Marina", "boat"},
    {"Anchor", "anchor"},     {"Shipwreck", "wreck"},
    {"Exit", "exit"},         {"Skull and Crossbones", "skull"},
    {"Flag", "flag"},         {"Campground", "camp"},
    {"Waterfowl", "duck"},    {"Hunting Area", "deer"},
    {"Buoy, White", "buoy"},  {"Temporary", "temp"},
};

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && std::strchr(" \t\r\n", s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && std::strchr(" \t\r\n", s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

// Element names compared without a namespace prefix ("gpx:wpt" is "wpt").
std::string_view LocalName(const pugi::xml_node& node)
{
    std::string_view name = node.name();
    size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

pugi::xml_node Child(const pugi::xml_node& node, std::string_view name)
{
    for (pugi::xml_node child : node.children()) {
        if (child.type() == pugi::node_element && LocalName(child) == name) {
            return child;
        }
    }
    return {};
}

std::string ChildText(const pugi::xml_node& node, std::string_view name)
{
    return std::string(Trim(Child(node, name).child_value()));
}

// Text fields take the first `width` characters that have a Windows-1252 byte. White space
// that the cut leaves at the end goes as well: a text read from a file never ends in it, so
// that the export writes what an import reads back the same.
void SetRecordText(char* field, size_t width, const std::string& utf8)
{
    std::string text = Utf8ToCp1252(utf8);
    SetFieldText(field, width, Trim(std::string_view(text).substr(0, width)));
}

// The ident of a name, left-aligned: characters an ident cannot hold are left out, and with
// them the blanks they leave at its start, which an export could not write so that an
// import keeps them.
std::string IdentOfName(const std::string& utf8)
{
    std::string text = Utf8ToCp1252(utf8);
    std::string_view name(text);
    size_t first = 0;
    while (first < name.size() && NormalizeWaypointIdent(name.substr(first, 1))[0] == ' ') {
        ++first;
    }
    return NormalizeWaypointIdent(name.substr(first));
}

// The point's position in semicircles, or nothing when an attribute is missing, is not a
// number or lies beyond the range of GPX.
std::optional<std::pair<int32_t, int32_t>> Position(const pugi::xml_node& point)
{
    auto coordinate = [&](const char* attribute, double limit) -> std::optional<int32_t> {
        std::string_view text = Trim(point.attribute(attribute).as_string());
        double value = 0;
        auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
            !std::isfinite(value) || std::fabs(value) > limit) {
            return std::nullopt;
        }
        return DegreesToSemicirclesRounded(value);
    };
    std::optional<int32_t> latitude = coordinate("lat", 90);
    std::optional<int32_t> longitude = coordinate("lon", 180);
    if (!latitude || !longitude) {
        return std::nullopt;
    }
    return std::pair{*latitude, *longitude};
}

void CheckCount(size_t count, const char* kind)
{
    if (count > static_cast<size_t>(MAX_DOC_RECORDS)) {
        throw GpxError("Die Datei hält mehr als " + std::to_string(MAX_DOC_RECORDS) + " " + kind +
                       "; ein GPS-Datendokument hält höchstens " + std::to_string(MAX_DOC_RECORDS) +
                       ".");
    }
}

WaypointRecord WaypointFromGpx(const pugi::xml_node& point, std::pair<int32_t, int32_t> position)
{
    WaypointRecord w;
    std::memset(&w, 0, sizeof w);
    w.latitude = position.first;
    w.longitude = position.second;
    std::string ident = IdentOfName(ChildText(point, "name"));
    std::memcpy(w.ident, ident.data(), sizeof w.ident);
    std::string comment = ChildText(point, "cmt");
    if (comment.empty()) {
        comment = ChildText(point, "desc");
    }
    SetRecordText(w.comment, sizeof w.comment, comment);
    w.symbol = static_cast<int16_t>(SymbolFromGpxName(ChildText(point, "sym")));
    w.display = DISPLAY_SYMBOL_NAME;
    return w;
}

TrackpointRecord TrackpointFromGpx(const pugi::xml_node& point,
                                   std::pair<int32_t, int32_t> position, bool newTrack)
{
    TrackpointRecord t;
    t.latitude = position.first;
    t.longitude = position.second;
    t.time = TRACK_TIME_NONE;
    if (auto moment = ParseIso8601(ChildText(point, "time"))) {
        t.time = UnixToTrackTime(*moment).value_or(TRACK_TIME_NONE);
    }
    t.newTrack = newTrack ? 1 : 0;
    return t;
}

std::string FormatDegrees(double degrees)
{
    char text[32];
    auto result = std::to_chars(text, text + sizeof text, degrees, std::chars_format::fixed, 9);
    return std::string(text, result.ptr);
}

// Semicircles reach 180 degrees of latitude, GPX 90: beyond that, the pole is written.
// Returns whether the latitude was changed so.
bool AppendPosition(pugi::xml_node& point, int32_t latitude, int32_t longitude)
{
    constexpr int32_t kPole = 1 << 30;
    const int32_t written = std::clamp(latitude, -kPole, kPole);
    point.append_attribute("lat") = FormatDegrees(SemicirclesToDegrees(written)).c_str();
    point.append_attribute("lon") = FormatDegrees(SemicirclesToDegrees(longitude)).c_str();
    return written != latitude;
}

std::string CountedText(int count, const char* one, const char* many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

void AppendText(pugi::xml_node& parent, const char* name, std::string_view cp1252)
{
    parent.append_child(name).text() = Cp1252ToUtf8(cp1252).c_str();
}

// Idents and comments are padded with blanks to their field; the blanks are no part of
// the name or comment another program reads.
std::string_view WithoutTrailingBlanks(std::string_view text)
{
    return text.substr(0, text.find_last_not_of(' ') + 1);
}

}  // namespace

const char* GpxSymbolName(int symbol)
{
    return symbol >= 0 && symbol < SYMBOL_COUNT ? kSymbolNames[symbol].gpx : kSymbolNames[0].gpx;
}

int SymbolFromGpxName(std::string_view name)
{
    name = Trim(name);
    for (int i = 0; i < SYMBOL_COUNT; ++i) {
        if (EqualsIgnoringCase(name, kSymbolNames[i].gpx) ||
            EqualsIgnoringCase(name, kSymbolNames[i].short_)) {
            return i;
        }
    }
    return 0;
}

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

    GpxData data;
    auto addWaypoint = [&data](const pugi::xml_node& point) {
        if (auto position = Position(point)) {
            data.waypoints.push_back(WaypointFromGpx(point, *position));
            CheckCount(data.waypoints.size(), "Waypoints");
        } else {
            ++data.skipped;
        }
    };
    for (pugi::xml_node node : root.children()) {
        std::string_view name = LocalName(node);
        if (name == "wpt") {
            addWaypoint(node);
        } else if (name == "rte") {
            for (pugi::xml_node point : node.children()) {
                if (LocalName(point) == "rtept") {
                    addWaypoint(point);
                }
            }
        } else if (name == "trk") {
            for (pugi::xml_node segment : node.children()) {
                if (LocalName(segment) != "trkseg") {
                    continue;
                }
                bool first = true;
                for (pugi::xml_node point : segment.children()) {
                    if (LocalName(point) != "trkpt") {
                        continue;
                    }
                    if (auto position = Position(point)) {
                        data.trackpoints.push_back(TrackpointFromGpx(point, *position, first));
                        CheckCount(data.trackpoints.size(), "Trackpoints");
                        first = false;
                    } else {
                        ++data.skipped;
                    }
                }
            }
        }
    }
    return data;
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

std::string AdjustedPointsText(int count)
{
    return "Bei " + CountedText(count, "Punkt", "Punkten") +
           " lag die Breite jenseits von ±90°; sie wurde als ±90° geschrieben.";
}

std::string FormatGpx(const std::vector<WaypointRecord>& waypoints,
                      const std::vector<TrackpointRecord>& trackpoints, int* adjusted)
{
    int outside = 0;
    pugi::xml_document document;
    pugi::xml_node declaration = document.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    pugi::xml_node gpx = document.append_child("gpx");
    gpx.append_attribute("version") = "1.1";
    gpx.append_attribute("creator") = "OrviEdit";
    gpx.append_attribute("xmlns") = kGpxNamespace;

    for (const WaypointRecord& w : waypoints) {
        pugi::xml_node point = gpx.append_child("wpt");
        outside += AppendPosition(point, w.latitude, w.longitude) ? 1 : 0;
        AppendText(point, "name", WithoutTrailingBlanks(WaypointIdent(w)));
        std::string_view comment = WithoutTrailingBlanks(WaypointComment(w));
        if (!comment.empty()) {
            AppendText(point, "cmt", comment);
        }
        point.append_child("sym").text() = GpxSymbolName(w.symbol);
    }

    if (!trackpoints.empty()) {
        pugi::xml_node track = gpx.append_child("trk");
        track.append_child("name").text() = "Track log";
        pugi::xml_node segment;
        for (const TrackpointRecord& t : trackpoints) {
            if (!segment || t.newTrack) {
                segment = track.append_child("trkseg");
            }
            pugi::xml_node point = segment.append_child("trkpt");
            outside += AppendPosition(point, t.latitude, t.longitude) ? 1 : 0;
            if (t.time != TRACK_TIME_NONE) {
                point.append_child("time").text() =
                    FormatIso8601Utc(TrackTimeToUnix(t.time)).c_str();
            }
        }
    }

    std::ostringstream out;
    document.save(out, "  ", pugi::format_default | pugi::format_no_declaration,
                  pugi::encoding_utf8);
    out << "\n";
    // A carriage return in a comment stays one only as a character reference: a reader of
    // XML takes a written one for the end of a line. The writer puts none of its own.
    std::string text;
    for (char c : out.str()) {
        if (c == '\r') {
            text += "&#13;";
        } else {
            text += c;
        }
    }
    if (adjusted) {
        *adjusted = outside;
    }
    return text;
}

int WriteGpxFile(const std::string& path, const std::vector<WaypointRecord>& waypoints,
                 const std::vector<TrackpointRecord>& trackpoints)
{
    int adjusted = 0;
    std::string text = FormatGpx(waypoints, trackpoints, &adjusted);
    AtomicFileOutputStream file(path);
    file.Write(text.data(), text.size());
    file.Commit();
    return adjusted;
}
