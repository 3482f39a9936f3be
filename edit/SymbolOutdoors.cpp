// Pictures of the outdoors among the full-table symbols: landscape (summit, forest, beach),
// water and shore (boat ramp, dam, lighthouse), trails and sport. Each is drawn on the
// 16 x 16 grid.

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include "edit/SymbolDrawing.h"

namespace {

// A wavy water line at height `y`, from the left edge to `right`.
void WaterLine(QPainter& p, double y, int right = 16)
{
    p.setPen(QPen(kSymbolWave, 1.2));
    p.setBrush(Qt::NoBrush);
    QPainterPath waves;
    waves.moveTo(0, y);
    for (int x = 0; x < right; x += 4) {
        waves.quadTo(x + 1, y - 1.2, x + 2, y);
        waves.quadTo(x + 3, y + 1.2, x + 4, y);
    }
    p.drawPath(waves);
}

void Conifer(QPainter& p, double x, double top, double bottom, double halfWidth)
{
    p.setPen(SymbolInk());
    p.setBrush(kSymbolWood);
    p.drawRect(QRectF(x - 0.8, bottom - 2, 1.6, 2));
    p.setBrush(QColor(30, 110, 50));
    p.drawPolygon(QPolygonF({{x, top}, {x + halfWidth, bottom - 2}, {x - halfWidth, bottom - 2}}));
}

void Bell(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(kSymbolGold);
    QPainterPath bell;
    bell.moveTo(2, 12.5);
    bell.quadTo(4, 11, 4, 7);
    bell.cubicTo(4, 1.5, 12, 1.5, 12, 7);
    bell.quadTo(12, 11, 14, 12.5);
    bell.closeSubpath();
    p.drawPath(bell);
    p.setBrush(kSymbolInk);
    p.drawEllipse(QPointF(8, 13.8), 1.5, 1.5);
}

void Horn(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(kSymbolGold);
    p.drawPolygon(QPolygonF({{1.5, 6.5}, {5, 6.5}, {13, 2}, {13, 14}, {5, 9.5}, {1.5, 9.5}}));
    p.drawEllipse(QRectF(11.5, 2, 3, 12));
}

void Lighthouse(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({{6, 5}, {10, 5}, {11.5, 14.5}, {4.5, 14.5}}));
    p.setBrush(kSymbolRed);
    p.drawPolygon(QPolygonF({{5.4, 9}, {10.6, 9}, {11, 11.5}, {5, 11.5}}));
    p.setBrush(kSymbolGold);
    p.drawRect(QRectF(6.5, 2.5, 3, 2.5));
    p.setBrush(kSymbolInk);
    p.drawPolygon(QPolygonF({{6, 2.5}, {8, 0.8}, {10, 2.5}}));
    p.setPen(QPen(kSymbolGold, 1.0));
    p.drawLine(QPointF(1, 2), QPointF(5, 3.5));
    p.drawLine(QPointF(15, 2), QPointF(11, 3.5));
}

void LifeRing(QPainter& p)
{
    QRectF outer(1.5, 1.5, 13, 13);
    for (int quarter = 0; quarter < 4; ++quarter) {
        p.setPen(Qt::NoPen);
        p.setBrush(quarter % 2 ? Qt::white : kSymbolRed);
        p.drawPie(outer, (45 + quarter * 90) * 16, 90 * 16);
    }
    p.setPen(SymbolInk());
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(outer);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8, 8), 3, 3);
}

void RadioBeacon(QPainter& p)
{
    p.setPen(SymbolInk(1.3));
    p.drawLine(QPointF(8, 6), QPointF(4.5, 15));
    p.drawLine(QPointF(8, 6), QPointF(11.5, 15));
    p.drawLine(QPointF(6, 11), QPointF(10, 11));
    p.setBrush(kSymbolRed);
    p.drawEllipse(QPointF(8, 5), 1.4, 1.4);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kSymbolRed, 1.2, Qt::SolidLine, Qt::RoundCap));
    for (double r : {3.5, 6.0}) {
        QRectF arc(8 - r, 5 - r, 2 * r, 2 * r);
        p.drawArc(arc, 20 * 16, 50 * 16);
        p.drawArc(arc, 110 * 16, 50 * 16);
    }
}

void BoatRamp(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kSymbolWater);
    p.drawRect(QRectF(0, 10, 16, 6));
    p.setPen(SymbolInk());
    p.setBrush(kSymbolStone);
    p.drawPolygon(QPolygonF({{0.5, 5}, {4, 5}, {14, 15}, {0.5, 15}}));
    WaterLine(p, 10);
    // A boat sliding down the ramp, its keel along the slope.
    p.save();
    p.translate(8, 8.2);
    p.rotate(45);
    p.setPen(SymbolInk());
    p.setBrush(kSymbolWood);
    p.drawPolygon(QPolygonF({{-5, -3}, {4, -3}, {3, 0}, {-4, 0}}));
    p.restore();
}

