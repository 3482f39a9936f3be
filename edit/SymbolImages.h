#pragma once

#include <QPixmap>

// The picture of a waypoint symbol (WaypointSymbol 0 to 15: dot, house, gas, car, fish,
// boat, anchor, wreck, exit, skull, flag, camp, duck, deer, buoy, temp), `size` x `size`
// pixels on a transparent ground; 16 is the size of the lists. An empty pixmap for values
// outside 0 to 15. Needs a QGuiApplication.
QPixmap SymbolImage(int symbol, int size = 16);
