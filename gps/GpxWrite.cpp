// GPX export: FormatGpx and WriteGpxFile.

#include <algorithm>
#include <charconv>
#include <cstring>
#include <sstream>

#include "framework/ByteStream.h"
#include "framework/Cp1252.h"
#include "gps/Geodesy.h"
#include "gps/Gpx.h"
#include "gps/GpxXml.h"
#include "gps/TrackTime.h"

namespace {

std::string FormatDegrees(double degrees)
{
    char text[32];
    auto result = std::to_chars(text, text + sizeof text, degrees, std::chars_format::fixed, 9);
    return std::string(text, result.ptr);
}

template <size_t N>
std::string_view FieldOf(const char (&field)[N])
{
    return WithoutTrailingBlanks(FieldText(field, N));
}

void AppendText(pugi::xml_node& parent, const char* name, std::string_view cp1252)
{
    parent.append_child(name).text() = Cp1252ToUtf8(cp1252).c_str();
}

void AppendTextIfAny(pugi::xml_node& parent, const char* name, std::string_view cp1252)
{
    if (!cp1252.empty()) {
        AppendText(parent, name, cp1252);
    }
}

void AppendMeasure(pugi::xml_node& parent, const char* name, float value)
{
    if (HasValue(value)) {
        parent.append_child(name).text() = gpx::FormatMeasure(value).c_str();
    }
}

void AppendTime(pugi::xml_node& parent, uint32_t time)
{
    if (time != TIME_NONE) {
        parent.append_child("time").text() = FormatIso8601Utc(TrackTimeToUnix(time)).c_str();
    }
}

bool HasAddress(const WaypointDetails& d)
{
    return !FieldOf(d.address).empty() || !FieldOf(d.city).empty() || !FieldOf(d.state).empty() ||
           !FieldOf(d.country).empty();
}

class GpxWriter {
public:
    explicit GpxWriter(const GpsRecords& records) : records_(records) {}
    std::string Write(int* adjusted);

private:
    void AppendPosition(pugi::xml_node& point, int32_t latitude, int32_t longitude);
    pugi::xml_node AppendPoint(pugi::xml_node& parent, const char* element,
                               const WaypointRecord& record, const WaypointDetails& details);
    void AppendWaypointExtension(pugi::xml_node& point, const WaypointRecord& record,
                                 const WaypointDetails& details);
    // What the maker's extensions do not carry.
    void AppendOwnWaypointDetails(pugi::xml_node& point, const WaypointDetails& details);
    void AppendRouteLink(pugi::xml_node& point, const RouteLink& link);
    void AppendTracks(pugi::xml_node& root);
    // The element `name` inside the node's <extensions>, which is made when missing.
    pugi::xml_node AppendExtension(pugi::xml_node& node, const char* name);

