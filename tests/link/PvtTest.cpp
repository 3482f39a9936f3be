#include "link/Pvt.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

using Bytes = std::vector<uint8_t>;

constexpr double kRadian = 3.14159265358979323846 / 180;
constexpr uint32_t kWeek2024June2 = 12572;  // days from 31 December 1989 to Sunday 2 June 2024

// The fields of a D800 packet, written at their offsets by the test itself.
struct D800 {
    float alt = 400;
    float eph = 4;
    uint16_t fix = 3;
    double tow = 3600;
    double lat = 47.17 * kRadian;
    double lon = 8.51 * kRadian;
    float east = 0;
    float north = 0;
    float mslHeight = 25;
    int16_t leap = 18;
    uint32_t days = kWeek2024June2;

    Bytes Packet() const
    {
        Bytes p(D800_SIZE, 0);
        auto put = [&p](size_t at, const auto& value) {
            std::memcpy(p.data() + at, &value, sizeof value);
        };
        put(0, alt);
        put(8, eph);
        put(16, fix);
        put(18, tow);
        put(26, lat);
        put(34, lon);
        put(42, east);
        put(46, north);
        put(54, mslHeight);
        put(58, leap);
        put(60, days);
        return p;
    }
};

LiveFix Decode(const D800& fields)
{
    Bytes p = fields.Packet();
    return DecodePvt(p.data(), p.size());
}

TEST(Pvt, UtcIsTheWeeksDaysPlusTimeOfWeekLessLeapSeconds)
{
    struct Case {
        const char* legend;
        uint32_t days;
        double tow;
        int16_t leap;
        int64_t utcMillis;
    } cases[] = {
        {"an hour and a quarter second into the week, 18 leap seconds", kWeek2024June2, 3600.25, 18,
         1717289982250},
        {"a time of week past 604800 runs into the next week", kWeek2024June2, 604800.5, 18,
         1717891182500},
        {"days of the next week, time of week below the leap seconds", kWeek2024June2 + 7, 10, 18,
         1717891192000},
        {"no leap seconds", kWeek2024June2, 0, 0, 1717286400000},
    };
    for (const Case& c : cases) {
        D800 f;
        f.days = c.days;
        f.tow = c.tow;
        f.leap = c.leap;
        EXPECT_EQ(Decode(f).utcMillis, c.utcMillis) << c.legend;
    }
}

TEST(Pvt, FixFieldGivesTheKindAndOnlyA3DFixAnAltitude)
{
    struct Case {
        uint16_t fix;
        FixKind kind;
    } cases[] = {
        {0, FixKind::NONE},  {1, FixKind::NONE},    {2, FixKind::TWO_D}, {3, FixKind::THREE_D},
        {4, FixKind::TWO_D}, {5, FixKind::THREE_D}, {6, FixKind::NONE},  {0xFFFF, FixKind::NONE},
    };
    for (const Case& c : cases) {
        D800 f;
        f.fix = c.fix;
        LiveFix fix = Decode(f);
        EXPECT_EQ(fix.kind, c.kind) << "fix " << c.fix;
        EXPECT_EQ(fix.altitude, c.kind == FixKind::THREE_D ? 425.0f : VALUE_NONE)
            << "fix " << c.fix;
    }
}

TEST(Pvt, PositionSpeedCourseAndErrorFromTheirFields)
{
    struct Case {
        const char* legend;
        float east;
        float north;
        float eph;
        float speed;
        float course;
        float error;
    } cases[] = {
        {"north-east", 3, 4, 4, 5, 36.8699f, 4},
        {"due west", -2, 0, 7.5f, 2, 270, 7.5f},
        {"standing still: no course", 0.03f, -0.04f, 4, 0.05f, VALUE_NONE, 4},
        {"no error estimate", 0, 1, std::numeric_limits<float>::quiet_NaN(), 1, 0, VALUE_NONE},
        {"unknown velocities", 1e25f, 1e25f, 4, VALUE_NONE, VALUE_NONE, 4},
    };
    for (const Case& c : cases) {
        D800 f;
        f.east = c.east;
        f.north = c.north;
        f.eph = c.eph;
        f.lat = -33.5 * kRadian;
        f.lon = -70.25 * kRadian;
        LiveFix fix = Decode(f);
        EXPECT_NEAR(fix.latitude, -33.5, 1e-12) << c.legend;
        EXPECT_NEAR(fix.longitude, -70.25, 1e-12) << c.legend;
        EXPECT_FLOAT_EQ(fix.speed, c.speed) << c.legend;
        EXPECT_NEAR(fix.course, c.course, 1e-3) << c.legend;
        EXPECT_EQ(fix.horizontalError, c.error) << c.legend;
        EXPECT_EQ(fix.satellites, -1) << c.legend;
    }
}

TEST(Pvt, PacketThatCannotBeAFixFailsNamingD800)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* legend;
        D800 fields;
        size_t size = D800_SIZE;
    } cases[] = {
        {"one byte short", {}, D800_SIZE - 1},
        {"one byte long", {}, D800_SIZE + 1},
        {"NaN latitude", {.lat = nan}},
        {"infinite longitude", {.lon = -inf}},
        {"latitude beyond the pole", {.lat = 90.001 * kRadian}},
        {"longitude beyond 180", {.lon = -180.001 * kRadian}},
        {"no fix, NaN latitude all the same", {.fix = 1, .lat = nan}},
        {"NaN time of week", {.tow = nan}},
        {"negative time of week", {.tow = -0.5}},
        {"time of week of two weeks", {.tow = 1209600}},
    };
    for (const Case& c : cases) {
        Bytes bytes = c.fields.Packet();
        bytes.resize(c.size);
        try {
            DecodePvt(bytes.data(), bytes.size());
            ADD_FAILURE() << c.legend << " decoded";
        } catch (const DataTypeError& e) {
            EXPECT_EQ(std::string(e.what()).substr(0, 6), "D800: ") << c.legend;
        }
    }
}

}  // namespace
