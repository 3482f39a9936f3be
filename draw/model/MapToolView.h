#pragma once

#include <vector>

#include "draw/model/DrawViewSite.h"
#include "framework/Geometry.h"

class CDrawDoc;
class CDrawObj;

// The mouse cursors the drawing tools show: the arrow, the cross of the shape tools, the
// pencil of freehand polygons, and the arrows over an object's handles.
enum class ToolCursor { arrow, cross, pencil, sizeNWSE, sizeNS, sizeNESW, sizeWE, sizeAll };

// The keys held with a mouse event (MK_SHIFT, MK_CONTROL, MK_LBUTTON).
struct MouseFlags {
    bool shift = false;
    bool control = false;
    bool leftButton = false;
};

// What the drawing tools need of a map view, besides what drawing objects need of it
// (DrawViewSite): its document and selection, the conversion of client points, mouse
// capture, the cursor and the rubber band. Client points are the view's device pixels,
// scrolled and zoomed; document points are page units. The map view implements it; the
// tools' tests use a fake.
class MapToolView : public DrawViewSite {
public:
    using DrawViewSite::ViewToDoc;

    virtual CDrawDoc* GetDocument() const = 0;

    // The selected objects in the order they were selected (not owned).
    virtual const std::vector<CDrawObj*>& Selection() const = 0;
    // Without `add`, first empties the selection (repainting it); then adds `object` unless
    // it is null or already selected, and repaints it.
    virtual void Select(CDrawObj* object, bool add) = 0;
    // Takes a selected object out of the selection and repaints it.
    virtual void Deselect(CDrawObj* object) = 0;
    // Without `add`, first empties the selection; then selects every object of the document,
    // bottom to top, that touches the normalized client rectangle.
    virtual void SelectInRect(const CRect& clientRect, bool add) = 0;
    // A copy of each selected object on top of the document; the copies are not selected.
    virtual void DuplicateSelection() = 0;

    // A client point in document units.
    virtual CPoint ViewToDoc(CPoint client) const = 0;

    // The view keeps the mouse while the button is up (polygons between clicks).
    virtual void SetCapture() = 0;
    virtual void ReleaseCapture() = 0;
    virtual bool HasCapture() const = 0;
    virtual void SetCursor(ToolCursor cursor) = 0;

    // The focus rectangle of a rubber-band selection, in client coordinates (normalized by
    // the caller); Hide takes it away. Showing moves it.
    virtual void ShowRubberBand(const CRect& clientRect) = 0;
    virtual void HideRubberBand() = 0;
};