    const GpsRecords& records_;
    int outside_ = 0;
    bool usesGpxx_ = false;
    bool usesTpx_ = false;
    bool usesOwn_ = false;
};

bool IsUserSubclass(const uint8_t (&subclass)[18])
{
    return std::memcmp(subclass, NoWaypointDetails().subclass, sizeof subclass) == 0;
}

// Semicircles reach 180 degrees of latitude, GPX 90: beyond that, the pole is written and
// counted.
void GpxWriter::AppendPosition(pugi::xml_node& point, int32_t latitude, int32_t longitude)
{
    constexpr int32_t kPole = 1 << 30;
    const int32_t written = std::clamp(latitude, -kPole, kPole);
    point.append_attribute("lat") = FormatDegrees(SemicirclesToDegrees(written)).c_str();
    point.append_attribute("lon") = FormatDegrees(SemicirclesToDegrees(longitude)).c_str();
    outside_ += written != latitude ? 1 : 0;
}

pugi::xml_node GpxWriter::AppendExtension(pugi::xml_node& node, const char* name)
{
    pugi::xml_node extensions = node.child("extensions");
    if (!extensions) {
        extensions = node.append_child("extensions");
    }
    return extensions.append_child(name);
}

pugi::xml_node GpxWriter::AppendPoint(pugi::xml_node& parent, const char* element,
                                      const WaypointRecord& w, const WaypointDetails& d)
{
    pugi::xml_node point = parent.append_child(element);
    AppendPosition(point, w.latitude, w.longitude);
    AppendMeasure(point, "ele", d.altitude);
    AppendTime(point, d.time);
    AppendText(point, "name", WithoutTrailingBlanks(WaypointName(w, d)));
    AppendTextIfAny(point, "cmt", WithoutTrailingBlanks(WaypointLongComment(w, d)));
    const char* symbol = SymbolName(WaypointFullSymbol(w, d));
    point.append_child("sym").text() =
        symbol ? symbol : SymbolName(FullSymbolOfRecordSymbol(w.symbol));
    AppendWaypointExtension(point, w, d);
    AppendOwnWaypointDetails(point, d);
    return point;
}

void GpxWriter::AppendOwnWaypointDetails(pugi::xml_node& point, const WaypointDetails& d)
{
    const char* colour = gpx::ColourName(d.colour);
    const bool subclass = !IsUserSubclass(d.subclass);
    if (!colour && d.wptClass == 0 && !subclass && FieldOf(d.facility).empty() &&
        FieldOf(d.crossRoad).empty()) {
        return;
    }
    usesOwn_ = true;
    pugi::xml_node own = AppendExtension(point, "orvi:WaypointDetails");
    if (colour) {
        own.append_child("orvi:Colour").text() = colour;
    }
    if (d.wptClass != 0) {
        own.append_child("orvi:Class").text() = d.wptClass;
    }
    if (subclass) {
        own.append_child("orvi:Subclass").text() =
            gpx::HexOfBytes(d.subclass, sizeof d.subclass).c_str();
    }
    AppendTextIfAny(own, "orvi:Facility", FieldOf(d.facility));
    AppendTextIfAny(own, "orvi:CrossRoad", FieldOf(d.crossRoad));
}

void GpxWriter::AppendRouteLink(pugi::xml_node& point, const RouteLink& link)
{
    const RouteLink& none = NoRouteLink();
    const bool subclass = !IsUserSubclass(link.subclass);
    if (link.linkClass == none.linkClass && !subclass && FieldOf(link.ident).empty()) {
        return;
    }
    usesOwn_ = true;
    pugi::xml_node own = AppendExtension(point, "orvi:RouteLink");
    own.append_child("orvi:Class").text() = link.linkClass;
    if (subclass) {
        own.append_child("orvi:Subclass").text() =
            gpx::HexOfBytes(link.subclass, sizeof link.subclass).c_str();
    }
    AppendTextIfAny(own, "orvi:Ident", FieldOf(link.ident));
}

void GpxWriter::AppendWaypointExtension(pugi::xml_node& point, const WaypointRecord& w,
                                        const WaypointDetails& d)
{
    const char* display =
        w.display != DISPLAY_SYMBOL_NAME ? gpx::DisplayModeName(w.display) : nullptr;
    if (!HasValue(d.proximity) && !HasValue(d.temperature) && !HasValue(d.depth) && !display &&
        d.category == 0 && !HasAddress(d)) {
        return;
    }
    usesGpxx_ = true;
    pugi::xml_node extension = AppendExtension(point, "gpxx:WaypointExtension");
    AppendMeasure(extension, "gpxx:Proximity", d.proximity);
    AppendMeasure(extension, "gpxx:Temperature", d.temperature);
    AppendMeasure(extension, "gpxx:Depth", d.depth);
    if (display) {
        extension.append_child("gpxx:DisplayMode").text() = display;
    }
    if (d.category != 0) {
        pugi::xml_node categories = extension.append_child("gpxx:Categories");
        for (int bit = 0; bit < 16; ++bit) {
            if (d.category & (1u << bit)) {
                categories.append_child("gpxx:Category").text() = gpx::CategoryName(bit).c_str();
            }
        }
    }
    if (HasAddress(d)) {
        pugi::xml_node address = extension.append_child("gpxx:Address");
        AppendTextIfAny(address, "gpxx:StreetAddress", FieldOf(d.address));
        AppendTextIfAny(address, "gpxx:City", FieldOf(d.city));
        AppendTextIfAny(address, "gpxx:State", FieldOf(d.state));
        AppendTextIfAny(address, "gpxx:Country", FieldOf(d.country));
    }
}

void GpxWriter::AppendTracks(pugi::xml_node& root)
{
    pugi::xml_node track;
    pugi::xml_node segment;
    const auto& details = records_.trackpointDetails;
    for (size_t i = 0; i < records_.trackpoints.size(); ++i) {
        const TrackpointRecord& t = records_.trackpoints[i];
        const TrackpointDetails& d = i < details.size() ? details[i] : NoTrackpointDetails();
        bool starts = !segment || t.newTrack;
        std::string_view name = FieldOf(d.trackName);
        const char* colour = gpx::ColourName(d.trackColour);
        const bool hidden = d.trackDisplay == 0;
        if (!track || (starts && (!name.empty() || colour || hidden))) {
            track = root.append_child("trk");
            AppendTextIfAny(track, "name", name);
            if (colour) {
                usesGpxx_ = true;
                AppendExtension(track, "gpxx:TrackExtension")
                    .append_child("gpxx:DisplayColor")
                    .text() = colour;
            }
            if (hidden) {
                usesOwn_ = true;
                AppendExtension(track, "orvi:TrackDetails").append_child("orvi:Display").text() =
                    "false";
            }
            segment = pugi::xml_node();
        }
        if (!segment || t.newTrack) {
            segment = track.append_child("trkseg");
        }
        pugi::xml_node point = segment.append_child("trkpt");
        AppendPosition(point, t.latitude, t.longitude);
        AppendMeasure(point, "ele", d.altitude);
        AppendTime(point, t.time);
        if (HasValue(d.temperature) || HasValue(d.depth)) {
            usesTpx_ = true;
            pugi::xml_node extension = AppendExtension(point, "gpxtpx:TrackPointExtension");
            AppendMeasure(extension, "gpxtpx:atemp", d.temperature);
            AppendMeasure(extension, "gpxtpx:depth", d.depth);
        }
    }
}

std::string GpxWriter::Write(int* adjusted)
{
    pugi::xml_document document;
    pugi::xml_node declaration = document.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    pugi::xml_node root = document.append_child("gpx");
    root.append_attribute("version") = "1.1";
    root.append_attribute("creator") = "OrviEdit";
    root.append_attribute("xmlns") = gpx::kGpxNamespace;

    const auto& waypointDetails = records_.waypointDetails;
    for (size_t i = 0; i < records_.waypoints.size(); ++i) {
        AppendPoint(root, "wpt", records_.waypoints[i],
                    i < waypointDetails.size() ? waypointDetails[i] : NoWaypointDetails());
    }
    for (const Route& route : records_.routes) {
        pugi::xml_node rte = root.append_child("rte");
        AppendTextIfAny(rte, "name", FieldOf(route.header.name));
        rte.append_child("number").text() = route.header.number;
        for (size_t i = 0; i < route.points.size(); ++i) {
            const RoutePoint& p = route.points[i];
            pugi::xml_node point = AppendPoint(rte, "rtept", p.record, p.details);
            if (i + 1 < route.points.size()) {
                AppendRouteLink(point, p.link);
            }
        }
    }
    AppendTracks(root);
    if (usesGpxx_) {
        root.append_attribute("xmlns:gpxx") = gpx::kGpxxNamespace;
    }
    if (usesTpx_) {
        root.append_attribute("xmlns:gpxtpx") = gpx::kTpxNamespace;
    }
    if (usesOwn_) {
        root.append_attribute("xmlns:orvi") = gpx::kOwnNamespace;
    }

    std::ostringstream out;
    document.save(out, "  ", pugi::format_default | pugi::format_no_declaration,
                  pugi::encoding_utf8);
    out << "\n";
    // A carriage return in a text stays one only as a character reference: a reader of
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
        *adjusted = outside_;
    }
    return text;
}

}  // namespace

std::string AdjustedPointsText(int count)
{
    return "Bei " + std::to_string(count) + " " + (count == 1 ? "Punkt" : "Punkten") +
           " lag die Breite jenseits von ±90°; sie wurde als ±90° geschrieben.";
}

std::string FormatGpx(const GpsRecords& records, int* adjusted)
{
    return GpxWriter(records).Write(adjusted);
}

int WriteGpxFile(const std::string& path, const GpsRecords& records)
{
    int adjusted = 0;
    std::string text = FormatGpx(records, &adjusted);
    AtomicFileOutputStream file(path);
    file.Write(text.data(), text.size());
    file.Commit();
    return adjusted;
}
