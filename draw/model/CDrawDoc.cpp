#include "draw/model/CDrawDoc.h"

#include <algorithm>
#include <set>
#include <unordered_set>

#include "draw/model/CDrawItem.h"
#include "draw/model/CDrawObj.h"
#include "draw/model/CDrawOleObj.h"
#include "draw/model/CDrawPoly.h"
#include "draw/model/CDrawRect.h"
#include "draw/model/CDrawText.h"
#include "draw/model/CSummaryInfo.h"
#include "draw/model/DrawObjEditor.h"
#include "draw/model/DrawViewSite.h"
#include "draw/model/GdiPainter.h"
#include "draw/model/UpdateHint.h"
#include "framework/Archive.h"
#include "framework/ClassRegistry.h"
#include "framework/CompoundFile.h"
#include "res/CommandIds.h"

namespace {

const char kContentsStream[] = "Contents";

[[noreturn]] void BadFormat(const std::string& detail)
{
    throw ArchiveException(ArchiveException::BadFormat, detail);
}

}  // namespace

struct CDrawDoc::Contents {
    std::vector<std::unique_ptr<CDrawObj>> objects;
    std::vector<std::unique_ptr<CDrawItem>> items;
    COLORREF paper;
};

CDrawDoc::CDrawDoc()
{
    FixPageSize();
    history_.Reset();
}

CDrawDoc::~CDrawDoc()
{
    if (DrawObjEditor* editor = DrawObjEditor::Installed()) {
        editor->DocumentGone(this);
    }
    DestroyContents();
}

MapSnapshot CDrawDoc::Capture()
{
    MemoryOutputStream contents;
    Archive ar(contents);
    StoreContents(ar, nullptr);
    return SnapshotOf(contents.TakeBytes());
}

MapSnapshot CDrawDoc::SnapshotOf(std::vector<uint8_t> contents) const
{
    MapSnapshot snapshot;
    snapshot.contents = std::make_shared<const std::vector<uint8_t>>(std::move(contents));
    // The summary is no part of what undo restores.
    for (const CDrawItem* item : PlacedItems()) {
        snapshot.items[item->StorageName()] = item->GetContent();
    }
    if (geoReference_) {
        snapshot.geoReference = geoReference_->WriteStream();
    }
    return snapshot;
}

void CDrawDoc::Restore(const MapSnapshot& snapshot)
{
    for (DrawViewSite* site : ViewSites()) {
        for (CDrawObj* object : ObjectList()) {
            site->RemoveFromSelection(object);
        }
    }
    MemoryInputStream in(*snapshot.contents);
    Archive ar(in);
    LoadContents(ar, ItemSource{nullptr, &snapshot.items}, nullptr);
    geoReference_.reset();
    if (!snapshot.geoReference.empty()) {
        geoReference_ = MapGeoReference::ReadStream(snapshot.geoReference);
    }
    UpdateAllViews(nullptr, HINT_REPAINT_ALL);
}

void CDrawDoc::AfterChange()
{
    Document::SetModifiedFlag(!history_.AtSavedState());
}

void CDrawDoc::EndStep()
{
    // Only a step of the content decides the mark: a change beside it (the summary, say)
    // keeps the mark it set.
    if (history_.End()) {
        AfterChange();
    }
}

void CDrawDoc::Undo()
{
    history_.Undo();
    AfterChange();
}

void CDrawDoc::Redo()
{
    history_.Redo();
    AfterChange();
}

void CDrawDoc::CommandBegins(int id)
{
    // Undo and redo move through the history themselves.
    commandStep_ = id != ID_EDIT_UNDO && id != ID_EDIT_REDO;
    if (commandStep_) {
        history_.Begin("");
    }
}

void CDrawDoc::CommandEnds()
{
    if (commandStep_) {
        commandStep_ = false;
        EndStep();
    }
}

void CDrawDoc::SetModifiedFlag(bool modified)
{
    if (!modified) {
        history_.MarkSaved();
    }
    Document::SetModifiedFlag(modified);
}

