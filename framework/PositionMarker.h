#pragma once

#include <QPointF>
#include <optional>

class QPainter;

// The live position as every view draws it: a blue dot (grey while no fix comes) with a white
// rim, a translucent circle of `errorRadius` pixels (none below 3), and an arrow ahead of it
// towards `heading` (a direction on the widget, any length; none: no arrow).
void PaintPositionMarker(QPainter& painter, QPointF centre, double errorRadius,
                         std::optional<QPointF> heading, bool receiving);
