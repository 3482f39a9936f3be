// The record transfers of CGpsLink in the data types the unit speaks: waypoints (A100),
// track logs (A300 points only, A301 and A302 with a header before each track's points) and
// routes (A200 a header and its waypoints, A201 with a link between consecutive waypoints).

#include <algorithm>

#include "framework/Prompts.h"
#include "link/CGpsLink.h"
#include "link/DataTypes.h"
#include "link/LinkMessages.h"
#include "link/UnitData.h"

namespace {

std::string TypeName(int type)
{
    return "D" + std::to_string(type);
}

// The first data type of `types` the program does not know, as "D155"; empty when it knows
// them all.
std::string UnknownOf(std::initializer_list<std::pair<int, bool (*)(int)>> types)
{
    for (auto [type, known] : types) {
        if (!known(type)) {
            return TypeName(type);
        }
    }
    return {};
}

template <class Details>
void DropIfNothingSaid(std::vector<Details>& details)
{
    if (std::all_of(details.begin(), details.end(), [](const Details& d) { return IsEmpty(d); })) {
        details.clear();
    }
}

// Whether a download's storage takes what came: not when the transfer never began or brought
// what its type cannot be; a cancelled one leaves it empty.
bool KeepsWhatCame(TransferResult result, GpsRecords& got)
{
    if (result == TransferResult::Cancelled) {
        got = {};
    }
    return result != TransferResult::NotStarted && result != TransferResult::BadData;
}

}  // namespace

std::string CGpsLink::KindRefusal(TransferKind kind) const
{
    const UnitProtocols& p = protocols_;
    switch (kind) {
    case KIND_WAYPOINTS:
        if (p.waypoints == 0) {
            return NoProtocolText("Wegpunkte");
        }
        return KnownWaypointType(p.waypointType)
                   ? std::string()
                   : UnknownTypeText("Wegpunkte", TypeName(p.waypointType));
    case KIND_TRACKS: {
        if (p.tracks == 0) {
            return NoProtocolText("Tracks");
        }
        const std::string unknown =
            UnknownOf({{p.trackPointType, KnownTrackPointType},
                       {p.tracks != 300 ? p.trackHeaderType : 310, KnownTrackHeaderType}});
        return unknown.empty() ? unknown : UnknownTypeText("Tracks", unknown);
    }
    case KIND_ROUTES: {
        if (p.routes == 0) {
            return NoProtocolText("Routen");
        }
        const std::string unknown =
            UnknownOf({{p.routeHeaderType, KnownRouteHeaderType},
                       {p.routeWaypointType, KnownWaypointType},
                       {p.routes == 201 ? p.routeLinkType : 210, KnownRouteLinkType}});
        return unknown.empty() ? unknown : UnknownTypeText("Routen", unknown);
    }
    }
    return {};
}

TransferResult CGpsLink::RefuseKind(const std::string& message)
{
    Prompts::Current().Message(message);
    return TransferResult::NotStarted;
}

TransferResult CGpsLink::DownloadWaypoints()
{
    const int type = protocols_.waypointType;
    if (std::string refusal = KindRefusal(KIND_WAYPOINTS); !refusal.empty()) {
        return RefuseKind(refusal);
    }
    GpsRecords got;
    PacketSink sink{[&](int count) {
                        // Slots that are never received stay zero.
                        WaypointRecord zero{};
                        got.waypoints.assign(static_cast<size_t>(count), zero);
                        got.waypointDetails.assign(static_cast<size_t>(count), NoWaypointDetails());
                    },
                    [&](int i, uint8_t, const uint8_t* data, uint8_t size) {
                        auto k = static_cast<size_t>(i);
                        DecodeWaypoint(type, data, size, got.waypoints[k], got.waypointDetails[k]);
                    }};
    TransferResult result =
        DownloadPackets(CMD_SEND_WAYPOINTS, {PKT_WAYPOINT}, true, TransferResult::BudgetExceeded,
                        TransferResult::DoneMissing, sink);
    if (KeepsWhatCame(result, got)) {
        DropIfNothingSaid(got.waypointDetails);
        records_.waypoints = std::move(got.waypoints);
        records_.waypointDetails = std::move(got.waypointDetails);
    }
    return result;
}

