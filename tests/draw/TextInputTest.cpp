#include <gtest/gtest.h>

#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawText.h"
#include "draw/model/TextInput.h"
#include "tests/draw/TestMaps.h"

namespace {

TEST(TextInput, VariableTextsAreTheLowestSixTextsBottomUp)
{
    for (size_t count : {0u, 2u, 8u}) {
        CDrawDoc doc;
        AddShape(doc, CDrawRect::rectangle, {0, 0, 10, 10});
        std::vector<CDrawText*> texts;
        for (size_t i = 0; i < count; ++i) {
            texts.push_back(AddNew<CDrawText>(doc, CRect{0, 0, 10, 10}));
            AddShape(doc, CDrawRect::ellipse, {0, 0, 10, 10});
        }
        texts.resize(std::min<size_t>(count, TEXT_INPUT_COUNT));
        EXPECT_EQ(VariableTexts(doc), texts) << count;
    }
}

TEST(TextInput, LineBreaksShowAsASignInASingleLineField)
{
    struct Case {
        const char* legend;
        std::string record;
        std::string field;
        std::string back;
    } cases[] = {
        {"CR LF",
         "Nord\r\nS\xfc"
         "d",
         "Nord↵Süd",
         "Nord\r\nS\xfc"
         "d"},
        {"lone LF and CR", "a\nb\rc\r", "a↵b↵c↵", "a\r\nb\r\nc\r\n"},
        {"two breaks", "a\r\n\r\nb", "a↵↵b", "a\r\n\r\nb"},
        {"no break", "\x80 5", "€ 5", "\x80 5"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LineFieldText(c.record), c.field) << c.legend;
        EXPECT_EQ(RecordTextFromLineField(c.field), c.back) << c.legend;
    }
    EXPECT_EQ(RecordTextFromLineField("→ Ost"), "? Ost") << "no Windows-1252 byte";
}

}  // namespace
