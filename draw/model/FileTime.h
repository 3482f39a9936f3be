#pragma once

#include <cstdint>
#include <string>

// FILETIME: 100-nanosecond intervals since 1601-01-01 00:00:00 UTC, unsigned 64-bit.

// The FILETIME of the Unix epoch, 1970-01-01 00:00:00 UTC.
constexpr uint64_t FILETIME_UNIX_EPOCH = 116444736000000000ULL;
constexpr uint64_t FILETIME_PER_SECOND = 10000000ULL;

// Now, from clock_gettime(CLOCK_REALTIME); 0 if the clock reads before 1601.
uint64_t FileTimeNow();

// The moment as local date and time, strftime "%c" in the process locale (so UTF-8 bytes in
// the locales the program selects). Empty for 0 and for a moment the C library cannot
// convert.
std::string FormatFileTimeLocal(uint64_t fileTime);
