#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "link/CGpsLink.h"

// Receivers of this family count weeks in 10 bits and, past the rollovers, report dates
// 1024 weeks too early.
constexpr int64_t GPS_WEEK_ROLLOVER_SECONDS = 1024LL * 7 * 86400;  // 619315200

// The receiver's time as seconds since 1970 (UTC); a date before `notBefore` (the build
// date) is moved on by 1024 weeks until it is not. Nothing for fields that are no date.
std::optional<int64_t> ReceiverTimeUtc(const GpsTime& time, int64_t notBefore);

// The universal-time fields of a moment, formatted with "%c" in the process locale.
std::string FormatUtcFields(int64_t seconds);
