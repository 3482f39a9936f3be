#include "app/CommandTables.h"

#include <algorithm>

#include "res/CommandIds.h"

namespace {

// What every kind of window has, worded as the main window words it.
const std::vector<CommandTableEntry>& CommonCommands()
{
    static const std::vector<CommandTableEntry> kCommon = {
        {ID_FILE_NEW, "&Neu\tCtrl+N", {"Ctrl+N"}, "document-new"},
        {ID_FILE_OPEN, "Ö&ffnen...\tCtrl+F", {"Ctrl+F", "Ctrl+O"}, "document-open"},
        {ID_FILE_SAVE, "&Speichern\tCtrl+S", {"Ctrl+S"}, "document-save"},
        {ID_FILE_PRINT_SETUP, "Drucker - &Einstellungen"},
        {ID_APP_EXIT, "Be&enden"},
        {ID_VIEW_TOOLBAR, "&Werkzeugleiste"},
        {ID_VIEW_STATUS_BAR, "&Status-Anzeige"},
        {ID_GPS_CONNECT, "&Verbindung prüfen"},
        {ID_GPS_TIME, "Zeit laden"},
        {ID_GPS_WPT_DOWNLOAD, "Waypoints laden"},
        {ID_GPS_TRK_DOWNLOAD, "Trackpoints laden"},
        {ID_GPS_POWER_OFF, "ausschalten"},
        {ID_GPS_LIVE, "&Live-Position\tCtrl+L", {"Ctrl+L"}},
        {ID_OPTIONS_FORMAT, "&Format"},
        {ID_APP_ABOUT, "&Über Orvi", {}, "help-about"},
        // On the tool bar of every window; a window of a kind that edits handles them.
        {ID_EDIT_CUT, "Cu&t\tCtrl+X", {"Ctrl+X", "Shift+Del"}, "edit-cut"},
        {ID_EDIT_COPY, "&Copy\tCtrl+C", {"Ctrl+C", "Ctrl+Ins"}, "edit-copy"},
        {ID_EDIT_PASTE, "&Paste\tCtrl+V", {"Ctrl+V", "Shift+Ins"}, "edit-paste"},
        // The map's tool bar buttons, without their keys: a map window handles them.
        {ID_DRAW_SELECT, "&Auswählen", {}, "orvi-select"},
        {ID_DRAW_TEXT, "&Text", {}, "orvi-text"},
        {ID_DRAW_LINE, "&Linie", {}, "orvi-line"},
        {ID_DRAW_RECT, "&Rechteck", {}, "orvi-rectangle"},
        {ID_DRAW_ROUNDRECT, "&Abgerundetes Rechteck", {}, "orvi-roundrect"},
        {ID_DRAW_ELLIPSE, "&Ellipse", {}, "orvi-ellipse"},
        {ID_DRAW_POLYGON, "&Polygon", {}, "orvi-polygon"},
        {ID_FILE_PRINT, "&Drucken...\tCtrl+P", {}, "document-print"},
    };
    return kCommon;
}

// The commands of a document window that the main window lacks; a document window of
// any kind has these too.
const std::vector<CommandTableEntry>& DocumentWindowCommands()
{
    static const std::vector<CommandTableEntry> kDocument = {
        {ID_FILE_CLOSE, "&Schließen"},
        {ID_EDIT_UNDO, "&Rückgängig\tCtrl+Z", {"Ctrl+Z", "Alt+Backspace"}},
        {ID_EDIT_REDO, "&Wiederherstellen\tCtrl+Y", {"Ctrl+Y", "Ctrl+Shift+Z"}},
        {ID_FILE_SAVE_AS, "Speichern &unter..."},
        {ID_WINDOW_NEW, "&Neues Fenster"},
        {ID_WINDOW_CASCADE, "Ü&berlappend"},
        {ID_WINDOW_TILE_HORZ, "&Nebeneinander"},
        {ID_WINDOW_ARRANGE, "&Symbole anordnen"},
    };
    return kDocument;
}

const std::vector<CommandTableEntry>& GpsDataCommands()
{
    static const std::vector<CommandTableEntry> kGpsData = {
        // Ctrl+N makes a new waypoint here.
        {ID_FILE_NEW, "&Neu", {}, "document-new"},
        {ID_EDIT_CLEAR, "&Delete\tDel", {"Del"}},
        {ID_EDIT_NEW_WAYPOINT, "&New Waypoint\tCtrl+N", {"Ctrl+N"}},
        {ID_EDIT_MOVE_WAYPOINTS, "Move Waypoints..."},
        {ID_FILE_IMPORT_GPX, "GPX &importieren..."},
        {ID_FILE_EXPORT_GPX, "GPX e&xportieren..."},
        {ID_VIEW_WAYPOINTS, "&Waypoints"},
        {ID_VIEW_TRACKPOINTS, "&Trackpoints"},
        {ID_VIEW_ROUTES, "&Routen"},
        {ID_ROUTE_NEW, "Neue Route aus &Auswahl\tCtrl+R", {"Ctrl+R"}},
        {ID_ROUTE_INSERT, "In Route &einfügen\tIns", {"Ins"}},
        {ID_ROUTE_MOVE_UP, "Punkt nach &oben\tCtrl+Up", {"Ctrl+Up"}},
        {ID_ROUTE_MOVE_DOWN, "Punkt nach &unten\tCtrl+Down", {"Ctrl+Down"}},
        {ID_ROUTE_REVERSE, "Route um&kehren"},
        {ID_ROUTE_RENAME, "Route u&mbenennen\tF2"},
        {ID_VIEW_PLOT, "Ü&bersichtskarte"},
        {ID_VIEW_FIT_ALL, "&Alles zeigen"},
        {ID_VIEW_FIT_SELECTION, "A&uswahl zeigen"},
        {ID_FILE_MAP_FROM_POINTS, "Als &Karte übernehmen"},
        {ID_GPS_WPT_DOWNLOAD, "Waypoints download"},
        {ID_GPS_TRK_DOWNLOAD, "Trackpoints download"},
        {ID_GPS_WPT_UPLOAD, "Waypoints upload"},
        {ID_GPS_TRK_UPLOAD, "Trackpoints upload"},
        {ID_GPS_RTE_DOWNLOAD, "Routen download"},
        {ID_GPS_RTE_UPLOAD, "Routen upload"},
        {ID_GPS_RECORD, "&Aufzeichnen"},
        {ID_VIEW_FOLLOW_CENTRED, "Position &zentriert"},
        {ID_VIEW_FOLLOW_IN_VIEW, "Position im &Bild"},
        {ID_VIEW_FOLLOW_OFF, "&Nicht folgen"},
    };
    return kGpsData;
}

const std::vector<CommandTableEntry>& MapCommands()
{
    static const std::vector<CommandTableEntry> kMap = {
        {ID_FILE_PRINT, "&Drucken...\tCtrl+P", {"Ctrl+P"}, "document-print"},
        {ID_FILE_PRINT_PREVIEW, "Druck &Vorschau"},
        {ID_EDIT_CLEAR, "&Delete\tDel", {"Del"}},
        {ID_EDIT_SELECT_ALL, "Select &All\tCtrl+A", {"Ctrl+A"}},
        {ID_EDIT_PROPERTIES, "Proper&ties...\tAlt+Enter", {"Alt+Return", "Alt+Enter"}},
        {ID_TEXT_INPUT, "Texte eingeben"},
        {ID_OLE_INSERT_NEW, "Insert &New Object..."},
        {ID_FILE_SUMMARYINFO, "Summary &Info..."},
        {ID_MAP_CALIBRATE, "Karte &kalibrieren..."},
        // The tools: single keys, with or without Shift.
        {ID_DRAW_SELECT, "&Auswählen", {"S", "Shift+S"}, "orvi-select"},
        {ID_DRAW_TEXT, "&Text", {}, "orvi-text"},
        {ID_DRAW_LINE, "&Linie", {"L", "Shift+L"}, "orvi-line"},
        {ID_DRAW_RECT, "&Rechteck", {"R", "Shift+R"}, "orvi-rectangle"},
        {ID_DRAW_ROUNDRECT, "&Abgerundetes Rechteck", {"N", "Shift+N"}, "orvi-roundrect"},
        {ID_DRAW_ELLIPSE, "&Ellipse", {"E", "Shift+E"}, "orvi-ellipse"},
        {ID_DRAW_POLYGON, "&Polygon", {}, "orvi-polygon"},
        {ID_DRAW_POLYLINE, "Poly-Linie", {}, "orvi-polyline"},
        {ID_CANCEL_EDIT, nullptr, {"Esc"}},
        {ID_VIEW_GRID, "Hilfs&gitter \tG", {"G", "Shift+G"}},
        {ID_VIEW_PRINTER_PIXELS, "Drucker-&Pixel"},
        {ID_VIEW_SHOWOBJECTS, "&Objekt - Anzeige"},
        {ID_VIEW_PAPERCOLOR, "&Hintergrundfarbe..."},
        {ID_VIEW_ZOOM_IN, "Ver&größern"},
        {ID_VIEW_ZOOM_OUT, "Ver&kleinern"},
        {ID_VIEW_ZOOM_100, "&100 %"},
        {ID_OBJECT_LINECOLOR, "&Line Color..."},
        {ID_OBJECT_FILLCOLOR, "&Fill Color..."},
        {ID_OBJECT_MOVETOFRONT, "In den Vordergrund\tCtrl+Plus", {"+", "Ctrl+Num++"}},
        {ID_OBJECT_MOVETOBACK, "In den Hintergrund\tCtrl+Minus", {"_", "Ctrl+Num+-"}},
        {ID_OBJECT_MOVEFORWARD, "Ebene nach vorn\tPlus", {"=", "Num++"}},
        {ID_OBJECT_MOVEBACK, "Ebene nach hinten\tMinus", {"-", "Num+-"}},
        {ID_GPS_CONNECT, "Connect"},
        {ID_WINDOW_SPLIT, "&Teilen"},
    };
    return kMap;
}

// `base` with each entry of `own` replacing the one of the same id, or added.
std::vector<CommandTableEntry> Merge(std::vector<CommandTableEntry> base,
                                     const std::vector<CommandTableEntry>& own)
{
    for (const CommandTableEntry& entry : own) {
        auto same = std::find_if(base.begin(), base.end(),
                                 [&](const CommandTableEntry& c) { return c.id == entry.id; });
        if (same != base.end()) {
            *same = entry;
        } else {
            base.push_back(entry);
        }
    }
    return base;
}

const WindowCommands& MainWindowCommands()
{
    static const WindowCommands kMain = {
        IDR_MAINFRAME,
        CommonCommands(),
        {
            {"&Datei",
             {ID_FILE_NEW, ID_FILE_OPEN, 0, ID_FILE_PRINT_SETUP, 0, ID_FILE_MRU_FIRST, 0,
              ID_APP_EXIT}},
            {"&Ansicht", {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR}},
            {"GPS",
             {ID_GPS_CONNECT, ID_GPS_TIME, ID_GPS_WPT_DOWNLOAD, ID_GPS_TRK_DOWNLOAD, 0, ID_GPS_LIVE,
              0, ID_GPS_POWER_OFF}},
            {"&Optionen", {ID_OPTIONS_FORMAT}},
            {"&Hilfe", {ID_APP_ABOUT}},
        },
    };
    return kMain;
}

const WindowCommands& GpsDataWindowCommands()
{
    static const WindowCommands kGpsData = {
        IDR_GPSDATA,
        Merge(Merge(CommonCommands(), DocumentWindowCommands()), GpsDataCommands()),
        {
            {"&Datei",
             {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_CLOSE, ID_FILE_SAVE, ID_FILE_SAVE_AS, 0,
              ID_FILE_IMPORT_GPX, ID_FILE_EXPORT_GPX, ID_FILE_MAP_FROM_POINTS, 0,
              ID_FILE_PRINT_SETUP, 0, ID_FILE_MRU_FIRST, 0, ID_APP_EXIT}},
            {"&Bearbeiten",
             {ID_EDIT_UNDO, ID_EDIT_REDO, 0, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE,
              ID_EDIT_CLEAR, 0, ID_EDIT_NEW_WAYPOINT, ID_EDIT_MOVE_WAYPOINTS, 0, ID_ROUTE_NEW,
              ID_ROUTE_INSERT, ID_ROUTE_MOVE_UP, ID_ROUTE_MOVE_DOWN, ID_ROUTE_REVERSE,
              ID_ROUTE_RENAME}},
            {"&Ansicht",
             {ID_VIEW_WAYPOINTS, ID_VIEW_TRACKPOINTS, ID_VIEW_ROUTES, 0, ID_VIEW_PLOT,
              ID_VIEW_FIT_ALL, ID_VIEW_FIT_SELECTION, 0, ID_VIEW_FOLLOW_CENTRED,
              ID_VIEW_FOLLOW_IN_VIEW, ID_VIEW_FOLLOW_OFF, 0, ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR}},
            {"GPS",
             {ID_GPS_CONNECT, ID_GPS_TIME, 0, ID_GPS_WPT_DOWNLOAD, ID_GPS_TRK_DOWNLOAD,
              ID_GPS_RTE_DOWNLOAD, 0, ID_GPS_WPT_UPLOAD, ID_GPS_TRK_UPLOAD, ID_GPS_RTE_UPLOAD, 0,
              ID_GPS_LIVE, ID_GPS_RECORD, 0, ID_GPS_POWER_OFF}},
            {"&Optionen", {ID_OPTIONS_FORMAT}},
            {"&Fenster",
             {ID_WINDOW_NEW, ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_WINDOW_ARRANGE, 0,
              ID_WINDOW_LIST}},
            {"&Hilfe", {ID_APP_ABOUT}},
        },
    };
    return kGpsData;
}

const WindowCommands& MapWindowCommands()
{
    static const WindowCommands kMap = {
        IDR_MAP,
        Merge(Merge(CommonCommands(), DocumentWindowCommands()), MapCommands()),
        {
            {"&Datei",
             {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_CLOSE, ID_FILE_SAVE, ID_FILE_SAVE_AS, 0,
              ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_SETUP, 0, ID_FILE_SUMMARYINFO, 0,
              ID_FILE_MRU_FIRST, 0, ID_APP_EXIT}},
            {"&Bearbeiten",
             {ID_EDIT_UNDO, ID_EDIT_REDO, 0, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE,
              ID_EDIT_CLEAR, 0, ID_EDIT_SELECT_ALL, 0, ID_OLE_INSERT_NEW, ID_EDIT_PROPERTIES, 0,
              ID_TEXT_INPUT, 0, ID_MAP_CALIBRATE}},
            {"&Ansicht",
             {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, 0, ID_VIEW_GRID, ID_VIEW_PRINTER_PIXELS,
              ID_VIEW_SHOWOBJECTS, 0, ID_VIEW_ZOOM_IN, ID_VIEW_ZOOM_OUT, ID_VIEW_ZOOM_100, 0,
              ID_VIEW_PAPERCOLOR}},
            {"&Zeichnen",
             {ID_DRAW_SELECT, ID_DRAW_TEXT, ID_DRAW_LINE, ID_DRAW_RECT, ID_DRAW_ROUNDRECT,
              ID_DRAW_ELLIPSE, ID_DRAW_POLYGON, ID_DRAW_POLYLINE, 0, ID_OBJECT_LINECOLOR,
              ID_OBJECT_FILLCOLOR, 0, ID_OBJECT_MOVETOFRONT, ID_OBJECT_MOVETOBACK,
              ID_OBJECT_MOVEFORWARD, ID_OBJECT_MOVEBACK}},
            {"GPS", {ID_GPS_CONNECT, 0, ID_GPS_LIVE}},
            {"&Fenster",
             {ID_WINDOW_NEW, ID_WINDOW_SPLIT, 0, ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ,
              ID_WINDOW_ARRANGE, 0, ID_WINDOW_LIST}},
            {"&Hilfe", {ID_APP_ABOUT}},
        },
    };
    return kMap;
}

}  // namespace

