#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "framework/LocalTime.h"

// Trackpoint times count seconds from the receivers' epoch, 31 December 1989 00:00:00 UTC.
// Moments here are Unix seconds (UTC).
constexpr int64_t TRACK_TIME_BASE = 631065600;

inline int64_t TrackTimeToUnix(uint32_t time)
{
    return TRACK_TIME_BASE + time;
}

// The trackpoint time of a moment, or nothing when the moment lies before the epoch or
// beyond what 32 bits hold (the all-ones value is reserved for "no time").
std::optional<uint32_t> UnixToTrackTime(int64_t unixSeconds);

// "2024-05-01T12:00:00Z"
std::string FormatIso8601Utc(int64_t unixSeconds);

// Parses an XML Schema dateTime as GPS programs write it: "YYYY-MM-DDThh:mm:ss" with
// optional fractional seconds (dropped) and an optional "Z" or "+hh:mm" / "-hh:mm" zone
// (none means UTC). Gives nothing for anything else.
std::optional<int64_t> ParseIso8601(std::string_view text);
