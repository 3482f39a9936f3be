#include "draw/paint/FontMapping.h"

#include <QFontMetricsF>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "framework/Cp1252.h"

namespace {

constexpr int kMaxPixels = 2000;
constexpr int kDefaultCell = 16;

enum : uint8_t {
    FIXED_PITCH = 1,
    VARIABLE_PITCH = 2,
    FF_ROMAN = 0x10,
    FF_SWISS = 0x20,
    FF_MODERN = 0x30,
    FF_SCRIPT = 0x40,
    FF_DECORATIVE = 0x50,
};

QFont::StyleHint HintOfFamily(uint8_t pitchAndFamily)
{
    switch (pitchAndFamily & 0xF0) {
    case FF_ROMAN:
        return QFont::Serif;
    case FF_SWISS:
        return QFont::SansSerif;
    case FF_MODERN:
        return QFont::Monospace;
    case FF_SCRIPT:
        return QFont::Cursive;
    case FF_DECORATIVE:
        return QFont::Decorative;
    default:
        return QFont::AnyStyle;
    }
}

uint8_t FamilyOfHint(QFont::StyleHint hint)
{
    switch (hint) {
    case QFont::Serif:
        return FF_ROMAN;
    case QFont::SansSerif:
        return FF_SWISS;
    case QFont::Monospace:
    case QFont::TypeWriter:
        return FF_MODERN;
    case QFont::Cursive:
        return FF_SCRIPT;
    case QFont::Decorative:
    case QFont::Fantasy:
        return FF_DECORATIVE;
    default:
        return 0;
    }
}

}  // namespace

QFont FontFromLogFont(const LogFontA& record)
{
    QFont font;
    font.setFamilies(QStringList{QString::fromStdString(Cp1252ToUtf8(record.FaceName()))});
    font.setStyleHint(HintOfFamily(record.PitchAndFamily()));
    font.setFixedPitch((record.PitchAndFamily() & 3) == FIXED_PITCH);
    int32_t weight = record.Weight();
    font.setWeight(weight <= 0 ? QFont::Normal : QFont::Weight(std::min(weight, 1000)));
    font.setItalic(record.Italic());
    font.setUnderline(record.Underline());
    font.setStrikeOut(record.StrikeOut());

    int64_t height = record.Height();
    if (height < 0) {
        font.setPixelSize(static_cast<int>(std::clamp<int64_t>(-height, 1, kMaxPixels)));
        return font;
    }
    // A cell height: the character height is what leaves ascent and descent that tall.
    int cell = height == 0 ? kDefaultCell : static_cast<int>(std::min<int64_t>(height, kMaxPixels));
    font.setPixelSize(cell);
    qreal measured = QFontMetricsF(font).height();
    if (measured > 0) {
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(cell * cell / measured))));
    }
    return font;
}

LogFontA LogFontFromFont(const QFont& font)
{
    LogFontA record;
    int pixels = font.pixelSize() > 0 ? font.pixelSize()
                                      : static_cast<int>(std::lround(font.pointSizeF() * 96 / 72));
    record.SetHeight(-pixels);
    record.SetWeight(font.weight());
    record.SetItalic(font.italic());
    record.SetUnderline(font.underline());
    record.SetStrikeOut(font.strikeOut());
    record.SetPitchAndFamily(static_cast<uint8_t>(
        (font.fixedPitch() ? FIXED_PITCH : VARIABLE_PITCH) | FamilyOfHint(font.styleHint())));
    QStringList families = font.families();
    QString family = families.isEmpty() ? font.family() : families.first();
    record.SetFaceName(Utf8ToCp1252(family.toStdString()));
    return record;
}
