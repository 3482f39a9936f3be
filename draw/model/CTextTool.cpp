#include "draw/model/CTextTool.h"

#include "draw/model/CDrawText.h"

std::unique_ptr<CDrawObj> CTextTool::CreateObject(const CRect& position) const
{
    return std::make_unique<CDrawText>(position);
}
