#include "edit/RouteEditing.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

#include "framework/Cp1252.h"
#include "gps/Geodesy.h"
#include "gps/ReceiverProfile.h"

namespace {

// Receivers number their routes 0 to 254.
constexpr int kRouteNumberCount = 255;

// The points of a route in a new order: `origin` holds for each new point its index among
// `before`, or -1 for the next one of `added`. A point keeps its link only when the point
// that follows it is the one that followed it before.
std::vector<RoutePoint> ReorderedRoutePoints(const std::vector<RoutePoint>& before,
                                             const std::vector<int>& origin,
                                             const std::vector<RoutePoint>& added)
{
    std::vector<RoutePoint> points;
    points.reserve(origin.size());
    size_t nextAdded = 0;
    for (int from : origin) {
        points.push_back(from >= 0 ? before[static_cast<size_t>(from)] : added[nextAdded++]);
    }
    const int end = static_cast<int>(before.size());
    for (size_t i = 0; i < points.size(); ++i) {
        const int follower = i + 1 < origin.size() ? origin[i + 1] : end;
        if (origin[i] < 0 || follower != origin[i] + 1) {
            points[i].link = NoRouteLink();
        }
    }
    return points;
}

// Per route, a flag per point: whether a row of `places` is that point.
std::vector<std::vector<char>> ChosenRoutePoints(const std::vector<Route>& routes,
                                                 const std::vector<RoutePlace>& places)
{
    std::vector<std::vector<char>> chosen(routes.size());
    for (size_t r = 0; r < routes.size(); ++r) {
        chosen[r].assign(routes[r].points.size(), 0);
    }
    for (const RoutePlace& place : places) {
        if (place.point != ROUTE_ITSELF && IsRoutePlace(routes, place)) {
            chosen[static_cast<size_t>(place.route)][static_cast<size_t>(place.point)] = 1;
        }
    }
    return chosen;
}

// Per route: whether `places` holds its own row (or, with `anyRow`, any of its rows).
std::vector<char> ChosenRoutes(const std::vector<Route>& routes,
                               const std::vector<RoutePlace>& places, bool anyRow)
{
    std::vector<char> chosen(routes.size(), 0);
    for (const RoutePlace& place : places) {
        if (IsRoutePlace(routes, place) && (anyRow || place.point == ROUTE_ITSELF)) {
            chosen[static_cast<size_t>(place.route)] = 1;
        }
    }
    return chosen;
}

RouteEdit RouteEditOf(std::vector<Route> routes, std::vector<RoutePlace> selection)
{
    if (!RoutesFit(routes)) {
        return {ROUTE_EDIT_TOO_MANY, {}, {}};
    }
    return {ROUTE_EDIT_OK, std::move(routes), std::move(selection)};
}

// A point's whole name without the blanks that pad an ident.
std::string_view RoutePointName(const RoutePoint& point)
{
    return WithoutTrailingBlanks(WaypointName(point.record, point.details));
}

std::string RouteDegreesText(int32_t semicircles)
{
    char text[32];
    std::snprintf(text, sizeof text, "%f", SemicirclesToDegrees(semicircles));
    return text;
}

}  // namespace

std::vector<RoutePlace> RouteListPlaces(const std::vector<Route>& routes)
{
    std::vector<RoutePlace> places;
    for (size_t r = 0; r < routes.size(); ++r) {
        places.push_back({static_cast<int>(r), ROUTE_ITSELF});
        for (size_t p = 0; p < routes[r].points.size(); ++p) {
            places.push_back({static_cast<int>(r), static_cast<int>(p)});
        }
    }
    return places;
}

bool IsRoutePlace(const std::vector<Route>& routes, RoutePlace place)
{
    if (place.route < 0 || static_cast<size_t>(place.route) >= routes.size()) {
        return false;
    }
    const size_t points = routes[static_cast<size_t>(place.route)].points.size();
    return place.point == ROUTE_ITSELF ||
           (place.point >= 0 && static_cast<size_t>(place.point) < points);
}

int LowestFreeRouteNumber(const std::vector<Route>& routes)
{
    std::vector<char> taken(kRouteNumberCount, 0);
    for (const Route& route : routes) {
        if (route.header.number < kRouteNumberCount) {
            taken[route.header.number] = 1;
        }
    }
    auto free = std::find(taken.begin(), taken.end(), 0);
    return free == taken.end() ? -1 : static_cast<int>(free - taken.begin());
}

