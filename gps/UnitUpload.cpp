#include "gps/UnitUpload.h"

#include <map>
#include <set>

#include "gps/Gps12Upload.h"

namespace {

// `base` with `number` at its end, within `length` characters.
std::string NumberedName(const std::string& base, int number, size_t length)
{
    std::string digits = std::to_string(number);
    return base.substr(0, length > digits.size() ? length - digits.size() : 0) + digits;
}

void AppendLoss(std::string& text, const std::string& part)
{
    text += (text.empty() ? "" : ", ") + part;
}

// The waypoints' names as the receiver holds them, each name once; how many were cut.
// `renamed`: the new name of each whole name that was cut.
int AdaptNames(std::vector<WaypointRecord>& records, std::vector<WaypointDetails>& details,
               const ReceiverProfile& profile, std::map<std::string, std::string>& renamed)
{
    details.resize(records.size(), NoWaypointDetails());
    const auto length = static_cast<size_t>(profile.nameLength);
    std::vector<std::string> names(records.size());
    std::vector<char> cut(records.size(), 0);
    std::set<std::string> taken;
    for (size_t i = 0; i < records.size(); ++i) {
        const std::string whole(WithoutTrailingBlanks(WaypointName(records[i], details[i])));
        names[i] = TypedName(profile, whole).value_or("WPT");
        cut[i] = names[i] != whole;
        if (!cut[i]) {
            taken.insert(names[i]);
        }
    }
    int count = 0;
    for (size_t i = 0; i < records.size(); ++i) {
        if (!cut[i]) {
            continue;
        }
        ++count;
        std::string name = names[i];
        for (int number = 1; taken.count(name) && number < 100000; ++number) {
            name = NumberedName(names[i], number, length);
        }
        taken.insert(name);
        renamed.emplace(WithoutTrailingBlanks(WaypointName(records[i], details[i])), name);
        SetWaypointName(records[i], details[i], name);
    }
    return count;
}

// Route points carry whole waypoints: one that is among the waypoints takes the name the
// waypoint got, so that the receiver finds the one in the other; others are cut alone.
void AdaptRoutePointNames(std::vector<Route>& routes, const ReceiverProfile& profile,
                          const std::map<std::string, std::string>& renamed)
{
    for (Route& route : routes) {
        for (RoutePoint& point : route.points) {
            const std::string whole(
                WithoutTrailingBlanks(WaypointName(point.record, point.details)));
            auto it = renamed.find(whole);
            const std::string name =
                it != renamed.end() ? it->second : TypedName(profile, whole).value_or("WPT");
            if (name != whole) {
                SetWaypointName(point.record, point.details, name);
            }
        }
    }
}

}  // namespace

UnitUpload UploadFor(const GpsRecords& records, const ReceiverProfile& profile, int kinds)
{
    UnitUpload upload;
    upload.records = records;
    GpsRecords& sent = upload.records;
    auto refuse = [&](const char* what, size_t count, int most) {
        if (upload.refusal.empty() && count > static_cast<size_t>(most)) {
            upload.refusal = std::string("Der Empfänger hält höchstens ") + std::to_string(most) +
                             " " + what + "; das Dokument hat " + std::to_string(count) + ".";
        }
    };
    // The GPS 12 is sent what the document holds, as it always was; it keeps what it can.
    if (&profile == &Gps12Profile()) {
        kinds = 0;
    }
    if (kinds & UPLOAD_WAYPOINTS) {
        refuse("Waypoints", sent.waypoints.size(), profile.maxWaypoints);
    }
    if (kinds & UPLOAD_TRACK) {
        refuse("Trackpoints", sent.trackpoints.size(), profile.maxTrackpoints);
    }
    if (kinds & UPLOAD_ROUTES) {
        refuse("Routen", sent.routes.size(), profile.maxRoutes);
        for (const Route& route : sent.routes) {
            refuse("Punkte in einer Route", route.points.size(), profile.maxRoutePoints);
        }
    }
    if (&profile == &Gps12Profile()) {
        sent.waypoints = Gps12Waypoints(records.waypoints, records.waypointDetails);
        upload.waypointLosses = Gps12WaypointLosses(records.waypointDetails);
        upload.trackLosses = Gps12TrackLosses(records.trackpointDetails);
        return upload;
    }
    std::map<std::string, std::string> renamed;
    const int cut = AdaptNames(sent.waypoints, sent.waypointDetails, profile, renamed);
    AdaptRoutePointNames(sent.routes, profile, renamed);
    if (cut > 0) {
        AppendLoss(upload.waypointLosses, std::to_string(cut) + " Namen gekürzt");
    }
    int comments = 0;
    bool altitudes = false;
    for (size_t i = 0; i < sent.waypoints.size(); ++i) {
        comments += WaypointLongComment(sent.waypoints[i], sent.waypointDetails[i]).size() >
                    static_cast<size_t>(profile.commentLength);
        altitudes = altitudes || HasValue(sent.waypointDetails[i].altitude);
    }
    if (comments > 0) {
        AppendLoss(upload.waypointLosses, std::to_string(comments) + " Kommentare gekürzt");
    }
    if (altitudes && !profile.altitudes) {
        AppendLoss(upload.waypointLosses, "Höhen nicht übertragen");
    }
    return upload;
}
