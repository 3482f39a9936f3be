#include <iostream>

#include "cli/Commands.h"
#include "framework/ArchiveException.h"
#include "gps/CDataDoc.h"
#include "gps/Gpx.h"

namespace {

// Loads a GPS data document from ".orvd" or ".gpx", saying what of a GPX file was left out
// or changed; throws ArchiveException or GpxError.
void LoadGpsData(const std::string& path, const std::string& ending, CDataDoc& doc)
{
    if (ending == ".orvd") {
        doc.OnOpenDocument(path);
        return;
    }
    GpxData data = ReadGpxFile(path);
    for (const std::string& note : GpxReadNotes(data)) {
        std::cerr << "orvi: " << path << ": " << note << "\n";
    }
    // The reader keeps to what a document holds.
    doc.ReplaceWaypoints(std::move(data.waypoints), std::move(data.waypointDetails));
    doc.ReplaceTrackpoints(std::move(data.trackpoints), std::move(data.trackpointDetails));
    doc.ReplaceRoutes(std::move(data.routes));
}

}  // namespace

int RunConvert(const std::string& input, const std::string& output)
{
    std::string from = FileEnding(input);
    std::string to = FileEnding(output);
    if (from == ".orvg" && to == ".orvg") {
        return RunMapConvert(input, output);
    }
    bool gpsIn = from == ".orvd" || from == ".gpx";
    bool gpsOut = to == ".orvd" || to == ".gpx";
    if (!gpsIn || !gpsOut) {
        return Fail(input, "cannot convert " + (from.empty() ? "this file" : from) + " to " +
                               (to.empty() ? "a file without ending" : to) +
                               " (known: .orvd and .gpx, and .orvg to .orvg)");
    }

    CDataDoc doc;
    try {
        LoadGpsData(input, from, doc);
    } catch (const ArchiveException& e) {
        return Fail(input, std::string(e.UserMessage()) + " (" + e.what() + ")");
    } catch (const GpxError& e) {
        return Fail(input, e.what());
    }

    try {
        if (to == ".orvd") {
            doc.OnSaveDocument(output);
        } else if (int adjusted = WriteGpxFile(output, doc.Records())) {
            std::cerr << "orvi: " << output << ": " << AdjustedPointsText(adjusted) << "\n";
        }
    } catch (const ArchiveException& e) {
        return Fail(output, std::string(e.UserMessage(true)) + " (" + e.what() + ")");
    }
    return 0;
}
