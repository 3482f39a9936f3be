#pragma once

#include <cstdint>

#include "gps/Records.h"

// The GPS 12's packets: waypoints of type D103 and track points of type D300
// (link/DataTypes.h). The 60 data bytes of a waypoint packet: ident 6, latitude 4, longitude
// 4, 4 unused bytes, comment 40, symbol 1, display 1. The 57-byte record keeps all but the
// unused bytes; its 16-bit symbol travels as its low byte and comes back zero-extended.
constexpr int WAYPOINT_PACKET_SIZE = 60;

// Writes the packet of `w`; the unused bytes are zero.
void WaypointToPacket(const WaypointRecord& w, uint8_t* packet);
// The record of a packet; bytes a packet shorter than 60 does not carry read as zero.
WaypointRecord PacketToWaypoint(const uint8_t* data, int size);
// The trackpoint of a 13-byte packet, taken byte for byte (missing bytes read as zero).
TrackpointRecord PacketToTrackpoint(const uint8_t* data, int size);
