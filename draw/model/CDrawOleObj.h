#pragma once

#include "draw/model/CDrawObj.h"

class CDrawItem;

// An embedded object's place on the page: a drawing object paired with the CDrawItem that
// holds the object's data. The document's item list owns the item; each points to the
// other. When the item goes first it clears the object's pointer; when the object is
// destroyed, it deletes its item from the item's document.
//
// File record: the 48 bytes of CDrawObj, int32 extent cx and cy (0.01 mm), then the item as
// a tagged object of class CDrawItem (the whole item the first time, a back-reference
// later). Loading hands a new item to the archive's document and pairs it with this object.
class CDrawOleObj : public CDrawObj {
    DECLARE_SERIAL(CDrawOleObj)
public:
    CDrawOleObj();
    explicit CDrawOleObj(const CRect& position);
    // Deletes the item through its document (CDrawDoc::DeleteItem).
    ~CDrawOleObj() override;

    void Serialize(Archive& ar) override;
    // The item's picture in the position rectangle; on screen (not printing) the frame: with
    // ShowItemFrames dotted for a linked item and solid otherwise, hatched inside while the
    // item is open in another program.
    void Draw(GdiPainter& dc) const override;
    // The open or primary verb through the installed DrawObjEditor.
    void OpenInView(DrawViewSite* view) override;
    // The object properties dialog through the installed DrawObjEditor.
    void EditProperties() override;
    // A new object at the same position with a copy of the item (in `document`, else in
    // the item's document) and the same pen and brush; its extent starts at (0, 0), so that
    // the item's next change sizes it as a new object. An object without an item is copied
    // without one. Throws std::bad_alloc when the item has no document to live in.
    std::unique_ptr<CDrawObj> Clone(CDrawDoc* document = nullptr) const override;

    CDrawItem* GetClientItem() const { return item_; }
    void SetClientItem(CDrawItem* item) { item_ = item; }
    // The extent last taken from the item, in 0.01 mm; not yet known when a side is 0.
    CSize GetExtent() const { return extent_; }
    // Position and extent as CDrawItem::SyncExtent computed them; no repaint, no mark.
    void TakeExtent(const CRect& position, CSize extent)
    {
        position_ = position;
        extent_ = extent;
    }

    // Whether frames are drawn around embedded objects (for the whole program).
    static bool ShowItemFrames() { return showItemFrames_; }
    static void SetShowItemFrames(bool show) { showItemFrames_ = show; }

private:
    CDrawItem* item_ = nullptr;
    CSize extent_;
    static bool showItemFrames_;
};
