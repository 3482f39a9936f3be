#include "edit/RouteEditing.h"

#include <gtest/gtest.h>

#include "edit/RouteListFormat.h"
#include "gps/ReceiverProfile.h"
#include "tests/edit/ProcessSettings.h"

namespace {

using Routes = std::vector<Route>;

// 107176 semicircles of latitude are 1.000004 km.
constexpr int32_t kOneKm = 107176;

// A point named `name`, `km` north of the equator, its link to the next point named `link`
// ("" for a direct one).
RoutePoint Point(const char* name, int km = 0, const char* link = "")
{
    WaypointRecord w{};
    SetFieldText(w.ident, sizeof w.ident, name);
    w.latitude = km * kOneKm;
    RoutePoint point = MakeRoutePoint(w, NoWaypointDetails());
    if (*link) {
        point.link.linkClass = 1;
        SetFieldText(point.link.ident, sizeof point.link.ident, link);
    }
    return point;
}

Route MakeRoute(int number, const char* name, std::vector<RoutePoint> points)
{
    Route route;
    route.header.number = static_cast<uint8_t>(number);
    SetFieldText(route.header.name, sizeof route.header.name, name);
    route.points = std::move(points);
    return route;
}

// Route 0 "T" of A, B, C one km apart, with links; route 2 "K" of E.
Routes Base()
{
    return {MakeRoute(0, "T", {Point("A", 0, "ab"), Point("B", 1, "bc"), Point("C", 2, "c")}),
            MakeRoute(2, "K", {Point("E")})};
}

// "0 T: A>ab B>bc C>c | 2 K: E": number, name, points with the links that are not direct.
std::string Describe(const Routes& routes)
{
    std::string text;
    for (const Route& route : routes) {
        text += (text.empty() ? "" : " | ") + std::to_string(route.header.number) + " " +
                std::string(FieldText(route.header.name, ROUTE_NAME_SIZE)) + ":";
        for (const RoutePoint& point : route.points) {
            std::string ident(WaypointIdent(point.record));
            text += " " + ident.erase(ident.find_last_not_of(' ') + 1);
            if (point.link.linkClass != NoRouteLink().linkClass) {
                text += ">" + std::string(FieldText(point.link.ident, ROUTE_LINK_IDENT_SIZE));
            }
        }
    }
    return text;
}

std::string Describe(const std::vector<RoutePlace>& places)
{
    std::string text;
    for (const RoutePlace& place : places) {
        text += (text.empty() ? "" : " ") + std::to_string(place.route) +
                (place.point == ROUTE_ITSELF ? "" : "." + std::to_string(place.point));
    }
    return text;
}

TEST(RouteEditing, EachCommandGivesTheNewListAndTheRowsToSelect)
{
    const Routes r = Base();
    const Routes full(255, MakeRoute(0, "R", {}));
    const std::vector<RoutePoint> many(MAX_DOC_ROUTE_POINTS - 3, Point("X"));
    struct Case {
        const char* legend;
        RouteEdit edit;
        RouteEditResult result;
        const char* routes;
        const char* selection;
    } cases[] = {
        {"a new route takes the lowest free number and its ends' names",
         NewRoute(r, {Point("X"), Point("Y     ")}), ROUTE_EDIT_OK,
         "0 T: A>ab B>bc C>c | 2 K: E | 1 X - Y: X Y", "2"},
        {"no route without points", NewRoute(r, {}), ROUTE_EDIT_NOTHING, "", ""},
        {"insert at a route's row appends; the old last leg is new",
         InsertIntoRoute(r, {0, ROUTE_ITSELF}, {Point("X")}), ROUTE_EDIT_OK,
         "0 T: A>ab B>bc C X | 2 K: E", "0.3"},
        {"insert after a point", InsertIntoRoute(r, {0, 1}, {Point("X"), Point("Y")}),
         ROUTE_EDIT_OK, "0 T: A>ab B X Y C>c | 2 K: E", "0.2 0.3"},
        {"insert at no row", InsertIntoRoute(r, {0, 3}, {Point("X")}), ROUTE_EDIT_NOTHING, "", ""},
        {"insert beyond the points a document holds", InsertIntoRoute(r, {1, ROUTE_ITSELF}, many),
         ROUTE_EDIT_TOO_MANY, "", ""},
        {"remove a point: its follower takes its row", RemovePlaces(r, {{0, 1}}), ROUTE_EDIT_OK,
         "0 T: A C>c | 2 K: E", "0.1"},
        {"remove a route's row: the route goes whole", RemovePlaces(r, {{0, ROUTE_ITSELF}, {0, 2}}),
         ROUTE_EDIT_OK, "2 K: E", "0"},
        {"remove the last row: the one before is selected", RemovePlaces(r, {{1, 0}}),
         ROUTE_EDIT_OK, "0 T: A>ab B>bc C>c | 2 K:", "1"},
        {"move a point up", MovePoints(r, {{0, 1}}, -1), ROUTE_EDIT_OK, "0 T: B A C>c | 2 K: E",
         "0.0"},
        {"two points move down together, keeping their leg", MovePoints(r, {{0, 0}, {0, 1}}, 1),
         ROUTE_EDIT_OK, "0 T: C A>ab B | 2 K: E", "0.1 0.2"},
        {"the last point does not move down", MovePoints(r, {{0, 1}, {1, 0}}, 1),
         ROUTE_EDIT_NOTHING, "", ""},
        {"reverse: legs turn round with their links, the selection follows",
         ReverseRoutes(r, {{0, 0}, {1, 0}}), ROUTE_EDIT_OK, "0 T: C>bc B>ab A>c | 2 K: E",
         "0.2 1.0"},
        {"rename as a GPS 12 holds a route's comment: 20 characters",
         RenameRoute(r, 1, Gps12Profile(), "Kurze Tour \x7fzum See und zur\xFC" "ck "),
         ROUTE_EDIT_OK, "0 T: A>ab B>bc C>c | 2 Kurze Tour zum See u: E", "1"},
        {"rename as a later receiver holds a name",
         RenameRoute(r, 1, ProfileOf("named50"), "Kurze Tour zum See und zur\xFC" "ck "),
         ROUTE_EDIT_OK, "0 T: A>ab B>bc C>c | 2 Kurze Tour zum See und zur\xFC" "ck: E", "1"},
        {"a name of no characters is refused", RenameRoute(r, 1, Gps12Profile(), " \t "),
         ROUTE_EDIT_NOTHING, "", ""},
        {"appended routes take the free numbers in turn", AppendRoutes(r, r), ROUTE_EDIT_OK,
         "0 T: A>ab B>bc C>c | 2 K: E | 1 T: A>ab B>bc C>c | 3 K: E", "2 3"},
        {"no route beyond 255", AppendRoutes(full, {r[1]}), ROUTE_EDIT_TOO_MANY, "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.edit.result, c.result) << c.legend;
        EXPECT_EQ(Describe(c.edit.routes), c.routes) << c.legend;
        EXPECT_EQ(Describe(c.edit.selection), c.selection) << c.legend;
    }
}

TEST(RouteEditing, ListRowsAndTheirTexts)
{
    ScopedLocale locale("C");
    Routes routes = Base();
    SetWaypointComment(routes[0].points[1].record, routes[0].points[1].details,
                       "ein Kommentar von mehr als vierzig Zeichen L\xe4nge");
    EXPECT_EQ(Describe(RouteListPlaces(routes)), "0 0.0 0.1 0.2 1 1.0");
    struct Case {
        RoutePlace place;
        int column;
        const char* text;
    } cases[] = {
        {{1, ROUTE_ITSELF}, RTE_COL_NUMBER, "2"},
        {{0, ROUTE_ITSELF}, RTE_COL_NAME, "T"},
        {{0, ROUTE_ITSELF}, RTE_COL_POINTS, "3"},
        {{0, ROUTE_ITSELF}, RTE_COL_LENGTH, "2.00 km"},
        {{0, ROUTE_ITSELF}, RTE_COL_DISTANCE, ""},
        {{0, 0}, RTE_COL_DISTANCE, ""},
        {{0, 1}, RTE_COL_DISTANCE, "1.000 km"},
        {{0, 1}, RTE_COL_NAME, "B"},
        {{0, 2}, RTE_COL_LATITUDE, "0.0179668"},
        {{0, 1}, RTE_COL_COMMENT, "ein Kommentar von mehr als vierzig Zeichen L\xe4nge"},
        {{0, 1}, RTE_COL_NUMBER, ""},
        {{0, 3}, RTE_COL_NAME, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RouteCellText(routes, c.place, c.column), c.text)
            << Describe(std::vector<RoutePlace>{c.place}) << " column " << c.column;
    }
    SetFieldText(routes[1].points[0].record.ident, WAYPOINT_IDENT_SIZE, "E     ");
    EXPECT_EQ(RouteClipboardText(RoutesOfPlaces(routes, {{1, 0}})), "K,E,0.000000,0.000000\r\n");
}

}  // namespace
