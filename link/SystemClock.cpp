#include "link/SystemClock.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

class RealtimeClock : public SystemClock {
public:
    int64_t NowUtc() override
    {
        struct timespec now {};
        clock_gettime(CLOCK_REALTIME, &now);
        return now.tv_sec;
    }
    bool SetUtc(int64_t seconds) override
    {
        struct timespec t {
            static_cast<time_t>(seconds), 0
        };
        return clock_settime(CLOCK_REALTIME, &t) == 0;
    }
};

RealtimeClock g_realtime;
std::atomic<SystemClock*> g_clock{nullptr};

}  // namespace

SystemClock& SystemClock::Current()
{
    SystemClock* c = g_clock.load();
    return c ? *c : g_realtime;
}

SystemClock* SystemClock::SetCurrent(SystemClock* clock)
{
    return g_clock.exchange(clock);
}

int64_t BuildDateUtc()
{
    // __DATE__ is "Mmm dd yyyy", the day blank-padded.
    static const char kMonths[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
    const char* date = __DATE__;
    unsigned month = 1;
    for (unsigned m = 0; m < 12; ++m) {
        if (std::strncmp(kMonths + 3 * m, date, 3) == 0) {
            month = m + 1;
        }
    }
    unsigned day = (date[4] == ' ' ? 0u : unsigned(date[4] - '0')) * 10 + unsigned(date[5] - '0');
    int year = std::atoi(date + 7);
    std::chrono::sys_days d{std::chrono::year{year} / std::chrono::month{month} /
                            std::chrono::day{day}};
    return static_cast<int64_t>(d.time_since_epoch().count()) * 86400;
}