RouteEdit NewRoute(const std::vector<Route>& routes, const std::vector<RoutePoint>& points)
{
    if (points.empty()) {
        return {};
    }
    Route route;
    std::string name(RoutePointName(points.front()));
    if (points.size() > 1) {
        name += " - ";
        name += RoutePointName(points.back());
    }
    SetFieldText(route.header.name, ROUTE_NAME_SIZE, name);
    route.points = points;
    return AppendRoutes(routes, {route});
}

RouteEdit InsertIntoRoute(const std::vector<Route>& routes, RoutePlace at,
                          const std::vector<RoutePoint>& points)
{
    if (!IsRoutePlace(routes, at) || points.empty()) {
        return {};
    }
    const auto r = static_cast<size_t>(at.route);
    const int count = static_cast<int>(routes[r].points.size());
    const int after = at.point == ROUTE_ITSELF ? count - 1 : at.point;
    std::vector<int> origin;
    std::vector<RoutePlace> selection;
    for (int p = 0; p <= after; ++p) {
        origin.push_back(p);
    }
    for (size_t i = 0; i < points.size(); ++i) {
        selection.push_back({at.route, static_cast<int>(origin.size())});
        origin.push_back(-1);
    }
    for (int p = after + 1; p < count; ++p) {
        origin.push_back(p);
    }
    std::vector<Route> result = routes;
    result[r].points = ReorderedRoutePoints(routes[r].points, origin, points);
    return RouteEditOf(std::move(result), std::move(selection));
}

RouteEdit RemovePlaces(const std::vector<Route>& routes, const std::vector<RoutePlace>& places)
{
    const std::vector<char> routeGone = ChosenRoutes(routes, places, false);
    const std::vector<std::vector<char>> pointGone = ChosenRoutePoints(routes, places);
    const std::vector<RoutePlace> rows = RouteListPlaces(routes);
    auto first = std::find_if(rows.begin(), rows.end(), [&](const RoutePlace& row) {
        const auto r = static_cast<size_t>(row.route);
        return routeGone[r] ||
               (row.point != ROUTE_ITSELF && pointGone[r][static_cast<size_t>(row.point)]);
    });
    if (first == rows.end()) {
        return {};
    }
    std::vector<Route> result;
    for (size_t r = 0; r < routes.size(); ++r) {
        if (routeGone[r]) {
            continue;
        }
        std::vector<int> origin;
        for (size_t p = 0; p < routes[r].points.size(); ++p) {
            if (!pointGone[r][p]) {
                origin.push_back(static_cast<int>(p));
            }
        }
        Route kept;
        kept.header = routes[r].header;
        kept.points = ReorderedRoutePoints(routes[r].points, origin, {});
        result.push_back(std::move(kept));
    }
    const std::vector<RoutePlace> left = RouteListPlaces(result);
    std::vector<RoutePlace> selection;
    if (!left.empty()) {
        const auto row = static_cast<size_t>(first - rows.begin());
        selection.push_back(left[std::min(row, left.size() - 1)]);
    }
    return RouteEditOf(std::move(result), std::move(selection));
}

RouteEdit MovePoints(const std::vector<Route>& routes, const std::vector<RoutePlace>& places,
                     int step)
{
    if (step != -1 && step != 1) {
        return {};
    }
    const std::vector<std::vector<char>> chosen = ChosenRoutePoints(routes, places);
    std::vector<Route> result = routes;
    std::vector<RoutePlace> selection;
    for (size_t r = 0; r < routes.size(); ++r) {
        const std::vector<char>& flags = chosen[r];
        if (std::find(flags.begin(), flags.end(), 1) == flags.end()) {
            continue;
        }
        if (step < 0 ? flags.front() : flags.back()) {
            return {};
        }
        const int count = static_cast<int>(flags.size());
        std::vector<int> origin(flags.size());
        std::iota(origin.begin(), origin.end(), 0);
        // Each chosen point trades places with its neighbour; going against the step keeps
        // a run of chosen points together.
        for (int i = step < 0 ? 1 : count - 2; i >= 0 && i < count; i -= step) {
            if (flags[static_cast<size_t>(i)]) {
                std::swap(origin[static_cast<size_t>(i)], origin[static_cast<size_t>(i + step)]);
            }
        }
        for (int p = 0; p < count; ++p) {
            if (flags[static_cast<size_t>(origin[static_cast<size_t>(p)])]) {
                selection.push_back({static_cast<int>(r), p});
            }
        }
        result[r].points = ReorderedRoutePoints(routes[r].points, origin, {});
    }
    if (selection.empty()) {
        return {};
    }
    return RouteEditOf(std::move(result), std::move(selection));
}

