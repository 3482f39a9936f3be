#include "cli/OrvdJson.h"

#include <charconv>
#include <cstdlib>

#include "framework/Cp1252.h"
#include "gps/Geodesy.h"

using nlohmann::json;

namespace {

// A float as the shortest decimal that reads back as it (433.25, not 433.2500000001),
// null when unknown.
json FloatJson(float value)
{
    if (!HasValue(value)) {
        return nullptr;
    }
    char text[32];
    auto end = std::to_chars(text, text + sizeof text - 1, value).ptr;
    *end = 0;
    return std::strtod(text, nullptr);
}

json TimeJson(uint32_t time)
{
    return time == TIME_NONE ? json(nullptr) : json(time);
}

}  // namespace

json WaypointJson(const WaypointRecord& w, const WaypointDetails& details)
{
    return {
        {"ident", Cp1252ToUtf8(WaypointIdent(w))},
        {"name", Cp1252ToUtf8(WaypointName(w, details))},
        {"comment", Cp1252ToUtf8(WaypointComment(w))},
        {"latitude", SemicirclesToDegrees(w.latitude)},
        {"longitude", SemicirclesToDegrees(w.longitude)},
        {"latitudeSemicircles", int32_t{w.latitude}},
        {"longitudeSemicircles", int32_t{w.longitude}},
        {"symbol", int{w.symbol}},
        {"display", int{w.display}},
        {"altitude", FloatJson(details.altitude)},
        {"depth", FloatJson(details.depth)},
        {"time", TimeJson(details.time)},
    };
}

json TrackpointJson(const TrackpointRecord& t, const TrackpointDetails& details)
{
    return {
        {"latitude", SemicirclesToDegrees(t.latitude)},
        {"longitude", SemicirclesToDegrees(t.longitude)},
        {"latitudeSemicircles", int32_t{t.latitude}},
        {"longitudeSemicircles", int32_t{t.longitude}},
        {"time", uint32_t{t.time}},
        {"newTrack", t.newTrack != 0},
        {"altitude", FloatJson(details.altitude)},
    };
}

namespace {

// The tracks: a point with newTrack set (and the first) starts one; its name and colour are
// that point's.
json TracksJson(const CDataDoc& doc)
{
    json tracks = json::array();
    const auto& points = doc.Trackpoints();
    for (size_t i = 0; i < points.size(); ++i) {
        if (i > 0 && !points[i].newTrack) {
            tracks.back()["count"] = tracks.back()["count"].get<int>() + 1;
            continue;
        }
        const TrackpointDetails& d = doc.TrackpointDetailsAt(static_cast<int32_t>(i));
        tracks.push_back({
            {"name", Cp1252ToUtf8(FieldText(d.trackName, sizeof d.trackName))},
            {"color", d.trackColour == COLOUR_DEFAULT ? json(nullptr) : json(d.trackColour)},
            {"first", i},
            {"count", 1},
        });
    }
    return tracks;
}

json RoutesJson(const CDataDoc& doc)
{
    json routes = json::array();
    for (const Route& route : doc.Routes()) {
        json points = json::array();
        for (const RoutePoint& p : route.points) {
            points.push_back(WaypointJson(p.record, p.details));
        }
        routes.push_back({
            {"number", route.header.number},
            {"name", Cp1252ToUtf8(FieldText(route.header.name, sizeof route.header.name))},
            {"points", std::move(points)},
        });
    }
    return routes;
}

}  // namespace

json DataDocJson(const CDataDoc& doc)
{
    json waypoints = json::array();
    for (int32_t i = 0; i < doc.waypointCount(); ++i) {
        waypoints.push_back(WaypointJson(doc.Waypoints()[static_cast<size_t>(i)],
                                         doc.WaypointDetailsAt(i)));
    }
    json trackpoints = json::array();
    for (int32_t i = 0; i < doc.trackpointCount(); ++i) {
        trackpoints.push_back(TrackpointJson(doc.Trackpoints()[static_cast<size_t>(i)],
                                             doc.TrackpointDetailsAt(i)));
    }
    json corrections = json::array();
    for (int i = 0; i < doc.correctionSets.Count(); ++i) {
        const MapCorrectionSet& set = doc.correctionSets.At(i);
        corrections.push_back({
            {"name", Cp1252ToUtf8(FieldText(set.name, sizeof set.name))},
            {"rotation", double{set.rotation}},
            {"scale", double{set.scale}},
            {"reference", WaypointJson(set.reference)},
            {"target", WaypointJson(set.target)},
        });
    }
    json grids = json::array();
    for (int i = 0; i < doc.gridPresets.Count(); ++i) {
        const GridScalePreset& preset = doc.gridPresets.At(i);
        grids.push_back({
            {"name", Cp1252ToUtf8(FieldText(preset.name, sizeof preset.name))},
            {"latitudeScale", double{preset.latitudeScale}},
            {"longitudeScale", double{preset.longitudeScale}},
        });
    }
    return {
        {"format", "orvd"},
        {"waypoints", std::move(waypoints)},
        {"trackpoints", std::move(trackpoints)},
        {"tracks", TracksJson(doc)},
        {"routes", RoutesJson(doc)},
        {"correctionSets", std::move(corrections)},
        {"gridPresets", std::move(grids)},
    };
}
