#pragma once

#include <algorithm>
#include <cstdint>

// Integer plane geometry in the units of a drawing (map documents: one unit per screen pixel,
// y downward). Rectangles are tested half-open: a point lies in a rectangle when
// left <= x < right and top <= y < bottom; a rectangle whose right <= left or whose
// bottom <= top is empty. Nothing here normalizes unless asked to.

struct CPoint {
    int32_t x = 0;
    int32_t y = 0;

    friend bool operator==(const CPoint&, const CPoint&) = default;
};

struct CSize {
    int32_t cx = 0;
    int32_t cy = 0;

    friend bool operator==(const CSize&, const CSize&) = default;
};

struct CRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    friend bool operator==(const CRect&, const CRect&) = default;

    // Width and height as 64-bit numbers: the difference of two int32 may not fit in one.
    int64_t Width() const { return int64_t{right} - left; }
    int64_t Height() const { return int64_t{bottom} - top; }
    CPoint TopLeft() const { return {left, top}; }
    CPoint BottomRight() const { return {right, bottom}; }

    bool IsRectEmpty() const { return right <= left || bottom <= top; }
    bool PtInRect(CPoint p) const
    {
        return left <= p.x && p.x < right && top <= p.y && p.y < bottom;
    }

    // Exchanges left and right when left > right, top and bottom when top > bottom.
    void NormalizeRect()
    {
        if (left > right) {
            std::swap(left, right);
        }
        if (top > bottom) {
            std::swap(top, bottom);
        }
    }
    CRect Normalized() const
    {
        CRect r = *this;
        r.NormalizeRect();
        return r;
    }

    // The common part of two rectangles; an empty result is (0, 0, 0, 0).
    static CRect Intersection(const CRect& a, const CRect& b)
    {
        CRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
        return r.IsRectEmpty() ? CRect{} : r;
    }
    bool Intersects(const CRect& other) const { return !Intersection(*this, other).IsRectEmpty(); }
};

// a * b / c rounded half away from zero, with a 64-bit product; -1 when c is 0 or the
// result does not fit in 32 bits.
inline int32_t MulDiv(int32_t a, int32_t b, int32_t c)
{
    if (c == 0) {
        return -1;
    }
    int64_t product = int64_t{a} * b;
    bool negative = (product < 0) != (c < 0);
    uint64_t magnitude =
        product < 0 ? static_cast<uint64_t>(-product) : static_cast<uint64_t>(product);
    uint64_t divisor = c < 0 ? static_cast<uint64_t>(-int64_t{c}) : static_cast<uint64_t>(c);
    uint64_t quotient = (magnitude + divisor / 2) / divisor;
    if (quotient > (negative ? uint64_t{1} << 31 : (uint64_t{1} << 31) - 1)) {
        return -1;
    }
    return negative ? static_cast<int32_t>(-static_cast<int64_t>(quotient))
                    : static_cast<int32_t>(quotient);
}
