#include "link/GpsTimeConversion.h"

#include <chrono>
#include <ctime>

std::optional<int64_t> ReceiverTimeUtc(const GpsTime& time, int64_t notBefore)
{
    using namespace std::chrono;
    year_month_day date{year{time.year}, month{time.month}, day{time.day}};
    if (!date.ok() || time.hour > 23 || time.minute > 59 || time.second > 59) {
        return std::nullopt;
    }
    int64_t seconds = static_cast<int64_t>(sys_days{date}.time_since_epoch().count()) * 86400 +
                      time.hour * 3600 + time.minute * 60 + time.second;
    while (seconds < notBefore) {
        seconds += GPS_WEEK_ROLLOVER_SECONDS;
    }
    return seconds;
}

std::string FormatUtcFields(int64_t seconds)
{
    time_t t = static_cast<time_t>(seconds);
    struct tm fields {};
    gmtime_r(&t, &fields);
    char text[128];
    size_t n = std::strftime(text, sizeof text, "%c", &fields);
    return std::string(text, n);
}