const ClassRegistry& CDrawDoc::Classes()
{
    static const ClassRegistry classes = {RUNTIME_CLASS(CDrawObj),    RUNTIME_CLASS(CDrawRect),
                                          RUNTIME_CLASS(CDrawText),   RUNTIME_CLASS(CDrawPoly),
                                          RUNTIME_CLASS(CDrawOleObj), RUNTIME_CLASS(CDrawItem)};
    return classes;
}

CDrawDoc::Contents CDrawDoc::TakeContents()
{
    Contents taken{std::move(objects_), std::move(items_), paper_};
    objects_.clear();
    items_.clear();
    paper_ = RGB(255, 255, 255);
    return taken;
}

void CDrawDoc::DestroyContents()
{
    // Objects first: an embedded object lets go of its item, which the item list destroys.
    objects_.clear();
    items_.clear();
}

void CDrawDoc::DeleteContents()
{
    DestroyContents();
    summary_.reset();
    geoReference_.reset();
    paper_ = RGB(255, 255, 255);
}

bool CDrawDoc::OnNewDocument()
{
    if (!Document::OnNewDocument()) {
        return false;
    }
    summary_ = std::make_unique<CSummaryInfo>();
    summaryError_.clear();
    geoReference_.reset();
    geoReferenceError_.clear();
    summary_->StartEditClock();
    summary_->StampCreateDate();
    summary_->SetPageCount(1);
    summary_->SetAppName("Skizel");
    history_.Reset();
    return true;
}

void CDrawDoc::OnOpenDocument(const std::string& path)
{
    CompoundStorage root = ReadCompoundFile(path);
    const std::vector<uint8_t>* contents = root.Stream(kContentsStream);
    if (!contents) {
        BadFormat(path + ": no stream \"Contents\"");
    }
    auto summary = std::make_unique<CSummaryInfo>();
    summary->StartEditClock();
    // A damaged georeference leaves the map without one; the map still loads.
    std::optional<MapGeoReference> geoReference;
    std::string geoReferenceError;
    if (const std::vector<uint8_t>* stream = root.Stream(GEO_REFERENCE_STREAM_NAME)) {
        try {
            geoReference = MapGeoReference::ReadStream(*stream);
        } catch (const ArchiveException& e) {
            geoReferenceError = e.what();
        }
    }
    MemoryInputStream in(*contents);
    Archive ar(in);
    LoadContents(ar, ItemSource{&root, nullptr}, std::move(summary));
    geoReference_ = std::move(geoReference);
    geoReferenceError_ = std::move(geoReferenceError);
    SetPathName(path);
    Document::SetModifiedFlag(false);
    history_.Reset();
}

void CDrawDoc::OnSaveDocument(const std::string& path)
{
    if (summary_) {
        summary_->StampSaveDate();
        summary_->IncrementRevision();
        summary_->SetLastAuthor(summary_->GetAuthor());
        summary_->AddEditClockToTotal();
        summary_->StartEditClock();
    }
    CompoundStorage root;
    MemoryOutputStream contents;
    Archive ar(contents);
    StoreContents(ar, &root);
    root.streams[kContentsStream] = contents.TakeBytes();
    if (geoReference_) {
        root.streams[GEO_REFERENCE_STREAM_NAME] = geoReference_->WriteStream();
    }
    WriteCompoundFile(path, root);
    SetPathName(path);
    // What was written is what the history marks as saved: no second serialisation.
    history_.MarkSaved(SnapshotOf(std::move(root.streams[kContentsStream])));
    Document::SetModifiedFlag(false);
}

void CDrawDoc::Serialize(Archive& ar)
{
    if (ar.IsStoring()) {
        StoreContents(ar, nullptr);
    } else {
        LoadContents(ar, ItemSource{}, nullptr);
    }
}

