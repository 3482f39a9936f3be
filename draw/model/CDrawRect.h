#pragma once

#include "draw/model/CDrawObj.h"

// A rectangle, rounded rectangle, ellipse or straight line in its position rectangle.
//
// A line keeps a normalized position plus the reversed flag: not reversed, it runs from the
// top-left to the bottom-right corner; reversed, from the top-right to the bottom-left.
// GetLineEnds gives start (left, top) and end (right, bottom). Lines have 2 handles (start,
// end), rounded rectangles a ninth that sets the roundness.
//
// File record: the 48 bytes of CDrawObj with GetLineEnds() as the position, then uint16
// shape, int32 roundness x, int32 roundness y (58 bytes). Loading starts unreversed and
// normalizes, which brings back the direction.
class CDrawRect : public CDrawObj {
    DECLARE_SERIAL(CDrawRect)
public:
    // The figure the rectangle stands for.
    enum RectShape : int { rectangle = 0, roundRectangle = 1, ellipse = 2, line = 3 };

    CDrawRect();
    // Shape `rectangle`, roundness (16, 16). With `isLine`, shape `line`, normalized at once
    // so that the rectangle's diagonal becomes position and reversed flag.
    explicit CDrawRect(const CRect& position, bool isLine = false);

    void Serialize(Archive& ar) override;
    int HandleCount() const override;
    CPoint HandlePoint(int n) const override;
    HandleCursor GetHandleCursor(int n) const override;
    void Draw(GdiPainter& dc) const override;
    // A line: 1 where the line test finds it at the point (its position may be empty).
    // Otherwise as the base.
    int HitTest(CPoint point, DrawViewSite* view, bool selected) const override;
    // A line touches within LineReach() of the segment between its ends; the other shapes
    // where their figure (at least one unit wide and high) meets the rectangle.
    bool TouchesRect(const CRect& rect) const override;
    void DragHandleTo(int n, CPoint point, DrawViewSite* view = nullptr) override;
    std::unique_ptr<CDrawObj> Clone(CDrawDoc* document = nullptr) const override;
    // Not a line: a zero width or height becomes 1, then normalized. A line: the reversed
    // flag inverts when the rectangle runs against its diagonal, then normalized.
    void NormalizePosition() override;

    // The position with left and right exchanged for a reversed line.
    CRect GetLineEnds() const;

    // RectShape, or another value read from a file (such an object paints and touches
    // nothing).
    int GetShape() const { return shape_; }
    void SetShape(int shape) { shape_ = shape; }
    CPoint GetRoundness() const { return roundness_; }
    bool IsReversed() const { return reversed_; }

private:
    int LineHandle(int n) const;

    int shape_ = rectangle;
    CPoint roundness_{16, 16};
    bool reversed_ = false;
};
