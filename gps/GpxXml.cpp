#include "gps/GpxXml.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <vector>

#include "gps/Records.h"
#include "gps/RichRecords.h"

namespace gpx {
namespace {

constexpr const char* kColourNames[] = {
    "Black",    "DarkRed",   "DarkGreen", "DarkYellow", "DarkBlue",    "DarkMagenta",
    "DarkCyan", "LightGray", "DarkGray",  "Red",        "Green",       "Yellow",
    "Blue",     "Magenta",   "Cyan",      "White",      "Transparent",
};

constexpr const char* kDisplayModes[DISPLAY_COUNT] = {"SymbolAndName", "SymbolOnly",
                                                      "SymbolAndDescription"};

// The text of a number as from_chars reads it: no leading '+'.
std::string_view NumberText(std::string_view text)
{
    text = TrimSpace(text);
    if (text.size() > 1 && text[0] == '+' && text[1] != '-') {
        text.remove_prefix(1);
    }
    return text;
}

}  // namespace

std::string HexOfBytes(const uint8_t* bytes, size_t size)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (size_t i = 0; i < size; ++i) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 15];
    }
    return text;
}

bool BytesOfHex(std::string_view text, uint8_t* bytes, size_t size)
{
    if (text.size() != 2 * size) {
        return false;
    }
    std::vector<uint8_t> read(size);
    for (size_t i = 0; i < size; ++i) {
        auto [end, error] =
            std::from_chars(text.data() + 2 * i, text.data() + 2 * i + 2, read[i], 16);
        if (error != std::errc() || end != text.data() + 2 * i + 2) {
            return false;
        }
    }
    std::copy(read.begin(), read.end(), bytes);
    return true;
}

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

const char* ColourName(uint8_t colour)
{
    return colour < std::size(kColourNames) ? kColourNames[colour] : nullptr;
}

std::optional<uint8_t> ColourByName(std::string_view name)
{
    for (size_t i = 0; i < std::size(kColourNames); ++i) {
        if (SameIgnoringCase(name, kColourNames[i])) {
            return static_cast<uint8_t>(i);
        }
    }
    return std::nullopt;
}

const char* DisplayModeName(uint8_t display)
{
    return display < DISPLAY_COUNT ? kDisplayModes[display] : nullptr;
}

std::optional<uint8_t> DisplayByModeName(std::string_view name)
{
    for (uint8_t i = 0; i < DISPLAY_COUNT; ++i) {
        if (SameIgnoringCase(name, kDisplayModes[i])) {
            return i;
        }
    }
    return std::nullopt;
}

std::string CategoryName(int bit)
{
    return "Category " + std::to_string(bit + 1);
}

std::optional<int> CategoryBit(std::string_view name)
{
    constexpr std::string_view kPrefix = "Category ";
    if (name.size() <= kPrefix.size() ||
        !SameIgnoringCase(name.substr(0, kPrefix.size()), kPrefix)) {
        return std::nullopt;
    }
    std::string_view digits = name.substr(kPrefix.size());
    int number = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size() || number < 1 || number > 16) {
        return std::nullopt;
    }
    return number - 1;
}

std::string_view TrimSpace(std::string_view text)
{
    while (!text.empty() && std::strchr(" \t\r\n", text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::strchr(" \t\r\n", text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view LocalName(const pugi::xml_node& node)
{
    std::string_view name = node.name();
    size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

pugi::xml_node Child(const pugi::xml_node& node, std::string_view name)
{
    for (pugi::xml_node child : node.children()) {
        if (child.type() == pugi::node_element && LocalName(child) == name) {
            return child;
        }
    }
    return {};
}

std::string_view ChildText(const pugi::xml_node& node, std::string_view name)
{
    return TrimSpace(Child(node, name).child_value());
}

std::optional<double> ParseDecimal(std::string_view text)
{
    text = NumberText(text);
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::string FormatMeasure(float value)
{
    char text[64];
    auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
    return std::string(text, result.ptr);
}

float ParseMeasure(std::string_view text)
{
    std::optional<double> wide = ParseDecimal(text);
    if (!wide || !std::isfinite(*wide) || std::fabs(*wide) >= 1e24) {
        return VALUE_NONE;
    }
    // Read once more as a float, so that the shortest text of a float gives that float and
    // not the float nearest to the double nearest to the text.
    text = NumberText(text);
    float value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        value = static_cast<float>(*wide);  // too small for a float: as close as one comes
    }
    return HasValue(value) ? value : VALUE_NONE;
}

}  // namespace gpx