void Park(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(kSymbolWood);
    p.drawRect(QRectF(7, 9, 2, 5.5));
    p.setBrush(kSymbolGrass);
    p.drawEllipse(QPointF(5, 7), 3.5, 3.2);
    p.drawEllipse(QPointF(11, 7), 3.5, 3.2);
    p.drawEllipse(QPointF(8, 4.5), 4, 3.5);
    p.drawLine(QPointF(1.5, 14.5), QPointF(14.5, 14.5));
}

void Picnic(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(kSymbolWood);
    p.drawRect(QRectF(1.5, 5, 13, 2));
    p.drawRect(QRectF(1, 9.5, 14, 1.5));
    p.setPen(SymbolInk(1.5));
    p.drawLine(QPointF(4.5, 7), QPointF(2.5, 14.5));
    p.drawLine(QPointF(11.5, 7), QPointF(13.5, 14.5));
}

void Scenic(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(QColor(70, 70, 80));
    p.drawRoundedRect(QRectF(1.5, 4.5, 13, 9), 1.5, 1.5);
    p.drawRect(QRectF(5, 2.5, 4, 2));
    p.setBrush(kSymbolWater);
    p.drawEllipse(QPointF(8, 9), 3, 3);
    p.setBrush(Qt::white);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(12.3, 6.3), 0.8, 0.8);
}

void Skiing(QPainter& p)
{
    // Two poles behind a pair of crossed skis whose tips curl up.
    p.setPen(SymbolInk(1.0));
    p.drawLine(QPointF(5.5, 1.5), QPointF(7, 15));
    p.drawLine(QPointF(10.5, 1.5), QPointF(9, 15));
    p.setPen(QPen(kSymbolRed, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (double side : {-1.0, 1.0}) {
        QPainterPath ski;
        ski.moveTo(8 - side * 6, 14);
        ski.lineTo(8 + side * 4.5, 3.5);
        ski.quadTo(8 + side * 5.8, 1.2, 8 + side * 6.8, 2.6);
        p.drawPath(ski);
    }
}

void Swimming(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(QColor(240, 200, 160));
    p.drawEllipse(QPointF(5, 5), 2.2, 2.2);
    p.setPen(SymbolInk(1.6));
    p.drawLine(QPointF(7, 7.5), QPointF(13.5, 4.5));
    p.drawLine(QPointF(5, 8.5), QPointF(9, 8.5));
    WaterLine(p, 11);
    WaterLine(p, 14.5);
}

void Dam(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kSymbolWater);
    p.drawRect(QRectF(0, 4, 7, 12));
    p.drawRect(QRectF(9, 12, 7, 4));
    p.setPen(SymbolInk());
    p.setBrush(kSymbolStone);
    p.drawPolygon(QPolygonF({{6, 2}, {9, 2}, {12, 15}, {6, 15}}));
    WaterLine(p, 4, 6);
    WaterLine(p, 12.5);
}

void Danger(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(kSymbolGold);
    p.drawPolygon(QPolygonF({{8, 1}, {15.2, 14.5}, {0.8, 14.5}}));
    p.setPen(Qt::NoPen);
    p.setBrush(kSymbolInk);
    p.drawPolygon(QPolygonF({{7, 5.5}, {9, 5.5}, {8.5, 10.5}, {7.5, 10.5}}));
    p.drawEllipse(QPointF(8, 12.3), 1, 1);
}

void Mine(QPainter& p)
{
    p.setPen(QPen(kSymbolWood, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3, 14), QPointF(13, 4));
    p.drawLine(QPointF(13, 14), QPointF(3, 4));
    p.setPen(SymbolInk());
    p.setBrush(kSymbolStone);
    QPainterPath pick;
    pick.moveTo(0.8, 6.5);
    pick.quadTo(2, 1.5, 7, 1);
    pick.quadTo(3, 3, 4, 6);
    pick.closeSubpath();
    p.drawPath(pick);
    p.drawPolygon(QPolygonF({{10.5, 3.5}, {12.5, 1.5}, {15, 4}, {13, 6}}));
}

void TrailHead(QPainter& p)
{
    p.setPen(SymbolInk(1.5));
    p.drawLine(QPointF(8, 2), QPointF(8, 15));
    p.setPen(SymbolInk());
    p.setBrush(kSymbolWood);
    p.drawPolygon(QPolygonF({{2, 3}, {12, 3}, {14.5, 5}, {12, 7}, {2, 7}}));
    p.drawPolygon(QPolygonF({{14, 8.5}, {4, 8.5}, {1.5, 10.5}, {4, 12.5}, {14, 12.5}}));
}

void Golf(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kSymbolGrass);
    p.drawEllipse(QRectF(1, 11, 14, 4.5));
    p.setPen(SymbolInk(1.2));
    p.drawLine(QPointF(8, 1.5), QPointF(8, 13));
    p.setPen(SymbolInk());
    p.setBrush(kSymbolRed);
    p.drawPolygon(QPolygonF({{8.5, 1.5}, {14, 3.5}, {8.5, 5.5}}));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(4, 11), 1.4, 1.4);
}

