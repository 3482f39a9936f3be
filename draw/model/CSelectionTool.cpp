#include "draw/model/CSelectionTool.h"

#include <vector>

#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawObj.h"
#include "draw/model/UpdateHint.h"

namespace {

ToolCursor CursorFor(HandleCursor cursor)
{
    switch (cursor) {
    case HandleCursor::sizeNWSE:
        return ToolCursor::sizeNWSE;
    case HandleCursor::sizeNS:
        return ToolCursor::sizeNS;
    case HandleCursor::sizeNESW:
        return ToolCursor::sizeNESW;
    case HandleCursor::sizeWE:
        return ToolCursor::sizeWE;
    case HandleCursor::sizeAll:
        return ToolCursor::sizeAll;
    }
    return ToolCursor::arrow;
}

// The rectangle between two client points, normalized.
CRect Span(CPoint a, CPoint b)
{
    return CRect{a.x, a.y, b.x, b.y}.Normalized();
}

}  // namespace

void CSelectionTool::OnLButtonDown(MapToolView& view, MouseFlags flags, CPoint clientPoint)
{
    CPoint local = view.ViewToDoc(clientPoint);
    gesture_.selectMode = DragMode::none;

    const std::vector<CDrawObj*>& selection = view.Selection();
    if (selection.size() == 1) {
        if (int handle = selection.front()->HitTest(local, &view, true); handle != 0) {
            gesture_.dragHandle = handle;
            gesture_.selectMode = DragMode::size;
        }
    }
    if (gesture_.selectMode == DragMode::none) {
        if (CDrawObj* object = view.GetDocument()->TopObjectAt(local)) {
            gesture_.selectMode = DragMode::move;
            if (!view.IsSelected(object)) {
                view.Select(object, flags.shift);
            }
            // The copies stay where the originals were; the drag moves the originals.
            if (flags.control) {
                view.DuplicateSelection();
            }
        }
    }
    if (gesture_.selectMode == DragMode::none) {
        if (!flags.shift) {
            view.Select(nullptr, false);
        }
        gesture_.selectMode = DragMode::rubberBand;
        view.ShowRubberBand(Span(clientPoint, clientPoint));
    }

    gesture_.lastDocPoint = local;
    CMapTool::OnLButtonDown(view, flags, clientPoint);
}

void CSelectionTool::OnLButtonDblClk(MapToolView& view, MouseFlags flags, CPoint clientPoint)
{
    if (flags.shift) {
        if (CDrawObj* object = view.GetDocument()->TopObjectAt(view.ViewToDoc(clientPoint))) {
            view.Deselect(object);
        }
    } else if (view.Selection().size() == 1) {
        view.Selection().front()->OpenInView(&view);
    }
    CMapTool::OnLButtonDblClk(view, flags, clientPoint);
}

void CSelectionTool::OnLButtonUp(MapToolView& view, MouseFlags flags, CPoint clientPoint)
{
    if (view.HasCapture()) {
        if (gesture_.selectMode == DragMode::rubberBand) {
            view.HideRubberBand();
            view.SelectInRect(Span(gesture_.downPoint, gesture_.lastPoint), true);
        } else if (gesture_.selectMode != DragMode::none) {
            // This view repainted as the objects moved; the others repaint completely. The
            // map view is also the document's View; a view that is not gets no exception.
            view.GetDocument()->UpdateAllViews(dynamic_cast<View*>(&view), HINT_REPAINT_ALL);
            if (gesture_.selectMode == DragMode::size) {
                gesture_.lastPoint = clientPoint;
                if (!view.Selection().empty()) {
                    view.Selection().front()->NormalizePosition();
                }
            }
        }
    }
    CMapTool::OnLButtonUp(view, flags, clientPoint);
}

void CSelectionTool::OnMouseMove(MapToolView& view, MouseFlags flags, CPoint clientPoint)
{
    bool current = tools_.Current() == ToolKind::selection;
    const std::vector<CDrawObj*>& selection = view.Selection();

    if (!view.HasCapture()) {
        if (!current) {
            return;
        }
        if (selection.size() == 1) {
            CDrawObj* object = selection.front();
            if (int handle = object->HitTest(view.ViewToDoc(clientPoint), &view, true)) {
                view.SetCursor(CursorFor(object->GetHandleCursor(handle)));
                return;
            }
        }
        CMapTool::OnMouseMove(view, flags, clientPoint);
        return;
    }

    if (gesture_.selectMode == DragMode::rubberBand) {
        view.ShowRubberBand(Span(gesture_.downPoint, clientPoint));
        CMapTool::OnMouseMove(view, flags, clientPoint);
        return;
    }

    CPoint local = view.ViewToDoc(clientPoint);
    int64_t dx = int64_t{local.x} - gesture_.lastDocPoint.x;
    int64_t dy = int64_t{local.y} - gesture_.lastDocPoint.y;
    // A copy: moving repaints through the view, which must not change what we iterate.
    std::vector<CDrawObj*> objects = selection;
    for (CDrawObj* object : objects) {
        if (gesture_.selectMode == DragMode::move) {
            object->MoveTo(OffsetRect(object->GetPosition(), dx, dy), &view);
        } else if (gesture_.selectMode == DragMode::size && gesture_.dragHandle != 0) {
            object->DragHandleTo(gesture_.dragHandle, local, &view);
        }
    }
    gesture_.lastDocPoint = local;
    gesture_.lastPoint = clientPoint;

    // While another tool drags through this one, the cursor is that tool's.
    if (!current) {
        return;
    }
    if (gesture_.selectMode == DragMode::size) {
        if (!selection.empty()) {
            view.SetCursor(CursorFor(selection.front()->GetHandleCursor(gesture_.dragHandle)));
        }
        return;
    }
    CMapTool::OnMouseMove(view, flags, clientPoint);
}

void CSelectionTool::EditProperties(MapToolView& view)
{
    if (view.Selection().size() == 1) {
        view.Selection().front()->EditProperties();
    }
}
