#include "app/MenuLayout.h"

#include "res/CommandIds.h"

const std::vector<MenuPopup>& MenuLayout(int resourceId)
{
    static const std::vector<MenuPopup> kMain = {
        {"&Datei",
         {ID_FILE_NEW, ID_FILE_OPEN, 0, ID_FILE_PRINT_SETUP, 0, ID_FILE_MRU_FIRST, 0, ID_APP_EXIT}},
        {"&Ansicht", {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR}},
        {"GPS",
         {ID_GPS_CONNECT, ID_GPS_TIME, ID_GPS_WPT_DOWNLOAD, ID_GPS_TRK_DOWNLOAD, ID_GPS_POWER_OFF}},
        {"&Optionen", {ID_OPTIONS_FORMAT}},
        {"&Hilfe", {ID_APP_ABOUT}},
    };
    static const std::vector<MenuPopup> kGpsData = {
        {"&Datei",
         {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_CLOSE, ID_FILE_SAVE, ID_FILE_SAVE_AS, 0,
          ID_FILE_IMPORT_GPX, ID_FILE_EXPORT_GPX, 0, ID_FILE_PRINT_SETUP, 0, ID_FILE_MRU_FIRST, 0,
          ID_APP_EXIT}},
        {"&Bearbeiten",
         {ID_EDIT_UNDO, ID_EDIT_REDO, 0, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_EDIT_CLEAR, 0,
          ID_EDIT_NEW_WAYPOINT, ID_EDIT_MOVE_WAYPOINTS}},
        {"&Ansicht",
         {ID_VIEW_WAYPOINTS, ID_VIEW_TRACKPOINTS, 0, ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR}},
        {"GPS",
         {ID_GPS_CONNECT, ID_GPS_TIME, 0, ID_GPS_WPT_DOWNLOAD, ID_GPS_TRK_DOWNLOAD, 0,
          ID_GPS_WPT_UPLOAD, ID_GPS_TRK_UPLOAD, 0, ID_GPS_POWER_OFF}},
        {"&Optionen", {ID_OPTIONS_FORMAT}},
        {"&Fenster",
         {ID_WINDOW_NEW, ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_WINDOW_ARRANGE, 0,
          ID_WINDOW_LIST}},
        {"&Hilfe", {ID_APP_ABOUT}},
    };
    return resourceId == IDR_GPSDATA ? kGpsData : kMain;
}

const char* MenuText(int resourceId, int commandId)
{
    switch (commandId) {
    case ID_FILE_NEW:
        return "&Neu\tCtrl+N";
    case ID_FILE_OPEN:
        return "Ö&ffnen...\tCtrl+F";
    case ID_FILE_CLOSE:
        return "&Schließen";
    case ID_FILE_SAVE:
        return "&Speichern\tCtrl+S";
    case ID_FILE_SAVE_AS:
        return "Speichern &unter...";
    case ID_FILE_PRINT_SETUP:
        return "Drucker - &Einstellungen";
    case ID_APP_EXIT:
        return "Be&enden";
    case ID_VIEW_TOOLBAR:
        return "&Werkzeugleiste";
    case ID_VIEW_STATUS_BAR:
        return "&Status-Anzeige";
    case ID_APP_ABOUT:
        return "&Über Orvi";
    case ID_OPTIONS_FORMAT:
        return "&Format";
    case ID_EDIT_CLEAR:
        return "&Delete\tDel";
    case ID_EDIT_CUT:
        return "Cu&t\tCtrl+X";
    case ID_EDIT_COPY:
        return "&Copy\tCtrl+C";
    case ID_EDIT_PASTE:
        return "&Paste\tCtrl+V";
    case ID_EDIT_NEW_WAYPOINT:
        return "&New Waypoint\tCtrl+N";
    case ID_EDIT_MOVE_WAYPOINTS:
        return "Move Waypoints...";
    case ID_FILE_IMPORT_GPX:
        return "GPX &importieren...";
    case ID_FILE_EXPORT_GPX:
        return "GPX e&xportieren...";
    case ID_EDIT_UNDO:
        return "&Rückgängig\tCtrl+Z";
    case ID_EDIT_REDO:
        return "&Wiederherstellen\tCtrl+Y";
    case ID_VIEW_WAYPOINTS:
        return "&Waypoints";
    case ID_VIEW_TRACKPOINTS:
        return "&Trackpoints";
    case ID_GPS_CONNECT:
        return "&Verbindung prüfen";
    case ID_GPS_TIME:
        return "Zeit laden";
    case ID_GPS_WPT_DOWNLOAD:
        return resourceId == IDR_GPSDATA ? "Waypoints download" : "Waypoints laden";
    case ID_GPS_TRK_DOWNLOAD:
        return resourceId == IDR_GPSDATA ? "Trackpoints download" : "Trackpoints laden";
    case ID_GPS_WPT_UPLOAD:
        return "Waypoints upload";
    case ID_GPS_TRK_UPLOAD:
        return "Trackpoints upload";
    case ID_GPS_POWER_OFF:
        return "ausschalten";
    case ID_WINDOW_NEW:
        return "&Neues Fenster";
    case ID_WINDOW_CASCADE:
        return "Ü&berlappend";
    case ID_WINDOW_TILE_HORZ:
        return "&Nebeneinander";
    case ID_WINDOW_ARRANGE:
        return "&Symbole anordnen";
    default:
        return nullptr;
    }
}
