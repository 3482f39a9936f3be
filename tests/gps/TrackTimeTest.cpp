#include "gps/TrackTime.h"

#include <clocale>
#include <cstdlib>

#include <gtest/gtest.h>

#include "gps/Records.h"

namespace {

TEST(TrackTime, TheEpochIsTheLastDayOf1989InUtc)
{
    EXPECT_EQ(FormatIso8601Utc(TrackTimeToUnix(0)), "1989-12-31T00:00:00Z");
    EXPECT_EQ(FormatIso8601Utc(TrackTimeToUnix(86400 + 3661)), "1990-01-01T01:01:01Z");
    EXPECT_EQ(UnixToTrackTime(TRACK_TIME_BASE - 1), std::nullopt);
    EXPECT_EQ(UnixToTrackTime(TRACK_TIME_BASE + 5), 5u);
    EXPECT_EQ(UnixToTrackTime(TRACK_TIME_BASE + int64_t{TRACK_TIME_NONE}), std::nullopt);
}

TEST(TrackTime, Iso8601AsGpsProgramsWriteIt)
{
    struct Case {
        const char* text;
        std::optional<int64_t> unix;
    } cases[] = {
        {"2024-05-01T12:00:00Z", 1714564800},
        {"2024-05-01T12:00:00.750Z", 1714564800},
        {"2024-05-01T14:00:00+02:00", 1714564800},
        {"2024-05-01T07:30:00-0430", 1714564800},
        {"  2024-05-01T12:00:00  ", 1714564800},
        {"2024-02-30T12:00:00Z", std::nullopt},
        {"2024-05-01", std::nullopt},
        {"2024-05-01T12:00:00Zjunk", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseIso8601(c.text), c.unix) << c.text;
    }
}

TEST(TrackTime, LocalTimeFollowsTheZoneAndTheProcessLocale)
{
    const char* oldZone = std::getenv("TZ");
    std::string saved = oldZone ? oldZone : "";
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    std::setlocale(LC_ALL, "C");
    // Track time 0 is 1989-12-31 00:00 UTC, which is 01:00 in Berlin.
    EXPECT_EQ(FormatLocalTime(TrackTimeToUnix(0)), "Sun Dec 31 01:00:00 1989");
    if (std::setlocale(LC_ALL, "de_DE.UTF-8")) {
        EXPECT_EQ(FormatLocalTime(TrackTimeToUnix(0)), "So 31 Dez 1989 01:00:00 CET");
    }
    std::setlocale(LC_ALL, "C");
    if (oldZone) {
        setenv("TZ", saved.c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
}

}  // namespace
