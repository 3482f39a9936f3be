#include "edit/PointListFormat.h"

#include <algorithm>
#include <cstdio>

#include "edit/RouteListFormat.h"
#include "gps/CDataDoc.h"
#include "gps/Geodesy.h"
#include "gps/TrackTime.h"

namespace {

const ListColumn kWaypointColumns[WPT_ALL_COLUMN_COUNT] = {
    {3002, "Name"}, {3004, "Pos Breite"}, {3003, "Pos. Länge"}, {3005, "Kommentar"},
    {3000, "Nr"},   {3001, "Symbol"},     {3013, "Höhe"},       {3007, "Zeit"},
};

const ListColumn kTrackpointColumns[TRK_ALL_COLUMN_COUNT] = {
    {3000, "Nr"},      {3008, "Neu"},  {3004, "Pos Breite"}, {3003, "Pos. Länge"},
    {3007, "Zeit"},    {3011, "Kurs"}, {3009, "Abstand"},    {3012, "Speed"},
    {3010, "Strecke"}, {3013, "Höhe"}, {3014, "Track"},
};

const ListColumn kNoColumn = {0, ""};

template <class... Args>
std::string Format(const char* format, Args... args)
{
    char text[64];
    int n = std::snprintf(text, sizeof text, format, args...);
    return n > 0 ? std::string(text, static_cast<size_t>(n) < sizeof text ? n : sizeof text - 1)
                 : std::string();
}

}  // namespace

int ListColumnCount(ListMode mode, bool rich)
{
    switch (mode) {
    case LIST_WAYPOINTS:
        return rich ? WPT_ALL_COLUMN_COUNT : WPT_COLUMN_COUNT;
    case LIST_TRACKPOINTS:
        return rich ? TRK_ALL_COLUMN_COUNT : TRK_COLUMN_COUNT;
    case LIST_ROUTES:
        return RTE_COLUMN_COUNT;
    default:
        return 0;
    }
}

bool ShowsRichColumns(const CDataDoc& doc, ListMode mode)
{
    if (mode == LIST_WAYPOINTS) {
        const auto& details = doc.WaypointDetailsList();
        return std::any_of(details.begin(), details.end(), [](const WaypointDetails& d) {
            return HasValue(d.altitude) || d.time != TIME_NONE;
        });
    }
    if (mode == LIST_TRACKPOINTS) {
        const auto& details = doc.TrackpointDetailsList();
        return std::any_of(details.begin(), details.end(), [](const TrackpointDetails& d) {
            return HasValue(d.altitude) || d.trackName[0] != 0;
        });
    }
    return false;
}

const ListColumn& ListColumnAt(ListMode mode, int column)
{
    if (column < 0 || column >= ListColumnCount(mode, true)) {
        return kNoColumn;
    }
    if (mode == LIST_ROUTES) {
        return RouteColumnAt(column);
    }
    return mode == LIST_WAYPOINTS ? kWaypointColumns[column] : kTrackpointColumns[column];
}

CellEncoding ListCellEncoding(ListMode mode, int column)
{
    if (mode == LIST_ROUTES) {
        return RouteCellEncoding(column);
    }
    bool recordText = mode == LIST_WAYPOINTS
                          ? column == WPT_COL_NAME || column == WPT_COL_COMMENT
                          : mode == LIST_TRACKPOINTS && column == TRK_COL_TRACK;
    return recordText ? CellEncoding::Cp1252 : CellEncoding::Locale;
}

std::vector<TrackLeg> ComputeTrackLegs(const std::vector<TrackpointRecord>& track)
{
    std::vector<TrackLeg> legs(track.size());
    double total = 0.0;
    int trackStart = 0;
    for (size_t i = 0; i < track.size(); ++i) {
        TrackLeg& leg = legs[i];
        if (i > 0 && track[i].newTrack != 0) {
            trackStart = static_cast<int>(i);
        }
        leg.trackStart = trackStart;
        if (i > 0) {
            const TrackpointRecord& current = track[i];
            const TrackpointRecord& previous = track[i - 1];
            PolarOffset polar;
            CourseDistanceSemi(PositionOf(current), PositionOf(previous), polar);
            total += polar.distance;
            leg.hasPrevious = true;
            leg.course = polar.course;
            leg.distance = polar.distance;
            uint32_t step = current.time - previous.time;  // modulo 2^32
            if (current.newTrack == 0 && step != 0) {
                leg.hasSpeed = true;
                leg.speed = polar.distance * 3600.0 / step;
            }
        }
        leg.total = total;
    }
    return legs;
}

