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
class Archive;

// Writing into an archive directly, and how many bytes that writes.
void WriteDetails(Archive& archive, const std::vector<WaypointDetails>& details);
void WriteDetails(Archive& archive, const std::vector<TrackpointDetails>& details);
void WriteRoutes(Archive& archive, const std::vector<Route>& routes);
uint64_t DetailsSize(const std::vector<WaypointDetails>& details);
uint64_t DetailsSize(const std::vector<TrackpointDetails>& details);
uint64_t RoutesSize(const std::vector<Route>& routes);

// Reading from an archive; the same rules as decoding.
std::vector<WaypointDetails> ReadWaypointDetails(Archive& archive);
std::vector<TrackpointDetails> ReadTrackpointDetails(Archive& archive);
std::vector<Route> ReadRoutes(Archive& archive);

std::vector<uint8_t> EncodeDetails(const std::vector<WaypointDetails>& details);
std::vector<uint8_t> EncodeDetails(const std::vector<TrackpointDetails>& details);
std::vector<WaypointDetails> DecodeWaypointDetails(const std::vector<uint8_t>& bytes);
std::vector<TrackpointDetails> DecodeTrackpointDetails(const std::vector<uint8_t>& bytes);

std::vector<uint8_t> EncodeRoutes(const std::vector<Route>& routes);
std::vector<Route> DecodeRoutes(const std::vector<uint8_t>& bytes);
