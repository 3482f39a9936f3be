#include "link/NmeaSentences.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace {

constexpr double kKnotsPerMetreSecond = 3600.0 / 1852.0;
constexpr int kMaxSatellitesListed = 12;

// `value` with `decimals` digits after the point, whatever the process locale says; empty
// for what no field holds.
std::string Fixed(double value, int decimals)
{
    if (!(std::fabs(value) < 1e9)) {
        return "";
    }
    int64_t scale = 1;
    for (int i = 0; i < decimals; ++i) {
        scale *= 10;
    }
    const int64_t units = std::llround(std::fabs(value) * static_cast<double>(scale));
    char text[48];
    if (decimals == 0) {
        std::snprintf(text, sizeof text, "%s%lld", value < 0 && units != 0 ? "-" : "",
                      static_cast<long long>(units));
    } else {
        std::snprintf(text, sizeof text, "%s%lld.%0*lld", value < 0 && units != 0 ? "-" : "",
                      static_cast<long long>(units / scale), decimals,
                      static_cast<long long>(units % scale));
    }
    return text;
}

// Degrees as NMEA writes them: `degreeDigits` digits of degrees, minutes "mm.mmmm", then
// the hemisphere field.
std::string Angle(double degrees, int degreeDigits, char positive, char negative)
{
    constexpr int64_t kUnitsPerMinute = 10000;
    const int64_t units = std::llround(std::fabs(degrees) * 60 * kUnitsPerMinute);
    const int64_t perDegree = 60 * kUnitsPerMinute;
    char text[32];
    std::snprintf(text, sizeof text, "%0*lld%02lld.%04lld,%c", degreeDigits,
                  static_cast<long long>(units / perDegree),
                  static_cast<long long>(units % perDegree / kUnitsPerMinute),
                  static_cast<long long>(units % kUnitsPerMinute),
                  degrees < 0 ? negative : positive);
    return text;
}

// "hhmmss.ss" and "ddmmyy" of the fix's time; empty without one.
void TimeFields(int64_t utcMillis, std::string& time, std::string& date)
{
    if (utcMillis == 0) {
        return;
    }
    const int64_t millis = ((utcMillis % 1000) + 1000) % 1000;
    const auto seconds = static_cast<time_t>((utcMillis - millis) / 1000);
    struct tm f {};
    if (gmtime_r(&seconds, &f) == nullptr) {
        return;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%02d%02d%02d.%02d", f.tm_hour, f.tm_min, f.tm_sec,
                  static_cast<int>(millis / 10));
    time = text;
    std::snprintf(text, sizeof text, "%02d%02d%02d", f.tm_mday, f.tm_mon + 1,
                  (f.tm_year + 1900) % 100);
    date = text;
}

std::string Known(float value, int decimals, double factor = 1)
{
    return value != VALUE_NONE && std::isfinite(value) ? Fixed(value * factor, decimals) : "";
}

}  // namespace

uint8_t NmeaChecksum(std::string_view body)
{
    uint8_t sum = 0;
    for (char c : body) {
        sum ^= static_cast<uint8_t>(c);
    }
    return sum;
}

std::string NmeaLine(std::string_view body)
{
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", NmeaChecksum(body));
    return "$" + std::string(body) + tail;
}

std::vector<std::string> NmeaFixSentences(const LiveFix& fix)
{
    std::string time;
    std::string date;
    TimeFields(fix.utcMillis, time, date);
    const bool has = fix.HasPosition();
    const std::string where =
        has ? Angle(fix.latitude, 2, 'N', 'S') + "," + Angle(fix.longitude, 3, 'E', 'W') : ",,,";
    const int satellites = std::clamp(fix.satellites, 0, 99);
    char used[4] = "";
    if (fix.satellites >= 0) {
        std::snprintf(used, sizeof used, "%02d", satellites);
    }
    std::string hdop;
    std::string pdop;
    std::string pgrme;
    if (has && fix.horizontalError != VALUE_NONE) {
        const double h = std::max(fix.horizontalError / NMEA_RANGE_ERROR_METRES, 0.5);
        hdop = Fixed(h, 1);
        pdop = Fixed(h * std::sqrt(2.0), 1);
        const std::string error = Fixed(fix.horizontalError, 1);
        pgrme = "PGRME," + error + ",M," + error + ",M," +
                Fixed(fix.horizontalError * std::sqrt(2.0), 1) + ",M";
    }

    std::string rmc = "GPRMC," + time + "," + (has ? "A" : "V") + "," + where + "," +
                      (has ? Known(fix.speed, 1, kKnotsPerMetreSecond) : "") + "," +
                      (has ? Known(fix.course, 1) : "") + "," + date + ",,," + (has ? "A" : "N");
    std::string gga = "GPGGA," + time + "," + where + "," + (has ? "1" : "0") + "," + used + "," +
                      hdop + "," + (fix.kind == FixKind::THREE_D ? Known(fix.altitude, 1) : "") +
                      ",M," + (has ? "0.0" : "") + ",M,,";
    std::string gsa = "GPGSA,A,";
    gsa += fix.kind == FixKind::THREE_D ? "3" : fix.kind == FixKind::TWO_D ? "2" : "1";
    const int listed = has ? std::min(satellites, kMaxSatellitesListed) : 0;
    for (int i = 0; i < kMaxSatellitesListed; ++i) {
        char prn[8] = "";
        if (i < listed) {
            std::snprintf(prn, sizeof prn, "%02d", 2 * i + 1);
        }
        gsa += ",";
        gsa += prn;
    }
    gsa += "," + pdop + "," + hdop + "," + hdop;
    std::vector<std::string> sentences{NmeaLine(rmc), NmeaLine(gga)};
    if (!pgrme.empty()) {
        sentences.push_back(NmeaLine(pgrme));
    }
    sentences.push_back(NmeaLine(gsa));
    // The satellites in view, four a sentence: those in use, at made-up places in the sky.
    if (fix.satellites >= 0) {
        const int groups = std::max(1, (listed + 3) / 4);
        for (int group = 0; group < groups; ++group) {
            char head[32];
            std::snprintf(head, sizeof head, "GPGSV,%d,%d,%02d", groups, group + 1, listed);
            std::string gsv = head;
            for (int i = 4 * group; i < std::min(listed, 4 * group + 4); ++i) {
                char satellite[24];
                std::snprintf(satellite, sizeof satellite, ",%02d,%02d,%03d,%02d", 2 * i + 1,
                              15 + (37 * i) % 70, (83 * i) % 360, 30 + (7 * i) % 20);
                gsv += satellite;
            }
            sentences.push_back(NmeaLine(gsv));
        }
    }
    return sentences;
}
