#include "draw/model/CDrawText.h"

#include "draw/model/CDrawDoc.h"
#include "draw/model/DrawObjEditor.h"
#include "draw/model/GdiPainter.h"
#include "framework/Archive.h"

IMPLEMENT_SERIAL(CDrawText, CDrawObj, 0)

CDrawText::CDrawText() = default;

CDrawText::CDrawText(const CRect& position) : CDrawObj(position) {}

void CDrawText::Serialize(Archive& ar)
{
    CDrawObj::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteU16(static_cast<uint16_t>(fontFlag_));
        ar.Write(font_.bytes().data(), LogFontA::SIZE);
        ar.WriteString(text_);
        ar.WriteI32(transparent_);
        return;
    }
    fontFlag_ = ar.ReadU16();
    ar.Read(font_.bytes().data(), LogFontA::SIZE);
    text_ = ar.ReadString();
    transparent_ = ar.ReadI32();
}

void CDrawText::Draw(GdiPainter& dc) const
{
    // DrawText uses no brush, but a brush that cannot be made still stops the painting.
    if (!CanCreateBrush(brush_)) {
        return;
    }
    dc.DrawText(text_, position_, fontFlag_ ? &font_ : nullptr, transparent_ != 0);
}

void CDrawText::EditProperties()
{
    DrawObjEditor* editor = DrawObjEditor::Installed();
    if (!editor) {
        return;
    }
    if (!fontFlag_) {
        font_ = LogFontA::SystemFont();
    }
    editor->EditText(*this);
}

void CDrawText::SetText(const std::string& text)
{
    text_ = text;
    RequestRepaint();
}

std::unique_ptr<CDrawObj> CDrawText::Clone(CDrawDoc*) const
{
    auto clone = std::make_unique<CDrawText>(position_);
    clone->CopyStyle(*this);
    clone->transparent_ = transparent_;
    clone->fontFlag_ = fontFlag_;
    clone->font_ = font_;
    clone->text_ = text_;
    return clone;
}
