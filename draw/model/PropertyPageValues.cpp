#include "draw/model/PropertyPageValues.h"

#include <algorithm>

#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawText.h"
#include "framework/Cp1252.h"

namespace {

void RepaintAndMark(CDrawObj& object)
{
    object.RequestRepaint();
    if (CDrawDoc* doc = object.GetDocument()) {
        doc->SetModifiedFlag(true);
    }
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

}  // namespace

ShapePageValues ShapePageValuesOf(const CDrawObj& object)
{
    ShapePageValues values;
    values.lineWeight = object.GetPenFlag() ? static_cast<uint32_t>(object.GetPen().width.x) : 0;
    values.showHandles = object.GetShowHandles();
    values.fill = object.GetBrushFlag() != 0;
    return values;
}

void ApplyShapePageValues(CDrawObj& object, const ShapePageValues& values)
{
    object.SetBrushFlag(values.fill ? 1 : 0);
    object.SetPenFlag(values.lineWeight != 0 ? 1 : 0);
    if (values.lineWeight != 0) {
        LogPen pen = object.GetPen();
        pen.width.x = static_cast<int32_t>(values.lineWeight);
        pen.width.y = static_cast<int32_t>(values.lineWeight);
        object.SetPen(pen);
    }
    object.SetShowHandles(values.showHandles);
    RepaintAndMark(object);
}

std::optional<uint32_t> ParseLineWeight(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    if (i < text.size() && text[i] == '+') {
        ++i;
    }
    size_t digits = i;
    uint64_t value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        value = std::min<uint64_t>(value * 10 + static_cast<uint64_t>(text[i] - '0'), UINT32_MAX);
        ++i;
    }
    if (i == digits) {
        return std::nullopt;
    }
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    if (i != text.size()) {
        return std::nullopt;
    }
    return static_cast<uint32_t>(value);
}

TextPageValues TextPageValuesOf(const CDrawText& object)
{
    TextPageValues values;
    std::string utf8 = Cp1252ToUtf8(object.GetText());
    for (size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\r') {
            values.text += '\n';
            if (i + 1 < utf8.size() && utf8[i + 1] == '\n') {
                ++i;
            }
        } else {
            values.text += utf8[i];
        }
    }
    values.transparent = object.GetTransparent() != 0;
    values.font = object.GetFont();
    values.fontFlag = object.GetFontFlag();
    return values;
}

void ApplyTextPageValues(CDrawText& object, const TextPageValues& values)
{
    std::string text;
    for (char c : Utf8ToCp1252(values.text)) {
        if (c == '\n') {
            text += "\r\n";
        } else {
            text += c;
        }
    }
    object.SetFont(values.font);
    object.SetTransparent(values.transparent ? 1 : 0);
    object.SetFontFlag(values.fontFlag);
    object.SetText(text);  // repaints
    if (CDrawDoc* doc = object.GetDocument()) {
        doc->SetModifiedFlag(true);
    }
}
