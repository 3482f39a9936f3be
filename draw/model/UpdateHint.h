#pragma once

// What a map document or a drawing object asks its views to repaint, passed as the hint of
// Document::UpdateAllViews. The object argument goes with it as noted.
enum UpdateHint : long {
    HINT_REPAINT_ALL = 0,        // everything; no object
    HINT_REPAINT_OBJECT = 1,     // one CDrawObj*
    HINT_REPAINT_SELECTION = 2,  // a std::vector<CDrawObj*>* of objects, or null for the selection
    HINT_SELECTION_DELETED = 3,  // a std::vector<CDrawObj*>* of objects being deleted
    HINT_REPAINT_OLE_ITEMS = 4,  // every embedded object; no object
};
