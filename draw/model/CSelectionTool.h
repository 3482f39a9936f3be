#pragma once

#include "draw/model/CMapTool.h"

// Selects, moves and resizes objects, selects by rubber band and duplicates the selection.
//
// A press on a handle of the only selected object drags that handle; a press on an object
// selects it (Shift: adds it) and drags the selection (Ctrl: leaves copies behind); a press
// on empty paper clears the selection (Shift: keeps it) and starts a rubber band, which on
// release adds every object touching it. The shape and polygon tools run its mouse move
// and release to drag the handle of what they are drawing.
class CSelectionTool : public CMapTool {
public:
    explicit CSelectionTool(MapTools& tools) : CMapTool(ToolKind::selection, tools) {}

    void OnLButtonDown(MapToolView& view, MouseFlags flags, CPoint clientPoint) override;
    // Shift: deselects the object under the point. Otherwise opens the only selected
    // object (its property sheet, or an embedded object's application).
    void OnLButtonDblClk(MapToolView& view, MouseFlags flags, CPoint clientPoint) override;
    void OnLButtonUp(MapToolView& view, MouseFlags flags, CPoint clientPoint) override;
    void OnMouseMove(MapToolView& view, MouseFlags flags, CPoint clientPoint) override;
    // The property sheet of the only selected object; nothing with none or several.
    void EditProperties(MapToolView& view) override;
};
