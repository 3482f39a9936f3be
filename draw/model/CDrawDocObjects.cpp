// The map document's object list: the one way in (Add), the one way out (Take) and the
// z-order commands.

#include <algorithm>

#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawObj.h"
#include "draw/model/DrawViewSite.h"

std::vector<std::unique_ptr<CDrawObj>>::iterator CDrawDoc::Find(const CDrawObj* object)
{
    return std::find_if(
        objects_.begin(), objects_.end(),
        [object](const std::unique_ptr<CDrawObj>& held) { return held.get() == object; });
}

CDrawObj* CDrawDoc::Add(std::unique_ptr<CDrawObj> object)
{
    CDrawObj* added = object.get();
    added->SetDocument(this);
    objects_.push_back(std::move(object));
    SetModifiedFlag(true);
    return added;
}

std::unique_ptr<CDrawObj> CDrawDoc::Take(CDrawObj* object)
{
    std::unique_ptr<CDrawObj> taken;
    if (auto it = Find(object); it != objects_.end()) {
        taken = std::move(*it);
        objects_.erase(it);
    }
    SetModifiedFlag(true);
    for (DrawViewSite* site : ViewSites()) {
        site->RemoveFromSelection(object);
    }
    return taken;
}

CDrawObj* CDrawDoc::FindObject(ObjectKey key) const
{
    if (key == ObjectKey::none) {
        return nullptr;
    }
    auto it =
        std::find_if(objects_.begin(), objects_.end(),
                     [key](const std::unique_ptr<CDrawObj>& held) { return held->Key() == key; });
    return it != objects_.end() ? it->get() : nullptr;
}

bool CDrawDoc::MoveToFront(CDrawObj* object)
{
    auto it = Find(object);
    if (it == objects_.end() || it + 1 == objects_.end()) {
        return false;
    }
    std::rotate(it, it + 1, objects_.end());
    return true;
}

bool CDrawDoc::MoveToBack(CDrawObj* object)
{
    auto it = Find(object);
    if (it == objects_.end() || it == objects_.begin()) {
        return false;
    }
    std::rotate(objects_.begin(), it, it + 1);
    return true;
}

bool CDrawDoc::MoveForward(CDrawObj* object)
{
    auto it = Find(object);
    if (it == objects_.end() || it + 1 == objects_.end()) {
        return false;
    }
    std::iter_swap(it, it + 1);
    return true;
}

bool CDrawDoc::MoveBackward(CDrawObj* object)
{
    auto it = Find(object);
    if (it == objects_.end() || it == objects_.begin()) {
        return false;
    }
    std::iter_swap(it, it - 1);
    return true;
}
