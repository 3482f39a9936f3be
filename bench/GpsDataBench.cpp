#include <fcntl.h>
#include <unistd.h>
#include <cstring>
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
}  // namespace

void RunGpsDataBenchmarks(const std::string& dir)
{
    CDataDoc doc;
    FillDocument(doc);
    std::string docPath = dir + "/big.orvd";
    std::string plainPath = dir + "/plain.bin";

    double save = Measure([&] { doc.OnSaveDocument(docPath); });
    std::vector<char> bytes(MAX_DOC_RECORDS * (sizeof(WaypointRecord) + sizeof(TrackpointRecord)) +
                            20);
    double plainWrite = Measure([&] { PlainWrite(plainPath, bytes); });
    Report("save 32767 waypoints + 32767 trackpoints", save, "plain write+fsync", plainWrite);

    double load = Measure([&] {
        CDataDoc loaded;
        loaded.OnOpenDocument(docPath);
    });
    double plainRead = Measure([&] { PlainRead(plainPath, bytes); });
    Report("load 32767 waypoints + 32767 trackpoints", load, "plain read", plainRead);

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
}
