#include "edit/WaypointDialogValues.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

#include "framework/Cp1252.h"
#include "gps/WaypointName.h"

namespace {

// Program-wide, on the user-interface thread only.
double lastAppliedDistance = 0;

std::string TrimmedText(std::string_view field)
{
    auto isSpace = [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
    };
    while (!field.empty() && isSpace(field.back())) {
        field.remove_suffix(1);
    }
    return Cp1252ToUtf8(field);
}

bool CoordinateChanged(double degrees, int32_t semicircles)
{
    return DegreesToSemicirclesRounded(degrees) != semicircles;
}

}  // namespace

WaypointDialogValues WaypointValuesOf(const WaypointRecord& record,
                                      const WaypointDetails& details)
{
    WaypointDialogValues values;
    values.name = TrimmedText(WaypointName(record, details));
    values.comment = TrimmedText(WaypointLongComment(record, details));
    if (HasValue(details.altitude)) {
        values.altitude = details.altitude;
    }
    values.fullSymbol = details.symbol != SYMBOL_NONE ? details.symbol : -1;
    values.longitude = SemicirclesToDegrees(record.longitude);
    values.latitude = SemicirclesToDegrees(record.latitude);
    values.symbol = record.symbol >= 0 && record.symbol < SYMBOL_COUNT ? record.symbol : -1;
    values.display = record.display < DISPLAY_COUNT ? record.display : -1;
    return values;
}

WaypointValueFault CheckWaypointValues(const WaypointDialogValues& values,
                                       const WaypointRecord& record,
                                       const ReceiverProfile& profile)
{
    if (!TypedName(profile, Utf8ToCp1252(values.name))) {
        return WaypointValueFault::Name;
    }
    if (CoordinateChanged(values.longitude, record.longitude) &&
        !(std::fabs(values.longitude) <= 180)) {
        return WaypointValueFault::Longitude;
    }
    if (CoordinateChanged(values.latitude, record.latitude) &&
        !(std::fabs(values.latitude) <= 90)) {
        return WaypointValueFault::Latitude;
    }
    if (values.altitude && !(std::fabs(*values.altitude) <= MAX_DIALOG_ALTITUDE)) {
        return WaypointValueFault::Altitude;
    }
    return WaypointValueFault::None;
}

void StoreWaypointValues(const WaypointDialogValues& values, WaypointRecord& record)
{
    if (values.name != TrimmedText(WaypointIdent(record))) {
        if (std::optional<std::string> ident = TypedWaypointIdent(Utf8ToCp1252(values.name))) {
            std::copy(ident->begin(), ident->end(), record.ident);
        }
    }
    SetFieldText(record.comment, sizeof record.comment, Utf8ToCp1252(values.comment));
    // A coordinate left as the dialog showed it keeps its semicircles: converting the shown
    // degrees back with the truncating factor would move the point a little on every OK.
    if (CoordinateChanged(values.longitude, record.longitude)) {
        record.longitude = DegreesToSemicircles(values.longitude);
    }
    if (CoordinateChanged(values.latitude, record.latitude)) {
        record.latitude = DegreesToSemicircles(values.latitude);
    }
    record.symbol = static_cast<int16_t>(values.symbol);
    record.display = static_cast<uint8_t>(values.display);
}

void StoreWaypointValues(const WaypointDialogValues& values, const ReceiverProfile& profile,
                         WaypointRecord& record, WaypointDetails& details)
{
    const WaypointDialogValues before = WaypointValuesOf(record, details);
    StoreWaypointValues(values, record);
    if (values.name != before.name) {
        if (std::optional<std::string> name = TypedName(profile, Utf8ToCp1252(values.name))) {
            SetWaypointName(record, details, *name);
        }
    }
    if (values.comment != before.comment) {
        std::string comment = Utf8ToCp1252(values.comment);
        SetWaypointComment(record, details,
                           std::string_view(comment).substr(
                               0, static_cast<size_t>(std::max(profile.commentLength, 0))));
    }
    details.altitude = values.altitude ? static_cast<float>(*values.altitude) : VALUE_NONE;
    if (values.fullSymbol >= 0 && values.fullSymbol != before.fullSymbol) {
        SetWaypointFullSymbol(record, details, static_cast<uint16_t>(values.fullSymbol));
    }
    // What the record's own fields now say counts over details they contradict.
    DropDetailsTheRecordContradicts(record, details);
}

size_t RecordTextLength(const std::string& text)
{
    return Utf8ToCp1252(text).size();
}

ShownOffset ShownCourseDistance(const GeoPosition& reference, const GeoPosition& position)
{
    PolarOffset polar;
    CourseDistance(reference, position, polar);
    ShownOffset shown{0, 0};
    if (std::isfinite(polar.course)) {
        shown.course = static_cast<int>(polar.course + 0.5);
    }
    if (std::isfinite(polar.distance)) {
        shown.distance = std::trunc(polar.distance * 100) * 0.01;
    }
    return shown;
}

GeoPosition PositionFromShownOffset(const GeoPosition& reference, int course, double distance)
{
    GeoPosition position;
    PositionFromCourse(reference, {static_cast<double>(course), distance}, position);
    return position;
}

bool ApplyNewDistance(double distance)
{
    if (distance == lastAppliedDistance) {
        return false;
    }
    lastAppliedDistance = distance;
    return true;
}

double LastAppliedDistance()
{
    return lastAppliedDistance;
}
