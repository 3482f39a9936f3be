#include "draw/model/MapTransfer.h"

#include <map>
#include <memory>
#include <string>

#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawItem.h"
#include "draw/model/CDrawObj.h"
#include "draw/model/CDrawOleObj.h"
#include "framework/Archive.h"
#include "framework/ArchiveException.h"
#include "framework/ByteStream.h"

namespace {

[[noreturn]] void Damaged(const std::string& detail)
{
    throw ArchiveException(ArchiveException::BadFormat, detail);
}

std::vector<CDrawItem*> ItemsOf(const std::vector<CDrawObj*>& objects)
{
    std::vector<CDrawItem*> items;
    for (CDrawObj* object : objects) {
        if (auto* ole = dynamic_cast<CDrawOleObj*>(object); ole && ole->GetClientItem()) {
            items.push_back(ole->GetClientItem());
        }
    }
    return items;
}

std::map<uint32_t, CompoundStorage> ReadItemsBlock(const std::vector<uint8_t>& bytes)
{
    MemoryInputStream in(bytes);
    Archive ar(in);
    std::map<uint32_t, CompoundStorage> storages;
    uint32_t count = ar.ReadCount();
    ar.RequireEntries(count, 5, "embedded items");
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t number = ar.ReadU32();
        CompoundStorage& storage = storages[number];
        uint32_t streams = ar.ReadCount();
        ar.RequireEntries(streams, 2, "streams of an embedded item");
        for (uint32_t s = 0; s < streams; ++s) {
            std::string name = ar.ReadString();
            std::string data = ar.ReadString();
            storage.streams[name].assign(data.begin(), data.end());
        }
    }
    if (ar.Remaining() != 0) {
        Damaged("bytes after the embedded items");
    }
    return storages;
}

}  // namespace

std::vector<uint8_t> WriteObjectsBlock(const std::vector<CDrawObj*>& objects)
{
    MemoryOutputStream out;
    Archive ar(out);
    ar.SetClassRegistry(&CDrawDoc::Classes());
    CDrawDoc::WriteObjectList(ar, objects);
    return out.TakeBytes();
}

std::vector<uint8_t> WriteItemsBlock(const std::vector<CDrawObj*>& objects)
{
    std::vector<CDrawItem*> items = ItemsOf(objects);
    MemoryOutputStream out;
    Archive ar(out);
    ar.WriteCount(static_cast<uint32_t>(items.size()));
    for (const CDrawItem* item : items) {
        ar.WriteU32(item->GetItemNumber());
        CompoundStorage storage = item->SaveStorage();
        ar.WriteCount(static_cast<uint32_t>(storage.streams.size()));
        for (const auto& [name, data] : storage.streams) {
            ar.WriteString(name);
            ar.WriteString(std::string(data.begin(), data.end()));
        }
    }
    return out.TakeBytes();
}

std::vector<CDrawObj*> ReadTransferBlocks(CDrawDoc& doc, const std::vector<uint8_t>& objects,
                                          const std::vector<uint8_t>* items)
{
    // Everything is read into a document of its own first: nothing reaches `doc` unless
    // the whole transfer is sound.
    CDrawDoc scratch;
    MemoryInputStream in(objects);
    Archive ar(in);
    ar.SetClassRegistry(&CDrawDoc::Classes());
    ar.SetDocument(&scratch);
    std::vector<std::unique_ptr<CDrawObj>> read = CDrawDoc::ReadObjectList(ar);
    if (ar.Remaining() != 0) {
        Damaged("bytes after the drawing objects");
    }
    std::map<uint32_t, CompoundStorage> storages;
    if (items) {
        storages = ReadItemsBlock(*items);
    }
    for (const auto& item : scratch.Items()) {
        auto storage = storages.find(item->GetItemNumber());
        if (storage == storages.end()) {
            Damaged("an embedded object without its content");
        }
        item->LoadStorage(storage->second);
    }

    std::vector<CDrawObj*> added;
    for (auto& object : read) {
        if (auto* ole = dynamic_cast<CDrawOleObj*>(object.get()); ole && ole->GetClientItem()) {
            CDrawItem* item = doc.AddItem(scratch.TakeItem(ole->GetClientItem()));
            item->SetDrawObj(ole);
            ole->SetClientItem(item);
        }
        added.push_back(doc.Add(std::move(object)));
    }
    return added;
}
