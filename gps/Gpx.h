#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "gps/GpsRecords.h"

// GPX 1.1, the exchange format of GPS programs, with the maker's extensions as receivers
// write them (GpxExtensions v3, TrackPointExtension v1). Times are UTC.
//
//   wpt, rtept   position, ele, time, name (the whole name), cmt, sym (the full symbol
//                table's names), and in gpxx:WaypointExtension Proximity, Temperature, Depth,
//                DisplayMode, Categories and Address (StreetAddress, City, State, Country)
//   rte          name, number and its points: one route of the document
//   trk          name and gpxx:TrackExtension DisplayColor on the details of its first point;
//                every trk and every trkseg starts a track
//   trkpt        position, ele, time, and atemp and depth of gpxtpx:TrackPointExtension
//                (gpxx:TrackPointExtension Temperature and Depth are read too)

class GpxError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What a file gives: the records with their details (each details array empty, or one entry
// per record) and routes, as a document holds them, and what was left out or changed.
struct GpxData : GpsRecords {
    // Points left out for want of a valid position (see SkippedPointsText).
    int skipped = 0;
    // Waypoints whose `sym` names no symbol the program knows: they have the dot.
    int unknownSymbols = 0;
    // Routes (and their points) that did not fit into a document after the ones before them.
    int routesLeftOut = 0;
    int routePointsLeftOut = 0;
};

// Reads what receivers and common programs write. Texts are converted to Windows-1252
// (characters without a byte there become '?') and cut to their fields: names and comments
// to 50 characters (the record's ident follows from the name by the ident rule, its comment
// holds the first 40 characters), cities to 24 and street addresses to 50; white space that
// a cut leaves at the end goes as well. A State or Country longer than the record's two
// characters is left out. Altitudes, depths, proximities and temperatures that are not a
// number or of a magnitude of 1e24 or more are unknown. A time before 1989-12-31 or beyond
// what 32 bits of seconds from then hold is no time. Colours, display modes and categories
// ("Category 1" to "Category 16") the program does not know are left out; an unknown symbol
// name gives the dot and is counted.
//
// A point without a valid latitude (-90 to 90) and longitude (-180 to 180) is left out and
// counted; the next point of its segment starts the track in its place. A route without a
// number (0 to 254) has its place among the file's routes, up to 254. Routes are taken in
// the order of the file while they fit whole into a document (MAX_DOC_ROUTES routes,
// MAX_DOC_ROUTE_POINTS points in all); the first that does not, and every route after it,
// is left out and counted.
//
// Throws GpxError with a message for the user (German) when the input is not GPX at all,
// or holds more waypoints or track points than a document holds.
GpxData ParseGpx(std::string_view xml);
GpxData ReadGpxFile(const std::string& path);

// "2 Punkte ohne gültige Position übersprungen".
std::string SkippedPointsText(int count);
// Everything worth telling the user about a file read (skipped points, unknown symbols,
// routes left out), one sentence each; empty when there is nothing to say.
std::vector<std::string> GpxReadNotes(const GpxData& data);

// Writes everything GPX and the extensions above can say, the extensions only where there is
// something to say and their namespaces only when used. Names and comments are written
// without the blanks that pad their fields at the end; a comment of blanks only is left
// out. A waypoint without a full-table symbol has the name of its record symbol's. A track
// point that starts a track and carries a track name or colour begins a `trk`, any other
// start a `trkseg`. Every position is written within the ranges of GPX: a latitude beyond
// 90 degrees, which a record can hold, is written as 90 (every longitude a record holds lies
// within -180 and 180 already). `adjusted`, when given, receives how many points were
// written so.
std::string FormatGpx(const GpsRecords& records, int* adjusted = nullptr);
// Writes atomically and returns the count of adjusted points; throws
// ArchiveException(FileError) when the file cannot be written.
int WriteGpxFile(const std::string& path, const GpsRecords& records);
// "Bei 2 Punkten lag die Breite jenseits von ±90°; sie wurde als ±90° geschrieben."
std::string AdjustedPointsText(int count);
