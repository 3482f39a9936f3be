#include "edit/PointListFormat.h"

#include <cstdio>

#include "gps/CDataDoc.h"
#include "gps/Geodesy.h"
#include "gps/TrackTime.h"

namespace {

const ListColumn kWaypointColumns[WPT_COLUMN_COUNT] = {
    {3002, "Name"},      {3004, "Pos Breite"}, {3003, "Pos. Länge"},
    {3005, "Kommentar"}, {3000, "Nr"},         {3001, "Symbol"},
};

const ListColumn kTrackpointColumns[TRK_COLUMN_COUNT] = {
    {3000, "Nr"},   {3008, "Neu"},     {3004, "Pos Breite"}, {3003, "Pos. Länge"}, {3007, "Zeit"},
    {3011, "Kurs"}, {3009, "Abstand"}, {3012, "Speed"},      {3010, "Strecke"},
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

int ListColumnCount(ListMode mode)
{
    switch (mode) {
    case LIST_WAYPOINTS:
        return WPT_COLUMN_COUNT;
    case LIST_TRACKPOINTS:
        return TRK_COLUMN_COUNT;
    default:
        return 0;
    }
}

const ListColumn& ListColumnAt(ListMode mode, int column)
{
    if (column < 0 || column >= ListColumnCount(mode)) {
        return kNoColumn;
    }
    return mode == LIST_WAYPOINTS ? kWaypointColumns[column] : kTrackpointColumns[column];
}

CellEncoding ListCellEncoding(ListMode mode, int column)
{
    return mode == LIST_WAYPOINTS && (column == WPT_COL_NAME || column == WPT_COL_COMMENT)
               ? CellEncoding::Cp1252
               : CellEncoding::Locale;
}

std::vector<TrackLeg> ComputeTrackLegs(const std::vector<TrackpointRecord>& track)
{
    std::vector<TrackLeg> legs(track.size());
    double total = 0.0;
    for (size_t i = 0; i < track.size(); ++i) {
        TrackLeg& leg = legs[i];
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

std::string WaypointCellText(const WaypointRecord& w, int recordIndex, int column)
{
    switch (column) {
    case WPT_COL_NAME:
        return std::string(WaypointIdent(w));
    case WPT_COL_LATITUDE:
        return Format("%g", SemicirclesToDegrees(w.latitude));
    case WPT_COL_LONGITUDE:
        return Format("%g", SemicirclesToDegrees(w.longitude));
    case WPT_COL_COMMENT:
        return std::string(WaypointComment(w));
    case WPT_COL_NUMBER:
        return Format("%03d", recordIndex);
    case WPT_COL_SYMBOL:
        return Format("%02d", static_cast<int>(w.symbol));
    default:
        return {};
    }
}

std::string TrackpointCellText(const TrackpointRecord& t, const TrackLeg& leg, int recordIndex,
                               int column)
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
        return WaypointCellText(doc.Waypoints()[i], record, column);
    }
    if (mode == LIST_TRACKPOINTS && i < doc.Trackpoints().size() && i < legs.size()) {
        return TrackpointCellText(doc.Trackpoints()[i], legs[i], record, column);
    }
    return {};
}

std::string FormatTrackTime(const TrackpointRecord& t)
{
    std::string text = FormatLocalTime(TrackTimeToUnix(t.time));
    return text.empty() ? std::string("Invalid DateTime.") : text;
}
