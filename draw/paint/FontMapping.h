#pragma once

#include <QFont>

#include "draw/model/LogFontA.h"

// LOGFONTA records and Qt fonts. Both need a QGuiApplication (the font database).

// The font a record asks for: face name (Windows-1252), height (negative: character height
// in pixels; positive: cell height; 0: a cell of 16), weight (0 as 400), italic, underline,
// strike-out, and the pitch and family as a fallback hint. A face this machine lacks falls
// back to a font of the same family kind. Heights are kept within 1 ... 2000 pixels.
QFont FontFromLogFont(const LogFontA& record);

// The record of a font the user picked: character height in pixels (points at 96 dpi),
// weight, italic, underline, strike-out, ANSI character set, pitch and family from the
// font's hints, and the family name in Windows-1252 (at most 31 bytes). Width, escapement,
// orientation, precisions and quality are 0.
LogFontA LogFontFromFont(const QFont& font);
