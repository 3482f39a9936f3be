#pragma once

#include <clocale>
#include <cstdlib>
#include <ctime>
#include <string>

// Sets the process locale (all categories) for one test and restores the previous one.
// ok() is false when the machine lacks the locale.
class ScopedLocale {
public:
    explicit ScopedLocale(const char* name) : saved_(std::setlocale(LC_ALL, nullptr))
    {
        ok_ = std::setlocale(LC_ALL, name) != nullptr;
    }
    ~ScopedLocale() { std::setlocale(LC_ALL, saved_.c_str()); }
    bool ok() const { return ok_; }

private:
    std::string saved_;
    bool ok_;
};

// Sets TZ for one test and restores it.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone)
    {
        const char* old = std::getenv("TZ");
        had_ = old != nullptr;
        saved_ = old ? old : "";
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedTimeZone()
    {
        if (had_) {
            setenv("TZ", saved_.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

private:
    bool had_;
    std::string saved_;
};
