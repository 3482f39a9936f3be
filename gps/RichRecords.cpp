#include "gps/RichRecords.h"

#include <algorithm>
#include <cstring>

#include "gps/WaypointName.h"

namespace {

template <class T>
bool SameAs(const T& a, const T& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// What a user waypoint's subclass holds on every receiver.
void SetUserSubclass(uint8_t (&subclass)[18])
{
    std::memset(subclass, 0, 6);
    std::memset(subclass + 6, 0xFF, 12);
}

WaypointDetails MakeNoWaypointDetails()
{
    WaypointDetails d;
    std::memset(&d, 0, sizeof d);
    d.symbol = SYMBOL_NONE;
    d.altitude = d.depth = d.proximity = d.temperature = VALUE_NONE;
    d.time = TIME_NONE;
    d.colour = COLOUR_DEFAULT;
    SetUserSubclass(d.subclass);
    return d;
}

TrackpointDetails MakeNoTrackpointDetails()
{
    TrackpointDetails d;
    std::memset(&d, 0, sizeof d);
    d.altitude = d.depth = d.temperature = VALUE_NONE;
    d.trackColour = COLOUR_DEFAULT;
    d.trackDisplay = 1;
    return d;
}

RouteLink MakeNoRouteLink()
{
    RouteLink link;
    std::memset(&link, 0, sizeof link);
    link.linkClass = 3;  // direct
    SetUserSubclass(link.subclass);
    return link;
}

}  // namespace

const WaypointDetails& NoWaypointDetails()
{
    static const WaypointDetails none = MakeNoWaypointDetails();
    return none;
}

bool IsEmpty(const WaypointDetails& details)
{
    return SameAs(details, NoWaypointDetails());
}

const TrackpointDetails& NoTrackpointDetails()
{
    static const TrackpointDetails none = MakeNoTrackpointDetails();
    return none;
}

bool IsEmpty(const TrackpointDetails& details)
{
    return SameAs(details, NoTrackpointDetails());
}

const RouteLink& NoRouteLink()
{
    static const RouteLink none = MakeNoRouteLink();
    return none;
}

bool SameBytes(const Route& a, const Route& b)
{
    return SameAs(a.header, b.header) && a.points.size() == b.points.size() &&
           (a.points.empty() ||
            std::memcmp(a.points.data(), b.points.data(), a.points.size() * sizeof(RoutePoint)) ==
                0);
}

bool SameRoutes(const std::vector<Route>& a, const std::vector<Route>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const Route& x, const Route& y) { return SameBytes(x, y); });
}

bool RoutesFit(const std::vector<Route>& routes)
{
    if (routes.size() > static_cast<size_t>(MAX_DOC_ROUTES)) {
        return false;
    }
    size_t points = 0;
    for (const Route& route : routes) {
        points += route.points.size();
    }
    return points <= static_cast<size_t>(MAX_DOC_ROUTE_POINTS);
}

std::string_view WaypointName(const WaypointRecord& record, const WaypointDetails& details)
{
    std::string_view name = FieldText(details.name, WAYPOINT_NAME_SIZE);
    return name.empty() ? WaypointIdent(record) : name;
}

std::string_view WaypointLongComment(const WaypointRecord& record,
                                     const WaypointDetails& details)
{
    std::string_view comment = FieldText(details.comment, WAYPOINT_LONG_COMMENT_SIZE);
    return comment.empty() ? WaypointComment(record) : comment;
}

uint16_t WaypointFullSymbol(const WaypointRecord& record, const WaypointDetails& details)
{
    return details.symbol != SYMBOL_NONE ? details.symbol : FullSymbolOfRecordSymbol(record.symbol);
}

void SetWaypointFullSymbol(WaypointRecord& record, WaypointDetails& details, uint16_t symbol)
{
    record.symbol = static_cast<int16_t>(RecordSymbolOfFullSymbol(symbol));
    details.symbol = FullSymbolOfRecordSymbol(record.symbol) == symbol ? SYMBOL_NONE : symbol;
}

void SetWaypointName(WaypointRecord& record, WaypointDetails& details, std::string_view name)
{
    name = name.substr(0, std::min(name.find('\0'), WAYPOINT_NAME_SIZE));
    std::string ident = NormalizeWaypointIdent(name);
    SetFieldText(record.ident, WAYPOINT_IDENT_SIZE, ident);
    bool identSaysIt = WithoutTrailingBlanks(name) == WithoutTrailingBlanks(ident);
    SetFieldText(details.name, WAYPOINT_NAME_SIZE, identSaysIt ? std::string_view() : name);
}

void SetWaypointComment(WaypointRecord& record, WaypointDetails& details,
                        std::string_view comment)
{
    comment = comment.substr(0, std::min(comment.find('\0'), WAYPOINT_LONG_COMMENT_SIZE));
    SetFieldText(record.comment, WAYPOINT_COMMENT_SIZE, comment);
    SetFieldText(details.comment, WAYPOINT_LONG_COMMENT_SIZE,
                 comment.size() > WAYPOINT_COMMENT_SIZE ? comment : std::string_view());
}

void DropDetailsTheRecordContradicts(const WaypointRecord& record, WaypointDetails& details)
{
    std::string_view name = FieldText(details.name, WAYPOINT_NAME_SIZE);
    if (!name.empty() && WithoutTrailingBlanks(NormalizeWaypointIdent(name)) != WithoutTrailingBlanks(WaypointIdent(record))) {
        SetFieldText(details.name, WAYPOINT_NAME_SIZE, {});
    }
    std::string_view comment = FieldText(details.comment, WAYPOINT_LONG_COMMENT_SIZE);
    if (!comment.empty() &&
        comment.substr(0, WAYPOINT_COMMENT_SIZE) != WaypointComment(record)) {
        SetFieldText(details.comment, WAYPOINT_LONG_COMMENT_SIZE, {});
    }
    if (details.symbol != SYMBOL_NONE && RecordSymbolOfFullSymbol(details.symbol) != record.symbol) {
        details.symbol = SYMBOL_NONE;
    }
}

RoutePoint MakeRoutePoint(const WaypointRecord& record, const WaypointDetails& details)
{
    RoutePoint point;
    point.record = record;
    point.details = details;
    point.link = NoRouteLink();
    return point;
}
