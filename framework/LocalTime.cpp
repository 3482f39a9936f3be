#include "framework/LocalTime.h"

#include <ctime>

std::string FormatLocalTime(int64_t unixSeconds)
{
    time_t t = static_cast<time_t>(unixSeconds);
    struct tm local {};
    if (!localtime_r(&t, &local)) {
        return {};
    }
    char text[128];
    size_t n = std::strftime(text, sizeof text, "%c", &local);
    return std::string(text, n);
}
