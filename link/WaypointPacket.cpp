#include "link/WaypointPacket.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "link/DataTypes.h"

namespace {

constexpr int kGps12WaypointType = 103;
constexpr int kGps12TrackPointType = 300;

// The first `size` bytes of `data`, zero-filled to `Size`.
template <size_t Size>
std::array<uint8_t, Size> ZeroFilledPacket(const uint8_t* data, int size)
{
    std::array<uint8_t, Size> packet{};
    if (size > 0) {
        std::memcpy(packet.data(), data, std::min(static_cast<size_t>(size), Size));
    }
    return packet;
}

}  // namespace

void WaypointToPacket(const WaypointRecord& w, uint8_t* packet)
{
    std::vector<uint8_t> bytes = EncodeWaypoint(kGps12WaypointType, w, NoWaypointDetails());
    std::memcpy(packet, bytes.data(), WAYPOINT_PACKET_SIZE);
}

WaypointRecord PacketToWaypoint(const uint8_t* data, int size)
{
    auto packet = ZeroFilledPacket<WAYPOINT_PACKET_SIZE>(data, size);
    WaypointRecord w;
    WaypointDetails unused;
    DecodeWaypoint(kGps12WaypointType, packet.data(), packet.size(), w, unused);
    return w;
}

TrackpointRecord PacketToTrackpoint(const uint8_t* data, int size)
{
    auto packet = ZeroFilledPacket<sizeof(TrackpointRecord)>(data, size);
    TrackpointRecord t;
    TrackpointDetails unused = NoTrackpointDetails();
    DecodeTrackPoint(kGps12TrackPointType, packet.data(), packet.size(), t, unused);
    return t;
}
