// The receiver's PVT packets (link/Pvt.h) over arbitrary bytes: either DataTypeError, or a
// fix with a time, a position within +/-90 and +/-180 degrees, and speed, course, altitude
// and error each finite (speed and error not negative, course below 360) or VALUE_NONE.
// Written again, the fix reads back at the same time and place. The same bytes, cut in two,
// go through the line's recognition of NMEA and frames: what it finds in the pieces it finds
// in the whole, and it finds NMEA only where a '$' is, frames only where DLE ETX is.

#include <cmath>
#include <cstring>

#include "gps/TrackTime.h"
#include "link/LineRecognition.h"
#include "link/LinkTypes.h"
#include "link/Pvt.h"
#include "tests/fuzz/FuzzTarget.h"

namespace {

bool FiniteOrNone(float value)
{
    return value == VALUE_NONE || std::isfinite(value);
}

void RecogniseLine(const uint8_t* data, size_t size)
{
    LineRecogniser whole;
    LineRecogniser pieces;
    const LineSpeech speech = whole.Take(data, size);
    const size_t cut = size > 0 ? data[0] % (size + 1) : 0;
    pieces.Take(data, cut);
    pieces.Take(data + cut, size - cut);
    FUZZ_CHECK(size > LineRecogniser::kKeep || pieces.Speech() == LineSpeech::UNKNOWN ||
                   speech != LineSpeech::UNKNOWN,
               "recognised in pieces, not in the whole");
    FUZZ_CHECK(speech != LineSpeech::NMEA || std::memchr(data, '$', size), "NMEA without '$'");
    bool dleEtx = false;
    for (size_t i = 0; i + 1 < size && !dleEtx; ++i) {
        dleEtx = data[i] == DLE && data[i + 1] == ETX;
    }
    FUZZ_CHECK(speech != LineSpeech::BINARY || dleEtx, "a frame without DLE ETX");
}

int FuzzPvt(const uint8_t* data, size_t size)
{
    RecogniseLine(data, size);
    LiveFix fix;
    try {
        fix = DecodePvt(data, size);
    } catch (const DataTypeError&) {
        return 0;
    }
    FUZZ_CHECK(std::isfinite(fix.latitude) && std::fabs(fix.latitude) <= 90, "latitude");
    FUZZ_CHECK(std::isfinite(fix.longitude) && std::fabs(fix.longitude) <= 180, "longitude");
    FUZZ_CHECK(fix.utcMillis != 0, "a fix without a time");
    FUZZ_CHECK(FiniteOrNone(fix.speed) && fix.speed >= 0, "speed");
    FUZZ_CHECK(fix.course == VALUE_NONE || (fix.course >= 0 && fix.course < 360), "course");
    FUZZ_CHECK(FiniteOrNone(fix.altitude), "altitude");
    FUZZ_CHECK(FiniteOrNone(fix.horizontalError) && fix.horizontalError >= 0, "error");
    FUZZ_CHECK(fix.kind <= FixKind::THREE_D, "fix kind");

    std::vector<uint8_t> again;
    try {
        again = EncodePvt(fix);
    } catch (const DataTypeError&) {
        // Only a time before the receivers' epoch (by GPS time with our leap seconds), or
        // beyond what the days field holds, cannot be written.
        const int64_t first = (TRACK_TIME_BASE - PvtExtras{}.leapSeconds) * 1000;
        const int64_t last = (TRACK_TIME_BASE + int64_t{UINT32_MAX} * 86400) * 1000;
        FUZZ_CHECK(fix.utcMillis < first || fix.utcMillis > last, "a fix that cannot be written");
        return 0;
    }
    LiveFix back = DecodePvt(again.data(), again.size());
    FUZZ_CHECK(back.utcMillis == fix.utcMillis, "the time changed through writing");
    FUZZ_CHECK(std::fabs(back.latitude - fix.latitude) < 1e-9 &&
                   std::fabs(back.longitude - fix.longitude) < 1e-9,
               "the position changed through writing");
    FUZZ_CHECK(back.kind == fix.kind, "the fix kind changed through writing");
    return 0;
}

}  // namespace

ORVI_FUZZ_TARGET("pvt", FuzzPvt)
