#include "edit/SymbolImages.h"

#include <algorithm>

#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>
#include <QPolygonF>

#include "edit/SymbolDrawing.h"
#include "gps/Records.h"
#include "gps/SymbolTable.h"

// Each symbol is drawn on a 16 x 16 grid; the painter scales the grid to the pixmap.

namespace {

void DrawDot(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(kSymbolInk);
    p.drawEllipse(QPointF(8, 8), 4, 4);
}

void DrawHouse(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(QColor(240, 220, 170));
    p.drawRect(QRectF(3.5, 7.5, 9, 7));
    p.setBrush(QColor(190, 40, 30));
    p.drawPolygon(QPolygonF({{1, 8}, {8, 1.5}, {15, 8}}));
    p.setBrush(QColor(110, 70, 30));
    p.drawRect(QRectF(7, 10, 2.5, 4.5));
}

void DrawGas(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(QColor(210, 30, 30));
    p.drawRoundedRect(QRectF(2.5, 2.5, 8, 12), 1, 1);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 4, 5, 3.5));
    p.setBrush(Qt::NoBrush);
    p.setPen(SymbolInk(1.3));
    QPainterPath hose;
    hose.moveTo(10.5, 5);
    hose.lineTo(13.5, 6.5);
    hose.lineTo(13.5, 12);
    hose.quadTo(13.5, 13.5, 12.3, 12.5);
    p.drawPath(hose);
    p.setPen(SymbolInk());
    p.drawLine(QPointF(1.5, 14.5), QPointF(11.5, 14.5));
}

void DrawCar(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(QColor(40, 90, 200));
    p.drawPolygon(QPolygonF(
        {{1.5, 12}, {1.5, 8.5}, {4, 8}, {5.5, 4.5}, {11, 4.5}, {13, 8}, {14.5, 8.8}, {14.5, 12}}));
    p.setBrush(QColor(200, 230, 255));
    p.drawPolygon(QPolygonF({{5, 8}, {6.2, 5.5}, {10.5, 5.5}, {11.8, 8}}));
    p.setBrush(kSymbolInk);
    p.drawEllipse(QPointF(4.5, 12.2), 2, 2);
    p.drawEllipse(QPointF(11.5, 12.2), 2, 2);
}

void DrawFish(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(QColor(60, 150, 180));
    p.drawPolygon(QPolygonF({{10, 8}, {15, 4}, {15, 12}}));
    p.drawEllipse(QRectF(1, 4.5, 11, 7));
    p.setBrush(kSymbolInk);
    p.drawEllipse(QPointF(4, 7.3), 0.9, 0.9);
}

void DrawBoat(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({{8, 1.5}, {8, 10}, {14, 10}}));
    p.drawPolygon(QPolygonF({{7, 3.5}, {7, 10}, {2.5, 10}}));
    p.setBrush(QColor(140, 80, 30));
    p.drawPolygon(QPolygonF({{1, 11}, {15, 11}, {12.5, 14.5}, {3.5, 14.5}}));
}

void DrawAnchor(QPainter& p)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(SymbolInk(1.5));
    p.drawEllipse(QPointF(8, 2.8), 1.6, 1.6);
    p.drawLine(QPointF(8, 4.4), QPointF(8, 14));
    p.drawLine(QPointF(4.5, 6.5), QPointF(11.5, 6.5));
    QPainterPath arms;
    arms.moveTo(2, 9.5);
    arms.quadTo(3, 14, 8, 14);
    arms.quadTo(13, 14, 14, 9.5);
    p.drawPath(arms);
    p.setPen(SymbolInk());
    p.setBrush(kSymbolInk);
    p.drawPolygon(QPolygonF({{0.8, 10.5}, {2, 8}, {3.8, 10.2}}));
    p.drawPolygon(QPolygonF({{15.2, 10.5}, {14, 8}, {12.2, 10.2}}));
}

void DrawWreck(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 180, 230));
    p.drawRect(QRectF(0, 6, 16, 10));
    p.setPen(SymbolInk());
    p.setBrush(QColor(110, 60, 30));
    // A hull lying tilted under the waterline, its mast broken.
    p.drawPolygon(QPolygonF({{1.5, 9}, {13, 13.5}, {11.5, 15.5}, {3, 12.5}}));
    p.setPen(SymbolInk(1.2));
    p.drawLine(QPointF(7.5, 11.5), QPointF(10, 4));
    p.drawLine(QPointF(10, 4), QPointF(12.5, 2.5));
    p.setPen(QPen(QColor(20, 60, 140), 1.0));
    p.setBrush(Qt::NoBrush);
    QPainterPath waves;
    waves.moveTo(0, 6);
    for (int x = 0; x < 16; x += 4) {
        waves.quadTo(x + 1, 4.8, x + 2, 6);
        waves.quadTo(x + 3, 7.2, x + 4, 6);
    }
    p.drawPath(waves);
}

