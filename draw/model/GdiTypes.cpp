#include "draw/model/GdiTypes.h"

#include "framework/Archive.h"

bool CanCreatePen(const LogPen& pen)
{
    return pen.style <= PS_INSIDEFRAME;
}

bool CanCreateBrush(const LogBrush& brush)
{
    switch (brush.style) {
    case BS_SOLID:
    case BS_NULL:
        return true;
    case BS_HATCHED:
        return brush.hatch >= HS_HORIZONTAL && brush.hatch <= HS_DIAGCROSS;
    default:
        return false;
    }
}

void WriteLogPen(Archive& ar, const LogPen& pen)
{
    ar.WriteU32(pen.style);
    ar.WriteI32(pen.width.x);
    ar.WriteI32(pen.width.y);
    ar.WriteU32(pen.colour);
}

LogPen ReadLogPen(Archive& ar)
{
    LogPen pen;
    pen.style = ar.ReadU32();
    pen.width.x = ar.ReadI32();
    pen.width.y = ar.ReadI32();
    pen.colour = ar.ReadU32();
    return pen;
}

void WriteLogBrush(Archive& ar, const LogBrush& brush)
{
    ar.WriteU32(brush.style);
    ar.WriteU32(brush.colour);
    ar.WriteI32(brush.hatch);
}

LogBrush ReadLogBrush(Archive& ar)
{
    LogBrush brush;
    brush.style = ar.ReadU32();
    brush.colour = ar.ReadU32();
    brush.hatch = ar.ReadI32();
    return brush;
}

void WriteRect(Archive& ar, const CRect& r)
{
    ar.WriteI32(r.left);
    ar.WriteI32(r.top);
    ar.WriteI32(r.right);
    ar.WriteI32(r.bottom);
}

CRect ReadRect(Archive& ar)
{
    CRect r;
    r.left = ar.ReadI32();
    r.top = ar.ReadI32();
    r.right = ar.ReadI32();
    r.bottom = ar.ReadI32();
    return r;
}
