#include "res/StringTable.h"

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