void CDrawDoc::StoreContents(Archive& ar, CompoundStorage* root)
{
    ar.WriteU32(paper_);
    auto objects = ObjectList();
    WriteObjectList(ar, {objects.begin(), objects.end()});
    if (root && summary_) {
        root->streams[SUMMARY_STREAM_NAME] = summary_->WriteStream();
    }
    std::vector<const CDrawItem*> placed = PlacedItems();
    ar.WriteU32(static_cast<uint32_t>(placed.size()));
    for (const CDrawItem* item : placed) {
        ar.WriteObject(item);
    }
    if (root) {
        for (const CDrawItem* item : placed) {
            root->storages[item->StorageName()] = item->SaveStorage();
        }
    }
}

std::vector<const CDrawItem*> CDrawDoc::PlacedItems() const
{
    auto objects = ObjectList();
    std::unordered_set<const CDrawObj*> listed(objects.begin(), objects.end());
    std::vector<const CDrawItem*> placed;
    for (const auto& item : items_) {
        if (listed.count(item->GetDrawObj())) {
            placed.push_back(item.get());
        }
    }
    return placed;
}

void CDrawDoc::LoadContents(Archive& ar, const ItemSource& source,
                            std::unique_ptr<CSummaryInfo> summary)
{
    ar.SetClassRegistry(&Classes());
    ar.SetDocument(this);
    Contents old = TakeContents();
    std::string summaryError;
    try {
        paper_ = ar.ReadU32();
        objects_ = ReadObjectList(ar);
        if (summary && source.root) {
            if (const std::vector<uint8_t>* stream = source.root->Stream(SUMMARY_STREAM_NAME)) {
                try {
                    summary->ReadStream(*stream);
                } catch (const ArchiveException& e) {
                    // A damaged summary leaves the new one empty; the map still loads.
                    summaryError = e.what();
                }
            }
        }
        uint32_t count = ar.ReadU32();
        ar.RequireEntries(count, 2, "embedded items");
        for (uint32_t i = 0; i < count; ++i) {
            Archive::ObjectRef ref = ar.ReadObject(RUNTIME_CLASS(CDrawItem));
            if (ref.created) {
                AdoptLoadedItem(std::unique_ptr<CDrawItem>(static_cast<CDrawItem*>(ref.object)));
            }
        }
        std::set<uint32_t> numbers;
        for (const auto& item : items_) {
            if (!numbers.insert(item->GetItemNumber()).second) {
                BadFormat("two embedded items numbered " + std::to_string(item->GetItemNumber()));
            }
            if (source.root) {
                const CompoundStorage* storage = source.root->Storage(item->StorageName());
                if (!storage) {
                    BadFormat("no storage \"" + item->StorageName() + "\" for an embedded item");
                }
                item->LoadStorage(*storage);
            } else if (source.contents) {
                auto content = source.contents->find(item->StorageName());
                if (content == source.contents->end()) {
                    BadFormat("no content for the embedded item \"" + item->StorageName() + "\"");
                }
                item->SetContent(content->second);
            }
        }
    } catch (...) {
        DestroyContents();
        objects_ = std::move(old.objects);
        items_ = std::move(old.items);
        paper_ = old.paper;
        throw;
    }
    old.objects.clear();
    old.items.clear();
    if (summary) {
        summary_ = std::move(summary);
        summaryError_ = std::move(summaryError);
    }
}

void CDrawDoc::WriteObjectList(Archive& ar, const std::vector<CDrawObj*>& objects)
{
    ar.WriteCount(static_cast<uint32_t>(objects.size()));
    for (const CDrawObj* object : objects) {
        ar.WriteObject(object);
    }
}

