#pragma once

#include "draw/model/CShapeTool.h"

// Draws a text block (CDrawText, no text yet) the way the shape tools draw a rectangle.
class CTextTool : public CShapeTool {
public:
    explicit CTextTool(MapTools& tools) : CShapeTool(ToolKind::text, tools) {}

protected:
    std::unique_ptr<CDrawObj> CreateObject(const CRect& position) const override;
};
