#pragma once

#include <string>
#include <vector>

#include "edit/PointListFormat.h"
#include "edit/RouteEditing.h"

// The columns of the route list. A route's row fills the first four, a point's row the
// name and the last four; the name column of a point also holds its symbol's picture.
enum RouteColumn {
    RTE_COL_NUMBER,    // the route's number
    RTE_COL_NAME,      // the route's name, the point's whole name
    RTE_COL_POINTS,    // how many points the route has
    RTE_COL_LENGTH,    // km along the route's points
    RTE_COL_DISTANCE,  // km from the previous point of the route
    RTE_COL_LATITUDE,  // as the waypoint list shows positions
    RTE_COL_LONGITUDE,
    RTE_COL_COMMENT,  // the point's whole comment
    RTE_COLUMN_COUNT
};

const ListColumn& RouteColumnAt(int column);
CellEncoding RouteCellEncoding(int column);

// km along the points of `route`, leg by leg (CourseDistanceSemi).
double RouteLengthKm(const Route& route);

// The text of `column` in the row of `place` (empty for a place that is no row): numbers
// formatted with the process locale, names and comments as their Windows-1252 bytes.
std::string RouteCellText(const std::vector<Route>& routes, RoutePlace place, int column);
