#include <cstdio>
#include <iostream>

#include "cli/Commands.h"
#include "cli/OrvdJson.h"
#include "framework/ArchiveException.h"
#include "framework/Cp1252.h"
#include "gps/Geodesy.h"
#include "gps/TrackTime.h"

namespace {

std::string Position(int32_t latitude, int32_t longitude)
{
    double lat = SemicirclesToDegrees(latitude);
    double lon = SemicirclesToDegrees(longitude);
    char text[64];
    std::snprintf(text, sizeof text, "%c %10.6f  %c %11.6f", lat < 0 ? 'S' : 'N',
                  lat < 0 ? -lat : lat, lon < 0 ? 'W' : 'E', lon < 0 ? -lon : lon);
    return text;
}

std::string Time(uint32_t time)
{
    return time == TRACK_TIME_NONE ? std::string("no time")
                                   : FormatIso8601Utc(TrackTimeToUnix(time));
}

void PrintDataDoc(const std::string& path, const CDataDoc& doc)
{
    std::cout << path << ": GPS data\n";
    std::cout << "Waypoints: " << doc.waypointCount() << "\n";
    for (const WaypointRecord& w : doc.Waypoints()) {
        std::string ident = Cp1252ToUtf8(WaypointIdent(w));
        std::printf("  %-6s  %s  %-10s %s\n", ident.c_str(),
                    Position(w.latitude, w.longitude).c_str(),
                    SymbolLabel(w.symbol)[0] ? SymbolLabel(w.symbol) : "?",
                    Cp1252ToUtf8(WaypointComment(w)).c_str());
    }
    const auto& points = doc.Trackpoints();
    size_t tracks = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        if (i == 0 || points[i].newTrack) {
            ++tracks;
        }
    }
    std::cout << "Trackpoints: " << points.size();
    if (!points.empty()) {
        std::cout << " in " << tracks << (tracks == 1 ? " track" : " tracks") << ", "
                  << Time(points.front().time) << " to " << Time(points.back().time);
    }
    std::cout << "\n";
    std::cout << "Map correction sets: " << doc.correctionSets.Count() << "\n";
    for (int i = 0; i < doc.correctionSets.Count(); ++i) {
        const MapCorrectionSet& set = doc.correctionSets.At(i);
        std::printf("  \"%s\": rotation %.3f, scale %.6f\n",
                    Cp1252ToUtf8(FieldText(set.name, sizeof set.name)).c_str(), set.rotation,
                    set.scale);
    }
    std::cout << "Grid presets: " << doc.gridPresets.Count() << "\n";
    for (int i = 0; i < doc.gridPresets.Count(); ++i) {
        const GridScalePreset& preset = doc.gridPresets.At(i);
        std::printf("  \"%s\": %.6f per degree latitude, %.6f per degree longitude\n",
                    Cp1252ToUtf8(FieldText(preset.name, sizeof preset.name)).c_str(),
                    preset.latitudeScale, preset.longitudeScale);
    }
}

}  // namespace

int RunInfo(const std::string& path, bool json)
{
    std::string ending = FileEnding(path);
    if (ending == ".orvg") {
        return RunMapInfo(path, json);
    }
    if (ending != ".orvd") {
        return Fail(path, "unknown file type (expected .orvd or .orvg)");
    }
    CDataDoc doc;
    try {
        doc.OnOpenDocument(path);
    } catch (const ArchiveException& e) {
        return Fail(path, std::string(e.UserMessage()) + " (" + e.what() + ")");
    }
    if (json) {
        std::cout << DataDocJson(doc).dump(2) << "\n";
    } else {
        PrintDataDoc(path, doc);
    }
    return 0;
}
