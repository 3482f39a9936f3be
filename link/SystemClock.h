#pragma once

#include <cstdint>

// The computer's clock in universal time, whole seconds since 1970. The default reads and
// sets CLOCK_REALTIME; tests install their own.
class SystemClock {
public:
    virtual ~SystemClock() = default;
    virtual int64_t NowUtc() = 0;
    // Returns false when the system refuses (for lack of rights, say).
    virtual bool SetUtc(int64_t seconds) = 0;

    static SystemClock& Current();
    // Installs `clock` (not owned; null restores the system's) and returns the previous one.
    static SystemClock* SetCurrent(SystemClock* clock);
};

// The day this program was built, as seconds since 1970 (UTC midnight).
int64_t BuildDateUtc();
