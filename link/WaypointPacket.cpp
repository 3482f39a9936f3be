#include "link/WaypointPacket.h"

#include <algorithm>
#include <cstring>

void WaypointToPacket(const WaypointRecord& w, uint8_t* packet)
{
    std::memset(packet, 0, WAYPOINT_PACKET_SIZE);
    std::memcpy(packet, w.ident, 6);
    std::memcpy(packet + 6, &w.latitude, 4);
    std::memcpy(packet + 10, &w.longitude, 4);
    std::memcpy(packet + 18, w.comment, 40);
    packet[58] = static_cast<uint8_t>(w.symbol);
    packet[59] = w.display;
}

WaypointRecord PacketToWaypoint(const uint8_t* data, int size)
{
    uint8_t packet[WAYPOINT_PACKET_SIZE] = {};
    std::memcpy(packet, data, static_cast<size_t>(std::clamp(size, 0, WAYPOINT_PACKET_SIZE)));
    WaypointRecord w;
    std::memcpy(w.ident, packet, 6);
    std::memcpy(&w.latitude, packet + 6, 4);
    std::memcpy(&w.longitude, packet + 10, 4);
    std::memcpy(w.comment, packet + 18, 40);
    w.symbol = packet[58];  // zero-extended: symbol byte 200 stays 200
    w.display = packet[59];
    return w;
}

TrackpointRecord PacketToTrackpoint(const uint8_t* data, int size)
{
    TrackpointRecord t;
    std::memset(&t, 0, sizeof t);
    std::memcpy(&t, data, static_cast<size_t>(std::clamp(size, 0, int(sizeof t))));
    return t;
}
