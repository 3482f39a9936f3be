// The point clipboard: the records block of either kind, the details block and the routes
// block decoded from arbitrary bytes and pasted into a document, then shown as the list and
// the clipboard text show points. A block that decodes must encode and decode to the same
// records.

#include <cstring>

#include "edit/ClipboardBlock.h"
#include "framework/ArchiveException.h"
#include "gps/RichRecordBytes.h"
#include "tests/fuzz/FuzzDocuments.h"
#include "tests/fuzz/FuzzTarget.h"
#include "tests/gps/GpsTestRecords.h"

namespace {

template <class Record>
bool SameRecords(const std::vector<Record>& a, const std::vector<Record>& b)
{
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(Record)) == 0);
}

int FuzzPointClipboard(const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> block(data, data + size);
    CDataDoc doc;
    doc.ReplaceWaypoints({TestWaypoint(1)});
    doc.ReplaceTrackpoints({TestTrackpoint(1)});

    if (auto waypoints = DecodeWaypointBlock(block)) {
        auto again = DecodeWaypointBlock(EncodeClipboardBlock(*waypoints));
        FUZZ_CHECK(again && SameRecords(*again, *waypoints), "waypoints changed through a block");
        int result =
            doc.InsertWaypoints(0, static_cast<int32_t>(waypoints->size()), waypoints->data());
        FUZZ_CHECK(result == DOC_OK || result == DOC_TOO_MANY, "pasting waypoints failed");
        for (size_t i = 0; i < waypoints->size() && i < 16; ++i) {
            WaypointClipboardLine((*waypoints)[i]);
        }
    }
    if (auto trackpoints = DecodeTrackpointBlock(block)) {
        auto again = DecodeTrackpointBlock(EncodeClipboardBlock(*trackpoints));
        FUZZ_CHECK(again && SameRecords(*again, *trackpoints),
                   "trackpoints changed through a block");
        int result = doc.InsertTrackpoints(0, static_cast<int32_t>(trackpoints->size()),
                                           trackpoints->data());
        FUZZ_CHECK(result == DOC_OK || result == DOC_TOO_MANY, "pasting trackpoints failed");
        for (size_t i = 0; i < trackpoints->size() && i < 16; ++i) {
            TrackpointClipboardLine((*trackpoints)[i]);
        }
    }
    // The same bytes as the details block beside the document's one waypoint, and as routes.
    auto details = PastedWaypointDetails(block, 1);
    FUZZ_CHECK(details.empty() || details.size() == 1, "details for another number of records");
    if (!details.empty()) {
        WaypointRecord w = TestWaypoint(2);
        FUZZ_CHECK(doc.InsertWaypoints(0, 1, &w, details.data()) == DOC_OK,
                   "pasting a waypoint with details failed");
        WaypointClipboardLine(w, details[0]);
    }
    try {
        std::vector<Route> routes = DecodeRoutes(block);
        FUZZ_CHECK(SameRoutes(DecodeRoutes(EncodeRoutes(routes)), routes),
                   "routes changed through their bytes");
        FUZZ_CHECK(doc.ReplaceRoutes(routes) == DOC_OK, "decoded routes do not fit a document");
    } catch (const ArchiveException&) {
    }
    ShowPointLists(doc);
    return 0;
}

}  // namespace

ORVI_FUZZ_TARGET("pointclip", FuzzPointClipboard)
