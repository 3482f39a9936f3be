#pragma once

#include <vector>

#include "draw/model/CDrawObj.h"

// The most vertices a polygon can have: the file stores count and capacity as uint16.
constexpr int MAX_POLY_VERTICES = 65535;

// A closed polygon (filled even-odd) or an open polyline through its vertices. Each vertex
// is a handle. The position is the vertices' bounds (max + 1 on the right and bottom) once
// RecomputeBounds has run. The capacity (vertices allocated in steps of 10, at most
// MAX_POLY_VERTICES) is part of the record; vertices beyond the count are not kept.
//
// File record: the 48 bytes of CDrawObj, uint16 kind, uint16 count, uint16 capacity, then
// count vertices (int32 x, int32 y). Loading refuses a count above the capacity; a polygon of
// 20 or more vertices loads without handles shown.
class CDrawPoly : public CDrawObj {
    DECLARE_SERIAL(CDrawPoly)
public:
    // Closed and fillable, or open.
    enum PolyKind : int { polygon = 0, polyline = 1 };

    CDrawPoly();
    // No vertices yet, brush flag 0.
    explicit CDrawPoly(const CRect& position, int kind = polygon);

    void Serialize(Archive& ar) override;
    int HandleCount() const override;
    CPoint HandlePoint(int n) const override;
    HandleCursor GetHandleCursor(int n) const override;
    void Draw(GdiPainter& dc) const override;
    // Moves the vertices by the change of the top-left corner; the position becomes `rect`
    // as given.
    void MoveTo(const CRect& rect, DrawViewSite* view = nullptr) override;
    // Polygon: its even-odd region against `rect` as given. Polyline: within LineReach() of
    // one of its segments.
    bool TouchesRect(const CRect& rect) const override;
    // Moves vertex n - 1 to `point`.
    void DragHandleTo(int n, CPoint point, DrawViewSite* view = nullptr) override;
    std::unique_ptr<CDrawObj> Clone(CDrawDoc* document = nullptr) const override;

    // Appends `point` unless it equals the last vertex or the polygon already has
    // MAX_POLY_VERTICES; the 20th vertex turns the handles off. Updates the bounds, repaints
    // and marks the document modified. Returns whether a vertex was added.
    bool AppendVertex(CPoint point, DrawViewSite* view = nullptr);
    // AppendVertex for each point in turn, with the bounds, the repaint and the mark once at
    // the end (one by one, a long polyline takes time square in its length). Returns how
    // many vertices were added.
    int AppendVertices(const std::vector<CPoint>& points, DrawViewSite* view = nullptr);
    // Sets the position to the vertices' bounds; false when there are no vertices or the
    // position already is that.
    bool RecomputeBounds(DrawViewSite* view = nullptr);
    // Forgets the last vertex (the polygon tools drop the one the mouse dragged after the
    // last click). Position and capacity stay; neither repaints nor marks the document.
    void DropLastVertex();

    // PolyKind, or another value read from a file (painting and touching nothing).
    int GetKind() const { return kind_; }
    void SetKind(int kind) { kind_ = kind; }
    int VertexCount() const { return static_cast<int>(vertices_.size()); }
    int Capacity() const { return capacity_; }
    const std::vector<CPoint>& Vertices() const { return vertices_; }

private:
    // AppendVertex without the bounds, the repaint and the mark.
    bool PushVertex(CPoint point);

    int kind_ = polygon;
    int capacity_ = 0;
    std::vector<CPoint> vertices_;
};
