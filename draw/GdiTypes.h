#pragma once

#include <cstdint>

#include "framework/Geometry.h"

class Archive;

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
