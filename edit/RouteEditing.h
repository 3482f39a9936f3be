#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "gps/RichRecords.h"

struct ReceiverProfile;

// What the route commands of the point list do to a document's routes. Each function takes
// the routes as they are and gives the whole new list, which the caller stores with
// CDataDoc::ReplaceRoutes as one undo step, and the rows to select afterwards.
//
// A link belongs to the leg from its point to the next one: a point keeps its link only
// while the same point follows it as before (reversing a route turns its legs around with
// their links); every leg a command makes new is a direct one (NoRouteLink).

// A row of the route list: a route itself (point ROUTE_ITSELF) or one of its points.
constexpr int ROUTE_ITSELF = -1;
struct RoutePlace {
    int route = -1;
    int point = ROUTE_ITSELF;
    bool operator==(const RoutePlace&) const = default;
};

// The rows of the route list: each route followed by its points, in order.
std::vector<RoutePlace> RouteListPlaces(const std::vector<Route>& routes);
// Whether `place` is a row of that list.
bool IsRoutePlace(const std::vector<Route>& routes, RoutePlace place);

enum RouteEditResult {
    ROUTE_EDIT_OK,
    ROUTE_EDIT_NOTHING,   // nothing to do: no such row, no points, a point already at the end
    ROUTE_EDIT_TOO_MANY,  // beyond MAX_DOC_ROUTES or MAX_DOC_ROUTE_POINTS, or no free number
};

struct RouteEdit {
    RouteEditResult result = ROUTE_EDIT_NOTHING;
    std::vector<Route> routes;          // the new list; empty unless ROUTE_EDIT_OK
    std::vector<RoutePlace> selection;  // the rows to select in the new list
};

// The smallest route number (0 to 254) no route has; -1 when every one is taken.
int LowestFreeRouteNumber(const std::vector<Route>& routes);

// A route of `points` added at the end with the lowest free number, named after its first
// and last point ("KIRCHE - HAFEN", names without the blanks that pad an ident); selects the
// new route.
RouteEdit NewRoute(const std::vector<Route>& routes, const std::vector<RoutePoint>& points);

// `points` inserted into the route of `at`: after its point, or at the end of the route when
// `at` is the route itself; selects the inserted points.
RouteEdit InsertIntoRoute(const std::vector<Route>& routes, RoutePlace at,
                          const std::vector<RoutePoint>& points);

// Removes the points of `places`, and whole the routes whose own row is among them. Selects
// the row that comes where the first removed row was, else the last row.
RouteEdit RemovePlaces(const std::vector<Route>& routes, const std::vector<RoutePlace>& places);

// Moves the points of `places` one place towards the start (step -1) or the end (step +1)
// of their routes, together; nothing when one of them is there already. Route rows among
// `places` are left out. Selects the moved points.
RouteEdit MovePoints(const std::vector<Route>& routes, const std::vector<RoutePlace>& places,
                     int step);

// Reverses the order of the points of every route that `places` has a row of. The
// selected rows follow their points.
RouteEdit ReverseRoutes(const std::vector<Route>& routes, const std::vector<RoutePlace>& places);

// Names route `route` after `typed` (Windows-1252) as a receiver of `profile` holds a route
// name (TypedRouteName); nothing when no character remains or the name stays as it was.
RouteEdit RenameRoute(const std::vector<Route>& routes, int route, const ReceiverProfile& profile,
                      std::string_view typed);

// `added` appended, each with the lowest number still free at its turn; selects them.
RouteEdit AppendRoutes(const std::vector<Route>& routes, const std::vector<Route>& added);

// The routes that `places` has a row of, whole and in list order.
std::vector<Route> RoutesOfPlaces(const std::vector<Route>& routes,
                                  const std::vector<RoutePlace>& places);

// The text form of routes (UTF-8): one line per point, "<route name>,<point name>,<latitude>,
// <longitude>", names without padding blanks, degrees with "%f" in the process locale, each
// line ending in CR LF.
std::string RouteClipboardText(const std::vector<Route>& routes);
