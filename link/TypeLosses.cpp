#include "link/TypeLosses.h"

#include <cstring>

#include "link/DataTypes.h"

namespace {

// The values a type may cut or approximate, and the fields it may not hold, in the order the
// message names them.
enum LossCount { ROUTE_NAMES_CUT, NAMES_CUT, COMMENTS_CUT, SYMBOLS_NEAR, LOSS_COUNTS };
constexpr const char* kCountText[LOSS_COUNTS] = {"Routennamen gekürzt", "Namen gekürzt",
                                                 "Kommentare gekürzt", "Symbole angenähert"};
enum LossField {
    DISPLAYS,
    ALTITUDES,
    DEPTHS,
    PROXIMITIES,
    TEMPERATURES,
    TIMES,
    COLOURS,
    CATEGORIES,
    CLASSES,
    ADDRESSES,
    TRACK_NAMES,
    TRACK_COLOURS,
    TRACK_DISPLAYS,
    LINKS,
    LOSS_FIELDS
};
constexpr const char* kFieldText[LOSS_FIELDS] = {
    "Anzeigearten", "Höhen",       "Tiefen",       "Alarmradien",   "Temperaturen",
    "Zeiten",       "Farben",      "Kategorien",   "Kartenklassen", "Adressen",
    "Tracknamen",   "Trackfarben", "Trackanzeige", "Verbindungen"};

// What one kind lost, gathered over its records.
class LossList {
public:
    void Count(LossCount what, bool lost) { counts_[what] += lost ? 1 : 0; }
    void Field(LossField what, bool lost) { fields_[what] = fields_[what] || lost; }
    // "2 Namen gekürzt, Tiefen und Adressen nicht übertragen"
    std::string Text() const
    {
        std::string text;
        for (int i = 0; i < LOSS_COUNTS; ++i) {
            if (counts_[i] > 0) {
                text +=
                    (text.empty() ? "" : ", ") + std::to_string(counts_[i]) + " " + kCountText[i];
            }
        }
        std::vector<const char*> fields;
        for (int i = 0; i < LOSS_FIELDS; ++i) {
            if (fields_[i]) {
                fields.push_back(kFieldText[i]);
            }
        }
        for (size_t i = 0; i < fields.size(); ++i) {
            const char* separator =
                i == 0 ? (text.empty() ? "" : ", ") : (i + 1 == fields.size() ? " und " : ", ");
            text += separator + std::string(fields[i]);
        }
        return fields.empty() ? text : text + " nicht übertragen";
    }

private:
    int counts_[LOSS_COUNTS] = {};
    bool fields_[LOSS_FIELDS] = {};
};

// A value the records said that did not come back as it was.
bool ValueLost(float sent, float back)
{
    return HasValue(sent) && !(HasValue(back) && sent == back);
}

template <size_t N>
bool BytesDiffer(const char (&a)[N], const char (&b)[N])
{
    return std::memcmp(a, b, N) != 0;
}

void CompareWaypoint(int type, const WaypointRecord& record, const WaypointDetails& details,
                     LossList& losses)
{
    WaypointRecord back{};
    WaypointDetails got = NoWaypointDetails();
    try {
        std::vector<uint8_t> bytes = EncodeWaypoint(type, record, details);
        DecodeWaypoint(type, bytes.data(), bytes.size(), back, got);
    } catch (const DataTypeError&) {
        return;  // refused before anything is sent
    }
    losses.Count(NAMES_CUT, WithoutTrailingBlanks(WaypointName(record, details)) !=
                                WithoutTrailingBlanks(WaypointName(back, got)));
    losses.Count(COMMENTS_CUT, WithoutTrailingBlanks(WaypointLongComment(record, details)) !=
                                   WithoutTrailingBlanks(WaypointLongComment(back, got)));
    losses.Count(SYMBOLS_NEAR,
                 WaypointFullSymbol(record, details) != WaypointFullSymbol(back, got));
    losses.Field(DISPLAYS, record.display != back.display);
    losses.Field(ALTITUDES, ValueLost(details.altitude, got.altitude));
    losses.Field(DEPTHS, ValueLost(details.depth, got.depth));
    losses.Field(PROXIMITIES, ValueLost(details.proximity, got.proximity));
    losses.Field(TEMPERATURES, ValueLost(details.temperature, got.temperature));
    losses.Field(TIMES, details.time != TIME_NONE && details.time != got.time);
    losses.Field(COLOURS, details.colour != COLOUR_DEFAULT && details.colour != got.colour);
    losses.Field(CATEGORIES, details.category != got.category);
    losses.Field(CLASSES,
                 details.wptClass != got.wptClass ||
                     std::memcmp(details.subclass, got.subclass, sizeof details.subclass) != 0);
    losses.Field(ADDRESSES, BytesDiffer(details.state, got.state) ||
                                BytesDiffer(details.country, got.country) ||
                                BytesDiffer(details.facility, got.facility) ||
                                BytesDiffer(details.city, got.city) ||
                                BytesDiffer(details.address, got.address) ||
                                BytesDiffer(details.crossRoad, got.crossRoad));
}

const TrackpointDetails& TrackDetailsAt(const GpsRecords& records, size_t i)
{
    return i < records.trackpointDetails.size() ? records.trackpointDetails[i]
                                                : NoTrackpointDetails();
}

std::string TrackLosses(const UnitProtocols& p, const GpsRecords& records)
{
    if (!KnownTrackPointType(p.trackPointType) ||
        (p.trackHeaderType != 0 && !KnownTrackHeaderType(p.trackHeaderType))) {
        return {};
    }
    LossList losses;
    int track = 0;
    for (size_t i = 0; i < records.trackpoints.size(); ++i) {
        const TrackpointRecord& point = records.trackpoints[i];
        const TrackpointDetails& details = TrackDetailsAt(records, i);
        TrackpointRecord back{};
        TrackpointDetails got = NoTrackpointDetails();
        TrackpointDetails head = NoTrackpointDetails();
        const bool starts = i == 0 || point.newTrack != 0;
        try {
            std::vector<uint8_t> bytes = EncodeTrackPoint(p.trackPointType, point, details);
            DecodeTrackPoint(p.trackPointType, bytes.data(), bytes.size(), back, got);
            if (starts && p.trackHeaderType != 0) {
                bytes = EncodeTrackHeader(p.trackHeaderType, details, track++);
                DecodeTrackHeader(p.trackHeaderType, bytes.data(), bytes.size(), head);
            }
        } catch (const DataTypeError&) {
            return {};  // refused before anything is sent
        }
        losses.Field(ALTITUDES, ValueLost(details.altitude, got.altitude));
        losses.Field(DEPTHS, ValueLost(details.depth, got.depth));
        losses.Field(TEMPERATURES, ValueLost(details.temperature, got.temperature));
        losses.Field(TIMES, point.time != back.time);
        if (starts) {
            const TrackpointDetails& none = NoTrackpointDetails();
            losses.Field(TRACK_NAMES, details.trackName[0] != 0 &&
                                          BytesDiffer(details.trackName, head.trackName));
            losses.Field(TRACK_COLOURS, details.trackColour != none.trackColour &&
                                            details.trackColour != head.trackColour);
            losses.Field(TRACK_DISPLAYS, details.trackDisplay != none.trackDisplay &&
                                             details.trackDisplay != head.trackDisplay);
        }
    }
    return losses.Text();
}

std::string RouteLosses(const UnitProtocols& p, const GpsRecords& records)
{
    if (!KnownRouteHeaderType(p.routeHeaderType) || !KnownWaypointType(p.routeWaypointType)) {
        return {};
    }
    LossList losses;
    for (size_t r = 0; r < records.routes.size(); ++r) {
        const Route& route = records.routes[r];
        try {
            std::vector<uint8_t> bytes = EncodeRouteHeader(p.routeHeaderType, route.header);
            RouteHeader back = DecodeRouteHeader(p.routeHeaderType, bytes.data(), bytes.size(),
                                                 static_cast<int>(r));
            losses.Count(ROUTE_NAMES_CUT, BytesDiffer(route.header.name, back.name));
        } catch (const DataTypeError&) {
            return {};
        }
        for (size_t i = 0; i < route.points.size(); ++i) {
            const RoutePoint& point = route.points[i];
            CompareWaypoint(p.routeWaypointType, point.record, point.details, losses);
            if (i + 1 == route.points.size()) {
                continue;
            }
            bool linkKept = std::memcmp(&point.link, &NoRouteLink(), sizeof point.link) == 0;
            if (!linkKept && KnownRouteLinkType(p.routeLinkType)) {
                std::vector<uint8_t> bytes = EncodeRouteLink(p.routeLinkType, point.link);
                RouteLink back = DecodeRouteLink(p.routeLinkType, bytes.data(), bytes.size());
                linkKept = std::memcmp(&point.link, &back, sizeof back) == 0;
            }
            losses.Field(LINKS, !linkKept);
        }
    }
    return losses.Text();
}

}  // namespace

TypeLosses LossesOfTypes(const UnitProtocols& protocols, const GpsRecords& records)
{
    TypeLosses result;
    if (KnownWaypointType(protocols.waypointType)) {
        LossList losses;
        for (size_t i = 0; i < records.waypoints.size(); ++i) {
            CompareWaypoint(protocols.waypointType, records.waypoints[i],
                            i < records.waypointDetails.size() ? records.waypointDetails[i]
                                                               : NoWaypointDetails(),
                            losses);
        }
        result.waypoints = losses.Text();
    }
    result.track = TrackLosses(protocols, records);
    result.routes = RouteLosses(protocols, records);
    return result;
}
