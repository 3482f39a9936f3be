// The archive's tagged objects as the map document reads them: "Contents" through
// CDrawDoc::Serialize, and the same bytes as a run of tagged objects of any of the map's
// classes, back-references included. A stream that loads must store and load again to the
// same bytes; a damaged one must leave the map as it was.

#include <memory>

#include "framework/ArchiveException.h"
#include "framework/CObject.h"
#include "framework/ClassRegistry.h"
#include "tests/fuzz/FuzzMaps.h"

namespace {

void LoadContents(CDrawDoc& doc, const std::vector<uint8_t>& bytes)
{
    MemoryInputStream in(bytes);
    Archive ar(in);
    doc.Serialize(ar);
}

void ReadTaggedObjects(const uint8_t* data, size_t size)
{
    CDrawDoc owner;
    std::vector<std::unique_ptr<CObject>> created;
    MemoryInputStream in(data, size);
    Archive ar(in);
    ar.SetClassRegistry(&CDrawDoc::Classes());
    ar.SetDocument(&owner);
    try {
        while (ar.Remaining() > 0) {
            Archive::ObjectRef ref = ar.ReadObject(RUNTIME_CLASS(CObject));
            if (ref.created) {
                created.emplace_back(ref.object);
            }
        }
    } catch (const ArchiveException&) {
    }
    // Later objects refer to earlier ones: they go first.
    while (!created.empty()) {
        created.pop_back();
    }
}

int FuzzArchive(const uint8_t* data, size_t size)
{
    ReadTaggedObjects(data, size);

    CDrawDoc doc;
    FillMap(doc);
    const MapState before = StateOf(doc);
    try {
        LoadContents(doc, std::vector<uint8_t>(data, data + size));
    } catch (const ArchiveException&) {
        FUZZ_CHECK(StateOf(doc) == before, "a damaged stream changed the map");
        return 0;
    }
    const std::vector<uint8_t> stored = StoredContents(doc);
    CDrawDoc again;
    try {
        LoadContents(again, stored);
    } catch (const ArchiveException& e) {
        FuzzFailure("archive", std::string("a stored map does not load: ") + e.what());
    }
    FUZZ_CHECK(StoredContents(again) == stored, "a stored map loads as another one");
    return 0;
}

}  // namespace

ORVI_FUZZ_TARGET("archive", FuzzArchive)