// Metres with one decimal; empty when unknown.
std::string AltitudeText(float altitude)
{
    return HasValue(altitude) ? Format("%.1f", static_cast<double>(altitude)) : std::string();
}

std::string WaypointCellText(const WaypointRecord& w, int recordIndex, int column,
                             const WaypointDetails& details)
{
    switch (column) {
    case WPT_COL_NAME:
        return std::string(WaypointName(w, details));
    case WPT_COL_LATITUDE:
        return Format("%g", SemicirclesToDegrees(w.latitude));
    case WPT_COL_LONGITUDE:
        return Format("%g", SemicirclesToDegrees(w.longitude));
    case WPT_COL_COMMENT:
        return std::string(WaypointLongComment(w, details));
    case WPT_COL_NUMBER:
        return Format("%03d", recordIndex);
    case WPT_COL_SYMBOL:
        return Format("%02d", static_cast<int>(w.symbol));
    case WPT_COL_ALTITUDE:
        return AltitudeText(details.altitude);
    case WPT_COL_TIME:
        return details.time == TIME_NONE ? std::string()
                                         : FormatLocalTime(TrackTimeToUnix(details.time));
    default:
        return {};
    }
}

std::string TrackpointCellText(const TrackpointRecord& t, const TrackLeg& leg, int recordIndex,
                               int column, const TrackpointDetails& details,
                               const TrackpointDetails& track)
{
    switch (column) {
    case TRK_COL_NUMBER:
        return Format("%04d", recordIndex);
    case TRK_COL_NEW:
        return Format("%d", static_cast<unsigned>(t.newTrack));
    case TRK_COL_LATITUDE:
        return Format("%g", SemicirclesToDegrees(t.latitude));
    case TRK_COL_LONGITUDE:
        return Format("%g", SemicirclesToDegrees(t.longitude));
    case TRK_COL_TIME:
        return FormatTrackTime(t);
    case TRK_COL_COURSE:
        return leg.hasPrevious ? Format("%03.0f", leg.course) : std::string();
    case TRK_COL_DISTANCE:
        return leg.hasPrevious ? Format("%.3f", leg.distance) : std::string();
    case TRK_COL_SPEED:
        return leg.hasSpeed ? Format("%04.1f", leg.speed) : std::string();
    case TRK_COL_TOTAL:
        return Format("%.2f", leg.total);
    case TRK_COL_ALTITUDE:
        return AltitudeText(details.altitude);
    case TRK_COL_TRACK:
        return std::string(FieldText(track.trackName, sizeof track.trackName));
    default:
        return {};
    }
}

std::string PointListCellText(const CDataDoc& doc, ListMode mode, const std::vector<TrackLeg>& legs,
                              int record, int column)
{
    if (record < 0) {
        return {};
    }
    auto i = static_cast<size_t>(record);
    if (mode == LIST_WAYPOINTS && i < doc.Waypoints().size()) {
        return WaypointCellText(doc.Waypoints()[i], record, column, doc.WaypointDetailsAt(record));
    }
    if (mode == LIST_TRACKPOINTS && i < doc.Trackpoints().size() && i < legs.size()) {
        return TrackpointCellText(doc.Trackpoints()[i], legs[i], record, column,
                                  doc.TrackpointDetailsAt(record),
                                  doc.TrackpointDetailsAt(legs[i].trackStart));
    }
    return {};
}

std::string FormatTrackTime(const TrackpointRecord& t)
{
    std::string text = FormatLocalTime(TrackTimeToUnix(t.time));
    return text.empty() ? std::string("Invalid DateTime.") : text;
}