void DrawExit(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(QColor(230, 230, 230));
    p.drawRect(QRectF(1.5, 1.5, 7, 13));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 150, 60));
    p.drawPolygon(
        QPolygonF({{5, 6.5}, {10, 6.5}, {10, 3.5}, {15, 8}, {10, 12.5}, {10, 9.5}, {5, 9.5}}));
}

void DrawSkull(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(Qt::white);
    QPainterPath head;
    head.moveTo(4.5, 13);
    head.lineTo(4.5, 10.5);
    head.cubicTo(1, 9, 1.5, 1.5, 8, 1.5);
    head.cubicTo(14.5, 1.5, 15, 9, 11.5, 10.5);
    head.lineTo(11.5, 13);
    head.closeSubpath();
    p.drawPath(head);
    p.setBrush(kSymbolInk);
    p.drawEllipse(QPointF(5.6, 6.8), 1.7, 1.9);
    p.drawEllipse(QPointF(10.4, 6.8), 1.7, 1.9);
    p.drawPolygon(QPolygonF({{8, 8.8}, {7, 10.5}, {9, 10.5}}));
    p.drawLine(QPointF(6.5, 11.5), QPointF(6.5, 13));
    p.drawLine(QPointF(8, 11.5), QPointF(8, 13));
    p.drawLine(QPointF(9.5, 11.5), QPointF(9.5, 13));
}

void DrawFlag(QPainter& p)
{
    p.setPen(SymbolInk(1.5));
    p.drawLine(QPointF(3, 1.5), QPointF(3, 15));
    p.setPen(SymbolInk());
    p.setBrush(QColor(220, 30, 30));
    QPainterPath cloth;
    cloth.moveTo(3.5, 2);
    cloth.quadTo(8, 0.5, 14, 3);
    cloth.lineTo(14, 9);
    cloth.quadTo(8, 6.5, 3.5, 8);
    cloth.closeSubpath();
    p.drawPath(cloth);
}

void DrawCamp(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(QColor(110, 140, 50));
    p.drawPolygon(QPolygonF({{8, 2}, {15, 14}, {1, 14}}));
    p.setBrush(QColor(40, 50, 20));
    p.drawPolygon(QPolygonF({{8, 7}, {10.5, 14}, {5.5, 14}}));
    p.drawLine(QPointF(8, 2), QPointF(8, 0.5));
    p.drawLine(QPointF(0.5, 14.5), QPointF(15.5, 14.5));
}

void DrawDuck(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(QColor(150, 110, 70));
    QPainterPath body;
    body.moveTo(1, 8);
    body.quadTo(4, 8.5, 8, 9);
    body.lineTo(13, 9);
    body.quadTo(14, 14, 8, 14);
    body.lineTo(5, 14);
    body.quadTo(1.5, 13, 1, 8);
    p.drawPath(body);
    p.setBrush(QColor(30, 120, 60));
    p.drawEllipse(QPointF(11.5, 5.5), 2.6, 2.6);
    p.setBrush(QColor(240, 160, 20));
    p.drawPolygon(QPolygonF({{13.8, 5}, {15.8, 6}, {13.8, 7}}));
    p.setBrush(kSymbolInk);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(11.8, 4.8), 0.7, 0.7);
}

void DrawDeer(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(90, 55, 20), 1.5, Qt::SolidLine, Qt::RoundCap));
    // Antlers, mirrored.
    for (double side : {-1.0, 1.0}) {
        auto x = [side](double dx) { return 8 + side * dx; };
        p.drawLine(QPointF(x(2), 5.5), QPointF(x(5), 1));
        p.drawLine(QPointF(x(3.3), 3.5), QPointF(x(6.5), 3));
        p.drawLine(QPointF(x(4.3), 2.2), QPointF(x(3.8), 0.5));
    }
    p.setPen(SymbolInk());
    p.setBrush(QColor(170, 110, 50));
    p.drawPolygon(QPolygonF({{3, 6}, {5.5, 7.5}, {10.5, 7.5}, {13, 6}, {11.5, 9.5}}));
    QPainterPath face;
    face.moveTo(5.3, 7);
    face.lineTo(10.7, 7);
    face.lineTo(9.5, 13.5);
    face.quadTo(8, 15, 6.5, 13.5);
    face.closeSubpath();
    p.drawPath(face);
    p.drawPolygon(QPolygonF({{3, 6}, {5.5, 7.5}, {4.5, 9.5}}));
    p.setBrush(kSymbolInk);
    p.drawEllipse(QPointF(8, 13.6), 1.1, 0.9);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(6.4, 9.2), 0.7, 0.7);
    p.drawEllipse(QPointF(9.6, 9.2), 0.7, 0.7);
}

