#pragma once

#include "framework/Geometry.h"

class CDrawObj;

// What drawing objects and the map document need from a map view. The map view implements
// it besides the framework's View; the document finds its views' sites by dynamic_cast.
// Operations that take a view repaint through it, or, given none, ask every view of the
// document to repaint the object (HINT_REPAINT_OBJECT).
class DrawViewSite {
public:
    virtual ~DrawViewSite() = default;

    // Repaints the object's area (widened by the handles when it is selected).
    virtual void InvalidateObject(CDrawObj* object) = 0;
    // Document units to client pixels and back; ViewToDoc does not normalize.
    virtual CPoint DocToView(CPoint p) const = 0;
    virtual CRect ViewToDoc(const CRect& r) const = 0;

    // The view is the active view of its frame.
    virtual bool IsActiveView() const = 0;
    virtual bool IsSelected(const CDrawObj* object) const = 0;
    // Forgets the object without repainting (the document is removing it).
    virtual void RemoveFromSelection(CDrawObj* object) = 0;
    // The document's page size changed; the view sets its scroll area and repaints.
    virtual void ApplyPageSize(CSize size) = 0;
};
