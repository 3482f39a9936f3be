#include "draw/model/FileTime.h"

#include "framework/LocalTime.h"

#include <ctime>

uint64_t FileTimeNow()
{
    struct timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    int64_t ticks = static_cast<int64_t>(now.tv_sec) * 10000000 + now.tv_nsec / 100;
    if (ticks < -static_cast<int64_t>(FILETIME_UNIX_EPOCH)) {
        return 0;
    }
    return FILETIME_UNIX_EPOCH + static_cast<uint64_t>(ticks);
}

std::string FormatFileTimeLocal(uint64_t fileTime)
{
    if (fileTime == 0) {
        return {};
    }
    // Whole seconds: at most 2^64 / 10^7, about 1.8e12, which time_t holds.
    int64_t seconds = static_cast<int64_t>(fileTime / FILETIME_PER_SECOND) -
                      static_cast<int64_t>(FILETIME_UNIX_EPOCH / FILETIME_PER_SECOND);
    return FormatLocalTime(seconds);
}
