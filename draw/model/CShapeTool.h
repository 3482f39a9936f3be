#pragma once

#include <memory>

#include "draw/model/CMapTool.h"

class CDrawObj;

// Draws a line, rectangle, rounded rectangle or ellipse (a CDrawRect) by dragging from one
// corner to the other: the press adds the object at the empty rectangle under the mouse and
// selects it (the gesture holds its key), the drag moves its handle 1, the release
// normalizes it and the tool stays current. A click without dragging adds nothing: it selects what
// lies under the mouse, as the selection tool would, and makes the selection tool current.
class CShapeTool : public CMapTool {
public:
    // `kind` is line, rectangle, roundRectangle or ellipse (text for CTextTool).
    CShapeTool(ToolKind kind, MapTools& tools) : CMapTool(kind, tools) {}

    void OnLButtonDown(MapToolView& view, MouseFlags flags, CPoint clientPoint) override;
    void OnLButtonUp(MapToolView& view, MouseFlags flags, CPoint clientPoint) override;
    // The cross cursor; while the button is held, drags the new object's handle.
    void OnMouseMove(MapToolView& view, MouseFlags flags, CPoint clientPoint) override;

protected:
    // A new object of this tool at `position` (document units), not yet in a document.
    virtual std::unique_ptr<CDrawObj> CreateObject(const CRect& position) const;
};
