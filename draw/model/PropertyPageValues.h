#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "draw/model/LogFontA.h"

class CDrawObj;
class CDrawText;

// What the shape and text property pages show of a drawing object, and what OK of their
// sheet ("Formeigenschaften") gives back to it. Cancel gives nothing back.

// The largest line weight the shape page accepts.
constexpr uint32_t MAX_LINE_WEIGHT = 100;

struct ShapePageValues {
    uint32_t lineWeight = 0;  // the pen width; 0 means no outline
    bool showHandles = true;  // "Stützpunkte anzeigen"
    bool fill = true;         // "füllen"
};

// Line weight = pen width x with the pen flag set, else 0; show handles; fill = brush flag.
ShapePageValues ShapePageValuesOf(const CDrawObj& object);
// Brush flag = fill; pen flag = (weight != 0), and a weight other than 0 becomes pen width
// x and y (0 keeps the width); show-handles flag. Repaints the object and marks its
// document modified.
void ApplyShapePageValues(CDrawObj& object, const ShapePageValues& values);

// The line weight as typed: an unsigned decimal number, blanks and tabs around it allowed.
// Nothing for any other text. Numbers beyond 32 bits give UINT32_MAX.
std::optional<uint32_t> ParseLineWeight(std::string_view text);

struct TextPageValues {
    std::string text;  // as the multi-line edit shows it: UTF-8, line breaks LF
    bool transparent = false;
    LogFontA font;     // a copy: the font dialog changes it, only OK gives it back
    int fontFlag = 0;  // 1 once a font was chosen
};

// The object's text (Windows-1252, line breaks CR LF or lone CR or LF), transparent flag,
// font record and font flag.
TextPageValues TextPageValuesOf(const CDrawText& object);
// Text (line breaks CR LF, characters without a Windows-1252 byte as '?'), font record,
// transparent flag and font flag. Repaints the object and marks its document modified.
void ApplyTextPageValues(CDrawText& object, const TextPageValues& values);
