#include "link/UnitData.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "gps/Geodesy.h"
#include "link/LinkTypes.h"

namespace {

// The fixed-layout types, read leniently (see CheckUnitPacket).
bool FixedWaypointLayout(int type)
{
    return (type >= 100 && type <= 104) || type == 107;
}

// The first `size` bytes of `data`, cut or zero-filled to `want`.
std::vector<uint8_t> Fitted(const std::vector<uint8_t>& data, size_t want)
{
    std::vector<uint8_t> bytes(want, 0);
    std::memcpy(bytes.data(), data.data(), std::min(want, data.size()));
    return bytes;
}

size_t EncodedSize(int waypointType)
{
    return EncodeWaypoint(waypointType, WaypointRecord{}, NoWaypointDetails()).size();
}

void DecodeUnitWaypoint(int type, const std::vector<uint8_t>& data, WaypointRecord& record,
                        WaypointDetails& details)
{
    if (FixedWaypointLayout(type)) {
        std::vector<uint8_t> bytes = Fitted(data, EncodedSize(type));
        DecodeWaypoint(type, bytes.data(), bytes.size(), record, details);
    } else {
        DecodeWaypoint(type, data.data(), data.size(), record, details);
    }
}

void DecodeUnitTrackPoint(int type, const std::vector<uint8_t>& data, TrackpointRecord& record,
                          TrackpointDetails& details)
{
    size_t want = EncodeTrackPoint(type, TrackpointRecord{}, NoTrackpointDetails()).size();
    std::vector<uint8_t> bytes = Fitted(data, want);
    DecodeTrackPoint(type, bytes.data(), bytes.size(), record, details);
}

// What a track header carries, from one point's details to another's.
void CopyTrackHead(const TrackpointDetails& from, TrackpointDetails& to)
{
    std::memcpy(to.trackName, from.trackName, TRACK_NAME_SIZE);
    to.trackColour = from.trackColour;
    to.trackDisplay = from.trackDisplay;
}

template <class Details>
void DropEmptyDetails(std::vector<Details>& details)
{
    if (std::all_of(details.begin(), details.end(), [](const Details& d) { return IsEmpty(d); })) {
        details.clear();
    }
}

template <class Record>
const auto& DetailsAt(const std::vector<Record>& details, size_t i, const Record& none)
{
    return i < details.size() ? details[i] : none;
}

void AddPacket(std::vector<UnitPacket>& packets, uint8_t id, std::vector<uint8_t> data)
{
    packets.push_back({id, std::move(data)});
}

void AddTrackPackets(const UnitProtocols& p, const GpsRecords& records,
                     std::vector<UnitPacket>& packets)
{
    int track = 0;
    for (size_t i = 0; i < records.trackpoints.size(); ++i) {
        TrackpointRecord point = records.trackpoints[i];
        const TrackpointDetails& details =
            DetailsAt(records.trackpointDetails, i, NoTrackpointDetails());
        if (p.trackHeaderType != 0) {
            bool starts = i == 0 || point.newTrack != 0;
            if (starts) {
                AddPacket(packets, PKT_TRACK_HEADER,
                          EncodeTrackHeader(p.trackHeaderType, details, track++));
            }
            point.newTrack = starts ? 1 : 0;
        }
        AddPacket(packets, PKT_TRACKPOINT, EncodeTrackPoint(p.trackPointType, point, details));
    }
}

void AddRoutePackets(const UnitProtocols& p, StringLimits limits, const GpsRecords& records,
                     std::vector<UnitPacket>& packets)
{
    for (const Route& route : records.routes) {
        AddPacket(packets, PKT_ROUTE_HEADER, EncodeRouteHeader(p.routeHeaderType, route.header));
        for (size_t i = 0; i < route.points.size(); ++i) {
            const RoutePoint& point = route.points[i];
            AddPacket(packets, PKT_ROUTE_WAYPOINT,
                      EncodeWaypoint(p.routeWaypointType, point.record, point.details, limits));
            if (p.routeLinkType != 0 && i + 1 < route.points.size()) {
                AddPacket(packets, PKT_ROUTE_LINK, EncodeRouteLink(p.routeLinkType, point.link));
            }
        }
    }
}

void StoreWaypoints(const UnitProfile& unit, const std::vector<UnitPacket>& packets,
                    GpsRecords& records)
{
    records.waypoints.clear();
    records.waypointDetails.clear();
    for (const UnitPacket& packet : packets) {
        if (packet.id == PKT_WAYPOINT) {
            WaypointRecord record;
            WaypointDetails details;
            DecodeUnitWaypoint(unit.protocols.waypointType, packet.data, record, details);
            records.waypoints.push_back(record);
            records.waypointDetails.push_back(details);
        }
    }
    DropEmptyDetails(records.waypointDetails);
}

void StoreTrack(const UnitProfile& unit, const std::vector<UnitPacket>& packets,
                GpsRecords& records)
{
    const UnitProtocols& p = unit.protocols;
    records.trackpoints.clear();
    records.trackpointDetails.clear();
    TrackpointDetails head = NoTrackpointDetails();
    bool headed = p.trackHeaderType != 0;  // the first point starts a track
    for (const UnitPacket& packet : packets) {
        if (packet.id == PKT_TRACK_HEADER) {
            head = NoTrackpointDetails();
            DecodeTrackHeader(p.trackHeaderType, packet.data.data(), packet.data.size(), head);
            headed = true;
        } else if (packet.id == PKT_TRACKPOINT) {
            TrackpointRecord point;
            TrackpointDetails details = NoTrackpointDetails();
            DecodeUnitTrackPoint(p.trackPointType, packet.data, point, details);
            if (std::exchange(headed, false)) {
                CopyTrackHead(head, details);
                point.newTrack = 1;
            }
            records.trackpoints.push_back(point);
            records.trackpointDetails.push_back(details);
        }
    }
    DropEmptyDetails(records.trackpointDetails);
}

void StoreRoutes(const UnitProfile& unit, const std::vector<UnitPacket>& packets,
                 GpsRecords& records)
{
    const UnitProtocols& p = unit.protocols;
    records.routes.clear();
    for (const UnitPacket& packet : packets) {
        if (packet.id != PKT_ROUTE_HEADER && packet.id != PKT_ROUTE_WAYPOINT &&
            packet.id != PKT_ROUTE_LINK) {
            continue;
        }
        if (packet.id == PKT_ROUTE_HEADER || records.routes.empty()) {
            int index = static_cast<int>(records.routes.size());
            if (index >= MAX_DOC_ROUTES) {
                break;  // what a document cannot hold is not kept
            }
            Route route;
            if (packet.id == PKT_ROUTE_HEADER) {
                route.header = DecodeRouteHeader(p.routeHeaderType, packet.data.data(),
                                                 packet.data.size(), index);
            } else {
                route.header.number = static_cast<uint8_t>(index);  // points without a header
            }
            records.routes.push_back(std::move(route));
        }
        std::vector<RoutePoint>& points = records.routes.back().points;
        if (packet.id == PKT_ROUTE_WAYPOINT) {
            RoutePoint point{};
            DecodeUnitWaypoint(p.routeWaypointType, packet.data, point.record, point.details);
            point.link = NoRouteLink();
            points.push_back(point);
        } else if (packet.id == PKT_ROUTE_LINK && !points.empty()) {
            points.back().link =
                DecodeRouteLink(p.routeLinkType, packet.data.data(), packet.data.size());
        }
    }
}

bool AnyOf(const std::vector<UnitPacket>& packets, std::initializer_list<uint8_t> ids)
{
    return std::any_of(packets.begin(), packets.end(), [&](const UnitPacket& packet) {
        return std::find(ids.begin(), ids.end(), packet.id) != ids.end();
    });
}

}  // namespace

