// GPX import: ParseGpx over arbitrary bytes. What it reads fits into a document, and the
// export writes it so that the import reads it back as the same records, details and
// routes, with nothing left out.

#include <cstring>

#include "gps/CDataDoc.h"
#include "gps/Gpx.h"
#include "tests/fuzz/FuzzTarget.h"

namespace {

template <class Record>
bool SameRecords(const std::vector<Record>& a, const std::vector<Record>& b)
{
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(Record)) == 0);
}

template <class Record, class Details>
bool DetailsFit(const std::vector<Record>& records, const std::vector<Details>& details)
{
    return records.size() <= static_cast<size_t>(MAX_DOC_RECORDS) &&
           (details.empty() || details.size() == records.size());
}

int FuzzGpx(const uint8_t* data, size_t size)
{
    GpxData read;
    try {
        read = ParseGpx(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const GpxError&) {
        return 0;
    }
    FUZZ_CHECK(DetailsFit(read.waypoints, read.waypointDetails), "waypoints do not fit");
    FUZZ_CHECK(DetailsFit(read.trackpoints, read.trackpointDetails), "trackpoints do not fit");
    FUZZ_CHECK(RoutesFit(read.routes), "routes do not fit");
    std::string written = FormatGpx(read);
    GpxData again;
    try {
        again = ParseGpx(written);
    } catch (const GpxError& e) {
        FuzzFailure("gpx", std::string("the export does not import: ") + e.what());
    }
    FUZZ_CHECK(SameRecords(again.waypoints, read.waypoints),
               "waypoints changed through export and import");
    FUZZ_CHECK(SameRecords(again.waypointDetails, read.waypointDetails),
               "waypoint details changed through export and import");
    FUZZ_CHECK(SameRecords(again.trackpoints, read.trackpoints),
               "trackpoints changed through export and import");
    FUZZ_CHECK(SameRecords(again.trackpointDetails, read.trackpointDetails),
               "trackpoint details changed through export and import");
    FUZZ_CHECK(SameRoutes(again.routes, read.routes), "routes changed through export and import");
    FUZZ_CHECK(GpxReadNotes(again).empty(), "the export writes what the import leaves out");
    return 0;
}

}  // namespace

ORVI_FUZZ_TARGET("gpx", FuzzGpx)
