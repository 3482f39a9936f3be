#include "link/UnitData.h"

#include <algorithm>
#include <utility>

#include "gps/Geodesy.h"
#include "link/LinkTypes.h"

namespace {

// The fixed-layout types, read leniently (see CheckUnitPacket).
bool FixedWaypointLayout(int type)
{
    return (type >= 100 && type <= 104) || type == 107;
}

// A waypoint as the unit reads it; `lenient`: a fixed-layout type cut or zero-filled to its
// size first.
void DecodeUnitWaypoint(int type, const uint8_t* data, size_t size, bool lenient,
                        WaypointRecord& record, WaypointDetails& details)
{
    std::vector<uint8_t> bytes(data, data + size);
    if (lenient && FixedWaypointLayout(type)) {
        bytes.resize(EncodeWaypoint(type, {}, NoWaypointDetails()).size());
    }
    DecodeWaypoint(type, bytes.data(), bytes.size(), record, details);
}

void DecodeUnitTrackPoint(int type, const uint8_t* data, size_t size, bool lenient,
                          TrackpointRecord& record, TrackpointDetails& details)
{
    std::vector<uint8_t> bytes(data, data + size);
    if (lenient) {
        bytes.resize(EncodeTrackPoint(type, {}, NoTrackpointDetails()).size());
    }
    DecodeTrackPoint(type, bytes.data(), bytes.size(), record, details);
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
        DecodeUnitWaypoint(p.waypointType, data, size, true, waypoint, waypointDetails);
        break;
    case PKT_ROUTE_WAYPOINT:
        DecodeUnitWaypoint(p.routeWaypointType, data, size, true, waypoint, waypointDetails);
        break;
    case PKT_TRACKPOINT:
        DecodeUnitTrackPoint(p.trackPointType, data, size, true, point, pointDetails);
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

PacketAssembler::PacketAssembler(const UnitProtocols& protocols, PacketReading reading)
    : protocols_(protocols),
      lenient_(reading == PacketReading::Lenient),
      trackHead_(NoTrackpointDetails()),
      trackStarts_(lenient_ && protocols.trackHeaderType != 0)
{
}

void PacketAssembler::Take(uint8_t id, const uint8_t* data, size_t size)
{
    const UnitProtocols& p = protocols_;
    if (id == PKT_WAYPOINT) {
        WaypointRecord record;
        WaypointDetails details;
        DecodeUnitWaypoint(p.waypointType, data, size, lenient_, record, details);
        records_.waypoints.push_back(record);
        records_.waypointDetails.push_back(details);
    } else if (id == PKT_TRACK_HEADER) {
        trackHead_ = NoTrackpointDetails();
        DecodeTrackHeader(p.trackHeaderType, data, size, trackHead_);
        trackStarts_ = true;
    } else if (id == PKT_TRACKPOINT) {
        // The point's values replace the header's; its name, colour and display stay.
        TrackpointRecord point;
        TrackpointDetails details = trackStarts_ ? trackHead_ : NoTrackpointDetails();
        DecodeUnitTrackPoint(p.trackPointType, data, size, lenient_, point, details);
        if (std::exchange(trackStarts_, false)) {
            point.newTrack = 1;
        }
        records_.trackpoints.push_back(point);
        records_.trackpointDetails.push_back(details);
    } else if (id == PKT_ROUTE_HEADER || id == PKT_ROUTE_WAYPOINT || id == PKT_ROUTE_LINK) {
        TakeRoutePacket(id, data, size);
    }
}

void PacketAssembler::TakeRoutePacket(uint8_t id, const uint8_t* data, size_t size)
{
    if (routesFull_) {
        return;
    }
    const UnitProtocols& p = protocols_;
    std::vector<Route>& routes = records_.routes;
    const bool header = id == PKT_ROUTE_HEADER;
    if (!lenient_ && !header &&
        (routes.empty() || (id == PKT_ROUTE_LINK && routes.back().points.empty()))) {
        int type = id == PKT_ROUTE_LINK ? p.routeLinkType : p.routeWaypointType;
        throw DataTypeError("D" + std::to_string(type) + ": vor dem Kopf einer Route");
    }
    if (header || routes.empty()) {
        int index = static_cast<int>(routes.size());
        if (index >= MAX_DOC_ROUTES) {
            if (!lenient_) {
                throw DataTypeError("Routen: mehr als " + std::to_string(MAX_DOC_ROUTES));
            }
            routesFull_ = true;  // what a document cannot hold is not kept
            return;
        }
        Route route;
        if (header) {
            route.header = DecodeRouteHeader(p.routeHeaderType, data, size, index);
        } else {
            route.header.number = static_cast<uint8_t>(index);  // points without a header
        }
        routes.push_back(std::move(route));
    }
    std::vector<RoutePoint>& points = routes.back().points;
    if (id == PKT_ROUTE_WAYPOINT) {
        WaypointRecord record;
        WaypointDetails details;
        DecodeUnitWaypoint(p.routeWaypointType, data, size, lenient_, record, details);
        points.push_back(MakeRoutePoint(record, details));
    } else if (id == PKT_ROUTE_LINK && !points.empty()) {
        points.back().link = DecodeRouteLink(p.routeLinkType, data, size);
    }
}

GpsRecords PacketAssembler::Finish()
{
    if (records_.waypoints.size() < waypointSlots_) {
        records_.waypoints.resize(waypointSlots_, WaypointRecord{});
        records_.waypointDetails.resize(waypointSlots_, NoWaypointDetails());
    }
    DropEmptyDetails(records_.waypointDetails);
    DropEmptyDetails(records_.trackpointDetails);
    return std::move(records_);
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
    PacketAssembler assembler(unit.protocols, PacketReading::Lenient);
    for (const UnitPacket& packet : packets) {
        assembler.Take(packet.id, packet.data.data(), packet.data.size());
    }
    GpsRecords got = assembler.Finish();
    if (waypoints) {
        records.waypoints = std::move(got.waypoints);
        records.waypointDetails = std::move(got.waypointDetails);
    }
    if (track) {
        records.trackpoints = std::move(got.trackpoints);
        records.trackpointDetails = std::move(got.trackpointDetails);
    }
    if (routes) {
        records.routes = std::move(got.routes);
    }
    return waypoints || track || routes;
}
