#pragma once

#include <string>

class CDrawDoc;
class QPainter;

// The page of a map as the map window shows it: the paper colour over the whole page, the
// objects bottom to top (embedded objects with their frames); no grid, no handles. One
// document unit per painter unit, origin at the page's top-left corner.
void PaintMapPage(const CDrawDoc& doc, QPainter& painter);

// Writes the page to `path` by its ending: ".png" at one pixel per unit, ".pdf" and ".svg"
// at 96 units per inch. Needs a QGuiApplication. False with `error` set when the ending is
// unknown or the file cannot be written.
bool RenderMapFile(const CDrawDoc& doc, const std::string& path, std::string& error);
