#pragma once

// The drawing tools of the map views, one current for the whole program. The values are
// those the tool commands and their radio marks go by.
enum class ToolKind : int {
    selection = 0,
    line = 1,
    rectangle = 2,
    roundRectangle = 3,
    ellipse = 4,
    polygon = 5,
    polyline = 6,
    text = 7,
};
