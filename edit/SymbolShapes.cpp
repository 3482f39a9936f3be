// The geometric full-table symbols: coloured flags, pins, blocks and shapes, letters and
// numbers on a coloured ground, the map buoys (navaids) of their colours.

#include <algorithm>

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include "edit/SymbolDrawing.h"

namespace {

struct RowColour {
    uint16_t offset;  // of this colour's symbol from the first of its row
    QColor colour;
};

void FlagShape(QPainter& p, const QColor& colour)
{
    p.setPen(SymbolInk(1.5));
    p.drawLine(QPointF(3, 1.5), QPointF(3, 15));
    p.setPen(SymbolInk());
    p.setBrush(colour);
    p.drawRect(QRectF(3.5, 2, 10.5, 6.5));
}

void PinShape(QPainter& p, const QColor& colour)
{
    p.setPen(SymbolInk());
    p.setBrush(colour);
    QPainterPath pin;
    pin.moveTo(8, 15);
    pin.cubicTo(6.5, 11, 3, 9.5, 3, 6);
    pin.arcTo(QRectF(3, 1, 10, 10), 180, -180);
    pin.cubicTo(13, 9.5, 9.5, 11, 8, 15);
    p.drawPath(pin);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8, 6), 1.8, 1.8);
}

// A block seen from above and the side: front face, lit top, shaded side.
void BlockShape(QPainter& p, const QColor& colour)
{
    p.setPen(SymbolInk());
    p.setBrush(colour.lighter(150));
    p.drawPolygon(QPolygonF({{2, 6}, {6, 2}, {14, 2}, {10, 6}}));
    p.setBrush(colour.darker(140));
    p.drawPolygon(QPolygonF({{10, 6}, {14, 2}, {14, 10}, {10, 14}}));
    p.setBrush(colour);
    p.drawRect(QRectF(2, 6, 8, 8));
}

void CircleShape(QPainter& p, const QColor& colour)
{
    p.setPen(SymbolInk());
    p.setBrush(colour);
    p.drawEllipse(QPointF(8, 8), 6, 6);
}

void DiamondShape(QPainter& p, const QColor& colour)
{
    p.setPen(SymbolInk());
    p.setBrush(colour);
    p.drawPolygon(QPolygonF({{8, 1.5}, {14.5, 8}, {8, 14.5}, {1.5, 8}}));
}

void SquareShape(QPainter& p, const QColor& colour)
{
    p.setPen(SymbolInk());
    p.setBrush(colour);
    p.drawRect(QRectF(2.5, 2.5, 11, 11));
}

void OvalShape(QPainter& p, const QColor& colour)
{
    p.setPen(SymbolInk());
    p.setBrush(colour);
    p.drawEllipse(QRectF(1, 4, 14, 8));
}

void RectangleShape(QPainter& p, const QColor& colour)
{
    p.setPen(SymbolInk());
    p.setBrush(colour);
    p.drawRect(QRectF(1, 4, 14, 8));
}

void TriangleShape(QPainter& p, const QColor& colour)
{
    p.setPen(SymbolInk());
    p.setBrush(colour);
    p.drawPolygon(QPolygonF({{8, 1.5}, {15, 14}, {1, 14}}));
}

void LetterShape(QPainter& p, const QColor& colour, QChar letter)
{
    p.setPen(SymbolInk());
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 2.5, 2.5);
    DrawSymbolText(p, QString(letter), QRectF(1.5, 1.5, 13, 13), 8.5);
}

void NumberShape(QPainter& p, const QColor& colour, QChar digit)
{
    p.setPen(SymbolInk());
    p.setBrush(colour);
    p.drawEllipse(QPointF(8, 8), 6.8, 6.8);
    DrawSymbolText(p, QString(digit), QRectF(1.2, 1.2, 13.6, 13.6), 8.5);
}

// A can buoy floating upright, its upper half of one colour and its lower of another.
void NavaidShape(QPainter& p, const QColor& top, const QColor& bottom)
{
    QPolygonF body({{5, 3}, {11, 3}, {12.5, 13}, {3.5, 13}});
    p.setPen(Qt::NoPen);
    p.setBrush(top);
    p.drawPolygon(QPolygonF({{5, 3}, {11, 3}, {11.75, 8}, {4.25, 8}}));
    p.setBrush(bottom);
    p.drawPolygon(QPolygonF({{4.25, 8}, {11.75, 8}, {12.5, 13}, {3.5, 13}}));
    p.setPen(SymbolInk());
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(body);
    p.drawLine(QPointF(8, 3), QPointF(8, 0.8));
    p.drawLine(QPointF(1.5, 14.5), QPointF(14.5, 14.5));
}

void WhiteDot(QPainter& p)
{
    p.setPen(SymbolInk());
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8, 8), 4.5, 4.5);
}

