#pragma once

#include <cstdint>
#include <vector>

class CDrawDoc;
class CDrawObj;

// Drawing objects on their way between maps (the clipboard, between windows and running
// programs): two blocks of bytes.
//
// The objects block is the map file's encoding of an object list (CDrawDoc::WriteObjectList:
// the count, then each object as a tagged object), its class numbering starting afresh. An
// embedded object's record names its item only by number; the items block carries the
// content: the count of items, then for each its number (uint32) and the streams of its
// sub-storage (count, then name and bytes as counted strings).

std::vector<uint8_t> WriteObjectsBlock(const std::vector<CDrawObj*>& objects);
std::vector<uint8_t> WriteItemsBlock(const std::vector<CDrawObj*>& objects);

// Reads the blocks and adds the objects on top of `doc`, in their order, with the items
// they place (numbered anew in `doc`); returns them. The objects keep the positions they
// were copied with. Damage of any kind (a block cut short or too long, an unknown class, an
// embedded object without content) throws ArchiveException before anything is added, so
// `doc` stays as it was. `items` may be null when no object is an embedded one.
std::vector<CDrawObj*> ReadTransferBlocks(CDrawDoc& doc, const std::vector<uint8_t>& objects,
                                          const std::vector<uint8_t>* items);
