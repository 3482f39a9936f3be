#pragma once

// The program's string table: numeric ids to the German texts (UTF-8).
enum StringId {
    IDS_GPS_OPEN_FAILED = 1002,  // shown as it stands, "%%s" included
    IDS_GPS_DISTURBED = 1003,
    IDS_GPS_READY = 1004,
    IDS_GPS_FORMAT = 1005,
    IDS_GPS_CHECKSUM = 1006,
    IDS_GPS_ERROR_REPORT = 1007,
    IDS_GPS_SET_CLOCK = 2000,  // two "%s": the receiver's time, the system time
};

// The text of `id`, or an empty text for an unknown id.
const char* LoadString(int id);

// The status-bar prompt of a command and its tool tip, separated by a line break
// ("Lädt die Waypoints aus dem GPS\nWaypoints laden"); empty for an unknown command.
const char* CommandPrompt(int commandId);
