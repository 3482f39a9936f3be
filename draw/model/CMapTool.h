#pragma once

#include "draw/model/MapToolView.h"
#include "draw/model/MapTools.h"
#include "draw/model/ToolKind.h"
#include "framework/Geometry.h"

// A drawing tool: turns the mouse input of a map view into selections, moves, resizes and
// new drawing objects. The tools are small state machines over MapToolView; they never
// touch Qt.
//
// Each tool belongs to the MapTools of one map window and keeps its state in that window's
// gesture. How a map view drives them:
// - Each button press, release, double-click and mouse move of the active view goes to the
//   current tool of its window, with the keys held and the client point (mouse input of an
//   inactive view goes nowhere). A double-click arrives instead of the second press.
// - Esc: the view releases the capture and cancels the gesture (MapTools::Cancel), which
//   calls OnCancel() of the current tool and makes the selection tool current.
// - Properties: EditProperties of the selection tool.
// - The tool commands choose the current tool (MapTools::SetCurrent).
class CMapTool {
public:
    CMapTool(ToolKind kind, MapTools& tools) : tools_(tools), gesture_(tools.Gesture()), kind_(kind)
    {
    }
    virtual ~CMapTool() = default;
    CMapTool(const CMapTool&) = delete;
    CMapTool& operator=(const CMapTool&) = delete;

    ToolKind Kind() const { return kind_; }

    // Base: captures the mouse; down point and last point := the point.
    virtual void OnLButtonDown(MapToolView& view, MouseFlags flags, CPoint clientPoint);
    // Base: nothing.
    virtual void OnLButtonDblClk(MapToolView& view, MouseFlags flags, CPoint clientPoint);
    // Base: releases the capture; a release at the press point (a click, not a drag) makes
    // the selection tool current.
    virtual void OnLButtonUp(MapToolView& view, MouseFlags flags, CPoint clientPoint);
    // Base: last point := the point; the arrow cursor.
    virtual void OnMouseMove(MapToolView& view, MouseFlags flags, CPoint clientPoint);
    // Base: nothing.
    virtual void EditProperties(MapToolView& view);
    // Base: the selection tool becomes current.
    virtual void OnCancel();

protected:
    // The selection tool of the same window, whose rules the other tools reuse.
    CMapTool& SelectionTool() const;
    // Takes an object that is to stay empty out of the document and destroys it, repainting
    // its area first (its handles may have been painted).
    static void Discard(MapToolView& view, CDrawObj* object);

    MapTools& tools_;
    ToolGesture& gesture_;

private:
    ToolKind kind_;
};
