#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gps/Records.h"
#include "gps/RichRecords.h"

class CDataDoc;

// What a point list shows.
enum ListMode {
    LIST_NONE = 0,  // nothing yet: a new view
    LIST_WAYPOINTS = 1,
    LIST_TRACKPOINTS = 2,
    LIST_ROUTES = 3,  // the routes, each followed by its points (edit/RouteListFormat.h)
};

enum WaypointColumn {
    WPT_COL_NAME,
    WPT_COL_LATITUDE,
    WPT_COL_LONGITUDE,
    WPT_COL_COMMENT,
    WPT_COL_NUMBER,
    WPT_COL_SYMBOL,
    // Shown only when some waypoint has an altitude or a time.
    WPT_COL_ALTITUDE,
    WPT_COL_TIME,
    WPT_COLUMN_COUNT = WPT_COL_ALTITUDE,  // the GPS 12's columns
    WPT_ALL_COLUMN_COUNT = WPT_COL_TIME + 1
};

enum TrackpointColumn {
    TRK_COL_NUMBER,
    TRK_COL_NEW,
    TRK_COL_LATITUDE,
    TRK_COL_LONGITUDE,
    TRK_COL_TIME,
    TRK_COL_COURSE,
    TRK_COL_DISTANCE,
    TRK_COL_SPEED,
    TRK_COL_TOTAL,
    // Shown only when some track point has an altitude or some track a name.
    TRK_COL_ALTITUDE,
    TRK_COL_TRACK,
    TRK_COLUMN_COUNT = TRK_COL_ALTITUDE,  // the GPS 12's columns
    TRK_ALL_COLUMN_COUNT = TRK_COL_TRACK + 1
};

// A column of a point list: the string id of its caption and the caption (UTF-8).
struct ListColumn {
    int stringId;
    const char* caption;
};

// 6 in waypoint mode, 9 in trackpoint mode, 8 in route mode, 0 otherwise; with `rich`,
// the columns of what later receivers add as well (8 and 11) to waypoints and track points.
int ListColumnCount(ListMode mode, bool rich = false);
// Whether the list of `mode` shows those columns for the document: when it holds such
// values.
bool ShowsRichColumns(const CDataDoc& doc, ListMode mode);
// The column `column` (0 ... ListColumnCount - 1) of `mode`.
const ListColumn& ListColumnAt(ListMode mode, int column);

// The bytes of a cell text are either record text (Windows-1252) or the output of the C
// library's formatting in the process locale (UTF-8 in the locales the program selects).
enum class CellEncoding { Cp1252, Locale };
CellEncoding ListCellEncoding(ListMode mode, int column);

// The derived numbers of a trackpoint, with respect to the trackpoint before it in the
// document. Course and distance are from this point back to the previous one.
struct TrackLeg {
    bool hasPrevious = false;
    bool hasSpeed = false;  // false on the first point, a new segment and a zero time step
    double course = 0;      // degrees
    double distance = 0;    // km
    double speed = 0;       // km/h
    double total = 0;       // km, the running sum of the distances up to this point
    int trackStart = 0;     // the index of the point that starts this point's track
};

// One leg per trackpoint, in record order. The time step between two points is taken
// modulo 2^32, so a smaller later time gives a tiny positive speed.
std::vector<TrackLeg> ComputeTrackLegs(const std::vector<TrackpointRecord>& track);

// Cell texts, formatted with the process locale (snprintf, strftime "%c"). Record text comes
// out as its Windows-1252 bytes. Empty for columns outside the table.
std::string WaypointCellText(const WaypointRecord& w, int recordIndex, int column,
                             const WaypointDetails& details = NoWaypointDetails());
// `track` holds the details of the point that starts this point's track (its name).
std::string TrackpointCellText(const TrackpointRecord& t, const TrackLeg& leg, int recordIndex,
                               int column,
                               const TrackpointDetails& details = NoTrackpointDetails(),
                               const TrackpointDetails& track = NoTrackpointDetails());

// The cell text of record `record` of the document in the list `mode`; `legs` are the
// track's legs (ComputeTrackLegs of the document's track). Empty when there is no such
// record or leg.
std::string PointListCellText(const CDataDoc& doc, ListMode mode, const std::vector<TrackLeg>& legs,
                              int record, int column);

// The trackpoint's moment as local date and time, "%c" in the process locale;
// "Invalid DateTime." when the moment has no local time.
std::string FormatTrackTime(const TrackpointRecord& t);

// A row's item data: the record index in the low 16 bits, the list position in the high 16.
inline uint32_t RowItemData(int position, int record)
{
    return (static_cast<uint32_t>(position) << 16) | (static_cast<uint32_t>(record) & 0xFFFF);
}
