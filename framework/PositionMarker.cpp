#include "framework/PositionMarker.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

void PaintPositionMarker(QPainter& painter, QPointF centre, double errorRadius,
                         std::optional<QPointF> heading, bool receiving)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QColor colour = receiving ? QColor(20, 110, 230) : QColor(150, 150, 150);
    const double radius = std::min(errorRadius, 1e5);  // larger than any screen
    if (radius >= 3) {
        QColor fill = colour;
        fill.setAlpha(40);
        painter.setPen(QPen(colour, 1));
        painter.setBrush(fill);
        painter.drawEllipse(centre, radius, radius);
    }
    const double length = heading ? std::hypot(heading->x(), heading->y()) : 0;
    if (length > 0) {
        const QPointF ahead = *heading / length;
        const QPointF side(-ahead.y(), ahead.x());
        QPainterPath arrow;
        arrow.moveTo(centre + ahead * 15);
        arrow.lineTo(centre + ahead * 6 + side * 6);
        arrow.lineTo(centre + ahead * 6 - side * 6);
        arrow.closeSubpath();
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawPath(arrow);
    }
    painter.setPen(QPen(Qt::white, 2));
    painter.setBrush(colour);
    painter.drawEllipse(centre, 6, 6);
    painter.restore();
}
