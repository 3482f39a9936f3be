#include "draw/model/CTextTool.h"

#include "draw/model/CDrawText.h"

CDrawObj* CTextTool::CreateObject(const CRect& position) const
{
    return new CDrawText(position);
}
