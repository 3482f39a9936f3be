#include "edit/TextWidthMeter.h"

#include <string>

#include "framework/Cp1252.h"

TextWidthMeter::TextWidthMeter(const QFontMetrics& metrics) : metrics_(metrics)
{
    for (int byte = 0; byte < 256; ++byte) {
        char c = static_cast<char>(byte);
        std::string utf8 = Cp1252ToUtf8(std::string_view(&c, 1));
        advance_[byte] = metrics_.horizontalAdvance(QString::fromUtf8(utf8.data(), utf8.size()));
    }
}

int TextWidthMeter::Width(std::string_view text, CellEncoding encoding) const
{
    int width = 0;
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 && encoding == CellEncoding::Locale) {
            return metrics_.horizontalAdvance(
                QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
        }
        width += advance_[byte];
    }
    return width;
}
