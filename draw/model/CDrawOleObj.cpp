#include "draw/model/CDrawOleObj.h"

#include <memory>
#include <new>

#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawItem.h"
#include "draw/model/DrawObjEditor.h"
#include "draw/model/GdiPainter.h"
#include "framework/Archive.h"

IMPLEMENT_SERIAL(CDrawOleObj, CDrawObj, 0)

bool CDrawOleObj::showItemFrames_ = true;

CDrawOleObj::CDrawOleObj() = default;

CDrawOleObj::CDrawOleObj(const CRect& position) : CDrawObj(position) {}

CDrawOleObj::~CDrawOleObj()
{
    // An item that no object places could neither be seen nor deleted any more: it goes
    // with its object, however the object ends (a dropped copy, a paste that failed).
    if (CDrawItem* item = item_) {
        item_ = nullptr;
        item->SetDrawObj(nullptr);
        if (CDrawDoc* owner = item->GetDocument()) {
            owner->DeleteItem(item);
        }
    }
}

void CDrawOleObj::Serialize(Archive& ar)
{
    CDrawObj::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteI32(extent_.cx);
        ar.WriteI32(extent_.cy);
        ar.WriteObject(item_);
        return;
    }
    extent_.cx = ar.ReadI32();
    extent_.cy = ar.ReadI32();
    Archive::ObjectRef ref = ar.ReadObject(RUNTIME_CLASS(CDrawItem));
    auto* item = static_cast<CDrawItem*>(ref.object);
    if (ref.created) {
        std::unique_ptr<CDrawItem> owned(item);
        auto* document = dynamic_cast<CDrawDoc*>(ar.GetDocument());
        if (!document) {
            throw ArchiveException(ArchiveException::BadFormat,
                                   "embedded object read outside a map document");
        }
        document->AdoptLoadedItem(std::move(owned));
    } else if (item && item->GetDrawObj()) {
        throw ArchiveException(ArchiveException::BadFormat,
                               "one embedded item placed by two objects");
    }
    item_ = item;
    if (item_) {
        item_->SetDrawObj(this);
    }
}

void CDrawOleObj::Draw(GdiPainter& dc) const
{
    if (!item_) {
        return;
    }
    dc.DrawItem(*item_, position_);
    if (dc.IsPrinting()) {
        return;
    }
    unsigned style = 0;
    if (showItemFrames_) {
        style |= item_->IsLinked() ? TRACKER_DOTTED_LINE : TRACKER_SOLID_LINE;
    }
    ItemState state = item_->GetItemState();
    if (state == ItemState::open || state == ItemState::activeUI) {
        style |= TRACKER_HATCH_INSIDE;
    }
    if (style) {
        dc.DrawTracker(position_, style);
    }
}

void CDrawOleObj::OpenInView(DrawViewSite* view)
{
    if (DrawObjEditor* editor = DrawObjEditor::Installed(); editor && item_) {
        editor->OpenItem(*this, view);
    }
}

void CDrawOleObj::EditProperties()
{
    if (DrawObjEditor* editor = DrawObjEditor::Installed(); editor && item_) {
        editor->EditItem(*this);
    }
}

std::unique_ptr<CDrawObj> CDrawOleObj::Clone(CDrawDoc* document) const
{
    auto clone = std::make_unique<CDrawOleObj>(position_);
    if (item_) {
        CDrawDoc* owner = document ? document : item_->GetDocument();
        if (!owner) {
            throw std::bad_alloc();
        }
        auto copy = std::make_unique<CDrawItem>();
        copy->CopyContentFrom(*item_);
        CDrawItem* added = owner->AddItem(std::move(copy));
        added->SetDrawObj(clone.get());
        clone->item_ = added;
    }
    clone->CopyStyle(*this);
    return clone;
}
