// Pictures of services and buildings among the full-table symbols: parking, restaurant,
// lodging, restroom, shops, towns, airports ... Each is drawn on the 16 x 16 grid.

#include <cmath>

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include "edit/SymbolDrawing.h"

namespace {

// A blue road sign with white writing, as services are signposted.
void ServiceSign(QPainter& p, const QString& text, double height = 10)
{
    p.setPen(SymbolInk());
    p.setBrush(kSymbolSign);
    p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 2, 2);
    DrawSymbolText(p, text, QRectF(2.5, 2.5, 11, 11), height);
}

void Restaurant(QPainter& p)
{
    p.setPen(SymbolInk(1.6));
    // Fork: three tines on a handle.
    for (double x : {3.0, 5.0, 7.0}) {
        p.drawLine(QPointF(x, 1.5), QPointF(x, 5));
    }
    p.drawLine(QPointF(3, 5.5), QPointF(7, 5.5));
    p.drawLine(QPointF(5, 5.5), QPointF(5, 14.5));
    // Knife: a blade on a handle.
    p.setPen(SymbolInk());
    p.setBrush(kSymbolStone);
    QPainterPath blade;
    blade.moveTo(11, 1.5);
    blade.quadTo(14, 4, 13.5, 8.5);
    blade.lineTo(11, 8.5);
    blade.closeSubpath();
    p.drawPath(blade);
    p.setPen(SymbolInk(1.6));
    p.drawLine(QPointF(11.8, 8.5), QPointF(11.8, 14.5));
}

void Bar(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(kSymbolGold);
    p.drawRect(QRectF(3, 5, 7.5, 9.5));
    p.setBrush(Qt::white);
    QPainterPath foam;
    foam.moveTo(2.5, 5.5);
    foam.cubicTo(2, 2, 5, 1.5, 6.5, 3);
    foam.cubicTo(8, 1.5, 11.5, 2, 11, 5.5);
    foam.closeSubpath();
    p.drawPath(foam);
    p.setBrush(Qt::NoBrush);
    p.setPen(SymbolInk(1.4));
    p.drawRoundedRect(QRectF(10.5, 7, 3, 5), 1.5, 1.5);
}

void Restroom(QPainter& p)
{
    ServiceSign(p, QStringLiteral("WC"), 7);
}

void Shower(QPainter& p)
{
    p.setPen(SymbolInk(1.5));
    p.setBrush(Qt::NoBrush);
    QPainterPath pipe;
    pipe.moveTo(3, 15);
    pipe.lineTo(3, 2.5);
    pipe.lineTo(8, 2.5);
    pipe.lineTo(8, 4);
    p.drawPath(pipe);
    p.setPen(SymbolInk());
    p.setBrush(kSymbolStone);
    p.drawPolygon(QPolygonF({{8, 4}, {11, 6.5}, {5, 6.5}}));
    p.setPen(QPen(kSymbolWave, 1.1, Qt::SolidLine, Qt::RoundCap));
    for (double x : {5.5, 8.0, 10.5}) {
        p.drawLine(QPointF(x, 8.5), QPointF(x + (x - 8) * 0.4, 10.5));
        p.drawLine(QPointF(x + (x - 8) * 0.6, 12), QPointF(x + (x - 8), 14));
    }
}

void DrinkingWater(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(kSymbolStone);
    p.drawRect(QRectF(1, 3, 9, 3));
    p.drawRect(QRectF(7, 6, 3, 2));
    p.drawRect(QRectF(4, 1, 2, 2));
    p.setBrush(kSymbolWater);
    QPainterPath drop;
    drop.moveTo(8.5, 8.5);
    drop.cubicTo(9.5, 10.5, 12, 12, 12, 13.5);
    drop.arcTo(QRectF(5, 11, 7, 5), 0, -180);
    drop.cubicTo(5, 12, 7.5, 10.5, 8.5, 8.5);
    p.drawPath(drop);
}

