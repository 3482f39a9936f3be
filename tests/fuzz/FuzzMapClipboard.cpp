// The map clipboard: ReadTransferBlocks over an objects block and an items block of
// arbitrary bytes, added to a map that holds objects already. Damage must leave the map as
// it was; objects that were added must copy to another map the same.
//
// Input: a uint32 n (little-endian), then n bytes of the objects block (fewer when the
// input ends), then the items block; no items block when nothing follows.

#include <algorithm>

#include "draw/model/MapTransfer.h"
#include "framework/ArchiveException.h"
#include "tests/fuzz/FuzzMaps.h"

namespace {

constexpr size_t kFilled = 2;  // the objects of FillMap

int FuzzMapClipboard(const uint8_t* data, size_t size)
{
    if (size < 4) {
        return 0;
    }
    size_t n = data[0] | (data[1] << 8) | (data[2] << 16) | (size_t{data[3]} << 24);
    n = std::min(n, size - 4);
    const std::vector<uint8_t> objects(data + 4, data + 4 + n);
    const std::vector<uint8_t> items(data + 4 + n, data + size);
    const std::vector<uint8_t>* itemsBlock = items.empty() ? nullptr : &items;

    CDrawDoc doc;
    FillMap(doc);
    const MapState before = StateOf(doc);
    std::vector<CDrawObj*> added;
    try {
        added = ReadTransferBlocks(doc, objects, itemsBlock);
    } catch (const ArchiveException&) {
        FUZZ_CHECK(StateOf(doc) == before, "a damaged block changed the map");
        return 0;
    }
    FUZZ_CHECK(doc.ObjectList().size() == kFilled + added.size(),
               "the map does not hold what was pasted");

    const std::vector<uint8_t> copiedObjects = WriteObjectsBlock(added);
    const std::vector<uint8_t> copiedItems = WriteItemsBlock(added);
    // Another map of the same content numbers the pasted items as this one did.
    CDrawDoc other;
    FillMap(other);
    std::vector<CDrawObj*> pasted;
    try {
        pasted = ReadTransferBlocks(other, copiedObjects, &copiedItems);
    } catch (const ArchiveException& e) {
        FuzzFailure("mapclip", std::string("copied objects do not paste: ") + e.what());
    }
    FUZZ_CHECK(WriteObjectsBlock(pasted) == copiedObjects, "objects changed on their way");
    FUZZ_CHECK(WriteItemsBlock(pasted) == copiedItems, "embedded content changed on its way");
    return 0;
}

}  // namespace

ORVI_FUZZ_TARGET("mapclip", FuzzMapClipboard)
