#include "draw/model/CShapeTool.h"

#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawRect.h"

std::unique_ptr<CDrawObj> CShapeTool::CreateObject(const CRect& position) const
{
    auto object = std::make_unique<CDrawRect>(position);
    switch (Kind()) {
    case ToolKind::line:
        object->SetShape(CDrawRect::line);
        break;
    case ToolKind::roundRectangle:
        object->SetShape(CDrawRect::roundRectangle);
        break;
    case ToolKind::ellipse:
        object->SetShape(CDrawRect::ellipse);
        break;
    default:
        object->SetShape(CDrawRect::rectangle);
        break;
    }
    return object;
}

void CShapeTool::OnLButtonDown(MapToolView& view, MouseFlags flags, CPoint clientPoint)
{
    CMapTool::OnLButtonDown(view, flags, clientPoint);
    CPoint local = view.ViewToDoc(clientPoint);
    created_ = view.GetDocument()->Add(CreateObject(CRect{local.x, local.y, local.x, local.y}));
    view.Select(created_, false);
    shared_.selectMode = DragMode::size;
    shared_.dragHandle = 1;
    shared_.lastDocPoint = local;
}

void CShapeTool::OnMouseMove(MapToolView& view, MouseFlags flags, CPoint clientPoint)
{
    view.SetCursor(ToolCursor::cross);
    SelectionTool().OnMouseMove(view, flags, clientPoint);
}

void CShapeTool::OnLButtonUp(MapToolView& view, MouseFlags flags, CPoint clientPoint)
{
    if (clientPoint == shared_.downPoint) {
        // Only the object this tool's press added goes, never one the user had selected.
        const std::vector<CDrawObj*>& selection = view.Selection();
        if (created_ && !selection.empty() && selection.back() == created_) {
            Discard(view, created_);
        }
        SelectionTool().OnLButtonDown(view, flags, clientPoint);
    }
    created_ = nullptr;
    SelectionTool().OnLButtonUp(view, flags, clientPoint);
}
