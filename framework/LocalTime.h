#pragma once

#include <cstdint>
#include <string>

// A moment (seconds since 1970, UTC) as local date and time in the process locale's format
// ("%c"); empty when the moment has no local time.
std::string FormatLocalTime(int64_t unixSeconds);