void Telephone(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(kSymbolInk);
    QPainterPath handset;
    handset.moveTo(2, 5);
    handset.quadTo(8, 1, 14, 5);
    handset.lineTo(14, 7.5);
    handset.lineTo(11, 7.5);
    handset.lineTo(11, 6);
    handset.quadTo(8, 5, 5, 6);
    handset.lineTo(5, 7.5);
    handset.lineTo(2, 7.5);
    handset.closeSubpath();
    p.drawPath(handset);
    p.setBrush(kSymbolStone);
    p.drawPolygon(QPolygonF({{5.5, 8}, {10.5, 8}, {13.5, 14.5}, {2.5, 14.5}}));
    p.setBrush(kSymbolInk);
    p.drawEllipse(QPointF(8, 11.5), 1.5, 1.5);
}

void MedicalFacility(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1.5, 1.5, 13, 13));
    p.setPen(Qt::NoPen);
    p.setBrush(kSymbolRed);
    p.drawRect(QRectF(6.3, 3.5, 3.4, 9));
    p.drawRect(QRectF(3.5, 6.3, 9, 3.4));
}

void Information(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(kSymbolSign);
    p.drawEllipse(QPointF(8, 8), 6.8, 6.8);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8, 4.6), 1.3, 1.3);
    p.drawRect(QRectF(6.9, 6.8, 2.2, 6));
}

void Parking(QPainter& p)
{
    ServiceSign(p, QStringLiteral("P"));
}

void ShoppingCart(QPainter& p)
{
    p.setPen(SymbolInk(1.3));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({{1, 2.5}, {3.5, 2.5}, {5.5, 10.5}, {13, 10.5}}));
    p.setPen(SymbolInk());
    p.setBrush(kSymbolSign);
    p.drawPolygon(QPolygonF({{4, 4.5}, {15, 4.5}, {13.5, 9}, {5.2, 9}}));
    p.setBrush(kSymbolInk);
    p.drawEllipse(QPointF(6.5, 13), 1.4, 1.4);
    p.drawEllipse(QPointF(12, 13), 1.4, 1.4);
}

void Lodging(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1.5, 8, 13, 3.5));
    p.setBrush(kSymbolSign);
    p.drawRect(QRectF(6, 5.5, 8.5, 2.5));
    p.setBrush(QColor(240, 200, 160));
    p.drawEllipse(QPointF(3.8, 6.3), 1.8, 1.8);
    p.setPen(SymbolInk(1.5));
    p.drawLine(QPointF(1.5, 3), QPointF(1.5, 14.5));
    p.drawLine(QPointF(14.5, 8), QPointF(14.5, 14.5));
}

// Towns: a ring for a small town, a ring around a dot for a larger one.
void City(QPainter& p, double radius, bool filled)
{
    p.setPen(SymbolInk(1.4));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8, 8), radius, radius);
    if (filled) {
        p.setBrush(kSymbolInk);
        p.drawEllipse(QPointF(8, 8), radius * 0.45, radius * 0.45);
    }
}

void Capital(QPainter& p)
{
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        double r = i % 2 ? 3 : 7, a = M_PI / 5 * i - M_PI / 2;
        star << QPointF(8 + r * std::cos(a), 8.5 + r * std::sin(a));
    }
    p.setPen(SymbolInk());
    p.setBrush(kSymbolRed);
    p.drawPolygon(star);
}

void FastFood(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(QColor(225, 160, 70));
    QPainterPath top;
    top.moveTo(1.5, 7);
    top.cubicTo(1.5, 1.5, 14.5, 1.5, 14.5, 7);
    top.closeSubpath();
    p.drawPath(top);
    p.setBrush(kSymbolGrass);
    p.drawRect(QRectF(1, 7, 14, 1.5));
    p.setBrush(QColor(110, 60, 30));
    p.drawRoundedRect(QRectF(1.5, 8.5, 13, 2.5), 1, 1);
    p.setBrush(QColor(225, 160, 70));
    p.drawRoundedRect(QRectF(1.5, 11, 13, 3), 1.2, 1.2);
}