StringLimits UnitStringLimits(const UnitProfile& unit)
{
    return {unit.nameLength, unit.commentLength};
}

std::vector<UnitPacket> UnitTransferPackets(const UnitProfile& unit, const GpsRecords& records,
                                            uint16_t command)
{
    return TransferPackets(unit.protocols, UnitStringLimits(unit), records, command);
}

std::vector<UnitPacket> TransferPackets(const UnitProtocols& p, StringLimits limits,
                                        const GpsRecords& records, uint16_t command)
{
    std::vector<UnitPacket> packets;
    if (command == CMD_SEND_WAYPOINTS && p.waypointType != 0) {
        for (size_t i = 0; i < records.waypoints.size(); ++i) {
            AddPacket(
                packets, PKT_WAYPOINT,
                EncodeWaypoint(p.waypointType, records.waypoints[i],
                               DetailsAt(records.waypointDetails, i, NoWaypointDetails()), limits));
        }
    } else if (command == CMD_SEND_TRACK && p.trackPointType != 0) {
        AddTrackPackets(p, records, packets);
    } else if (command == CMD_SEND_ROUTES && p.routeHeaderType != 0) {
        AddRoutePackets(p, limits, records, packets);
    }
    return packets;
}

bool UnitTakesPacket(const UnitProfile& unit, uint8_t id)
{
    const UnitProtocols& p = unit.protocols;
    switch (id) {
    case PKT_WAYPOINT:
        return p.waypointType != 0;
    case PKT_TRACKPOINT:
        return p.trackPointType != 0;
    case PKT_TRACK_HEADER:
        return p.trackHeaderType != 0;
    case PKT_ROUTE_HEADER:
        return p.routeHeaderType != 0;
    case PKT_ROUTE_WAYPOINT:
        return p.routeWaypointType != 0;
    case PKT_ROUTE_LINK:
        return p.routeLinkType != 0;
    default:
        return false;
    }
}

