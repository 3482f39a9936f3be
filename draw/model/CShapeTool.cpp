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
    CDrawObj* created =
        view.GetDocument()->Add(CreateObject(CRect{local.x, local.y, local.x, local.y}));
    gesture_.drawing = created->Key();
    view.Select(created, false);
    gesture_.selectMode = DragMode::size;
    gesture_.dragHandle = 1;
    gesture_.lastDocPoint = local;
}

void CShapeTool::OnMouseMove(MapToolView& view, MouseFlags flags, CPoint clientPoint)
{
    view.SetCursor(ToolCursor::cross);
    SelectionTool().OnMouseMove(view, flags, clientPoint);
}

void CShapeTool::OnLButtonUp(MapToolView& view, MouseFlags flags, CPoint clientPoint)
{
    if (clientPoint == gesture_.downPoint) {
        // Only the object this tool's press added goes, never one the user had selected.
        CDrawObj* created = view.GetDocument()->FindObject(gesture_.drawing);
        const std::vector<CDrawObj*>& selection = view.Selection();
        if (created && !selection.empty() && selection.back() == created) {
            Discard(view, created);
        }
        SelectionTool().OnLButtonDown(view, flags, clientPoint);
    }
    gesture_.drawing = ObjectKey::none;
    SelectionTool().OnLButtonUp(view, flags, clientPoint);
}
