#pragma once

#include <vector>

class CDrawObj;

// What a map document or a drawing object asks its views to repaint, passed as the hint of
// Document::UpdateAllViews, with a MapUpdate as the payload where noted.
enum UpdateHint : long {
    HINT_REPAINT_ALL = 0,        // everything; no payload
    HINT_REPAINT_OBJECT = 1,     // MapUpdate::object
    HINT_REPAINT_SELECTION = 2,  // MapUpdate::objects; no payload: each view's own selection
    HINT_SELECTION_DELETED = 3,  // MapUpdate::objects, which are leaving the document
    HINT_REPAINT_OLE_ITEMS = 4,  // every embedded object; no payload
};

// The payload of a map's hints: the objects they are about (not owned: the document's).
struct MapUpdate {
    CDrawObj* object = nullptr;
    std::vector<CDrawObj*> objects{};
};
