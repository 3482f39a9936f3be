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
};

// Reads what common programs write: waypoints, the points of routes (as waypoints), tracks
// with any number of segments, missing names and times. Names become idents as renaming
// in the point list stores them (NormalizeWaypointIdent); comments are cut to 40
// characters. Throws GpxError with a message for the user on damaged input, positions out
// of range, or more records of a kind than a document holds.
GpxData ParseGpx(std::string_view xml);
GpxData ReadGpxFile(const std::string& path);

// Names and comments are written without the blanks that pad their fields at the end; a
// comment of blanks only is left out.
std::string FormatGpx(const std::vector<WaypointRecord>& waypoints,
                      const std::vector<TrackpointRecord>& trackpoints);
// Writes atomically; throws ArchiveException(FileError) when the file cannot be written.
void WriteGpxFile(const std::string& path, const std::vector<WaypointRecord>& waypoints,
                  const std::vector<TrackpointRecord>& trackpoints);

// The `sym` name written for a symbol, understood by common GPS programs.
const char* GpxSymbolName(int symbol);
// The symbol of a `sym` name (any case; the names above and the symbol list's short
// names); unknown names give symbol 0.
int SymbolFromGpxName(std::string_view name);
