#include "draw/view/MapCursors.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

// A pencil pointing down to the left, its tip at (1, 30) of a 32 x 32 image.
QCursor Pencil()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(1, 30);
    painter.rotate(-45);
    QPen outline(Qt::black, 1);
    painter.setPen(outline);
    // Tip, wood, body and eraser along the x axis.
    QPainterPath tip;
    tip.moveTo(0, 0);
    tip.lineTo(7, -3);
    tip.lineTo(7, 3);
    tip.closeSubpath();
    painter.setBrush(QColor(0xF0, 0xD0, 0x90));
    painter.drawPath(tip);
    painter.setBrush(Qt::black);
    painter.drawPolygon(QPolygonF({QPointF(0, 0), QPointF(2.5, -1), QPointF(2.5, 1)}));
    painter.setBrush(QColor(0xF2, 0xC0, 0x1E));
    painter.drawRect(QRectF(7, -3, 22, 6));
    painter.setBrush(QColor(0xE8, 0x8A, 0x9A));
    painter.drawRect(QRectF(29, -3, 5, 6));
    painter.end();
    return QCursor(pixmap, 1, 30);
}

}  // namespace

QCursor CursorFor(ToolCursor cursor)
{
    switch (cursor) {
    case ToolCursor::arrow:
        return QCursor(Qt::ArrowCursor);
    case ToolCursor::cross:
        return QCursor(Qt::CrossCursor);
    case ToolCursor::pencil: {
        static const QCursor pencil = Pencil();
        return pencil;
    }
    case ToolCursor::sizeNWSE:
        return QCursor(Qt::SizeFDiagCursor);
    case ToolCursor::sizeNS:
        return QCursor(Qt::SizeVerCursor);
    case ToolCursor::sizeNESW:
        return QCursor(Qt::SizeBDiagCursor);
    case ToolCursor::sizeWE:
        return QCursor(Qt::SizeHorCursor);
    case ToolCursor::sizeAll:
        return QCursor(Qt::SizeAllCursor);
    }
    return QCursor(Qt::ArrowCursor);
}
