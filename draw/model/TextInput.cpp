#include "draw/model/TextInput.h"

#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawText.h"
#include "framework/Cp1252.h"

std::vector<CDrawText*> VariableTexts(CDrawDoc& doc)
{
    std::vector<CDrawText*> texts;
    for (CDrawObj* object : doc.ObjectList()) {
        if (texts.size() == TEXT_INPUT_COUNT) {
            break;
        }
        if (auto* text = dynamic_cast<CDrawText*>(object)) {
            texts.push_back(text);
        }
    }
    return texts;
}

std::string LineFieldText(const std::string& recordText)
{
    std::string utf8 = Cp1252ToUtf8(recordText);
    std::string field;
    for (size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] != '\r' && utf8[i] != '\n') {
            field += utf8[i];
            continue;
        }
        field += LINE_BREAK_SIGN;
        if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') {
            ++i;
        }
    }
    return field;
}

std::string RecordTextFromLineField(const std::string& fieldText)
{
    const std::string sign = LINE_BREAK_SIGN;
    std::string record;
    size_t from = 0;
    for (size_t at = fieldText.find(sign); at != std::string::npos;
         at = fieldText.find(sign, from)) {
        record += Utf8ToCp1252(std::string_view(fieldText).substr(from, at - from));
        record += "\r\n";
        from = at + sign.size();
    }
    record += Utf8ToCp1252(std::string_view(fieldText).substr(from));
    return record;
}
