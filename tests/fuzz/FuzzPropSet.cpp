// Property sets and the summary stream: CPropSet::Read and CSummaryInfo::ReadStream over
// arbitrary bytes. A stream that reads must write and read again to the same bytes; a
// damaged one must leave the summary as it was.

#include "framework/ArchiveException.h"
#include "tests/fuzz/FuzzMaps.h"

namespace {

constexpr uint64_t kNow = 133000000000000000;  // a FILETIME in 2022

int FuzzPropSet(const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> bytes(data, data + size);

    CPropSet set;
    bool read = true;
    try {
        set.Read(bytes);
    } catch (const ArchiveException&) {
        read = false;
    }
    if (read) {
        std::vector<uint8_t> written = set.Write();
        CPropSet again;
        try {
            again.Read(written);
        } catch (const ArchiveException& e) {
            FuzzFailure("propset", std::string("a written set does not read: ") + e.what());
        }
        FUZZ_CHECK(again.Write() == written, "a written set reads as another one");
    }

    CSummaryInfo summary([] { return kNow; });
    summary.SetTitle("Karte");
    const std::vector<uint8_t> before = summary.WriteStream();
    try {
        summary.ReadStream(bytes);
    } catch (const ArchiveException&) {
        FUZZ_CHECK(summary.WriteStream() == before, "a damaged summary changed the summary");
        return 0;
    }
    ReadSummaryTexts(summary);
    // What a save does to the summary, then the stream as the map file gets it.
    summary.StampSaveDate();
    summary.IncrementRevision();
    summary.SetLastAuthor(summary.GetAuthor());
    summary.AddEditClockToTotal();
    std::vector<uint8_t> saved = summary.WriteStream();
    CSummaryInfo again([] { return kNow; });
    try {
        again.ReadStream(saved);
    } catch (const ArchiveException& e) {
        FuzzFailure("propset", std::string("a saved summary does not read: ") + e.what());
    }
    FUZZ_CHECK(again.WriteStream() == saved, "a saved summary reads as another one");
    return 0;
}

}  // namespace

ORVI_FUZZ_TARGET("propset", FuzzPropSet)
