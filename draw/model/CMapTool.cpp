#include "draw/model/CMapTool.h"

#include <array>

#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawObj.h"
#include "draw/model/CPolygonTool.h"
#include "draw/model/CSelectionTool.h"
#include "draw/model/CShapeTool.h"
#include "draw/model/CTextTool.h"

CMapTool::SharedState CMapTool::shared_;

namespace {

// The tools, built on first use in the order ToolForKind searches them.
const std::array<CMapTool*, 8>& ToolList()
{
    static CSelectionTool selection;
    static CShapeTool line(ToolKind::line);
    static CShapeTool rectangle(ToolKind::rectangle);
    static CShapeTool roundRectangle(ToolKind::roundRectangle);
    static CShapeTool ellipse(ToolKind::ellipse);
    static CPolygonTool polygon(ToolKind::polygon);
    static CPolygonTool polyline(ToolKind::polyline);
    static CTextTool text;
    static const std::array<CMapTool*, 8> list{&selection, &line,    &rectangle, &roundRectangle,
                                               &ellipse,   &polygon, &polyline,  &text};
    return list;
}

}  // namespace

CMapTool* CMapTool::ToolForKind(ToolKind kind)
{
    for (CMapTool* tool : ToolList()) {
        if (tool->Kind() == kind) {
            return tool;
        }
    }
    return nullptr;
}

void CMapTool::Reset()
{
    for (CMapTool* tool : ToolList()) {
        tool->OnCancel();
    }
    shared_ = SharedState{};
}

CMapTool& CMapTool::SelectionTool()
{
    return *ToolList().front();
}

void CMapTool::Discard(MapToolView& view, CDrawObj* object)
{
    view.InvalidateObject(object);
    view.GetDocument()->Take(object);
}

void CMapTool::OnLButtonDown(MapToolView& view, MouseFlags, CPoint clientPoint)
{
    view.SetCapture();
    shared_.downPoint = clientPoint;
    shared_.lastPoint = clientPoint;
}

void CMapTool::OnLButtonDblClk(MapToolView&, MouseFlags, CPoint) {}

void CMapTool::OnLButtonUp(MapToolView& view, MouseFlags, CPoint clientPoint)
{
    view.ReleaseCapture();
    if (clientPoint == shared_.downPoint) {
        SetCurrent(ToolKind::selection);
    }
}

void CMapTool::OnMouseMove(MapToolView& view, MouseFlags, CPoint clientPoint)
{
    shared_.lastPoint = clientPoint;
    view.SetCursor(ToolCursor::arrow);
}

void CMapTool::EditProperties(MapToolView&) {}

void CMapTool::OnCancel()
{
    SetCurrent(ToolKind::selection);
}
