#include "edit/RouteListFormat.h"

#include <cstdio>

#include "gps/Geodesy.h"

namespace {

const ListColumn kRouteColumns[RTE_COLUMN_COUNT] = {
    {3000, "Nr"},      {3002, "Name"},       {3020, "Punkte"},     {3021, "Länge"},
    {3009, "Abstand"}, {3004, "Pos Breite"}, {3003, "Pos. Länge"}, {3005, "Kommentar"},
};

const ListColumn kNoRouteColumn = {0, ""};

std::string RouteKmText(double km, const char* format)
{
    char text[48];
    std::snprintf(text, sizeof text, format, km);
    return text;
}

double RouteLegKm(const RoutePoint& from, const RoutePoint& to)
{
    PolarOffset polar;
    CourseDistanceSemi(PositionOf(from.record), PositionOf(to.record), polar);
    return polar.distance;
}

}  // namespace

const ListColumn& RouteColumnAt(int column)
{
    return column >= 0 && column < RTE_COLUMN_COUNT ? kRouteColumns[column] : kNoRouteColumn;
}

CellEncoding RouteCellEncoding(int column)
{
    return column == RTE_COL_NAME || column == RTE_COL_COMMENT ? CellEncoding::Cp1252
                                                               : CellEncoding::Locale;
}

double RouteLengthKm(const Route& route)
{
    double km = 0;
    for (size_t i = 1; i < route.points.size(); ++i) {
        km += RouteLegKm(route.points[i - 1], route.points[i]);
    }
    return km;
}

std::string RouteCellText(const std::vector<Route>& routes, RoutePlace place, int column)
{
    if (!IsRoutePlace(routes, place)) {
        return {};
    }
    const Route& route = routes[static_cast<size_t>(place.route)];
    if (place.point == ROUTE_ITSELF) {
        switch (column) {
        case RTE_COL_NUMBER:
            return std::to_string(route.header.number);
        case RTE_COL_NAME:
            return std::string(FieldText(route.header.name, ROUTE_NAME_SIZE));
        case RTE_COL_POINTS:
            return std::to_string(route.points.size());
        case RTE_COL_LENGTH:
            return RouteKmText(RouteLengthKm(route), "%.2f km");
        default:
            return {};
        }
    }
    const auto p = static_cast<size_t>(place.point);
    const RoutePoint& point = route.points[p];
    switch (column) {
    case RTE_COL_NAME:
        return std::string(WaypointName(point.record, point.details));
    case RTE_COL_DISTANCE:
        return p > 0 ? RouteKmText(RouteLegKm(route.points[p - 1], point), "%.3f km")
                     : std::string();
    case RTE_COL_LATITUDE:
        return WaypointCellText(point.record, 0, WPT_COL_LATITUDE);
    case RTE_COL_LONGITUDE:
        return WaypointCellText(point.record, 0, WPT_COL_LONGITUDE);
    case RTE_COL_COMMENT:
        return std::string(WaypointLongComment(point.record, point.details));
    default:
        return {};
    }
}