void Bridge(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kSymbolWater);
    p.drawRect(QRectF(0, 12, 16, 4));
    p.setPen(SymbolInk());
    p.setBrush(kSymbolStone);
    QPainterPath bridge;
    bridge.moveTo(0.5, 5);
    bridge.lineTo(15.5, 5);
    bridge.lineTo(15.5, 14);
    bridge.lineTo(13, 14);
    bridge.cubicTo(13, 7.5, 3, 7.5, 3, 14);
    bridge.lineTo(0.5, 14);
    bridge.closeSubpath();
    p.drawPath(bridge);
}

void Tunnel(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(QColor(150, 120, 80));
    p.drawPolygon(QPolygonF({{0.5, 14.5}, {6, 2}, {9, 5}, {11, 3}, {15.5, 14.5}}));
    p.setBrush(kSymbolInk);
    QPainterPath hole;
    hole.moveTo(4.5, 14.5);
    hole.lineTo(4.5, 11);
    hole.arcTo(QRectF(4.5, 7.5, 7, 7), 180, -180);
    hole.lineTo(11.5, 14.5);
    hole.closeSubpath();
    p.drawPath(hole);
}

void Beach(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 215, 140));
    p.drawRect(QRectF(0, 12, 16, 4));
    p.setPen(SymbolInk(1.2));
    p.drawLine(QPointF(8, 5), QPointF(9.5, 14));
    p.setPen(SymbolInk());
    QPainterPath shade;
    shade.moveTo(1.5, 7.5);
    shade.cubicTo(2, 1, 13, -0.5, 14.5, 5);
    shade.closeSubpath();
    p.setBrush(kSymbolRed);
    p.drawPath(shade);
}

void Forest(QPainter& p)
{
    Conifer(p, 5, 1.5, 13, 4);
    Conifer(p, 11, 4, 15, 4);
}

void Summit(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(QColor(150, 120, 80));
    p.drawPolygon(QPolygonF({{0.5, 14.5}, {8, 2}, {15.5, 14.5}}));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({{5.6, 6}, {8, 2}, {10.4, 6}, {9, 7}, {8, 6}, {7, 7}}));
}

void Geocache(QPainter& p, bool found)
{
    p.setPen(SymbolInk());
    p.setBrush(QColor(90, 110, 60));
    p.drawRect(QRectF(1.5, 5.5, 13, 9));
    p.setBrush(QColor(60, 75, 40));
    p.drawRect(QRectF(1, 3.5, 14, 2.5));
    p.drawRect(QRectF(6, 2, 4, 1.5));
    if (found) {
        p.setPen(QPen(kSymbolGold, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({{4.5, 10}, {7, 12.5}, {12, 7.5}}));
    }
}

void Bicycle(QPainter& p)
{
    p.setPen(SymbolInk(1.3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(4, 11), 3, 3);
    p.drawEllipse(QPointF(12, 11), 3, 3);
    p.setPen(QPen(kSymbolRed, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({{4, 11}, {6.5, 6}, {11, 6}, {8, 11}, {4, 11}}));
    p.drawLine(QPointF(8, 11), QPointF(6, 4.5));
    p.drawPolyline(QPolygonF({{12, 11}, {10.5, 4}, {12.5, 4}}));
}

}  // namespace

void AddOutdoorDrawings(std::vector<SymbolDrawing>& out)
{
    out.insert(out.end(), {
                              {1, Bell},
                              {9, Horn},
                              {12, Lighthouse},
                              {21, LifeRing},
                              {37, RadioBeacon},
                              {150, BoatRamp},
                              {159, Park},
                              {160, Picnic},
                              {161, Scenic},
                              {162, Skiing},
                              {163, Swimming},
                              {164, Dam},
                              {166, Danger},
                              {174, Mine},
                              {175, TrailHead},
                              {8197, Golf},
                              {8233, Bridge},
                              {8243, Tunnel},
                              {8244, Beach},
                              {8245, Forest},
                              {8246, Summit},
                              {8255, [](QPainter& p) { Geocache(p, false); }},
                              {8256, [](QPainter& p) { Geocache(p, true); }},
                              {8293, Bicycle},
                          });
}
