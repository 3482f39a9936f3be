#pragma once

#include "draw/model/CMapTool.h"

class CDrawObj;
class CDrawPoly;

// Draws a polygon (tool polygon) or polyline (tool polyline), one vertex per click.
//
// The first press adds the object and keeps the mouse captured until the drawing ends; each
// press adds a vertex one unit right of the mouse (so that neighbouring vertices never
// coincide), which the mouse then drags until the next press. Moving with the button held
// adds a vertex at every step (freehand). A press exactly on the first vertex closes the
// drawing without the dragged vertex; a double-click ends it without the vertex its second
// click left. Either makes the selection tool current, as does Esc, which leaves what was
// drawn. A drawing closed with fewer than two vertices is taken away.
class CPolygonTool : public CMapTool {
public:
    // `kind` is polygon or polyline.
    CPolygonTool(ToolKind kind, MapTools& tools) : CMapTool(kind, tools) {}

    void OnLButtonDown(MapToolView& view, MouseFlags flags, CPoint clientPoint) override;
    void OnLButtonDblClk(MapToolView& view, MouseFlags flags, CPoint clientPoint) override;
    // Nothing: the view keeps the capture between clicks.
    void OnLButtonUp(MapToolView& view, MouseFlags flags, CPoint clientPoint) override;
    void OnMouseMove(MapToolView& view, MouseFlags flags, CPoint clientPoint) override;
    // Stops drawing; the object stays as it is.
    void OnCancel() override;

private:
    // The polygon the gesture is drawing, found in `view`'s document by its key, or null.
    // One that has left the document meanwhile (deleted, undone) counts as none and is
    // forgotten.
    CDrawPoly* Drawing(MapToolView& view);
};
