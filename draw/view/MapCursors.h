#pragma once

#include <QCursor>

#include "draw/model/MapToolView.h"

// The cursor a drawing tool asks for: the system arrow, cross and sizing arrows, and the
// program's own pencil (freehand polygons), drawn here with its tip at the hot spot.
QCursor CursorFor(ToolCursor cursor);
