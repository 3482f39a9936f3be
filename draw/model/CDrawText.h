#pragma once

#include <string>

#include "draw/model/CDrawObj.h"
#include "draw/model/LogFontA.h"

// A block of text, word-wrapped into its position rectangle and clipped to it.
//
// The text is Windows-1252 and may hold line breaks (CR LF). Without the font flag it is
// drawn in the painter's current font whatever the font record holds; the record is kept
// as its 60 bytes either way.
//
// File record: the 48 bytes of CDrawObj, uint16 font flag, the 60-byte LOGFONTA, the text as
// a counted string, then the transparent flag as int32.
class CDrawText : public CDrawObj {
    DECLARE_SERIAL(CDrawText)
public:
    CDrawText();
    explicit CDrawText(const CRect& position);

    void Serialize(Archive& ar) override;
    void Draw(GdiPainter& dc) const override;
    // Through the installed DrawObjEditor's text sheet; a font record of an object without
    // the font flag is first filled with the system font.
    void EditProperties() override;
    std::unique_ptr<CDrawObj> Clone(CDrawDoc* document = nullptr) const override;

    const std::string& GetText() const { return text_; }
    // Replaces the text and repaints; does not mark the document modified.
    void SetText(const std::string& text);

    int GetTransparent() const { return transparent_; }
    void SetTransparent(int transparent) { transparent_ = transparent; }
    int GetFontFlag() const { return fontFlag_; }
    void SetFontFlag(int flag) { fontFlag_ = flag; }
    const LogFontA& GetFont() const { return font_; }
    void SetFont(const LogFontA& font) { font_ = font; }

private:
    int transparent_ = 0;
    int fontFlag_ = 0;
    LogFontA font_;
    std::string text_;
};
