#pragma once

#include <string_view>

#include <QFontMetrics>

#include "edit/PointListFormat.h"

// Measures cell texts in one font quickly enough for lists of 32767 rows: the width of a
// text is the sum of the advances of its characters (kerning left out), looked up in a
// table of the 256 Windows-1252 characters. Texts in the locale's encoding with bytes
// outside ASCII are measured whole.
class TextWidthMeter {
public:
    explicit TextWidthMeter(const QFontMetrics& metrics);

    // Width in pixels of the cell bytes `text` in `encoding`.
    int Width(std::string_view text, CellEncoding encoding) const;

private:
    QFontMetrics metrics_;
    int advance_[256];
};
