#include "draw/FileTime.h"

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
    time_t t = static_cast<time_t>(seconds);
    struct tm local {};
    if (!localtime_r(&t, &local)) {
        return {};
    }
    char text[128];
    size_t n = std::strftime(text, sizeof text, "%c", &local);
    return std::string(text, n);
}
