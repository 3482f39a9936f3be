#pragma once

#include <cstdint>
#include <vector>

#include <QPixmap>
#include <QString>

// The picture of a waypoint symbol (WaypointSymbol 0 to 15: dot, house, gas, car, fish,
// boat, anchor, wreck, exit, skull, flag, camp, duck, deer, buoy, temp), `size` x `size`
// pixels on a transparent ground; 16 is the size of the lists. An empty pixmap for values
// outside 0 to 15. Needs a QGuiApplication.
QPixmap SymbolImage(int symbol, int size = 16);

// The picture of a full-table symbol (gps/SymbolTable.h), `size` x `size` pixels on a
// transparent ground: the record symbols' pictures for the 16 full symbols they stand for,
// drawings of the common symbols, and for every other number (SYMBOL_NONE too) a plain
// marker, a grey ring around a dot. Pictures are kept in QPixmapCache. Needs a
// QGuiApplication.
QPixmap FullSymbolImage(uint16_t number, int size = 16);

// The full-table symbols FullSymbolImage draws a picture of, ascending.
std::vector<uint16_t> DrawnFullSymbols();

// The text of a symbol's tool tip: its name in the table, or "Symbol N" for a number the
// table does not name.
QString SymbolToolTip(uint16_t number);
