#pragma once

#include "draw/model/MapToolView.h"
#include "draw/model/ToolKind.h"
#include "framework/Geometry.h"

// What a drag of the selection tool does: nothing yet, a rubber-band selection, moving the
// selection, or dragging one handle of it.
enum class DragMode { none = 0, rubberBand = 1, move = 2, size = 3 };

// A drawing tool: turns the mouse input of a map view into selections, moves, resizes and
// new drawing objects. The tools are small state machines over MapToolView; they never
// touch Qt.
//
// How the map view drives them:
// - Each button press, release, double-click and mouse move of the active view goes to
//   ToolForKind(Current()), with the keys held and the client point (mouse input of an
//   inactive view goes nowhere). A double-click arrives instead of the second press.
// - Esc: the view releases the capture, calls OnCancel() of the current tool, then makes
//   the selection tool current.
// - Properties: EditProperties of ToolForKind(ToolKind::selection).
// - The tool commands call SetCurrent.
//
// The current tool and the drag state below are shared by all views: one drag at a time in
// the program. Everything runs on the user-interface thread.
class CMapTool {
public:
    explicit CMapTool(ToolKind kind) : kind_(kind) {}
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

    // The tool of that kind, or null for a value that names none. The tools are built once,
    // in the order selection, line, rectangle, rounded rectangle, ellipse, polygon,
    // polyline, text, and live as long as the program.
    static CMapTool* ToolForKind(ToolKind kind);
    static ToolKind Current() { return shared_.current; }
    static void SetCurrent(ToolKind kind) { shared_.current = kind; }
    // Back to the state at program start: the selection tool current, no drag, no polygon
    // being drawn. For tests, which run many documents through the one set of tools.
    static void Reset();

protected:
    // The state all tools share. Client points are the view's; the document point is in
    // document units.
    struct SharedState {
        ToolKind current = ToolKind::selection;
        CPoint downPoint;  // where the button went down
        CPoint lastPoint;  // last mouse position seen while tracking
        DragMode selectMode = DragMode::none;
        int dragHandle = 0;   // handle dragged in size mode, from 1; 0 for none
        CPoint lastDocPoint;  // mouse position of the previous move step
    };
    static SharedState shared_;

    // The selection tool, whose rules the other tools reuse.
    static CMapTool& SelectionTool();
    // Takes an object that is to stay empty out of the document and destroys it, repainting
    // its area first (its handles may have been painted).
    static void Discard(MapToolView& view, CDrawObj* object);

private:
    ToolKind kind_;
};
