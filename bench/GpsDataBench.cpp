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

// The document's records with what later receivers give beside them: whole names and
// comments, full-table symbols, altitudes, times, proximities and depths; altitudes and
// temperatures of the track points and a name and colour for each track.
GpsRecords RichRecords(const CDataDoc& doc)
{
    GpsRecords rich = doc.Records();
    for (size_t i = 0; i < rich.waypoints.size(); ++i) {
        WaypointDetails d = NoWaypointDetails();
        char name[64];
        std::snprintf(name, sizeof name, "Aussichtspunkt am Weg Nummer %zu", i);
        SetWaypointName(rich.waypoints[i], d, name);
        SetWaypointComment(rich.waypoints[i], d,
                           "Br\xFC"
                           "cke \xFC"
                           "ber den Fluss, l\xE4nger als vierzig Zeichen");
        SetWaypointFullSymbol(rich.waypoints[i], d, static_cast<uint16_t>(8198 + i % 8));
        d.altitude = 400.5f + static_cast<float>(i % 1000);
        d.time = 1000000000u + static_cast<uint32_t>(i);
        d.proximity = 50;
        d.depth = 3.25f;
        rich.waypointDetails.push_back(d);
    }
    for (size_t i = 0; i < rich.trackpoints.size(); ++i) {
        TrackpointDetails d = NoTrackpointDetails();
        d.altitude = 500.25f + static_cast<float>(i % 1000);
        d.temperature = 21.5f;
        if (rich.trackpoints[i].newTrack) {
            std::snprintf(d.trackName, sizeof d.trackName, "Track %zu", i / 1000);
            d.trackColour = static_cast<uint8_t>(i / 1000 % 17);
        }
        rich.trackpointDetails.push_back(d);
    }
    return rich;
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
    GpsRecords details = RichRecords(doc);
    rich.ReplaceWaypoints(details.waypoints, details.waypointDetails);
    rich.ReplaceTrackpoints(details.trackpoints, details.trackpointDetails);
    MeasureSaveAndLoad(rich, dir, "the same with what later receivers give");

    std::string gpxPath = dir + "/track.gpx";
    GpsRecords track;
    track.trackpoints = doc.Trackpoints();
    WriteGpxFile(gpxPath, track);
    double import = Measure([&] { ReadGpxFile(gpxPath); });
    double parse = Measure([&] {
        pugi::xml_document xml;
        xml.load_file(gpxPath.c_str());
    });
    Report("GPX import of a 32767-point track", import, "XML parse only", parse);

    std::string richPath = dir + "/rich.gpx";
    WriteGpxFile(richPath, RichRecords(doc));
    std::vector<char> richBytes(std::filesystem::file_size(richPath));
    double richImport = Measure([&] { ReadGpxFile(richPath); });
    double richRead = Measure([&] { PlainRead(richPath, richBytes); });
    Report("GPX import of 32767 rich wpts + 32767 trkpts", richImport, "plain read", richRead);
}
