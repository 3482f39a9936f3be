#include <memory>

#include <gtest/gtest.h>

#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawText.h"
#include "draw/model/DrawObjEditor.h"
#include "framework/Archive.h"
#include "tests/draw/DrawTestSupport.h"
#include "tests/draw/TestMaps.h"

namespace {

TEST(CDrawText, RecordHoldsFontBytesTextAndAFourByteTransparentFlag)
{
    CDrawText text({10, 20, 110, 70});
    LogFontA font;
    font.SetHeight(-13);
    font.SetFaceName("Times New Roman");
    text.SetFont(font);
    text.SetText(std::string(300, 'a'));
    text.SetTransparent(1);

    MemoryOutputStream out;
    Archive ar(out);
    text.Serialize(ar);
    const std::vector<uint8_t>& bytes = out.bytes();
    ASSERT_EQ(bytes.size(), 48u + 2 + 60 + 3 + 300 + 4);
    EXPECT_EQ(bytes[48], 0) << "font flag";
    EXPECT_EQ(bytes[50], 0xF3) << "lfHeight -13";
    EXPECT_EQ(std::string(bytes.begin() + 78, bytes.begin() + 93), "Times New Roman");
    EXPECT_EQ((std::vector<uint8_t>(bytes.begin() + 110, bytes.begin() + 113)),
              (std::vector<uint8_t>{0xFF, 0x2C, 0x01}));
    EXPECT_EQ((std::vector<uint8_t>(bytes.end() - 4, bytes.end())),
              (std::vector<uint8_t>{1, 0, 0, 0}));

    CDrawText back;
    MemoryInputStream in(bytes);
    Archive reader(in);
    back.Serialize(reader);
    EXPECT_EQ(back.GetFont(), font);
    EXPECT_EQ(back.GetText(), text.GetText());
    EXPECT_EQ(back.GetTransparent(), 1);
}

TEST(CDrawText, WithoutTheFontFlagTheCurrentFontIsUsed)
{
    CDrawText text({0, 0, 50, 20});
    LogFontA font;
    font.SetFaceName("Arial");
    text.SetFont(font);
    text.SetText("Nord");
    RecordingPainter dc;
    text.Draw(dc);
    text.SetFontFlag(1);
    text.SetTransparent(1);
    text.Draw(dc);
    text.SetBrush({BS_HATCHED, 0, 17});  // a brush GDI cannot make stops the painting
    text.Draw(dc);
    EXPECT_EQ(dc.calls,
              (std::vector<std::string>{"DrawText \"Nord\" 0,0,50,20 current font",
                                        "DrawText \"Nord\" 0,0,50,20 font Arial transparent"}));
}

TEST(CDrawText, SetTextRepaintsWithoutMarkingAndCloneKeepsEverything)
{
    CDrawDoc doc;
    FakeViewSite view;
    doc.AddView(&view);
    auto* text = AddNew<CDrawText>(doc, CRect{0, 0, 50, 20});
    doc.SetModifiedFlag(false);
    text->SetText(
        "S\xfc"
        "d");
    EXPECT_FALSE(doc.IsModified());
    ASSERT_EQ(view.updates.size(), 1u);
    EXPECT_EQ(view.updates[0].hint, 1);

    LogFontA font;
    font.SetFaceName("Courier");
    text->SetFont(font);
    text->SetFontFlag(1);
    text->SetTransparent(1);
    std::unique_ptr<CDrawObj> copy = text->Clone();
    auto* clone = dynamic_cast<CDrawText*>(copy.get());
    ASSERT_TRUE(clone);
    EXPECT_EQ(clone->GetText(),
              "S\xfc"
              "d");
    EXPECT_EQ(clone->GetFont(), font);
    EXPECT_EQ(clone->GetFontFlag(), 1);
    EXPECT_EQ(clone->GetTransparent(), 1);
    doc.RemoveView(&view);
}

// Records which sheet EditProperties asked for, and the font the text had then.
class RecordingEditor : public DrawObjEditor {
public:
    void EditShape(CDrawObj&) override { calls.push_back("shape"); }
    void EditText(CDrawText& text) override
    {
        calls.push_back("text " + text.GetFont().FaceName());
    }
    void EditItem(CDrawOleObj&) override { calls.push_back("item"); }
    void OpenItem(CDrawOleObj&, DrawViewSite*) override { calls.push_back("open"); }
    std::vector<std::string> calls;
};

TEST(CDrawText, PropertiesStartFromTheSystemFontWhenNoneWasChosen)
{
    CDrawText text({0, 0, 50, 20});
    LogFontA chosen;
    chosen.SetFaceName("Arial");
    text.SetFont(chosen);
    text.EditProperties();  // no editor installed: nothing happens
    EXPECT_EQ(text.GetFont(), chosen);

    RecordingEditor editor;
    DrawObjEditor::Install(&editor);
    text.OpenInView(nullptr);
    text.SetFontFlag(1);
    text.SetFont(chosen);
    text.EditProperties();
    CDrawObj shape({0, 0, 1, 1});
    shape.OpenInView(nullptr);
    DrawObjEditor::Install(nullptr);
    EXPECT_EQ(editor.calls, (std::vector<std::string>{"text System", "text Arial", "shape"}));
    EXPECT_EQ(LogFontA::SystemFont().Weight(), 700);
    EXPECT_EQ(LogFontA::SystemFont().Height(), 16);
}

}  // namespace
