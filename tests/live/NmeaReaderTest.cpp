#include <gtest/gtest.h>
#include <QDateTime>

#include <string>
#include <vector>

#include "live/NmeaReader.h"
#include "tests/TempDir.h"

namespace {

constexpr float NONE = VALUE_NONE;
constexpr double KNOT = 1852.0 / 3600.0;  // m/s

struct Expected {
    const char* time;  // ISO 8601 UTC; "" for none
    FixKind kind;
    double latitude;
    double longitude;
    float altitude;
    float speed;
    float course;
    float error;  // horizontal, m
    int satellites;
};

struct SentenceFile {
    const char* legend;
    const char* file;  // in tests/data/nmea
    std::vector<Expected> fixes;
};

// Minutes of latitude or longitude as NMEA writes them.
double Deg(int degrees, double minutes)
{
    return degrees + minutes / 60.0;
}

const SentenceFile kSentenceFiles[] = {
    {"a Garmin unit: RMC, GGA, GSA, GSV and its own sentences make one 3D fix a second; its "
     "PGRME gives the error, not HDOP",
     "garmin.nmea",
     {
         {"2024-03-23T12:35:19Z", FixKind::THREE_D, Deg(48, 7.038), Deg(11, 31.0), 545.4f,
          float(22.4 * KNOT), 84.4f, 15.0f, 5},
         {"2024-03-23T12:35:20Z", FixKind::THREE_D, Deg(48, 7.039), Deg(11, 31.009), 546.0f,
          float(22.6 * KNOT), 85.0f, 15.0f, 5},
         {"2024-03-23T12:35:21Z", FixKind::THREE_D, Deg(48, 7.040), Deg(11, 31.018), 546.8f, 0.0f,
          359.9f, 15.0f, 5},
     }},
    {"damage: line noise and a sentence without checksum are skipped; a wrong checksum "
     "(12:35:20 RMC, 12:35:22 GGA with a changed latitude) costs the sentence; a sentence cut "
     "short, or noise, before a whole one costs only itself; lower-case checksums count; "
     "a Garmin $PGRMC is no RMC; a PGRME with a wrong checksum leaves the error to HDOP; a "
     "sentence cut short at the end is not read",
     "damaged.nmea",
     {
         {"2024-03-23T12:35:19Z", FixKind::THREE_D, Deg(48, 7.038), Deg(11, 31.0), 545.4f,
          float(10 * KNOT), 90.0f, 6.0f, -1},
         {"2024-03-23T12:35:20Z", FixKind::THREE_D, Deg(48, 7.039), Deg(11, 31.009), 546.0f, NONE,
          NONE, 6.0f, -1},
         {"2024-03-23T12:35:21Z", FixKind::THREE_D, Deg(48, 7.040), Deg(11, 31.018), 546.5f,
          float(10 * KNOT), 90.0f, 6.0f, -1},
         {"2024-03-23T12:35:23Z", FixKind::TWO_D, Deg(48, 7.042), Deg(11, 31.036), NONE,
          float(10 * KNOT), 89.0f, NONE, -1},
         {"2024-03-23T12:35:24Z", FixKind::TWO_D, Deg(48, 7.043), Deg(11, 31.045), NONE,
          float(10 * KNOT), 90.0f, NONE, -1},
     }},
    {"no fix: without a time yet, a void RMC with an old position and GGA quality 0 give NONE "
     "and no position; GGA without altitude gives 2D; a GGA of quality 0 beside a valid RMC "
     "is NONE",
     "no-fix.nmea",
     {
         {"", FixKind::NONE, 0, 0, NONE, NONE, NONE, NONE, -1},
         {"", FixKind::NONE, 0, 0, NONE, NONE, NONE, NONE, -1},
         {"2024-03-23T12:35:19Z", FixKind::NONE, 0, 0, NONE, NONE, NONE, NONE, 2},
         {"2024-03-23T12:35:20Z", FixKind::TWO_D, Deg(48, 7.039), Deg(11, 31.009), NONE,
          float(3 * KNOT), 180.0f, 10.5f, 3},
         {"2024-03-23T12:35:21Z", FixKind::NONE, 0, 0, NONE, NONE, NONE, NONE, -1},
     }},
    {"several systems: GN, GL and BD talkers count; satellites add up over the GSA of each "
     "system; south and west are negative; GPRMC and GNRMC of one time make one fix; HDOP "
     "0.8 is 4 m",
     "gnss.nmea",
     {
         {"2024-02-01T08:30:00Z", FixKind::THREE_D, Deg(47, 23.1234), Deg(8, 32.5678), 410.2f,
          float(1.5 * KNOT), 270.0f, 4.0f, 10},
         {"2024-02-01T08:30:01Z", FixKind::THREE_D, -Deg(47, 23.1240), -Deg(8, 32.56), 410.4f,
          float(1.5 * KNOT), 270.0f, 4.0f, 10},
         {"2024-02-01T08:30:02Z", FixKind::THREE_D, Deg(47, 23.1246), Deg(8, 32.5522), 410.6f,
          float(1.5 * KNOT), 270.0f, 4.0f, -1},
     }},
};

void ExpectValue(float expected, float actual, const char* what)
{
    if (expected == VALUE_NONE) {
        EXPECT_EQ(actual, VALUE_NONE) << what;
    } else {
        EXPECT_NEAR(actual, expected, 1e-3) << what;
    }
}

TEST(NmeaReader, RecordedSentencesGiveTheirFixes)
{
    for (const SentenceFile& row : kSentenceFiles) {
        SCOPED_TRACE(row.legend);
        std::vector<uint8_t> bytes = ReadBytes(std::string(ORVI_TEST_DATA "/nmea/") + row.file);
        ASSERT_FALSE(bytes.empty());
        NmeaReader reader;
        std::vector<LiveFix> fixes;
        QObject::connect(&reader, &NmeaReader::fixRead,
                         [&](const LiveFix& fix) { fixes.push_back(fix); });
        reader.Start();
        // In pieces, as a serial line delivers them.
        for (size_t i = 0; i < bytes.size(); i += 7) {
            reader.Read(reinterpret_cast<const char*>(bytes.data()) + i,
                        static_cast<qint64>(std::min<size_t>(7, bytes.size() - i)));
        }
        reader.Finish();
        ASSERT_EQ(fixes.size(), row.fixes.size());
        for (size_t i = 0; i < fixes.size(); ++i) {
            SCOPED_TRACE("fix " + std::to_string(i));
            const Expected& want = row.fixes[i];
            const LiveFix& got = fixes[i];
            int64_t time =
                *want.time ? QDateTime::fromString(want.time, Qt::ISODate).toMSecsSinceEpoch() : 0;
            EXPECT_EQ(got.utcMillis, time);
            EXPECT_EQ(got.kind, want.kind);
            EXPECT_NEAR(got.latitude, want.latitude, 1e-9);
            EXPECT_NEAR(got.longitude, want.longitude, 1e-9);
            ExpectValue(want.altitude, got.altitude, "altitude");
            ExpectValue(want.speed, got.speed, "speed");
            ExpectValue(want.course, got.course, "course");
            ExpectValue(want.error, got.horizontalError, "error");
            EXPECT_EQ(got.satellites, want.satellites);
        }
    }
}

}  // namespace
