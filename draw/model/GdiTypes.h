#pragma once

#include <cstdint>

#include "framework/Geometry.h"

class Archive;

// Positions and vertices come from files and may hold any int32. Geometry on them adds and
// subtracts in 64 bits and brings the result back with Saturate32: a sum beyond the int32
// range stops at its end instead of overflowing. Within the range (everything on and near
// the page) the results are those of plain int arithmetic.

constexpr int32_t Saturate32(int64_t v)
{
    return v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : static_cast<int32_t>(v);
}

// a + (b - a) / 2, rounded toward a; always between a and b.
constexpr int32_t Midway(int32_t a, int32_t b)
{
    return static_cast<int32_t>(a + (int64_t{b} - a) / 2);
}

constexpr CPoint OffsetPoint(CPoint p, int64_t dx, int64_t dy)
{
    return {Saturate32(p.x + dx), Saturate32(p.y + dy)};
}

constexpr CRect OffsetRect(const CRect& r, int64_t dx, int64_t dy)
{
    return {Saturate32(r.left + dx), Saturate32(r.top + dy), Saturate32(r.right + dx),
            Saturate32(r.bottom + dy)};
}

// `r` with its left and top edges moved out (left and up) and its right and bottom edges
// moved out (right and down) by the given amounts; negative amounts move them in.
constexpr CRect InflateRect(const CRect& r, int64_t left, int64_t top, int64_t right,
                            int64_t bottom)
{
    return {Saturate32(r.left - left), Saturate32(r.top - top), Saturate32(r.right + right),
            Saturate32(r.bottom + bottom)};
}

// The rectangle from p - (left, top) to p + (right, bottom); (0, 0, 1, 1) is p's unit square.
constexpr CRect RectAround(CPoint p, int64_t left, int64_t top, int64_t right, int64_t bottom)
{
    return InflateRect({p.x, p.y, p.x, p.y}, left, top, right, bottom);
}

// The drawing attributes of map objects as the map file stores them: Windows GDI pen and
// brush records, colours as COLORREF (0x00BBGGRR; the high byte is ignored when painting).

using COLORREF = uint32_t;

constexpr COLORREF RGB(uint8_t r, uint8_t g, uint8_t b)
{
    return r | (uint32_t{g} << 8) | (uint32_t{b} << 16);
}
constexpr uint8_t GetRValue(COLORREF c)
{
    return static_cast<uint8_t>(c);
}
constexpr uint8_t GetGValue(COLORREF c)
{
    return static_cast<uint8_t>(c >> 8);
}
constexpr uint8_t GetBValue(COLORREF c)
{
    return static_cast<uint8_t>(c >> 16);
}

// Pen styles.
enum : uint32_t {
    PS_SOLID = 0,
    PS_DASH = 1,  // dashes and dots only at widths of 0 and 1, solid otherwise
    PS_DOT = 2,
    PS_DASHDOT = 3,
    PS_DASHDOTDOT = 4,
    PS_NULL = 5,
    PS_INSIDEFRAME = 6,  // solid, kept inside the bounding rectangle of closed figures
};

// Brush styles and hatches.
enum : uint32_t {
    BS_SOLID = 0,
    BS_NULL = 1,
    BS_HATCHED = 2,
};
enum : int32_t {
    HS_HORIZONTAL = 0,
    HS_VERTICAL = 1,
    HS_FDIAGONAL = 2,  // downward from left to right
    HS_BDIAGONAL = 3,  // upward from left to right
    HS_CROSS = 4,
    HS_DIAGCROSS = 5,
};

// LOGPEN: 16 bytes in a file (style uint32, width x and y int32, colour). GDI uses width x
// only; 0 draws one pixel wide.
struct LogPen {
    uint32_t style = PS_INSIDEFRAME;
    CPoint width{1, 1};
    COLORREF colour = 0;

    friend bool operator==(const LogPen&, const LogPen&) = default;
};

// LOGBRUSH: 12 bytes in a file (style uint32, colour, hatch int32).
struct LogBrush {
    uint32_t style = BS_SOLID;
    COLORREF colour = RGB(192, 192, 192);
    int32_t hatch = 0;

    friend bool operator==(const LogBrush&, const LogBrush&) = default;
};

// Whether GDI could make a pen or brush of the record: pen styles PS_SOLID ... PS_INSIDEFRAME;
// brush styles solid, null, and hatched with one of the six hatches. Objects whose pen or
// brush cannot be made paint nothing.
bool CanCreatePen(const LogPen& pen);
bool CanCreateBrush(const LogBrush& brush);

// The records in the archive, little-endian.
void WriteLogPen(Archive& ar, const LogPen& pen);
LogPen ReadLogPen(Archive& ar);
void WriteLogBrush(Archive& ar, const LogBrush& brush);
LogBrush ReadLogBrush(Archive& ar);
void WriteRect(Archive& ar, const CRect& r);
CRect ReadRect(Archive& ar);