RouteEdit ReverseRoutes(const std::vector<Route>& routes, const std::vector<RoutePlace>& places)
{
    const std::vector<char> chosen = ChosenRoutes(routes, places, true);
    std::vector<Route> result = routes;
    bool reversed = false;
    for (size_t r = 0; r < routes.size(); ++r) {
        const std::vector<RoutePoint>& before = routes[r].points;
        const size_t n = before.size();
        if (!chosen[r] || n < 2) {
            continue;
        }
        std::vector<RoutePoint>& points = result[r].points;
        for (size_t k = 0; k < n; ++k) {
            points[k] = before[n - 1 - k];
            // The leg from new point k to k + 1 is the old leg from n - 2 - k to n - 1 - k.
            points[k].link = k + 1 < n ? before[n - 2 - k].link : before[n - 1].link;
        }
        reversed = true;
    }
    if (!reversed) {
        return {};
    }
    std::vector<RoutePlace> selection;
    for (const RoutePlace& place : places) {
        if (!IsRoutePlace(routes, place)) {
            continue;
        }
        const auto n = static_cast<int>(routes[static_cast<size_t>(place.route)].points.size());
        selection.push_back(
            {place.route, place.point == ROUTE_ITSELF ? ROUTE_ITSELF : n - 1 - place.point});
    }
    return RouteEditOf(std::move(result), std::move(selection));
}

RouteEdit RenameRoute(const std::vector<Route>& routes, int route, const ReceiverProfile& profile,
                      std::string_view typed)
{
    std::optional<std::string> name = TypedRouteName(profile, typed);
    if (!IsRoutePlace(routes, {route, ROUTE_ITSELF}) || !name) {
        return {};
    }
    const std::string kept = name->substr(0, ROUTE_NAME_SIZE);
    const auto r = static_cast<size_t>(route);
    if (FieldText(routes[r].header.name, ROUTE_NAME_SIZE) == kept) {
        return {};
    }
    std::vector<Route> result = routes;
    SetFieldText(result[r].header.name, ROUTE_NAME_SIZE, kept);
    return RouteEditOf(std::move(result), {{route, ROUTE_ITSELF}});
}

RouteEdit AppendRoutes(const std::vector<Route>& routes, const std::vector<Route>& added)
{
    if (added.empty()) {
        return {};
    }
    std::vector<Route> result = routes;
    std::vector<RoutePlace> selection;
    for (const Route& route : added) {
        const int number = LowestFreeRouteNumber(result);
        if (number < 0) {
            return {ROUTE_EDIT_TOO_MANY, {}, {}};
        }
        selection.push_back({static_cast<int>(result.size()), ROUTE_ITSELF});
        result.push_back(route);
        result.back().header.number = static_cast<uint8_t>(number);
    }
    return RouteEditOf(std::move(result), std::move(selection));
}

std::vector<Route> RoutesOfPlaces(const std::vector<Route>& routes,
                                  const std::vector<RoutePlace>& places)
{
    const std::vector<char> chosen = ChosenRoutes(routes, places, true);
    std::vector<Route> result;
    for (size_t r = 0; r < routes.size(); ++r) {
        if (chosen[r]) {
            result.push_back(routes[r]);
        }
    }
    return result;
}

std::string RouteClipboardText(const std::vector<Route>& routes)
{
    std::string text;
    for (const Route& route : routes) {
        const std::string name = Cp1252ToUtf8(FieldText(route.header.name, ROUTE_NAME_SIZE));
        for (const RoutePoint& point : route.points) {
            text += name + "," + Cp1252ToUtf8(RoutePointName(point)) + "," +
                    RouteDegreesText(point.record.latitude) + "," +
                    RouteDegreesText(point.record.longitude) + "\r\n";
        }
    }
    return text;
}
