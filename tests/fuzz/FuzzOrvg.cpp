// Opening maps (".orvg"): the compound file read through libgsf, then "Contents", the
// embedded items' storages and the summary, as CDrawDoc::OnOpenDocument does for a file
// of arbitrary bytes. A damaged file must leave the open map as it was; a map that opens
// must save and open again with the same content.

#include "framework/ArchiveException.h"
#include "framework/CompoundFile.h"
#include "tests/fuzz/FuzzMaps.h"

namespace {

// The compound file of a saved map without its summary, which every save changes.
CompoundStorage SavedContent(const std::string& path)
{
    CompoundStorage root;
    try {
        root = ReadCompoundFile(path);
    } catch (const ArchiveException& e) {
        FuzzFailure("orvg", std::string("a saved map is no compound file: ") + e.what());
    }
    root.streams.erase(SUMMARY_STREAM_NAME);
    return root;
}

void SaveMap(CDrawDoc& doc, const std::string& path)
{
    try {
        doc.OnSaveDocument(path);
    } catch (const std::exception& e) {
        FuzzFailure("orvg", std::string("an opened map does not save: ") + e.what());
    }
}

int FuzzOrvg(const uint8_t* data, size_t size)
{
    static FuzzFiles files;
    static const std::string input = files.Path("input.orvg");
    static const std::string saved = files.Path("saved.orvg");
    static const std::string savedAgain = files.Path("saved-again.orvg");

    WriteFuzzFile(input, data, size);
    CDrawDoc doc;
    FillMap(doc);
    const MapState before = StateOf(doc);
    try {
        doc.OnOpenDocument(input);
    } catch (const ArchiveException&) {
        FUZZ_CHECK(StateOf(doc) == before, "a damaged map changed the open one");
        return 0;
    }
    ReadSummaryTexts(*doc.GetSummaryInfo());

    SaveMap(doc, saved);
    CDrawDoc again;
    try {
        again.OnOpenDocument(saved);
    } catch (const ArchiveException& e) {
        FuzzFailure("orvg", std::string("a saved map does not open: ") + e.what());
    }
    FUZZ_CHECK(again.SummaryError().empty(), "a saved summary is damaged: " + again.SummaryError());
    SaveMap(again, savedAgain);
    FUZZ_CHECK(SavedContent(savedAgain) == SavedContent(saved),
               "a saved map opens with another content");
    return 0;
}

}  // namespace

ORVI_FUZZ_TARGET("orvg", FuzzOrvg)