const std::vector<int>& WindowKinds()
{
    static const std::vector<int> kKinds = {IDR_MAINFRAME, IDR_GPSDATA, IDR_MAP};
    return kKinds;
}

const WindowCommands& CommandsOf(int resourceId)
{
    switch (resourceId) {
    case IDR_GPSDATA:
        return GpsDataWindowCommands();
    case IDR_MAP:
        return MapWindowCommands();
    default:
        return MainWindowCommands();
    }
}

const std::vector<int>& ToolBarLayout()
{
    static const std::vector<int> kToolBar = {
        ID_FILE_NEW,       ID_FILE_OPEN,    ID_FILE_SAVE,    0,
        ID_EDIT_CUT,       ID_EDIT_COPY,    ID_EDIT_PASTE,   0,
        ID_DRAW_SELECT,    ID_DRAW_TEXT,    ID_DRAW_LINE,    ID_DRAW_RECT,
        ID_DRAW_ROUNDRECT, ID_DRAW_ELLIPSE, ID_DRAW_POLYGON, 0,
        ID_FILE_PRINT,     ID_APP_ABOUT};
    return kToolBar;
}

const char* MenuText(int resourceId, int commandId)
{
    for (const CommandTableEntry& entry : CommandsOf(resourceId).commands) {
        if (entry.id == commandId) {
            return entry.text;
        }
    }
    return nullptr;
}
