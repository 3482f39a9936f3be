#include "draw/CTextTool.h"

#include "draw/CDrawText.h"

CDrawObj* CTextTool::CreateObject(const CRect& position) const
{
    return new CDrawText(position);
}
