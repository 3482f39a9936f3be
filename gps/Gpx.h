#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "gps/Records.h"

// GPX 1.1, the exchange format of GPS programs. Waypoints are `wpt` with `name`, `cmt` and
// `sym`; the track log is one `trk` whose `trkseg`s begin at every trackpoint that starts a
// new track; times are UTC.

class GpxError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct GpxData {
    std::vector<WaypointRecord> waypoints;
    std::vector<TrackpointRecord> trackpoints;
    // Points left out for want of a valid position (see SkippedPointsText).
    int skipped = 0;
};

// Reads what common programs write: waypoints, the points of routes (as waypoints), tracks
// with any number of segments, missing names and times. Names become idents as renaming
// in the point list stores them (NormalizeWaypointIdent); comments are cut to 40
// characters. A point without a valid latitude (-90 to 90) and longitude (-180 to 180) is
// left out and counted; the next point of its segment starts the track in its place.
// Throws GpxError with a message for the user (German) when the input is not GPX at all,
// or holds more records of a kind than a document holds.
GpxData ParseGpx(std::string_view xml);
GpxData ReadGpxFile(const std::string& path);
// "2 Punkte ohne gültige Position übersprungen".
std::string SkippedPointsText(int count);

// Names and comments are written without the blanks that pad their fields at the end; a
// comment of blanks only is left out. Every position is written within the ranges of GPX:
// a latitude beyond 90 degrees, which a record can hold, is written as 90 (every longitude
// a record holds lies within -180 and 180 already). `adjusted`, when given, receives how
// many points were written so.
std::string FormatGpx(const std::vector<WaypointRecord>& waypoints,
                      const std::vector<TrackpointRecord>& trackpoints, int* adjusted = nullptr);
// Writes atomically and returns the count of adjusted points; throws
// ArchiveException(FileError) when the file cannot be written.
int WriteGpxFile(const std::string& path, const std::vector<WaypointRecord>& waypoints,
                 const std::vector<TrackpointRecord>& trackpoints);
// "Bei 2 Punkten lag die Breite jenseits von ±90°; sie wurde als ±90° geschrieben."
std::string AdjustedPointsText(int count);

// The `sym` name written for a symbol, understood by common GPS programs.
const char* GpxSymbolName(int symbol);
// The symbol of a `sym` name (any case; the names above and the symbol list's short
// names); unknown names give symbol 0.
int SymbolFromGpxName(std::string_view name);
