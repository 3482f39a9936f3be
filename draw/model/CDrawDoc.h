#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "draw/model/GdiTypes.h"
#include "draw/model/MapGeoReference.h"
#include "draw/model/MapHistory.h"
#include "draw/model/ObjectListView.h"
#include "framework/Document.h"
#include "framework/Geometry.h"

class CDrawItem;
class CDrawObj;
enum class ObjectKey : uint64_t;
class CSummaryInfo;
class ClassRegistry;
class DrawViewSite;
class GdiPainter;
struct CompoundStorage;

// The page size of every map, in document units.
constexpr CSize MAP_PAGE_SIZE{800, 800};

// A map document (".orvg"): drawing objects in z-order on a page with a paper colour, the
// embedded objects' items and the summary information.
//
// The document owns its objects (head of the list at the bottom, painted first) and its
// items: an object comes in by Add and goes out by Take; everyone else holds plain pointers
// or, to outlive the object's place in the list, its key (FindObject). Views that also are
// DrawViewSites are told when an object leaves the document, so that they forget it, and
// when the page size changes.
//
// The file is a compound file: stream "Contents" (below), stream "\005SummaryInformation"
// (the summary's property set), a sub-storage "Embedding <n>" per item (CDrawItem), and for
// a map placed on the earth the stream "OrviGeoReference" (draw/model/MapGeoReference.h),
// which readers that do not know it pass over.
// "Contents", little-endian: uint32 paper colour; the object list (count as by
// Archive::WriteCount, then each object as a tagged object); uint32 item count and each item
// as a tagged object (back-references for items already written inside their objects).
// Only items placed by an object of the list are written; others could never be shown.
class CDrawDoc : public Document {
public:
    // No objects, white paper, an 800 x 800 page; no summary until new or open.
    CDrawDoc();
    ~CDrawDoc() override;

    // Stores or loads "Contents" alone. Loading replaces objects, items and paper colour, and
    // only when the whole stream was read; on an ArchiveException the document is as before.
    void Serialize(Archive& ar) override;
    // A new map: no objects, and a new summary with the creation date, one page and the
    // application name "Skizel".
    bool OnNewDocument() override;
    // Reads the compound file; on success a new summary holds what the file's summary
    // stream held (a missing or damaged one leaves it empty), and the georeference what its
    // stream held (a damaged one is left out: the map has none). Throws ArchiveException and
    // then leaves the document as it was.
    void OnOpenDocument(const std::string& path) override;
    // Updates the summary for the save (date, revision, last author, editing time), then
    // writes the compound file atomically. Throws ArchiveException.
    void OnSaveDocument(const std::string& path) override;
    // Destroys objects, items, summary and georeference; white paper.
    void DeleteContents() override;

    // The objects, bottom first, as plain pointers (a read-only range: size, indexing,
    // iteration). The list changes only through Add, Take and the z-order commands.
    ObjectListView ObjectList() const { return ObjectListView(objects_); }
    // Takes `object` on top of the z-order, sets its document, marks the document modified;
    // returns it.
    CDrawObj* Add(std::unique_ptr<CDrawObj> object);
    // Takes `object` out of the list and hands it over: dropping the result destroys it.
    // Marks the document modified and tells the views to forget the object, also when it
    // was not in the list (then the result is null).
    std::unique_ptr<CDrawObj> Take(CDrawObj* object);
    // The object of the list with that key (CDrawObj::Key), or null.
    CDrawObj* FindObject(ObjectKey key) const;
    // The z-order commands: `object` to the top, to the bottom, one step up (behind its
    // successor) or one step down. Each returns whether the order changed (false for an
    // object not in the list). They neither repaint nor mark the document modified.
    bool MoveToFront(CDrawObj* object);
    bool MoveToBack(CDrawObj* object);
    bool MoveForward(CDrawObj* object);
    bool MoveBackward(CDrawObj* object);
    // The topmost object touching the unit square at `point`, or null.
    CDrawObj* TopObjectAt(CPoint point) const;
    // Paints the objects bottom to top; with a view that is active and reports an object
    // selected, and not while printing, also that object's handles. With `area` (document
    // units), objects that paint nothing there are left out; the caller widens it by what
    // handles reach beyond their objects.
    void Draw(GdiPainter& dc, DrawViewSite* view, const CRect* area = nullptr) const;

    COLORREF PaperColour() const { return paper_; }
    // The paper colour command's effect: marks the document modified, repaints all views.
    void SetPaperColour(COLORREF colour);
    CSize GetPageSize() const { return pageSize_; }
    // Makes the page 800 x 800 and tells the views, unless it already is.
    void FixPageSize();

    // Where the map lies on the earth; none for most maps. Setting it is a change of the
    // map's content like the paper colour: it marks the document modified, repaints all
    // views, and undo takes it back. Setting the georeference the map has changes nothing.
    const std::optional<MapGeoReference>& GetGeoReference() const { return geoReference_; }
    void SetGeoReference(const std::optional<MapGeoReference>& geoReference);

