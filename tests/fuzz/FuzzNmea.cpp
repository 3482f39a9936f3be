// NMEA 0183 from a serial line: arbitrary bytes read by the NmeaReader in pieces of the size
// the first byte gives. Every fix is one the program can show: a position within +/-90 and
// +/-180 degrees (3D exactly when it has an altitude) or none with nothing but time and
// satellites, measures known and finite or VALUE_NONE, a course in [0, 360); and no two
// fixes in a row have the same time.

#include <QCoreApplication>
#include <cmath>
#include <string>

#include "live/NmeaReader.h"
#include "tests/fuzz/FuzzTarget.h"

namespace {

bool Measure(float value, bool negativeAllowed)
{
    return value == VALUE_NONE ||
           (std::isfinite(value) && std::fabs(value) < 1e7f && (negativeAllowed || value >= 0));
}

void CheckFix(const LiveFix& fix)
{
    FUZZ_CHECK(fix.utcMillis >= 0, "time before 1970");
    FUZZ_CHECK(fix.satellites >= -1, "satellites below -1");
    if (!fix.HasPosition()) {
        FUZZ_CHECK(fix.kind == FixKind::NONE, "kind out of range");
        FUZZ_CHECK(fix.latitude == 0 && fix.longitude == 0, "a position without a fix");
        FUZZ_CHECK(fix.altitude == VALUE_NONE && fix.speed == VALUE_NONE &&
                       fix.course == VALUE_NONE && fix.horizontalError == VALUE_NONE,
                   "measures without a fix");
        return;
    }
    FUZZ_CHECK(std::isfinite(fix.latitude) && std::fabs(fix.latitude) <= 90,
               "latitude " + std::to_string(fix.latitude));
    FUZZ_CHECK(std::isfinite(fix.longitude) && std::fabs(fix.longitude) <= 180,
               "longitude " + std::to_string(fix.longitude));
    FUZZ_CHECK((fix.kind == FixKind::THREE_D) == HasValue(fix.altitude), "3D without altitude");
    FUZZ_CHECK(Measure(fix.altitude, true), "altitude " + std::to_string(fix.altitude));
    FUZZ_CHECK(Measure(fix.speed, false), "speed " + std::to_string(fix.speed));
    FUZZ_CHECK(Measure(fix.horizontalError, false), "error");
    FUZZ_CHECK(fix.course == VALUE_NONE || (fix.course >= 0 && fix.course < 360),
               "course " + std::to_string(fix.course));
}

int FuzzNmea(const uint8_t* data, size_t size)
{
    // The reader's timers need an application; one for the whole process.
    static int argc = 1;
    static char name[] = "orvi_fuzz_nmea";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app =
        QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    (void)app;

    if (size == 0) {
        return 0;
    }
    NmeaReader reader;
    int64_t lastTime = -1;
    QObject::connect(&reader, &NmeaReader::fixRead, [&](const LiveFix& fix) {
        CheckFix(fix);
        FUZZ_CHECK(fix.utcMillis == 0 || fix.utcMillis != lastTime, "two fixes of one time");
        lastTime = fix.utcMillis;
    });
    reader.Start();
    const size_t piece = 1 + data[0] % 64;
    for (size_t i = 1; i < size; i += piece) {
        reader.Read(reinterpret_cast<const char*>(data) + i,
                    static_cast<qint64>(std::min(piece, size - i)));
    }
    reader.Finish();
    return 0;
}

}  // namespace

ORVI_FUZZ_TARGET("nmea", FuzzNmea)