TransferResult CGpsLink::DownloadTrackpoints()
{
    const int pointType = protocols_.trackPointType;
    const bool headers = protocols_.tracks != 300;
    if (std::string refusal = KindRefusal(KIND_TRACKS); !refusal.empty()) {
        return RefuseKind(refusal);
    }
    GpsRecords got;
    TrackpointDetails header = NoTrackpointDetails();
    bool trackStarts = false;  // a header came: the next point starts a track
    PacketSink sink{[&](int) {},
                    [&](int, uint8_t id, const uint8_t* data, uint8_t size) {
                        if (id == PKT_TRACK_HEADER) {
                            header = NoTrackpointDetails();
                            DecodeTrackHeader(protocols_.trackHeaderType, data, size, header);
                            trackStarts = true;
                            return;
                        }
                        TrackpointRecord point{};
                        TrackpointDetails details = trackStarts ? header : NoTrackpointDetails();
                        DecodeTrackPoint(pointType, data, size, point, details);
                        if (std::exchange(trackStarts, false)) {
                            point.newTrack = 1;
                        }
                        got.trackpoints.push_back(point);
                        got.trackpointDetails.push_back(details);
                    }};
    std::vector<uint8_t> ids = {PKT_TRACKPOINT};
    if (headers) {
        ids.push_back(PKT_TRACK_HEADER);
    }
    TransferResult result =
        DownloadPackets(CMD_SEND_TRACK, ids, false, TransferResult::TrackBudgetExceeded,
                        TransferResult::TrackDoneMissing, sink);
    if (KeepsWhatCame(result, got)) {
        DropIfNothingSaid(got.trackpointDetails);
        records_.trackpoints = std::move(got.trackpoints);
        records_.trackpointDetails = std::move(got.trackpointDetails);
    }
    return result;
}

TransferResult CGpsLink::DownloadRoutes()
{
    const UnitProtocols& p = protocols_;
    if (std::string refusal = KindRefusal(KIND_ROUTES); !refusal.empty()) {
        return RefuseKind(refusal);
    }
    const bool links = p.routes == 201;
    GpsRecords got;
    PacketSink sink{
        [&](int) {},
        [&](int, uint8_t id, const uint8_t* data, uint8_t size) {
            if (id == PKT_ROUTE_HEADER) {
                if (got.routes.size() >= static_cast<size_t>(MAX_DOC_ROUTES)) {
                    throw DataTypeError("Routen: mehr als " + std::to_string(MAX_DOC_ROUTES));
                }
                got.routes.push_back({DecodeRouteHeader(p.routeHeaderType, data, size,
                                                        static_cast<int>(got.routes.size())),
                                      {}});
                return;
            }
            if (got.routes.empty() || (id == PKT_ROUTE_LINK && got.routes.back().points.empty())) {
                throw DataTypeError(
                    TypeName(id == PKT_ROUTE_LINK ? p.routeLinkType : p.routeWaypointType) +
                    ": vor dem Kopf einer Route");
            }
            if (id == PKT_ROUTE_LINK) {
                got.routes.back().points.back().link = DecodeRouteLink(p.routeLinkType, data, size);
                return;
            }
            WaypointRecord record{};
            WaypointDetails details = NoWaypointDetails();
            DecodeWaypoint(p.routeWaypointType, data, size, record, details);
            got.routes.back().points.push_back(MakeRoutePoint(record, details));
        }};
    std::vector<uint8_t> ids = {PKT_ROUTE_WAYPOINT, PKT_ROUTE_HEADER};
    if (links) {
        ids.push_back(PKT_ROUTE_LINK);
    }
    TransferResult result =
        DownloadPackets(CMD_SEND_ROUTES, ids, true, TransferResult::BudgetExceeded,
                        TransferResult::DoneMissing, sink);
    if (result == TransferResult::Done && !RoutesFit(got.routes)) {
        Prompts::Current().Message("Routen: mehr, als ein Dokument hält.");
        return TransferResult::BadData;
    }
    if (KeepsWhatCame(result, got)) {
        records_.routes = std::move(got.routes);
    }
    return result;
}

TransferResult CGpsLink::UploadKind(TransferKind kind, uint16_t command, bool everyRecord)
{
    if (std::string refusal = KindRefusal(kind); !refusal.empty()) {
        return RefuseKind(refusal);
    }
    std::vector<UnitPacket> packets;
    try {
        // The names come adapted to the unit (gps/UnitUpload.h); the types cut the rest.
        packets = TransferPackets(protocols_, {}, records_, command);
    } catch (const DataTypeError& e) {
        Prompts::Current().Message(e.what());
        return TransferResult::BadData;
    }
    return UploadPackets(command, everyRecord, packets);
}

TransferResult CGpsLink::UploadWaypoints()
{
    return UploadKind(KIND_WAYPOINTS, CMD_SEND_WAYPOINTS, true);
}

TransferResult CGpsLink::UploadTrackpoints()
{
    return UploadKind(KIND_TRACKS, CMD_SEND_TRACK, false);
}

TransferResult CGpsLink::UploadRoutes()
{
    return UploadKind(KIND_ROUTES, CMD_SEND_ROUTES, true);
}

void CGpsLink::SetWaypoints(const WaypointRecord* records, int count)
{
    records_.waypoints.assign(records, records + (records && count > 0 ? count : 0));
    records_.waypointDetails.clear();
}

void CGpsLink::SetTrackpoints(const TrackpointRecord* records, int count)
{
    records_.trackpoints.assign(records, records + (records && count > 0 ? count : 0));
    records_.trackpointDetails.clear();
}
