// The record transfers of CGpsLink in the data types the unit speaks: waypoints (A100),
// track logs (A300 points only, A301 and A302 with a header before each track's points) and
// routes (A200 a header and its waypoints, A201 with a link between consecutive waypoints).

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

TransferResult CGpsLink::DownloadKind(TransferKind kind, uint16_t command, std::vector<uint8_t> ids,
                                      GpsRecords& got)
{
    if (std::string refusal = KindRefusal(kind); !refusal.empty()) {
        return RefuseKind(refusal);
    }
    PacketAssembler assembler(protocols_, PacketReading::Strict);
    PacketSink sink{
        [&](int count) {
            if (kind == KIND_WAYPOINTS) {
                assembler.WaypointSlots(count);
            }
        },
        [&](uint8_t id, const uint8_t* data, uint8_t size) { assembler.Take(id, data, size); }};
    const bool tracks = kind == KIND_TRACKS;
    TransferResult result = DownloadPackets(
        command, std::move(ids), !tracks,
        tracks ? TransferResult::TrackBudgetExceeded : TransferResult::BudgetExceeded,
        tracks ? TransferResult::TrackDoneMissing : TransferResult::DoneMissing, sink);
    got = assembler.Finish();
    return result;
}

TransferResult CGpsLink::DownloadWaypoints()
{
    GpsRecords got;
    TransferResult result = DownloadKind(KIND_WAYPOINTS, CMD_SEND_WAYPOINTS, {PKT_WAYPOINT}, got);
    if (KeepsWhatCame(result, got)) {
        records_.waypoints = std::move(got.waypoints);
        records_.waypointDetails = std::move(got.waypointDetails);
    }
    return result;
}

TransferResult CGpsLink::DownloadTrackpoints()
{
    std::vector<uint8_t> ids = {PKT_TRACKPOINT};
    if (protocols_.tracks != 300) {
        ids.push_back(PKT_TRACK_HEADER);
    }
    GpsRecords got;
    TransferResult result = DownloadKind(KIND_TRACKS, CMD_SEND_TRACK, ids, got);
    if (KeepsWhatCame(result, got)) {
        records_.trackpoints = std::move(got.trackpoints);
        records_.trackpointDetails = std::move(got.trackpointDetails);
    }
    return result;
}

TransferResult CGpsLink::DownloadRoutes()
{
    std::vector<uint8_t> ids = {PKT_ROUTE_WAYPOINT, PKT_ROUTE_HEADER};
    if (protocols_.routes == 201) {
        ids.push_back(PKT_ROUTE_LINK);
    }
    GpsRecords got;
    TransferResult result = DownloadKind(KIND_ROUTES, CMD_SEND_ROUTES, ids, got);
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
