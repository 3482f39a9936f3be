#include "draw/model/LogFontA.h"

#include <algorithm>
#include <cstddef>

namespace {
constexpr size_t kFaceOffset = 28;
}

LogFontA LogFontA::SystemFont()
{
    LogFontA font;
    font.SetHeight(16);
    font.SetWidth(7);
    font.SetWeight(700);
    font.SetPitchAndFamily(0x22);
    font.SetFaceName("System");
    return font;
}

int32_t LogFontA::Int(size_t offset) const
{
    return static_cast<int32_t>(uint32_t{bytes_[offset]} | (uint32_t{bytes_[offset + 1]} << 8) |
                                (uint32_t{bytes_[offset + 2]} << 16) |
                                (uint32_t{bytes_[offset + 3]} << 24));
}

void LogFontA::SetInt(size_t offset, int32_t v)
{
    auto u = static_cast<uint32_t>(v);
    for (size_t i = 0; i < 4; ++i) {
        bytes_[offset + i] = static_cast<uint8_t>(u >> (8 * i));
    }
}

std::string LogFontA::FaceName() const
{
    auto begin = bytes_.begin() + kFaceOffset;
    return std::string(begin, std::find(begin, bytes_.end(), uint8_t{0}));
}

void LogFontA::SetFaceName(std::string_view cp1252)
{
    size_t n = std::min(cp1252.size(), FACE_SIZE - 1);
    std::fill(bytes_.begin() + kFaceOffset, bytes_.end(), uint8_t{0});
    std::copy(cp1252.begin(), cp1252.begin() + static_cast<std::ptrdiff_t>(n),
              bytes_.begin() + kFaceOffset);
}
