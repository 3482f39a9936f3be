#include "draw/model/CDrawRect.h"

#include <utility>

#include "draw/model/CDrawDoc.h"
#include "draw/model/GdiPainter.h"
#include "draw/model/GdiRegion.h"
#include "framework/Archive.h"

IMPLEMENT_SERIAL(CDrawRect, CDrawObj, 0)

namespace {

// A zero width or height widened to one unit.
CRect WidenedToOne(CRect r)
{
    if (r.bottom == r.top) {
        r.bottom = Saturate32(int64_t{r.top} + 1);
    }
    if (r.right == r.left) {
        r.right = Saturate32(int64_t{r.left} + 1);
    }
    return r;
}

}  // namespace

CDrawRect::CDrawRect() = default;

CDrawRect::CDrawRect(const CRect& position, bool isLine) : CDrawObj(position)
{
    if (isLine) {
        shape_ = line;
        NormalizePosition();
    }
}

void CDrawRect::Serialize(Archive& ar)
{
    if (ar.IsStoring()) {
        SerializeBase(ar, GetLineEnds());
        ar.WriteU16(static_cast<uint16_t>(shape_));
        ar.WriteI32(roundness_.x);
        ar.WriteI32(roundness_.y);
        return;
    }
    SerializeBase(ar, {});
    shape_ = ar.ReadU16();
    roundness_.x = ar.ReadI32();
    roundness_.y = ar.ReadI32();
    reversed_ = false;
    NormalizePosition();
}

CRect CDrawRect::GetLineEnds() const
{
    CRect r = position_;
    if (shape_ == line && reversed_) {
        std::swap(r.left, r.right);
    }
    return r;
}

void CDrawRect::NormalizePosition()
{
    if (shape_ != line) {
        position_ = WidenedToOne(position_);
    } else if ((position_.top <= position_.bottom) != (position_.left <= position_.right)) {
        reversed_ = !reversed_;
    }
    position_.NormalizeRect();
}

int CDrawRect::HandleCount() const
{
    switch (shape_) {
    case line:
        return 2;
    case roundRectangle:
        return 9;
    default:
        return CDrawObj::HandleCount();
    }
}

int CDrawRect::LineHandle(int n) const
{
    if (n == 1) {
        return reversed_ ? 3 : 1;
    }
    if (n == 2) {
        return reversed_ ? 7 : 5;
    }
    return n;
}

CPoint CDrawRect::HandlePoint(int n) const
{
    if (shape_ == line) {
        return CDrawObj::HandlePoint(LineHandle(n));
    }
    if (shape_ == roundRectangle && n == 9) {
        CRect r = position_.Normalized();
        return {Saturate32(int64_t{r.right} - roundness_.x / 2),
                Saturate32(int64_t{r.bottom} - roundness_.y / 2)};
    }
    return CDrawObj::HandlePoint(n);
}

HandleCursor CDrawRect::GetHandleCursor(int n) const
{
    if (shape_ == line && (n == 1 || n == 2)) {
        return HandleCursor::sizeNWSE;
    }
    if (shape_ == roundRectangle && n == 9) {
        return HandleCursor::sizeAll;
    }
    return CDrawObj::GetHandleCursor(n);
}

void CDrawRect::DragHandleTo(int n, CPoint point, DrawViewSite* view)
{
    if (shape_ == line) {
        CDrawObj::DragHandleTo(LineHandle(n), point, view);
        return;
    }
    if (shape_ != roundRectangle || n != 9) {
        CDrawObj::DragHandleTo(n, point, view);
        return;
    }
    // The corner handle stays in the lower-right quarter; the roundness is twice its
    // distance from the lower-right corner, so always even.
    CRect r = position_.Normalized();
    int64_t x = point.x;
    int64_t y = point.y;
    x = std::max<int64_t>(x, r.left + r.Width() / 2);
    x = std::min<int64_t>(x, int64_t{r.right} - 1);
    y = std::max<int64_t>(y, r.top + r.Height() / 2);
    y = std::min<int64_t>(y, int64_t{r.bottom} - 1);
    roundness_ = {Saturate32(2 * (r.right - x)), Saturate32(2 * (r.bottom - y))};
    SetModified();
    Invalidate(view);
}

void CDrawRect::Draw(GdiPainter& dc) const
{
    const LogPen* pen = nullptr;
    const LogBrush* brush = nullptr;
    if (!PaintTools(pen, brush)) {
        return;
    }
    CRect r = GetLineEnds();
    switch (shape_) {
    case rectangle:
        dc.Rectangle(r, pen, brush);
        break;
    case roundRectangle:
        dc.RoundRect(r, roundness_, pen, brush);
        break;
    case ellipse:
        dc.Ellipse(r, pen, brush);
        break;
    case line: {
        // Inside the pen's width, as an inside-frame pen keeps to its rectangle.
        auto inset = [](int32_t& from, int32_t& to, int32_t width) {
            int32_t half = width / 2;
            int32_t rest = Saturate32((int64_t{width} + 1) / 2);
            if (from > to) {
                from = Saturate32(int64_t{from} - half);
                to = Saturate32(int64_t{to} + rest);
            } else {
                from = Saturate32(int64_t{from} + rest);
                to = Saturate32(int64_t{to} - half);
            }
        };
        inset(r.top, r.bottom, pen_.width.y);
        inset(r.left, r.right, pen_.width.x);
        dc.Line(r.TopLeft(), r.BottomRight(), pen);
        break;
    }
    default:
        break;
    }
}

bool CDrawRect::TouchesRect(const CRect& rect) const
{
    CRect r = rect.Normalized();
    if (shape_ == line) {
        CRect ends = GetLineEnds();
        return RectTouchesSegment(r, ends.TopLeft(), ends.BottomRight(), LineReach());
    }
    CRect f = WidenedToOne(position_).Normalized();
    if (!r.Intersects(f)) {
        return false;
    }
    switch (shape_) {
    case rectangle:
        return true;
    case roundRectangle:
        return RectTouchesRoundRect(r, f, roundness_);
    case ellipse:
        return RectTouchesEllipse(r, f);
    default:
        return false;
    }
}

int CDrawRect::HitTest(CPoint point, DrawViewSite* view, bool selected) const
{
    if (shape_ != line || selected) {
        return CDrawObj::HitTest(point, view, selected);
    }
    return TouchesRect(RectAround(point, 0, 0, 1, 1)) ? 1 : 0;
}

std::unique_ptr<CDrawObj> CDrawRect::Clone(CDrawDoc*) const
{
    auto clone = std::make_unique<CDrawRect>(position_);
    clone->CopyStyle(*this);
    clone->shape_ = shape_;
    clone->roundness_ = roundness_;
    clone->reversed_ = reversed_;
    return clone;
}