void CircleWithX(QPainter& p)
{
    p.setPen(SymbolInk(1.3));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8, 8), 6, 6);
    p.drawLine(QPointF(5, 5), QPointF(11, 11));
    p.drawLine(QPointF(11, 5), QPointF(5, 11));
}

using ColouredShape = void (*)(QPainter&, const QColor&);

// Adds one symbol of `shape` for each colour, numbered from `first`.
void AddRow(std::vector<SymbolDrawing>& out, uint16_t first, ColouredShape shape,
            std::initializer_list<RowColour> colours)
{
    for (const RowColour& c : colours) {
        QColor colour = c.colour;
        out.push_back(
            {uint16_t(first + c.offset), [shape, colour](QPainter& p) { shape(p, colour); }});
    }
}

}  // namespace

void DrawSymbolText(QPainter& p, const QString& text, const QRectF& box, double height,
                    const QColor& colour)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setPixelSize(100);
    QPainterPath path;
    path.addText(0, 0, font, text);
    QRectF bounds = path.boundingRect();
    if (bounds.isEmpty()) {
        return;
    }
    double scale = std::min(height / bounds.height(), box.width() / bounds.width());
    p.save();
    p.translate(box.center());
    p.scale(scale, scale);
    p.translate(-bounds.center());
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(path);
    p.restore();
}

void AddShapeDrawings(std::vector<SymbolDrawing>& out)
{
    const QColor red = kSymbolRed, green = kSymbolGreen, blue = kSymbolBlue;
    // Blue, green, red for flags, pins, blocks and triangles; red, green, blue for
    // circles, ovals and rectangles.
    AddRow(out, 8284, FlagShape, {{0, blue}, {1, green}, {2, red}});
    AddRow(out, 8287, PinShape, {{0, blue}, {1, green}, {2, red}});
    AddRow(out, 8290, BlockShape, {{0, blue}, {1, green}, {2, red}});
    AddRow(out, 8351, TriangleShape, {{0, blue}, {1, green}, {2, red}});
    AddRow(out, 8294, CircleShape, {{0, red}, {1, green}, {2, blue}});
    AddRow(out, 8300, OvalShape, {{0, red}, {1, green}, {2, blue}});
    AddRow(out, 8303, RectangleShape, {{0, red}, {1, green}, {2, blue}});
    AddRow(out, 2, DiamondShape, {{0, green}, {1, red}});
    AddRow(out, 8299, DiamondShape, {{0, blue}});
    AddRow(out, 15, SquareShape, {{0, green}, {1, red}});
    AddRow(out, 8308, SquareShape, {{0, blue}});

    // Letters A to D: red from 8309, green from 8313 (in the order A, C, B, D), blue from
    // 8317. Numbers 0 to 9: red from 8321, green from 8331, blue from 8341.
    const char* const greenLetters = "ACBD";
    for (int i = 0; i < 4; ++i) {
        QChar letter('A' + i), greenLetter(greenLetters[i]);
        out.push_back({uint16_t(8309 + i), [=](QPainter& p) { LetterShape(p, red, letter); }});
        out.push_back(
            {uint16_t(8313 + i), [=](QPainter& p) { LetterShape(p, green, greenLetter); }});
        out.push_back({uint16_t(8317 + i), [=](QPainter& p) { LetterShape(p, blue, letter); }});
    }
    for (int i = 0; i < 10; ++i) {
        QChar digit('0' + i);
        out.push_back({uint16_t(8321 + i), [=](QPainter& p) { NumberShape(p, red, digit); }});
        out.push_back({uint16_t(8331 + i), [=](QPainter& p) { NumberShape(p, green, digit); }});
        out.push_back({uint16_t(8341 + i), [=](QPainter& p) { NumberShape(p, blue, digit); }});
    }

    // Navaids 22 to 35: amber, black, blue, green, green/red, green/white, orange, red,
    // red/green, red/white, violet, white, white/green, white/red.
    const QColor amber(250, 185, 20), black(30, 30, 30), orange(245, 120, 20), violet(135, 60, 185),
        white(Qt::white);
    const QColor navaids[][2] = {
        {amber, amber},   {black, black},   {blue, blue},   {green, green}, {green, red},
        {green, white},   {orange, orange}, {red, red},     {red, green},   {red, white},
        {violet, violet}, {white, white},   {white, green}, {white, red},
    };
    for (uint16_t i = 0; i < std::size(navaids); ++i) {
        QColor top = navaids[i][0], bottom = navaids[i][1];
        out.push_back({uint16_t(22 + i), [=](QPainter& p) { NavaidShape(p, top, bottom); }});
    }

    out.push_back({36, WhiteDot});
    out.push_back({179, CircleWithX});
}