    // The embedded objects' items, in the order they were added.
    const std::vector<std::unique_ptr<CDrawItem>>& Items() const { return items_; }
    // Takes `item`, gives it this document and the next free item number; returns it.
    CDrawItem* AddItem(std::unique_ptr<CDrawItem> item);
    // Takes an item read from a file, keeping its number.
    void AdoptLoadedItem(std::unique_ptr<CDrawItem> item);
    // Hands `item` over to whoever moves it to another document; null when this document
    // does not hold it.
    std::unique_ptr<CDrawItem> TakeItem(CDrawItem* item);
    // Destroys `item` (its drawing object loses its pointer to it); an item that this
    // document does not hold is left alone.
    void DeleteItem(CDrawItem* item);

    // Undo and redo: every change of the map's content (objects, their order and
    // attributes, items, paper colour, georeference) between CommandBegins and CommandEnds,
    // or within an UndoStep, is one step; the modified flag follows undo back to the saved
    // state. Undo and redo replace the objects and items: views forget their selection first.
    bool CanUndo() const { return history_.CanUndo(); }
    bool CanRedo() const { return history_.CanRedo(); }
    void Undo();
    void Redo();
    void CommandBegins(int id) override;
    void CommandEnds() override;
    void SetModifiedFlag(bool modified = true) override;

    // A step that spans several events (a drag of the mouse, a polygon drawn click by
    // click): every BeginStep needs its EndStep.
    void BeginStep(const std::string& label) { history_.Begin(label); }
    void EndStep();

    // Makes the changes of one command one undo step, for the scope's life (a dialog, a
    // file taken back from another program).
    class UndoStep {
    public:
        UndoStep(CDrawDoc& doc, const std::string& label) : doc_(doc)
        {
            doc_.history_.Begin(label);
        }
        ~UndoStep() { doc_.EndStep(); }
        UndoStep(const UndoStep&) = delete;
        UndoStep& operator=(const UndoStep&) = delete;

    private:
        CDrawDoc& doc_;
    };

    // The summary information; null before OnNewDocument or OnOpenDocument.
    CSummaryInfo* GetSummaryInfo() const { return summary_.get(); }
    // Why the last OnOpenDocument left the file's summary stream out (it was damaged);
    // empty when the stream was read or there was none.
    const std::string& SummaryError() const { return summaryError_; }
    // Why the last OnOpenDocument left the file's georeference out (its stream was damaged);
    // empty when it was read or there was none.
    const std::string& GeoReferenceError() const { return geoReferenceError_; }

    // The classes a map file may hold: CDrawObj, CDrawRect, CDrawText, CDrawPoly,
    // CDrawOleObj and CDrawItem, each with schema 0.
    static const ClassRegistry& Classes();
    // The object list's encoding in "Contents" and on the clipboard: the count, then each
    // object. Reading needs the archive's class registry and document set; it refuses null
    // and repeated objects; the caller owns what it returns.
    static void WriteObjectList(Archive& ar, const std::vector<CDrawObj*>& objects);
    static std::vector<std::unique_ptr<CDrawObj>> ReadObjectList(Archive& ar);

private:
    struct Contents;
    Contents TakeContents();
    void DestroyContents();
    void StoreContents(Archive& ar, CompoundStorage* root);
    // Where the embedded items' content comes from: a map file's root storage (their
    // sub-storages, and the summary), or an undo snapshot's contents; neither for the bare
    // "Contents" stream.
    struct ItemSource {
        const CompoundStorage* root = nullptr;
        const std::map<std::string, CDrawItem::Content>* contents = nullptr;
    };
    // Reads "Contents" and the items' content from `source`, and with a root storage the
    // summary (into `summary`, which then replaces the document's). All or nothing.
    void LoadContents(Archive& ar, const ItemSource& source, std::unique_ptr<CSummaryInfo> summary);
    std::vector<DrawViewSite*> ViewSites() const;
    // Where `object` is in the list, or the end.
    std::vector<std::unique_ptr<CDrawObj>>::iterator Find(const CDrawObj* object);
    MapSnapshot Capture();
    // The snapshot whose "Contents" are `contents` (as StoreContents wrote them just now).
    MapSnapshot SnapshotOf(std::vector<uint8_t> contents) const;
    void Restore(const MapSnapshot& snapshot);
    // After a step, undo or redo: modified unless back at the saved content.
    void AfterChange();
    // The items whose drawing object is in the object list, in the item list's order.
    std::vector<const CDrawItem*> PlacedItems() const;

    std::unique_ptr<CSummaryInfo> summary_;
    std::string summaryError_;
    std::optional<MapGeoReference> geoReference_;
    std::string geoReferenceError_;
    std::vector<std::unique_ptr<CDrawObj>> objects_;
    std::vector<std::unique_ptr<CDrawItem>> items_;
    COLORREF paper_ = RGB(255, 255, 255);
    MapHistory history_{[this] { return Capture(); },
                        [this](const MapSnapshot& snapshot) { Restore(snapshot); }};
    bool commandStep_ = false;

protected:
    // Only FixPageSize sets it in this class; a derived document may start from another size.
    CSize pageSize_;
};