void DrawBuoy(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(QColor(220, 30, 30));
    QPolygonF body({{5.5, 4}, {10.5, 4}, {12.5, 12}, {3.5, 12}});
    p.drawPolygon(body);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({{6.2, 7}, {9.8, 7}, {10.3, 9}, {5.7, 9}}));
    p.setPen(SymbolInk());
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(body);
    p.setBrush(QColor(255, 220, 0));
    p.drawEllipse(QPointF(8, 2.3), 1.5, 1.5);
    p.setPen(QPen(QColor(20, 60, 140), 1.2));
    p.setBrush(Qt::NoBrush);
    QPainterPath waves;
    waves.moveTo(0, 13.5);
    for (int x = 0; x < 16; x += 4) {
        waves.quadTo(x + 1, 12.3, x + 2, 13.5);
        waves.quadTo(x + 3, 14.7, x + 4, 13.5);
    }
    p.drawPath(waves);
}

void DrawTemp(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(6.5, 0.8, 3, 11), 1.5, 1.5);
    p.setBrush(QColor(220, 30, 30));
    p.drawEllipse(QPointF(8, 12.5), 2.7, 2.7);
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(7.3, 5, 1.4, 6.5));
    p.setPen(SymbolInk(0.8));
    for (double y : {3.0, 5.0, 7.0, 9.0}) {
        p.drawLine(QPointF(9.5, y), QPointF(11, y));
    }
}

using DrawFunction = void (*)(QPainter&);

const DrawFunction kDraw[SYMBOL_COUNT] = {
    DrawDot,  DrawHouse, DrawGas,  DrawCar,  DrawFish, DrawBoat, DrawAnchor, DrawWreck,
    DrawExit, DrawSkull, DrawFlag, DrawCamp, DrawDuck, DrawDeer, DrawBuoy,   DrawTemp,
};

// The plain marker of the symbols without a drawing of their own.
void DrawPlainMarker(QPainter& p)
{
    p.setPen(QPen(QColor(90, 90, 90), 1.2));
    p.setBrush(QColor(200, 200, 200));
    p.drawEllipse(QPointF(8, 8), 4.5, 4.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 60, 60));
    p.drawEllipse(QPointF(8, 8), 1.5, 1.5);
}

// Every drawn full-table symbol, ordered by number: the 16 record symbols' pictures under
// the numbers they stand for, then the other drawings.
const std::vector<SymbolDrawing>& FullSymbolDrawings()
{
    static const std::vector<SymbolDrawing> drawings = [] {
        std::vector<SymbolDrawing> all;
        for (int symbol = 0; symbol < SYMBOL_COUNT; ++symbol) {
            all.push_back({FullSymbolOfRecordSymbol(symbol), kDraw[symbol]});
        }
        AddShapeDrawings(all);
        AddPlaceDrawings(all);
        AddOutdoorDrawings(all);
        std::sort(all.begin(), all.end(), [](const SymbolDrawing& a, const SymbolDrawing& b) {
            return a.number < b.number;
        });
        return all;
    }();
    return drawings;
}

QPixmap PaintOnGrid(const std::function<void(QPainter&)>& draw, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 16.0, size / 16.0);
    draw(painter);
    return pixmap;
}

}  // namespace

QPixmap SymbolImage(int symbol, int size)
{
    if (symbol < 0 || symbol >= SYMBOL_COUNT || size <= 0) {
        return QPixmap();
    }
    return PaintOnGrid(kDraw[symbol], size);
}

QPixmap FullSymbolImage(uint16_t number, int size)
{
    if (size <= 0) {
        return QPixmap();
    }
    const std::vector<SymbolDrawing>& drawings = FullSymbolDrawings();
    auto it = std::lower_bound(drawings.begin(), drawings.end(), number,
                               [](const SymbolDrawing& d, uint16_t n) { return d.number < n; });
    bool drawn = it != drawings.end() && it->number == number;
    QString key = drawn ? QStringLiteral("orvi-symbol-%1-%2").arg(number).arg(size)
                        : QStringLiteral("orvi-symbol-plain-%1").arg(size);
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        pixmap =
            PaintOnGrid(drawn ? it->draw : std::function<void(QPainter&)>(DrawPlainMarker), size);
        QPixmapCache::insert(key, pixmap);
    }
    return pixmap;
}

std::vector<uint16_t> DrawnFullSymbols()
{
    std::vector<uint16_t> numbers;
    for (const SymbolDrawing& d : FullSymbolDrawings()) {
        numbers.push_back(d.number);
    }
    return numbers;
}

QString SymbolToolTip(uint16_t number)
{
    const char* name = SymbolName(number);
    return name ? QString::fromLatin1(name) : QStringLiteral("Symbol %1").arg(number);
}
