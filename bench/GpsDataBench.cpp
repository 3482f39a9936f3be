#include <fcntl.h>
#include <unistd.h>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/Bench.h"
#include "gps/CDataDoc.h"
#include "gps/Geodesy.h"
#include "gps/Gpx.h"

#include <pugixml.hpp>

namespace {

void FillDocument(CDataDoc& doc)
{
    std::vector<WaypointRecord> waypoints(MAX_DOC_RECORDS);
    std::vector<TrackpointRecord> trackpoints(MAX_DOC_RECORDS);
    for (int i = 0; i < MAX_DOC_RECORDS; ++i) {
        WaypointRecord& w = waypoints[static_cast<size_t>(i)];
        std::memset(&w, 0, sizeof w);
        char ident[8];
        std::snprintf(ident, sizeof ident, "W%05d", i);
        SetFieldText(w.ident, sizeof w.ident, ident);
        w.latitude = DegreesToSemicircles(47.0 + i * 1e-4);
        w.longitude = DegreesToSemicircles(8.0 + i * 1e-4);
        TrackpointRecord& t = trackpoints[static_cast<size_t>(i)];
        t = {DegreesToSemicircles(47.0 + i * 1e-5), DegreesToSemicircles(8.0 + i * 1e-5),
             static_cast<uint32_t>(1000000000 + i * 10), static_cast<uint8_t>(i % 1000 == 0)};
    }
    doc.ReplaceWaypoints(std::move(waypoints));
    doc.ReplaceTrackpoints(std::move(trackpoints));
}

// The same points as later receivers give them: every waypoint with a whole name, an
// altitude and a time, every track point with an altitude.
void AddDetails(CDataDoc& doc)
{
    std::vector<WaypointDetails> waypointDetails(MAX_DOC_RECORDS, NoWaypointDetails());
    std::vector<TrackpointDetails> trackpointDetails(MAX_DOC_RECORDS, NoTrackpointDetails());
    std::vector<WaypointRecord> waypoints = doc.Waypoints();
    for (size_t i = 0; i < waypoints.size(); ++i) {
        SetWaypointName(waypoints[i], waypointDetails[i], "Wegpunkt Nummer " + std::to_string(i));
        waypointDetails[i].altitude = 400.0f + static_cast<float>(i % 1000);
        waypointDetails[i].time = 1000000000u + static_cast<uint32_t>(i);
        trackpointDetails[i].altitude = 500.0f + static_cast<float>(i % 700);
    }
    doc.ReplaceWaypoints(std::move(waypoints), std::move(waypointDetails));
    doc.ReplaceTrackpoints(doc.Trackpoints(), std::move(trackpointDetails));
}

// Saving and loading `doc` against writing and reading as many plain bytes.
void MeasureSaveAndLoad(CDataDoc& doc, const std::string& dir, const char* what)
{
    std::string docPath = dir + "/big.orvd";
    std::string plainPath = dir + "/plain.bin";
    double save = Measure([&] { doc.OnSaveDocument(docPath); });
    std::vector<char> bytes(static_cast<size_t>(std::filesystem::file_size(docPath)));
    double plainWrite = Measure([&] { PlainWrite(plainPath, bytes); });
    Report(std::string("save ") + what, save, "plain write+fsync", plainWrite);

    double load = Measure([&] {
        CDataDoc loaded;
        loaded.OnOpenDocument(docPath);
    });
    double plainRead = Measure([&] { PlainRead(plainPath, bytes); });
    Report(std::string("load ") + what, load, "plain read", plainRead);
}

}  // namespace

void RunGpsDataBenchmarks(const std::string& dir)
{
    CDataDoc doc;
    FillDocument(doc);
    MeasureSaveAndLoad(doc, dir, "32767 waypoints + 32767 trackpoints");
    CDataDoc rich;
    FillDocument(rich);
    AddDetails(rich);
    MeasureSaveAndLoad(rich, dir, "the same with names, altitudes, times");

    std::string gpxPath = dir + "/track.gpx";
    WriteGpxFile(gpxPath, {}, doc.Trackpoints());
    double import = Measure([&] { ReadGpxFile(gpxPath); });
    double parse = Measure([&] {
        pugi::xml_document xml;
        xml.load_file(gpxPath.c_str());
    });
    Report("GPX import of a 32767-point track", import, "XML parse only", parse);
}
