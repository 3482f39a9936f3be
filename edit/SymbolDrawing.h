#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include <QColor>
#include <QPen>

class QPainter;
class QRectF;
class QString;

// The drawings of full-table waypoint symbols, shared by the files that hold them. Each
// draws on a 16 x 16 grid that the caller scales to the pixmap.

struct SymbolDrawing {
    uint16_t number;  // full-table symbol number (gps/SymbolTable.h)
    std::function<void(QPainter&)> draw;
};

// The ink of outlines and dark details.
inline const QColor kSymbolInk(20, 20, 20);

inline QPen SymbolInk(double width = 1.0)
{
    return QPen(kSymbolInk, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// The three colours of the coloured symbols (flags, pins, blocks, shapes, letters, numbers).
inline const QColor kSymbolRed(215, 35, 35);
inline const QColor kSymbolGreen(30, 150, 60);
inline const QColor kSymbolBlue(35, 85, 205);

// The other colours the drawings share.
inline const QColor kSymbolWater(120, 180, 230);
inline const QColor kSymbolWave(20, 60, 140);
inline const QColor kSymbolWood(140, 85, 35);
inline const QColor kSymbolStone(200, 200, 200);
inline const QColor kSymbolSign(35, 85, 205);
inline const QColor kSymbolGrass(80, 160, 60);
inline const QColor kSymbolGold(240, 190, 30);

// `text` in bold sans serif of `colour`, `height` grid units high (narrower when it would
// be wider than `box`), centred in `box`.
void DrawSymbolText(QPainter& p, const QString& text, const QRectF& box, double height,
                    const QColor& colour = Qt::white);

// Geometric symbols: coloured shapes, letters and numbers, navigation buoys.
void AddShapeDrawings(std::vector<SymbolDrawing>& drawings);

// Services and buildings: parking, restaurant, lodging, towns, airport ...
void AddPlaceDrawings(std::vector<SymbolDrawing>& drawings);

// The outdoors: summit, forest, beach, boat ramp, trail head ...
void AddOutdoorDrawings(std::vector<SymbolDrawing>& drawings);
