#pragma once

#include <vector>

// The menus of the main window, by resource: 2 with no document open, 4 for a GPS data
// window. A popup lists command ids; 0 is a separator, ID_FILE_MRU_FIRST stands for the
// recent-file list, ID_WINDOW_LIST for the list of windows.
struct MenuPopup {
    const char* title;
    std::vector<int> commands;
};

constexpr int IDR_MAINFRAME = 2;
constexpr int IDR_GPSDATA = 4;
constexpr int ID_WINDOW_LIST = -1;

const std::vector<MenuPopup>& MenuLayout(int resourceId);

// The menu text of a command in the menus of `resourceId` ("&Verbindung prüfen",
// "Waypoints laden" in the main menu, "Waypoints download" in a GPS data window), with
// the shortcut after a tab; nullptr for a command the program does not have.
const char* MenuText(int resourceId, int commandId);