void Pizza(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(QColor(235, 200, 90));
    QPainterPath slice;
    slice.moveTo(8, 15);
    slice.lineTo(1.5, 3.5);
    slice.quadTo(8, 0, 14.5, 3.5);
    slice.closeSubpath();
    p.drawPath(slice);
    p.setBrush(kSymbolRed);
    for (QPointF c : {QPointF(6, 5.5), QPointF(10, 6), QPointF(8, 10)}) {
        p.drawEllipse(c, 1.3, 1.3);
    }
}

void PostOffice(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1.5, 4, 13, 9));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({{1.5, 4}, {8, 9.5}, {14.5, 4}}));
}

void Building(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(kSymbolStone);
    p.drawRect(QRectF(3, 1.5, 10, 13));
    p.setPen(Qt::NoPen);
    p.setBrush(kSymbolSign);
    for (int row = 0; row < 4; ++row) {
        for (double x : {4.5, 7.2, 9.9}) {
            p.drawRect(QRectF(x, 3 + row * 2.6, 1.6, 1.6));
        }
    }
}

void Cemetery(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(kSymbolStone);
    QPainterPath stone;
    stone.moveTo(3, 14.5);
    stone.lineTo(3, 6);
    stone.arcTo(QRectF(3, 1, 10, 10), 180, -180);
    stone.lineTo(13, 14.5);
    stone.closeSubpath();
    p.drawPath(stone);
    p.setPen(SymbolInk(1.4));
    p.drawLine(QPointF(8, 4), QPointF(8, 11));
    p.drawLine(QPointF(5.8, 6.3), QPointF(10.2, 6.3));
}

void Church(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2, 9, 12, 5.5));
    p.drawPolygon(QPolygonF({{5.5, 9}, {5.5, 5.5}, {8, 3.5}, {10.5, 5.5}, {10.5, 9}}));
    p.setBrush(kSymbolWood);
    p.drawRect(QRectF(7, 11, 2, 3.5));
    p.drawLine(QPointF(8, 3.5), QPointF(8, 0.5));
    p.drawLine(QPointF(6.8, 1.6), QPointF(9.2, 1.6));
}

void Airport(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(kSymbolSign);
    QPolygonF plane({{8, 0.8},
                     {9.2, 2},
                     {9.2, 6},
                     {15, 9.5},
                     {15, 11},
                     {9.2, 9},
                     {9.2, 12.5},
                     {11, 14},
                     {11, 15},
                     {8, 14.2},
                     {5, 15},
                     {5, 14},
                     {6.8, 12.5},
                     {6.8, 9},
                     {1, 11},
                     {1, 9.5},
                     {6.8, 6},
                     {6.8, 2}});
    p.drawPolygon(plane);
}

void Heliport(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(kSymbolGrass);
    p.drawEllipse(QPointF(8, 8), 6.8, 6.8);
    DrawSymbolText(p, QStringLiteral("H"), QRectF(2, 2, 12, 12), 8);
}

void Bank(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(kSymbolGold);
    p.drawEllipse(QPointF(8, 8), 6.8, 6.8);
    DrawSymbolText(p, QStringLiteral("$"), QRectF(2, 2, 12, 12), 9.5, kSymbolInk);
}

}  // namespace

void AddPlaceDrawings(std::vector<SymbolDrawing>& out)
{
    out.insert(out.end(), {
                              {6, Bank},
                              {11, Restaurant},
                              {13, Bar},
                              {152, Restroom},
                              {153, Shower},
                              {154, DrinkingWater},
                              {155, Telephone},
                              {156, MedicalFacility},
                              {157, Information},
                              {158, Parking},
                              {172, ShoppingCart},
                              {173, Lodging},
                              {8198, [](QPainter& p) { City(p, 3.5, false); }},
                              {8199, [](QPainter& p) { City(p, 5, true); }},
                              {8200, [](QPainter& p) { City(p, 6.8, true); }},
                              {8203, Capital},
                              {8208, FastFood},
                              {8213, Pizza},
                              {8214, PostOffice},
                              {8234, Building},
                              {8235, Cemetery},
                              {8236, Church},
                              {16384, Airport},
                              {16388, Heliport},
                          });
}
