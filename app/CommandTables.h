#pragma once

#include <vector>

// The kinds of window, by the resource id of their menus and keys: each kind has a table
// of its commands, and a key of one kind never runs a command in a window of another.
constexpr int IDR_MAINFRAME = 2;  // no document open
constexpr int IDR_MAP = 3;        // a map window
constexpr int IDR_GPSDATA = 4;    // a GPS data window

// An entry of a command table: a command as a kind of window offers it, with its menu text
// and the keys shown after a tab (null for a command that has keys only), the keys that run
// it (portable QKeySequence texts) and its tool-bar icon (a freedesktop icon name).
struct CommandTableEntry {
    int id;
    const char* text;
    std::vector<const char*> keys = {};
    const char* icon = nullptr;
};

// A popup of the menu bar: command ids; 0 is a separator, ID_FILE_MRU_FIRST stands for the
// recent-file list, ID_WINDOW_LIST for the list of windows.
struct MenuPopup {
    const char* title;
    std::vector<int> commands;
};
constexpr int ID_WINDOW_LIST = -1;

struct WindowCommands {
    int resourceId;
    std::vector<CommandTableEntry> commands;
    std::vector<MenuPopup> menus;
};

// The kinds of window there are.
const std::vector<int>& WindowKinds();
// The commands of a kind (those every window has, with the kind's own added and its
// wording where it differs) and its menus. An unknown id gives the main window's.
const WindowCommands& CommandsOf(int resourceId);
// The tool bar, the same for every kind: command ids, 0 for a separator.
const std::vector<int>& ToolBarLayout();
// The menu text of a command in a kind of window, null when the kind lacks the command.
const char* MenuText(int resourceId, int commandId);
