#pragma once

#include <optional>
#include <string>

#include "gps/Geodesy.h"
#include "gps/ReceiverProfile.h"
#include "gps/Records.h"
#include "gps/RichRecords.h"

// The values the waypoint dialog edits, and its arithmetic. Texts are UTF-8, as the dialog
// shows them; records hold Windows-1252.
struct WaypointDialogValues {
    std::string name;
    std::string comment;
    double longitude = 0;  // degrees
    double latitude = 0;   // degrees
    int symbol = 0;        // symbol list index 0 to 15, -1 for none
    int display = 0;       // display list index 0 to 2, -1 for none
    std::optional<double> altitude;  // metres; none when unknown
    // The maker's table number when the dialog lists the whole table; -1 when it lists the
    // 16 symbols of `symbol`.
    int fullSymbol = -1;
};

// The dialog's values of a record and its details: the whole name and comment up to their
// first zero byte without trailing white space, the position in degrees, the symbol and
// display as list indices (-1 when the record's value is not in its list), the altitude and
// the full-table symbol.
WaypointDialogValues WaypointValuesOf(const WaypointRecord& record,
                                      const WaypointDetails& details = NoWaypointDetails());

// Altitudes the dialog takes, in metres.
constexpr double MAX_DIALOG_ALTITUDE = 100000;

// What OK refuses, the first in the dialog's order of fields: a name that leaves no character
// of a name by the receiver's rules (gps/ReceiverProfile.h), a longitude outside -180 to 180
// degrees, a latitude outside -90 to 90, an altitude beyond MAX_DIALOG_ALTITUDE. Coordinates
// are judged only when they changed: a record that holds one beyond the range already keeps
// it.
enum class WaypointValueFault { None, Name, Longitude, Latitude, Altitude };
WaypointValueFault CheckWaypointValues(const WaypointDialogValues& values,
                                       const WaypointRecord& record,
                                       const ReceiverProfile& profile = Gps12Profile());

// Writes the values into the record: a changed name as the ident a receiver takes (the rule
// of renaming in the list: upper case, blank-padded), an unchanged one as it was; the
// comment cut to its field and zero-padded; a changed coordinate through DegreesToSemicircles (one
// that still reads as the record's semicircles stays as it is), symbol and display as 16-bit and
// 8-bit values (-1 becomes 0xFFFF and 0xFF). Characters without a Windows-1252 byte become '?'.
void StoreWaypointValues(const WaypointDialogValues& values, WaypointRecord& record);
// The same for a waypoint with details, a changed name and comment by the receiver's rules
// (kept whole in the details when the record's fields do not hold them), an unchanged one as
// it was; the altitude; a full-table symbol when the dialog listed the table.
void StoreWaypointValues(const WaypointDialogValues& values, const ReceiverProfile& profile,
                         WaypointRecord& record, WaypointDetails& details);

// The length of `text` in record characters (Windows-1252 bytes).
size_t RecordTextLength(const std::string& text);

// Course and distance as the dialog shows them.
struct ShownOffset {
    int course;       // whole degrees, 0 to 360
    double distance;  // km, cut (not rounded) to hundredths
};

// Course and distance from `reference` to `position`: the course rounded to whole degrees
// (so 359.6 shows as 360), the distance cut to hundredths (1.234567 shows as 1.23). Values
// that are not finite show as 0.
ShownOffset ShownCourseDistance(const GeoPosition& reference, const GeoPosition& position);

// The position at `course` and `distance` from `reference`.
GeoPosition PositionFromShownOffset(const GeoPosition& reference, int course, double distance);

// The distance last applied by any waypoint dialog of this program run (0 at the start).
// Returns true, and remembers `distance`, when it differs from that one.
bool ApplyNewDistance(double distance);
double LastAppliedDistance();
