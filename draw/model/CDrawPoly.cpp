#include "draw/model/CDrawPoly.h"

#include <algorithm>
#include <string>

#include "draw/model/CDrawDoc.h"
#include "draw/model/GdiPainter.h"
#include "draw/model/GdiRegion.h"
#include "framework/Archive.h"

IMPLEMENT_SERIAL(CDrawPoly, CDrawObj, 0)

namespace {
constexpr int kCapacityStep = 10;
constexpr int kHandleLimit = 20;
}  // namespace

CDrawPoly::CDrawPoly() = default;

CDrawPoly::CDrawPoly(const CRect& position, int kind) : CDrawObj(position), kind_(kind)
{
    brushFlag_ = 0;
}

void CDrawPoly::Serialize(Archive& ar)
{
    CDrawObj::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteU16(static_cast<uint16_t>(kind_));
        ar.WriteU16(static_cast<uint16_t>(vertices_.size()));
        ar.WriteU16(static_cast<uint16_t>(capacity_));
        for (const CPoint& p : vertices_) {
            ar.WriteI32(p.x);
            ar.WriteI32(p.y);
        }
        return;
    }
    kind_ = ar.ReadU16();
    uint16_t count = ar.ReadU16();
    capacity_ = ar.ReadU16();
    if (count > capacity_) {
        throw ArchiveException(ArchiveException::BadFormat, "polygon of " + std::to_string(count) +
                                                                " vertices in room for " +
                                                                std::to_string(capacity_));
    }
    ar.RequireEntries(count, 8, "polygon vertices");
    vertices_.resize(count);
    for (CPoint& p : vertices_) {
        p.x = ar.ReadI32();
        p.y = ar.ReadI32();
    }
    if (count >= kHandleLimit) {
        showHandles_ = false;
    }
}

int CDrawPoly::HandleCount() const
{
    return VertexCount();
}

CPoint CDrawPoly::HandlePoint(int n) const
{
    if (n < 1 || n > VertexCount()) {
        return position_.TopLeft();
    }
    return vertices_[static_cast<size_t>(n - 1)];
}

HandleCursor CDrawPoly::GetHandleCursor(int) const
{
    return HandleCursor::sizeAll;
}

void CDrawPoly::Draw(GdiPainter& dc) const
{
    const LogPen* pen = nullptr;
    const LogBrush* brush = nullptr;
    if (!PaintTools(pen, brush)) {
        return;
    }
    if (kind_ == polygon) {
        dc.Polygon(vertices_.data(), vertices_.size(), pen, brush);
    } else if (kind_ == polyline) {
        dc.Polyline(vertices_.data(), vertices_.size(), pen);
    }
}

void CDrawPoly::MoveTo(const CRect& rect, DrawViewSite* view)
{
    if (rect == position_) {
        return;
    }
    Invalidate(view);
    int64_t dx = int64_t{rect.left} - position_.left;
    int64_t dy = int64_t{rect.top} - position_.top;
    for (CPoint& p : vertices_) {
        p = OffsetPoint(p, dx, dy);
    }
    position_ = rect;
    Invalidate(view);
    SetModified();
}

bool CDrawPoly::TouchesRect(const CRect& rect) const
{
    if (kind_ == polygon) {
        return RectTouchesPolygon(rect, vertices_.data(), vertices_.size());
    }
    if (kind_ != polyline) {
        return false;
    }
    double reach = LineReach();
    for (size_t i = 1; i < vertices_.size(); ++i) {
        if (RectTouchesSegment(rect, vertices_[i - 1], vertices_[i], reach)) {
            return true;
        }
    }
    return false;
}

void CDrawPoly::DragHandleTo(int n, CPoint point, DrawViewSite* view)
{
    if (n < 1 || n > VertexCount() || vertices_[static_cast<size_t>(n - 1)] == point) {
        return;
    }
    vertices_[static_cast<size_t>(n - 1)] = point;
    RecomputeBounds(view);
    Invalidate(view);
    SetModified();
}

bool CDrawPoly::PushVertex(CPoint point)
{
    if (VertexCount() >= MAX_POLY_VERTICES) {
        return false;
    }
    if (VertexCount() == capacity_) {
        capacity_ = std::min(capacity_ + kCapacityStep, MAX_POLY_VERTICES);
    }
    if (!vertices_.empty() && vertices_.back() == point) {
        return false;
    }
    vertices_.push_back(point);
    if (VertexCount() == kHandleLimit) {
        showHandles_ = false;
    }
    return true;
}

bool CDrawPoly::AppendVertex(CPoint point, DrawViewSite* view)
{
    return AppendVertices({point}, view) == 1;
}

int CDrawPoly::AppendVertices(const std::vector<CPoint>& points, DrawViewSite* view)
{
    int added = 0;
    for (CPoint p : points) {
        added += PushVertex(p) ? 1 : 0;
    }
    if (added == 0) {
        return 0;
    }
    if (!RecomputeBounds(view)) {
        Invalidate(view);
    }
    SetModified();
    return added;
}

bool CDrawPoly::RecomputeBounds(DrawViewSite* view)
{
    if (vertices_.empty()) {
        return false;
    }
    CRect bounds{vertices_[0].x, vertices_[0].y, vertices_[0].x, vertices_[0].y};
    for (const CPoint& p : vertices_) {
        bounds.left = std::min(bounds.left, p.x);
        bounds.top = std::min(bounds.top, p.y);
        bounds.right = std::max(bounds.right, p.x);
        bounds.bottom = std::max(bounds.bottom, p.y);
    }
    bounds = InflateRect(bounds, 0, 0, 1, 1);
    if (bounds == position_) {
        return false;
    }
    Invalidate(view);
    position_ = bounds;
    Invalidate(view);
    return true;
}

void CDrawPoly::DropLastVertex()
{
    if (!vertices_.empty()) {
        vertices_.pop_back();
    }
}

std::unique_ptr<CDrawObj> CDrawPoly::Clone(CDrawDoc*) const
{
    auto clone = std::make_unique<CDrawPoly>(position_, kind_);
    clone->CopyStyle(*this);
    clone->capacity_ = capacity_;
    clone->vertices_ = vertices_;
    return clone;
}