std::vector<std::unique_ptr<CDrawObj>> CDrawDoc::ReadObjectList(Archive& ar)
{
    uint32_t count = ar.ReadCount();
    ar.RequireEntries(count, 2, "drawing objects");
    std::vector<std::unique_ptr<CDrawObj>> objects;
    for (uint32_t i = 0; i < count; ++i) {
        Archive::ObjectRef ref = ar.ReadObject(RUNTIME_CLASS(CDrawObj));
        if (!ref.created) {
            BadFormat(ref.object ? "a drawing object listed twice"
                                 : "an empty entry in the object list");
        }
        objects.emplace_back(static_cast<CDrawObj*>(ref.object));
    }
    return objects;
}

std::vector<DrawViewSite*> CDrawDoc::ViewSites() const
{
    std::vector<DrawViewSite*> sites;
    for (View* view : GetViews()) {
        if (auto* site = dynamic_cast<DrawViewSite*>(view)) {
            sites.push_back(site);
        }
    }
    return sites;
}

CDrawObj* CDrawDoc::TopObjectAt(CPoint point) const
{
    CRect unit = RectAround(point, 0, 0, 1, 1);
    for (auto it = objects_.rbegin(); it != objects_.rend(); ++it) {
        if ((*it)->TouchesRect(unit)) {
            return it->get();
        }
    }
    return nullptr;
}

void CDrawDoc::Draw(GdiPainter& dc, DrawViewSite* view, const CRect* area) const
{
    bool handles = view && view->IsActiveView() && !dc.IsPrinting();
    for (const CDrawObj* object : ObjectList()) {
        if (area && !object->PaintedArea().Intersects(*area)) {
            continue;
        }
        object->Draw(dc);
        if (handles && view->IsSelected(object)) {
            object->DrawHandles(dc, HandleState::selected);
        }
    }
}

void CDrawDoc::SetGeoReference(const std::optional<MapGeoReference>& geoReference)
{
    if (geoReference_ == geoReference) {
        return;
    }
    geoReference_ = geoReference;
    SetModifiedFlag(true);
    UpdateAllViews(nullptr, HINT_REPAINT_ALL);
}

void CDrawDoc::SetPaperColour(COLORREF colour)
{
    paper_ = colour;
    SetModifiedFlag(true);
    UpdateAllViews(nullptr, HINT_REPAINT_ALL);
}

void CDrawDoc::FixPageSize()
{
    if (pageSize_ == MAP_PAGE_SIZE) {
        return;
    }
    pageSize_ = MAP_PAGE_SIZE;
    for (DrawViewSite* site : ViewSites()) {
        site->ApplyPageSize(pageSize_);
    }
}

std::unique_ptr<CDrawItem> CDrawDoc::TakeItem(CDrawItem* item)
{
    auto it =
        std::find_if(items_.begin(), items_.end(),
                     [item](const std::unique_ptr<CDrawItem>& held) { return held.get() == item; });
    if (it == items_.end()) {
        return nullptr;
    }
    std::unique_ptr<CDrawItem> taken = std::move(*it);
    items_.erase(it);
    taken->SetDocument(nullptr);
    return taken;
}

CDrawItem* CDrawDoc::AddItem(std::unique_ptr<CDrawItem> item)
{
    uint64_t next = 1;
    std::set<uint32_t> used;
    for (const auto& existing : items_) {
        next = std::max<uint64_t>(next, uint64_t{existing->GetItemNumber()} + 1);
        used.insert(existing->GetItemNumber());
    }
    if (next > UINT32_MAX) {
        for (next = 1; used.count(static_cast<uint32_t>(next)); ++next) {
        }
    }
    item->SetItemNumber(static_cast<uint32_t>(next));
    item->SetDocument(this);
    items_.push_back(std::move(item));
    return items_.back().get();
}

void CDrawDoc::AdoptLoadedItem(std::unique_ptr<CDrawItem> item)
{
    item->SetDocument(this);
    items_.push_back(std::move(item));
}

void CDrawDoc::DeleteItem(CDrawItem* item)
{
    auto it = std::find_if(items_.begin(), items_.end(),
                           [item](const auto& owned) { return owned.get() == item; });
    if (it != items_.end()) {
        items_.erase(it);
    }
}
