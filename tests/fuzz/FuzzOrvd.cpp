// Loading GPS data files (".orvd"): CDataDoc::Serialize over arbitrary bytes, into a
// document that holds records already. A damaged file must leave the document as it was;
// a file that loads must store and load again to the same bytes.

#include "framework/ArchiveException.h"
#include "tests/fuzz/FuzzDocuments.h"
#include "tests/fuzz/FuzzTarget.h"
#include "tests/gps/GpsTestRecords.h"

namespace {

int FuzzOrvd(const uint8_t* data, size_t size)
{
    CDataDoc doc;
    doc.ReplaceWaypoints({TestWaypoint(1), TestWaypoint(2)});
    doc.ReplaceTrackpoints({TestTrackpoint(0), TestTrackpoint(1)});
    const std::vector<uint8_t> before = StoredOrvd(doc);
    try {
        LoadOrvd(doc, std::vector<uint8_t>(data, data + size));
    } catch (const ArchiveException&) {
        FUZZ_CHECK(StoredOrvd(doc) == before, "a damaged file changed the document");
        return 0;
    }
    ShowPointLists(doc);

    const std::vector<uint8_t> stored = StoredOrvd(doc);
    CDataDoc again;
    try {
        LoadOrvd(again, stored);
    } catch (const ArchiveException& e) {
        FuzzFailure("orvd", std::string("a stored document does not load: ") + e.what());
    }
    FUZZ_CHECK(StoredOrvd(again) == stored, "a stored document loads as another one");
    return 0;
}

}  // namespace

ORVI_FUZZ_TARGET("orvd", FuzzOrvd)
