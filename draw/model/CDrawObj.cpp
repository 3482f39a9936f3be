#include "draw/model/CDrawObj.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>

#include "draw/model/CDrawDoc.h"
#include "draw/model/DrawObjEditor.h"
#include "draw/model/DrawViewSite.h"
#include "draw/model/GdiPainter.h"
#include "draw/model/UpdateHint.h"
#include "framework/Archive.h"

IMPLEMENT_SERIAL(CDrawObj, CObject, 0)

CDrawObj::CDrawObj() = default;

CDrawObj::CDrawObj(const CRect& position) : position_(position) {}

ObjectKey CDrawObj::NextKey()
{
    static std::atomic<uint64_t> last{0};
    return ObjectKey{++last};
}

void CDrawObj::Serialize(Archive& ar)
{
    SerializeBase(ar, position_);
}

void CDrawObj::SerializeBase(Archive& ar, const CRect& stored)
{
    if (ar.IsStoring()) {
        WriteRect(ar, stored);
        ar.WriteU16(static_cast<uint16_t>(penFlag_));
        WriteLogPen(ar, pen_);
        ar.WriteU16(static_cast<uint16_t>(brushFlag_));
        WriteLogBrush(ar, brush_);
        return;
    }
    position_ = ReadRect(ar);
    penFlag_ = ar.ReadU16();
    pen_ = ReadLogPen(ar);
    brushFlag_ = ar.ReadU16();
    brush_ = ReadLogBrush(ar);
    document_ = dynamic_cast<CDrawDoc*>(ar.GetDocument());
}

int CDrawObj::HandleCount() const
{
    return 8;
}

CPoint CDrawObj::RectHandlePoint(const CRect& r, int n) const
{
    int32_t cx = Midway(r.left, r.right);
    int32_t cy = Midway(r.top, r.bottom);
    int32_t right = Saturate32(int64_t{r.right} - 1);
    int32_t bottom = Saturate32(int64_t{r.bottom} - 1);
    switch (n) {
    case 2:
        return {cx, r.top};
    case 3:
        return {right, r.top};
    case 4:
        return {right, cy};
    case 5:
        return {right, bottom};
    case 6:
        return {cx, bottom};
    case 7:
        return {r.left, bottom};
    case 8:
        return {r.left, cy};
    default:
        return {r.left, r.top};
    }
}

void CDrawObj::DragRectHandle(CRect& r, int n, CPoint point) const
{
    switch (n) {
    case 2:
        r.top = point.y;
        break;
    case 3:
        r.right = point.x;
        r.top = point.y;
        break;
    case 4:
        r.right = point.x;
        break;
    case 5:
        r.right = point.x;
        r.bottom = point.y;
        break;
    case 6:
        r.bottom = point.y;
        break;
    case 7:
        r.left = point.x;
        r.bottom = point.y;
        break;
    case 8:
        r.left = point.x;
        break;
    default:
        r.left = point.x;
        r.top = point.y;
        break;
    }
}

CPoint CDrawObj::HandlePoint(int n) const
{
    return RectHandlePoint(position_, n);
}

HandleCursor CDrawObj::GetHandleCursor(int n) const
{
    switch (n) {
    case 2:
    case 6:
        return HandleCursor::sizeNS;
    case 3:
    case 7:
        return HandleCursor::sizeNESW;
    case 4:
    case 8:
        return HandleCursor::sizeWE;
    default:
        return HandleCursor::sizeNWSE;
    }
}

void CDrawObj::SetLineColor(COLORREF colour)
{
    pen_.colour = colour;
    RequestRepaint();
    SetModified();
}

void CDrawObj::SetFillColor(COLORREF colour)
{
    brush_.colour = colour;
    RequestRepaint();
    SetModified();
}

void CDrawObj::Draw(GdiPainter&) const {}

CRect CDrawObj::PaintedArea() const
{
    int64_t reach = 1 + std::max<int64_t>(0, std::max(pen_.width.x, pen_.width.y));
    return InflateRect(position_.Normalized(), reach, reach, reach, reach);
}

void CDrawObj::DrawHandles(GdiPainter& dc, HandleState state) const
{
    if (state == HandleState::normal || !showHandles_) {
        return;
    }
    int count = HandleCount();
    for (int n = 1; n <= count; ++n) {
        dc.InvertHandle(HandlePoint(n));
    }
}

void CDrawObj::MoveTo(const CRect& rect, DrawViewSite* view)
{
    if (rect == position_) {
        return;
    }
    Invalidate(view);
    position_ = rect;
    Invalidate(view);
    SetModified();
}

CRect CDrawObj::HandleRect(int n, DrawViewSite* view) const
{
    CPoint p = HandlePoint(n);
    if (view) {
        p = view->DocToView(p);
    }
    CRect r = RectAround(p, 5, 5, 5, 5);
    return view ? view->ViewToDoc(r) : r;
}

int CDrawObj::HitTest(CPoint point, DrawViewSite* view, bool selected) const
{
    if (selected) {
        int count = HandleCount();
        for (int n = 1; n <= count; ++n) {
            if (HandleRect(n, view).PtInRect(point)) {
                return n;
            }
        }
        return 0;
    }
    return position_.PtInRect(point) ? 1 : 0;
}

bool CDrawObj::TouchesRect(const CRect& rect) const
{
    return rect.Normalized().Intersects(position_.Normalized());
}

void CDrawObj::DragHandleTo(int n, CPoint point, DrawViewSite* view)
{
    CRect r = position_;
    DragRectHandle(r, n, point);
    MoveTo(r, view);
}

void CDrawObj::OpenInView(DrawViewSite*)
{
    EditProperties();
}

void CDrawObj::EditProperties()
{
    if (DrawObjEditor* editor = DrawObjEditor::Installed()) {
        editor->EditShape(*this);
    }
}

std::unique_ptr<CDrawObj> CDrawObj::Clone(CDrawDoc*) const
{
    auto clone = std::make_unique<CDrawObj>(position_);
    clone->CopyStyle(*this);
    return clone;
}

void CDrawObj::NormalizePosition()
{
    position_.NormalizeRect();
}

void CDrawObj::RequestRepaint()
{
    if (document_) {
        document_->UpdateAllViews(nullptr, HINT_REPAINT_OBJECT, MapUpdate{.object = this});
    }
}

void CDrawObj::Invalidate(DrawViewSite* view)
{
    if (view) {
        view->InvalidateObject(this);
    } else {
        RequestRepaint();
    }
}

void CDrawObj::SetModified()
{
    if (document_) {
        document_->SetModifiedFlag(true);
    }
}

void CDrawObj::CopyStyle(const CDrawObj& other)
{
    penFlag_ = other.penFlag_;
    pen_ = other.pen_;
    brushFlag_ = other.brushFlag_;
    brush_ = other.brush_;
}

bool CDrawObj::PaintTools(const LogPen*& pen, const LogBrush*& brush) const
{
    pen = penFlag_ ? &pen_ : nullptr;
    brush = brushFlag_ ? &brush_ : nullptr;
    return CanCreatePen(pen_) && CanCreateBrush(brush_);
}

double CDrawObj::LineReach() const
{
    int64_t width =
        std::max({std::abs(int64_t{pen_.width.x}), std::abs(int64_t{pen_.width.y}), int64_t{1}});
    return double(width) / 2 + LINE_PICK_TOLERANCE;
}
