#include "draw/model/CPolygonTool.h"

#include <memory>

#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawPoly.h"

CDrawPoly* CPolygonTool::Drawing(MapToolView& view)
{
    auto* poly = dynamic_cast<CDrawPoly*>(view.GetDocument()->FindObject(gesture_.drawing));
    if (!poly) {
        gesture_.drawing = ObjectKey::none;
    }
    return poly;
}

void CPolygonTool::OnLButtonDown(MapToolView& view, MouseFlags flags, CPoint clientPoint)
{
    CMapTool::OnLButtonDown(view, flags, clientPoint);
    CPoint local = view.ViewToDoc(clientPoint);

    CDrawPoly* poly = Drawing(view);
    if (!poly) {
        auto created = std::make_unique<CDrawPoly>(
            CRect{local.x, local.y, local.x, local.y},
            Kind() == ToolKind::polyline ? CDrawPoly::polyline : CDrawPoly::polygon);
        poly = created.get();
        gesture_.drawing = poly->Key();
        view.GetDocument()->Add(std::move(created));
        view.Select(poly, false);
        poly->AppendVertex(local, &view);
    } else if (local == poly->Vertices().front()) {
        // Closed on the first vertex: the vertex the mouse dragged there goes.
        view.ReleaseCapture();
        poly->DropLastVertex();
        if (poly->VertexCount() >= 2) {
            view.InvalidateObject(poly);
        } else {
            Discard(view, poly);
        }
        gesture_.drawing = ObjectKey::none;
        tools_.SetCurrent(ToolKind::selection);
        return;
    }

    CPoint dragged = OffsetPoint(local, 1, 0);
    poly->AppendVertex(dragged, &view);
    gesture_.selectMode = DragMode::size;
    gesture_.dragHandle = poly->HandleCount();
    gesture_.lastDocPoint = dragged;
}

void CPolygonTool::OnLButtonDblClk(MapToolView& view, MouseFlags, CPoint)
{
    view.ReleaseCapture();
    if (CDrawPoly* poly = Drawing(view)) {
        // The first click of the double-click left a vertex one unit right of the mouse (or
        // the mouse dragged it back onto the one before): drop it.
        const std::vector<CPoint>& v = poly->Vertices();
        size_t n = v.size();
        if (n > 2 && (v[n - 1] == v[n - 2] || OffsetPoint(v[n - 2], 1, 0) == v[n - 1])) {
            poly->DropLastVertex();
            view.InvalidateObject(poly);
        }
    }
    gesture_.drawing = ObjectKey::none;
    tools_.SetCurrent(ToolKind::selection);
}

void CPolygonTool::OnLButtonUp(MapToolView&, MouseFlags, CPoint) {}

void CPolygonTool::OnMouseMove(MapToolView& view, MouseFlags flags, CPoint clientPoint)
{
    CDrawPoly* poly = flags.leftButton ? Drawing(view) : nullptr;
    if (poly) {
        CPoint local = view.ViewToDoc(clientPoint);
        poly->AppendVertex(local);
        gesture_.dragHandle = poly->HandleCount();
        gesture_.lastDocPoint = local;
        gesture_.lastPoint = clientPoint;
        view.SetCursor(ToolCursor::pencil);
        return;
    }
    view.SetCursor(ToolCursor::cross);
    SelectionTool().OnMouseMove(view, flags, clientPoint);
}

void CPolygonTool::OnCancel()
{
    CMapTool::OnCancel();
    gesture_.drawing = ObjectKey::none;
}
