#include "cli/OrvdJson.h"

#include "framework/Cp1252.h"
#include "gps/Geodesy.h"

using nlohmann::json;

json WaypointJson(const WaypointRecord& w)
{
    return {
        {"ident", Cp1252ToUtf8(WaypointIdent(w))},
        {"comment", Cp1252ToUtf8(WaypointComment(w))},
        {"latitude", SemicirclesToDegrees(w.latitude)},
        {"longitude", SemicirclesToDegrees(w.longitude)},
        {"latitudeSemicircles", int32_t{w.latitude}},
        {"longitudeSemicircles", int32_t{w.longitude}},
        {"symbol", int{w.symbol}},
        {"display", int{w.display}},
    };
}

json TrackpointJson(const TrackpointRecord& t)
{
    return {
        {"latitude", SemicirclesToDegrees(t.latitude)},
        {"longitude", SemicirclesToDegrees(t.longitude)},
        {"latitudeSemicircles", int32_t{t.latitude}},
        {"longitudeSemicircles", int32_t{t.longitude}},
        {"time", uint32_t{t.time}},
        {"newTrack", t.newTrack != 0},
    };
}

json DataDocJson(const CDataDoc& doc)
{
    json waypoints = json::array();
    for (const WaypointRecord& w : doc.Waypoints()) {
        waypoints.push_back(WaypointJson(w));
    }
    json trackpoints = json::array();
    for (const TrackpointRecord& t : doc.Trackpoints()) {
        trackpoints.push_back(TrackpointJson(t));
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
        {"correctionSets", std::move(corrections)},
        {"gridPresets", std::move(grids)},
    };
}