void CheckUnitPacket(const UnitProfile& unit, const UnitPacket& packet)
{
    const UnitProtocols& p = unit.protocols;
    WaypointRecord waypoint;
    WaypointDetails waypointDetails;
    TrackpointRecord point;
    TrackpointDetails pointDetails = NoTrackpointDetails();
    const uint8_t* data = packet.data.data();
    size_t size = packet.data.size();
    switch (packet.id) {
    case PKT_WAYPOINT:
        DecodeUnitWaypoint(p.waypointType, packet.data, waypoint, waypointDetails);
        break;
    case PKT_ROUTE_WAYPOINT:
        DecodeUnitWaypoint(p.routeWaypointType, packet.data, waypoint, waypointDetails);
        break;
    case PKT_TRACKPOINT:
        DecodeUnitTrackPoint(p.trackPointType, packet.data, point, pointDetails);
        break;
    case PKT_TRACK_HEADER:
        DecodeTrackHeader(p.trackHeaderType, data, size, pointDetails);
        break;
    case PKT_ROUTE_HEADER:
        DecodeRouteHeader(p.routeHeaderType, data, size, 0);
        break;
    case PKT_ROUTE_LINK:
        DecodeRouteLink(p.routeLinkType, data, size);
        break;
    default:
        throw DataTypeError("Paket " + std::to_string(packet.id) + ": kein Datensatz");
    }
}

bool StoreUnitUpload(const UnitProfile& unit, const std::vector<UnitPacket>& packets,
                     uint16_t command, GpsRecords& records)
{
    bool none = packets.empty();
    bool waypoints = AnyOf(packets, {PKT_WAYPOINT}) || (none && command == CMD_SEND_WAYPOINTS);
    bool track =
        AnyOf(packets, {PKT_TRACKPOINT, PKT_TRACK_HEADER}) || (none && command == CMD_SEND_TRACK);
    bool routes = AnyOf(packets, {PKT_ROUTE_HEADER, PKT_ROUTE_WAYPOINT, PKT_ROUTE_LINK}) ||
                  (none && command == CMD_SEND_ROUTES);
    if (waypoints) {
        StoreWaypoints(unit, packets, records);
    }
    if (track) {
        StoreTrack(unit, packets, records);
    }
    if (routes) {
        StoreRoutes(unit, packets, records);
    }
    return waypoints || track || routes;
}
