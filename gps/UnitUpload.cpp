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

// The names the receiver is sent, each whole name cut once to a name of its own: names it
// holds as they are are kept first, then each cut name takes a number at its end where
// another has it already.
class NameCutter {
public:
    explicit NameCutter(const ReceiverProfile& profile) : profile_(profile) {}

    // The whole names that are sent as they are, so that no cut name takes one of them.
    void Keep(const std::string& whole)
    {
        if (Typed(whole) == whole) {
            taken_.insert(whole);
        }
    }
    // The name `whole` is sent as; the same for the same whole name. Counts the cut ones.
    std::string Cut(const std::string& whole)
    {
        if (auto it = renamed_.find(whole); it != renamed_.end()) {
            return it->second;
        }
        const std::string typed = Typed(whole);
        if (typed == whole) {
            return whole;
        }
        std::string name = typed;
        const auto length = static_cast<size_t>(profile_.nameLength);
        for (int number = 1; taken_.count(name) && number < 100000; ++number) {
            name = NumberedName(typed, number, length);
        }
        taken_.insert(name);
        ++cut_;
        return renamed_.emplace(whole, name).first->second;
    }
    int CutCount() const { return cut_; }

private:
    std::string Typed(const std::string& whole) const
    {
        // Six-character idents come padded with blanks, which the whole name has not.
        return std::string(WithoutTrailingBlanks(TypedName(profile_, whole).value_or("WPT")));
    }

    const ReceiverProfile& profile_;
    std::set<std::string> taken_;
    std::map<std::string, std::string> renamed_;
    int cut_ = 0;
};

std::string WholeName(const WaypointRecord& record, const WaypointDetails& details)
{
    return std::string(WithoutTrailingBlanks(WaypointName(record, details)));
}

// Waypoints and route points take their names from one cutter, so that a route point
// named as a waypoint is sent under the name that waypoint got: the receiver finds the one
// in the other. Gives how many waypoints were renamed.
int AdaptNames(GpsRecords& sent, const ReceiverProfile& profile)
{
    sent.waypointDetails.resize(sent.waypoints.size(), NoWaypointDetails());
    NameCutter cutter(profile);
    for (size_t i = 0; i < sent.waypoints.size(); ++i) {
        cutter.Keep(WholeName(sent.waypoints[i], sent.waypointDetails[i]));
    }
    for (const Route& route : sent.routes) {
        for (const RoutePoint& point : route.points) {
            cutter.Keep(WholeName(point.record, point.details));
        }
    }
    auto rename = [&](WaypointRecord& record, WaypointDetails& details) {
        const std::string whole = WholeName(record, details);
        if (std::string name = cutter.Cut(whole); name != whole) {
            SetWaypointName(record, details, name);
        }
    };
    for (size_t i = 0; i < sent.waypoints.size(); ++i) {
        rename(sent.waypoints[i], sent.waypointDetails[i]);
    }
    const int waypointsCut = cutter.CutCount();
    for (Route& route : sent.routes) {
        for (RoutePoint& point : route.points) {
            rename(point.record, point.details);
        }
    }
    return waypointsCut;
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
    // What the unit's data types do not keep beside the names, the link says
    // (GpsDocumentLink::AddTypeLosses).
    if (const int cut = AdaptNames(sent, profile); cut > 0) {
        AppendLoss(upload.waypointLosses, std::to_string(cut) + " Namen gekürzt");
    }
    return upload;
}

void AppendLoss(std::string& losses, const std::string& part)
{
    if (!part.empty()) {
        losses += (losses.empty() ? "" : ", ") + part;
    }
}
