#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "gps/Records.h"
#include "gps/RichRecords.h"

// The points on the clipboard. A private block per record kind holds the records byte for
// byte: a signed 32-bit count n (little-endian), then the n records. Both kinds are given a
// block of 4 + n x 57 bytes; in a trackpoint block the bytes after 4 + n x 13 are zero.
// When the points have details, a second block beside it holds them (EncodeDetails of
// gps/RichRecordBytes.h), one per record; a program that knows only the records' block
// pastes the records. Beside them goes a plain text, one line per point.

constexpr const char* WAYPOINT_CLIPBOARD_FORMAT = "Orvi Waypoints";
constexpr const char* TRACKPOINT_CLIPBOARD_FORMAT = "Orvi Trackpoints";
constexpr const char* WAYPOINT_DETAILS_CLIPBOARD_FORMAT = "Orvi Waypoint Details";
constexpr const char* TRACKPOINT_DETAILS_CLIPBOARD_FORMAT = "Orvi Trackpoint Details";

std::vector<uint8_t> EncodeClipboardBlock(const std::vector<WaypointRecord>& records);
std::vector<uint8_t> EncodeClipboardBlock(const std::vector<TrackpointRecord>& records);

// The records of a block; nothing when the block is shorter than its count says, the count
// is negative, or there are more records than a document can hold.
std::optional<std::vector<WaypointRecord>> DecodeWaypointBlock(const std::vector<uint8_t>& block);
std::optional<std::vector<TrackpointRecord>> DecodeTrackpointBlock(
    const std::vector<uint8_t>& block);

// The details to paste beside `count` records: the details block's when it is whole and
// holds one per record; none (empty) otherwise, so that the records paste as they would
// without it.
std::vector<WaypointDetails> PastedWaypointDetails(const std::vector<uint8_t>& block,
                                                   size_t count);
std::vector<TrackpointDetails> PastedTrackpointDetails(const std::vector<uint8_t>& block,
                                                       size_t count);

// The text form (UTF-8): the header "%d items selected:", then the lines, each ending in
// CR LF. Numbers follow the process locale, so under a decimal comma the coordinates hold
// the same character that separates the fields.
std::string ClipboardTextHeader(int selected);
// "WP,D,<name>,<latitude>,<longitude>,<comment>", degrees with "%f", the whole name and
// comment; ",<altitude>" in metres follows when it is known.
std::string WaypointClipboardLine(const WaypointRecord& w,
                                  const WaypointDetails& details = NoWaypointDetails());
// "TP,D,<latitude>,<longitude>,<time as the list shows it>,<1 or 0>", and ",<altitude>"
// when it is known.
std::string TrackpointClipboardLine(const TrackpointRecord& t,
                                    const TrackpointDetails& details = NoTrackpointDetails());
