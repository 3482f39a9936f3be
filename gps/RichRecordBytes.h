#pragma once

#include <cstdint>
#include <vector>

#include "gps/RichRecords.h"

// The byte forms of details and routes, as the ".orvd" file and the clipboard hold them
// (numbers little-endian):
//   details  u32 count, u32 entry size, the entries
//   routes   u32 count, u32 header size, u32 point size; per route its RouteHeader, u32 point
//            count and the RoutePoints
// An entry larger than this program's (written by a later one) is read as far as it is
// known. Decoding throws ArchiveException (BadFormat, EndOfFile) for bytes that cannot be
// what they claim, and for more than a document holds.
std::vector<uint8_t> EncodeDetails(const std::vector<WaypointDetails>& details);
std::vector<uint8_t> EncodeDetails(const std::vector<TrackpointDetails>& details);
std::vector<WaypointDetails> DecodeWaypointDetails(const std::vector<uint8_t>& bytes);
std::vector<TrackpointDetails> DecodeTrackpointDetails(const std::vector<uint8_t>& bytes);

std::vector<uint8_t> EncodeRoutes(const std::vector<Route>& routes);
std::vector<Route> DecodeRoutes(const std::vector<uint8_t>& bytes);
