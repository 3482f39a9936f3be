#pragma once

#include <array>
#include <memory>

#include "draw/model/CDrawObj.h"
#include "draw/model/ToolKind.h"
#include "framework/Geometry.h"

class CMapTool;

// What a drag of the selection tool does: nothing yet, a rubber-band selection, moving the
// selection, or dragging one handle of it.
enum class DragMode { none = 0, rubberBand = 1, move = 2, size = 3 };

// The gesture in progress in one map window: from a press to its release, or a polygon's
// clicks until it is done. Client points are the view's; document points are page units.
struct ToolGesture {
    CPoint downPoint;  // where the button went down
    CPoint lastPoint;  // last mouse position seen while tracking
    DragMode selectMode = DragMode::none;
    int dragHandle = 0;   // handle dragged in size mode, from 1; 0 for none
    CPoint lastDocPoint;  // mouse position of the previous move step
    // The object the gesture is drawing, found in the view's document by its key: a shape
    // from its press to its release, a polygon from its first click until it is done. Gone
    // from the document (deleted, undone), it is no longer found and the gesture forgets it.
    ObjectKey drawing = ObjectKey::none;
};

// The drawing tools of one map window: the eight tools, the current one and the gesture in
// progress. All panes of the window share them; another window has its own, so that a
// gesture never reaches into another map. Everything runs on the user-interface thread.
class MapTools {
public:
    // The tools in the order selection, line, rectangle, rounded rectangle, ellipse,
    // polygon, polyline, text; the selection tool current; no gesture.
    MapTools();
    ~MapTools();
    MapTools(const MapTools&) = delete;
    MapTools& operator=(const MapTools&) = delete;

    // The tool of that kind, or null for a value that names none.
    CMapTool* ToolForKind(ToolKind kind) const;
    ToolKind Current() const { return current_; }
    void SetCurrent(ToolKind kind) { current_ = kind; }
    ToolGesture& Gesture() { return gesture_; }

    // Ends the gesture as Esc does: the current tool stops (a polygon stays as drawn so
    // far), the selection tool becomes current and the gesture is forgotten.
    void Cancel();

private:
    std::array<std::unique_ptr<CMapTool>, 8> tools_;
    ToolKind current_ = ToolKind::selection;
    ToolGesture gesture_;
};
