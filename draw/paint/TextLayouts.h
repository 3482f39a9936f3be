#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include <QFont>
#include <QTextLayout>

#include "draw/model/LogFontA.h"

class QPaintDevice;

// Texts broken into lines as map objects paint them, kept from one paint to the next:
// shaping and breaking a text costs more than drawing its lines. Everything the lines depend
// on is part of the key (text, font, box size, the device's resolution), so that a changed
// object simply finds other lines, and nobody has to announce changes. Both need a
// QGuiApplication and belong to the thread that calls them.

// One paragraph's lines, positioned from (0, 0), and where the paragraph begins below the
// top of the box.
struct TextParagraph {
    std::unique_ptr<QTextLayout> layout;
    double top = 0;
};

// The paragraphs of Windows-1252 `text` (lines end at CR LF, CR or LF) in `font` on `device`,
// wrapped between words at `width`; no further lines once a paragraph reaches `height`, and
// no further paragraphs. Valid until the next call.
const std::vector<TextParagraph>& LaidOutText(std::string_view text, const QFont& font,
                                              double width, double height,
                                              const QPaintDevice* device);

// FontFromLogFont(record), remembered by the record's bytes.
const QFont& FontOfRecord(const LogFontA& record);
