#include "gps/TrackTime.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include "gps/Records.h"

namespace {

using namespace std::chrono;

bool ParseDigits(std::string_view text, size_t& pos, size_t count, int& value)
{
    if (pos + count > text.size()) {
        return false;
    }
    value = 0;
    for (size_t i = 0; i < count; ++i) {
        char c = text[pos + i];
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + (c - '0');
    }
    pos += count;
    return true;
}

bool Expect(std::string_view text, size_t& pos, char c)
{
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

}  // namespace

std::optional<uint32_t> UnixToTrackTime(int64_t unixSeconds)
{
    int64_t t = unixSeconds - TRACK_TIME_BASE;
    if (t < 0 || t >= static_cast<int64_t>(TRACK_TIME_NONE)) {
        return std::nullopt;
    }
    return static_cast<uint32_t>(t);
}

std::string FormatIso8601Utc(int64_t unixSeconds)
{
    sys_seconds moment{seconds{unixSeconds}};
    sys_days day = floor<days>(moment);
    year_month_day date{day};
    hh_mm_ss<seconds> clock{moment - day};
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02ld:%02ld:%02ldZ", int(date.year()),
                  unsigned(date.month()), unsigned(date.day()), long(clock.hours().count()),
                  long(clock.minutes().count()), long(clock.seconds().count()));
    return text;
}

std::optional<int64_t> ParseIso8601(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\n' || text.front() == '\t' ||
                             text.front() == '\r')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\n' || text.back() == '\t' ||
                             text.back() == '\r')) {
        text.remove_suffix(1);
    }
    size_t pos = 0;
    int y, mo, d, h, mi, s;
    if (!ParseDigits(text, pos, 4, y) || !Expect(text, pos, '-') ||
        !ParseDigits(text, pos, 2, mo) || !Expect(text, pos, '-') ||
        !ParseDigits(text, pos, 2, d) ||
        !(Expect(text, pos, 'T') || Expect(text, pos, 't') || Expect(text, pos, ' ')) ||
        !ParseDigits(text, pos, 2, h) || !Expect(text, pos, ':') ||
        !ParseDigits(text, pos, 2, mi) || !Expect(text, pos, ':') ||
        !ParseDigits(text, pos, 2, s)) {
        return std::nullopt;
    }
    if (Expect(text, pos, '.') || Expect(text, pos, ',')) {
        size_t start = pos;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
            ++pos;
        }
        if (pos == start) {
            return std::nullopt;
        }
    }
    int offset = 0;
    if (Expect(text, pos, 'Z') || Expect(text, pos, 'z')) {
    } else if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        int sign = text[pos] == '-' ? -1 : 1;
        ++pos;
        int oh, om = 0;
        if (!ParseDigits(text, pos, 2, oh)) {
            return std::nullopt;
        }
        Expect(text, pos, ':');
        if (pos < text.size() && !ParseDigits(text, pos, 2, om)) {
            return std::nullopt;
        }
        if (oh > 23 || om > 59) {
            return std::nullopt;
        }
        offset = sign * (oh * 3600 + om * 60);
    }
    if (pos != text.size()) {
        return std::nullopt;
    }
    year_month_day date{year{y}, month{unsigned(mo)}, day{unsigned(d)}};
    if (!date.ok() || h > 24 || mi > 59 || s > 60 || (h == 24 && (mi != 0 || s != 0))) {
        return std::nullopt;
    }
    int64_t days = sys_days{date}.time_since_epoch().count();
    return days * 86400 + h * 3600 + mi * 60 + s - offset;
}
