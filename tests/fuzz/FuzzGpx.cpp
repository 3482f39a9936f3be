// GPX import: ParseGpx over arbitrary bytes. What it reads, the export must write so that
// the import reads it back as the same records.

#include <cstring>

#include "gps/Gpx.h"
#include "tests/fuzz/FuzzTarget.h"

namespace {

template <class Record>
bool SameRecords(const std::vector<Record>& a, const std::vector<Record>& b)
{
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(Record)) == 0);
}

int FuzzGpx(const uint8_t* data, size_t size)
{
    GpxData read;
    try {
        read = ParseGpx(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const GpxError&) {
        return 0;
    }
    std::string written = FormatGpx(read.waypoints, read.trackpoints);
    GpxData again;
    try {
        again = ParseGpx(written);
    } catch (const GpxError& e) {
        FuzzFailure("gpx", std::string("the export does not import: ") + e.what());
    }
    FUZZ_CHECK(SameRecords(again.waypoints, read.waypoints),
               "waypoints changed through export and import");
    FUZZ_CHECK(SameRecords(again.trackpoints, read.trackpoints),
               "trackpoints changed through export and import");
    return 0;
}

}  // namespace

ORVI_FUZZ_TARGET("gpx", FuzzGpx)
