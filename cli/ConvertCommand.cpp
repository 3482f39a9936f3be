#include <iostream>

#include "cli/Commands.h"
#include "framework/ArchiveException.h"
#include "gps/CDataDoc.h"
#include "gps/Gpx.h"

namespace {

// Loads a GPS data document from ".orvd" or ".gpx", saying which points of a GPX file had no
// valid position; throws ArchiveException or GpxError.
void LoadGpsData(const std::string& path, const std::string& ending, CDataDoc& doc)
{
    if (ending == ".orvd") {
        doc.OnOpenDocument(path);
        return;
    }
    GpxData data = ReadGpxFile(path);
    if (data.skipped > 0) {
        std::cerr << "orvi: " << path << ": " << SkippedPointsText(data.skipped) << "\n";
    }
    doc.ReplaceWaypoints(std::move(data.waypoints));
    doc.ReplaceTrackpoints(std::move(data.trackpoints));
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
        } else if (int adjusted = WriteGpxFile(output, doc.Waypoints(), doc.Trackpoints())) {
            std::cerr << "orvi: " << output << ": " << AdjustedPointsText(adjusted) << "\n";
        }
    } catch (const ArchiveException& e) {
        return Fail(output, std::string(e.UserMessage(true)) + " (" + e.what() + ")");
    }
    return 0;
}
