#include "draw/model/CMapTool.h"

#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawObj.h"

CMapTool& CMapTool::SelectionTool() const
{
    return *tools_.ToolForKind(ToolKind::selection);
}

void CMapTool::Discard(MapToolView& view, CDrawObj* object)
{
    view.InvalidateObject(object);
    view.GetDocument()->Take(object);
}

void CMapTool::OnLButtonDown(MapToolView& view, MouseFlags, CPoint clientPoint)
{
    view.SetCapture();
    gesture_.downPoint = clientPoint;
    gesture_.lastPoint = clientPoint;
}

void CMapTool::OnLButtonDblClk(MapToolView&, MouseFlags, CPoint) {}

void CMapTool::OnLButtonUp(MapToolView& view, MouseFlags, CPoint clientPoint)
{
    view.ReleaseCapture();
    if (clientPoint == gesture_.downPoint) {
        tools_.SetCurrent(ToolKind::selection);
    }
}

void CMapTool::OnMouseMove(MapToolView& view, MouseFlags, CPoint clientPoint)
{
    gesture_.lastPoint = clientPoint;
    view.SetCursor(ToolCursor::arrow);
}

void CMapTool::EditProperties(MapToolView&) {}

void CMapTool::OnCancel()
{
    tools_.SetCurrent(ToolKind::selection);
}
