#include "res/StringTable.h"

#include "res/CommandIds.h"

const char* LoadString(int id)
{
    switch (id) {
    case IDS_GPS_OPEN_FAILED:
        return "Fehler beim Öffnen der seriellen Kommunikation:\n%%s";
    case IDS_GPS_DISTURBED:
        return "Kommunikation zum GPS gestört";
    case IDS_GPS_READY:
        return "GPS bereit";
    case IDS_GPS_FORMAT:
        return "Fehler in der Kommunikation zum GPS (Format)";
    case IDS_GPS_CHECKSUM:
        return "Fehler in der Kommunikation zum GPS (Checksumme falsch)";
    case IDS_GPS_ERROR_REPORT:
        return "Fehlermeldung des GPS";
    case IDS_GPS_SET_CLOCK:
        return "Zeit des GPS-Empfängers:\t%s\naktuelle Systemzeit:\t%s\n\nSystemzeit stellen?";
    default:
        return "";
    }
}

const char* CommandPrompt(int commandId)
{
    switch (commandId) {
    case ID_FILE_NEW:
        return "Erstellt ein neues Dokument\nNeu";
    case ID_FILE_OPEN:
        return "Öffnet ein bestehendes Dokument\nÖffnen";
    case ID_FILE_CLOSE:
        return "Schließt das aktive Dokument\nSchließen";
    case ID_FILE_SAVE:
        return "Speichert das aktive Dokument\nSpeichern";
    case ID_FILE_SAVE_AS:
        return "Speichert das aktive Dokument unter neuem Namen\nSpeichern unter";
    case ID_FILE_PRINT_SETUP:
        return "Ändert die Druckeroptionen\nDruckereinrichtung";
    case ID_APP_EXIT:
        return "Verlässt die Anwendung; fragt, ob Dokumente gespeichert werden sollen\nBeenden";
    case ID_APP_ABOUT:
        return "Zeigt Programm-Informationen, Versionsnummer und Copyright an\nInfo";
    case ID_VIEW_TOOLBAR:
        return "Blendet die Symbolleiste ein oder aus\nSymbolleiste ein-/ausblenden";
    case ID_VIEW_STATUS_BAR:
        return "Blendet die Statusleiste ein oder aus\nStatusleiste ein-/ausblenden";
    case ID_WINDOW_NEW:
        return "Öffnet ein weiteres Fenster für das aktive Dokument\nNeues Fenster";
    case ID_WINDOW_CASCADE:
        return "Ordnet Fenster überlappend an\nÜberlappend";
    case ID_WINDOW_TILE_HORZ:
        return "Ordnet Fenster nebeneinander an\nNebeneinander";
    case ID_WINDOW_ARRANGE:
        return "Ordnet Symbole am unteren Fensterrand an\nSymbole anordnen";
    case ID_EDIT_CLEAR:
        return "Erase the selection\nErase";
    case ID_EDIT_CUT:
        return "Cut the selection (all selected points!) and put it on the Clipboard\nCut";
    case ID_EDIT_COPY:
        return "Copy the selection (all selected points!) to the Clipboard\nCopy";
    case ID_EDIT_PASTE:
        return "Insert Clipboard contents\nPaste";
    case ID_EDIT_NEW_WAYPOINT:
        return "Generate and edit a new waypoint\nNew Waypoint";
    case ID_EDIT_MOVE_WAYPOINTS:
        return "moves the coordinates of all selected Waypoints\nmove Waypoints";
    case ID_FILE_IMPORT_GPX:
        return "Fügt die Waypoints und Tracks einer GPX-Datei hinzu\nGPX importieren";
    case ID_FILE_EXPORT_GPX:
        return "Schreibt Waypoints und Tracklog in eine GPX-Datei\nGPX exportieren";
    case ID_EDIT_UNDO:
        return "Macht die letzte Änderung rückgängig\nRückgängig";
    case ID_EDIT_REDO:
        return "Stellt die zuletzt rückgängig gemachte Änderung wieder her\nWiederherstellen";
    case ID_VIEW_WAYPOINTS:
        return "zeigt die Liste der Waypoint - Daten an\nWaypoints";
    case ID_VIEW_TRACKPOINTS:
        return "zeigt die Liste der Trackpoint - Daten an\nTrackpoints";
    case ID_VIEW_ROUTES:
        return "zeigt die Routen mit ihren Punkten an\nRouten";
    case ID_ROUTE_NEW:
        return "Macht aus den ausgewählten Waypoints eine neue Route\nNeue Route aus Auswahl";
    case ID_ROUTE_INSERT:
        return "Fügt die ausgewählten Waypoints in die Route ein, die in der Routenliste gewählt "
               "ist: nach dem gewählten Punkt oder am Ende\nIn Route einfügen";
    case ID_ROUTE_MOVE_UP:
        return "Schiebt die ausgewählten Routenpunkte um einen Platz nach vorn\nPunkt nach oben";
    case ID_ROUTE_MOVE_DOWN:
        return "Schiebt die ausgewählten Routenpunkte um einen Platz nach hinten\nPunkt nach "
               "unten";
    case ID_ROUTE_REVERSE:
        return "Kehrt die Reihenfolge der Punkte der ausgewählten Routen um\nRoute umkehren";
    case ID_ROUTE_RENAME:
        return "Gibt der Route einen neuen Namen\nRoute umbenennen";
    case ID_VIEW_PLOT:
        return "Zeigt die Punkte als Karte neben der Liste an oder verbirgt sie\nÜbersichtskarte";
    case ID_VIEW_FIT_ALL:
        return "Zeigt alle Punkte in der Übersichtskarte\nAlles zeigen";
    case ID_VIEW_FIT_SELECTION:
        return "Zeigt die ausgewählten Punkte in der Übersichtskarte\nAuswahl zeigen";
    case ID_FILE_MAP_FROM_POINTS:
        return "Macht aus Track und Waypoints eine neue Karte\nAls Karte übernehmen";
    case ID_GPS_CONNECT:
        return "Baut die Verbindung zum GPS auf\nGPS verbinden";
    case ID_GPS_TIME:
        return "Lädt die aktuelle Zeit aus dem GPS\nZeit herunterladen";
    case ID_GPS_WPT_DOWNLOAD:
        return "Lädt die Waypoints aus dem GPS\nWaypoints laden";
    case ID_GPS_POWER_OFF:
        return "schaltet das GPS aus\nausschalten";
    case ID_GPS_TRK_DOWNLOAD:
        return "Lädt die Trackpoints aus dem GPS\nTrackpoints laden";
    case ID_GPS_WPT_UPLOAD:
        return "Lädt die Waypoints in das GPS\nWaypoints upload";
    case ID_GPS_TRK_UPLOAD:
        return "Lädt die Trackpoints in das GPS\nTrackpoints upload";
    case ID_GPS_RTE_DOWNLOAD:
        return "Lädt die Routen aus dem GPS\nRouten download";
    case ID_GPS_RTE_UPLOAD:
        return "Lädt die Routen in das GPS\nRouten upload";
    case ID_GPS_LIVE:
        return "Zeigt die Position des Empfängers laufend an\nLive-Position";
    case ID_GPS_RECORD:
        return "Zeichnet die Live-Position als neuen Track auf\nAufzeichnen";
    case ID_VIEW_FOLLOW_CENTRED:
        return "Hält die Live-Position in der Mitte der Übersichtskarte\nPosition zentriert";
    case ID_VIEW_FOLLOW_IN_VIEW:
        return "Verschiebt die Übersichtskarte, wenn die Live-Position ihren Rand erreicht\n"
               "Position im Bild";
    case ID_VIEW_FOLLOW_OFF:
        return "Die Übersichtskarte folgt der Live-Position nicht\nNicht folgen";
    case ID_OPTIONS_FORMAT:
        return "Formate für Zahlen, Datum etc\nFormat";
    case ID_VIEW_GRID:
        return "Zeigt Gitter - Linien an oder verbirgt sie\nHilfsgitter umschalten";
    case ID_DRAW_SELECT:
        return "Wählt Objecte aus\nauswählen";
    case ID_DRAW_LINE:
        return "Zeichnet eine Gerade\nLinien";
    case ID_DRAW_RECT:
        return "Zeichnet ein Rechteck\nRechteck";
    case ID_DRAW_ROUNDRECT:
        return "Zeichnet ein abgerundetes Rechteck\nabgerundetes Rechteck";
    case ID_DRAW_ELLIPSE:
        return "Zeichnet eine Ellipse\nEllipse";
    case ID_OBJECT_LINECOLOR:
        return "Change the line or text color\nLine Color";
    case ID_OBJECT_FILLCOLOR:
        return "Change the fill or background color\nFill Color";
    case ID_OBJECT_MOVETOFRONT:
        return "Bringt das Objekt in den Vordergrund\nIn den Vordergrund";
    case ID_OBJECT_MOVETOBACK:
        return "Move object to back of drawing";
    case ID_OBJECT_MOVEFORWARD:
        return "Verschiebt das Objekt eine um Ebene in den Vordergrund";
    case ID_OBJECT_MOVEBACK:
        return "Verschiebt das Objekt eine um Ebene in den Hintergrund";
    case ID_MAP_CALIBRATE:
        return "Legt fest, welche Positionen die Karte zeigt, durch drei Punkte\nKarte "
               "kalibrieren";
    case ID_VIEW_PAPERCOLOR:
        return "Ändert die angezeigte Hintergrundfarbe";
    case ID_DRAW_POLYGON:
        return "Zeichnet ein Polygon\nPolygon";
    case ID_VIEW_SHOWOBJECTS:
        return "Schaltet den Indikator für OLE Objekte um";
    case ID_EDIT_PROPERTIES:
        return "Edit drawing object properties";
    case ID_DRAW_TEXT:
        return "Text eingeben und darstellen\nText";
    case ID_VIEW_PRINTER_PIXELS:
        return "Anzeige in der (groben) Druckerauflösung";
    case ID_TEXT_INPUT:
        return "Variable Texte eingeben, Dias drucken";
    case ID_DRAW_POLYLINE:
        return "Zeichnet eine Poly-Linie\nPoly-Linie";
    case ID_FILE_PRINT:
        return "Druckt das aktive Dokument\nDrucken";
    case ID_FILE_PRINT_PREVIEW:
        return "Zeigt die ganze Seite so, wie sie gedruckt wird\nSeitenansicht";
    case ID_EDIT_SELECT_ALL:
        return "Wählt alle Objekte der Karte aus\nAlles auswählen";
    case ID_WINDOW_SPLIT:
        return "Teilt das aktive Fenster in Ausschnitte\nTeilen";
    case ID_FILE_SUMMARYINFO:
        return "Display summary information";
    case ID_OLE_INSERT_NEW:
        return "Fügt eine Datei oder ein neues Bild oder Textdokument als Objekt ein\nObjekt "
               "einfügen";
    case ID_VIEW_ZOOM_IN:
        return "Vergrößert die Ansicht der Karte\nVergrößern";
    case ID_VIEW_ZOOM_OUT:
        return "Verkleinert die Ansicht der Karte\nVerkleinern";
    case ID_VIEW_ZOOM_100:
        return "Zeigt die Karte in natürlicher Größe\n100 %";
    default:
        return "";
    }
}
