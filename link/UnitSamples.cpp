// Records cut to what a unit holds, and the sample every unit starts with.

#include <string>

#include "gps/Geodesy.h"
#include "gps/SymbolTable.h"
#include "gps/UnitUpload.h"
#include "link/LinkTypes.h"
#include "link/UnitData.h"

namespace {

std::string LeftOutNote(const UnitProfile& unit, size_t had, int kept, const char* what)
{
    return std::string(unit.name) + ": " + std::to_string(had - static_cast<size_t>(kept)) +
           " von " + std::to_string(had) + " " + what + " weggelassen, das Gerät hält " +
           std::to_string(kept);
}

// Cuts `items` (and `details`, one per item or none) to `limit`, noting it.
template <class Item, class Details>
void CutTo(const UnitProfile& unit, int limit, const char* what, std::vector<Item>& items,
           std::vector<Details>& details, std::vector<std::string>& notes)
{
    if (limit >= 0 && items.size() > static_cast<size_t>(limit)) {
        notes.push_back(LeftOutNote(unit, items.size(), limit, what));
        items.resize(static_cast<size_t>(limit));
        if (details.size() > items.size()) {
            details.resize(items.size());
        }
    }
}

struct SamplePlace {
    const char* name;
    const char* comment;
    double latitude;
    double longitude;
    float altitude;
    uint16_t symbol;
};

constexpr SamplePlace kSamplePlaces[] = {
    {"Zug Bahnhof", "Treffpunkt vor dem Haupteingang", 47.17365, 8.51504, 425.0f, 8200},
    {"Zugerberg", "Bergstation der Standseilbahn", 47.14920, 8.53170, 925.5f, 8219},
    {"Lorzentobel",
     "Br\xFC"
     "cke \xFC"
     "ber die Lorze",
     47.16290, 8.55730, 690.0f, 8220},
    {"Oberwil", "Bootssteg", 47.14450, 8.50790, 417.25f, 150},
};

// Two tracks of five points: a walk up from the station, a walk along the lake.
struct SampleTrack {
    const char* name;
    uint8_t colour;
    double latitude;
    double longitude;
    double stepLatitude;
    double stepLongitude;
    float altitude;
    float climb;
    uint32_t time;  // seconds since 31 December 1989
};

constexpr SampleTrack kSampleTracks[] = {
    {"Aufstieg", 1, 47.17365, 8.51504, -0.0049, 0.0033, 425.0f, 100.5f, 1100000000},
    {"Seeufer", 11, 47.14450, 8.50790, 0.0040, 0.0010, 417.5f, 0.25f, 1100090000},
};
constexpr int kSampleTrackPoints = 5;

WaypointRecord SampleWaypoint(const SamplePlace& place, WaypointDetails& details)
{
    WaypointRecord record{};
    details = NoWaypointDetails();
    record.latitude = DegreesToSemicirclesRounded(place.latitude);
    record.longitude = DegreesToSemicirclesRounded(place.longitude);
    SetWaypointName(record, details, place.name);
    SetWaypointComment(record, details, place.comment);
    SetWaypointFullSymbol(record, details, place.symbol);
    details.altitude = place.altitude;
    return record;
}

}  // namespace

std::vector<std::string> AdaptToUnit(const UnitProfile& unit, GpsRecords& records)
{
    std::vector<std::string> notes;
    std::vector<int> noDetails;
    CutTo(unit, unit.maxWaypoints, "Wegpunkten", records.waypoints, records.waypointDetails, notes);
    CutTo(unit, unit.maxRoutes, "Routen", records.routes, noDetails, notes);
    for (Route& route : records.routes) {
        CutTo(unit, unit.maxRoutePoints, "Routenpunkten", route.points, noDetails, notes);
    }
    CutTo(unit, unit.maxTrackpoints, "Spurpunkten", records.trackpoints, records.trackpointDetails,
          notes);
    // Its waypoints' names by its own rules, each once, as an upload to it makes them.
    records = UploadFor(records, ProfileOf(unit.model), 0).records;
    // What goes out in the unit's types and comes back is what it holds.
    for (uint16_t command : {CMD_SEND_WAYPOINTS, CMD_SEND_TRACK, CMD_SEND_ROUTES}) {
        StoreUnitUpload(unit, UnitTransferPackets(unit, records, command), command, records);
    }
    return notes;
}

GpsRecords UnitSampleRecords(const UnitProfile& unit)
{
    GpsRecords records;
    for (const SamplePlace& place : kSamplePlaces) {
        WaypointDetails details;
        records.waypoints.push_back(SampleWaypoint(place, details));
        records.waypointDetails.push_back(details);
    }
    const char* routeNames[] = {"Zugerberg", "Seeweg"};
    const int routePlaces[][3] = {{0, 2, 1}, {1, 3, 0}};
    for (uint8_t r = 0; r < 2; ++r) {
        Route route;
        route.header.number = r;
        SetFieldText(route.header.name, ROUTE_NAME_SIZE, routeNames[r]);
        for (int place : routePlaces[r]) {
            route.points.push_back(
                MakeRoutePoint(records.waypoints[static_cast<size_t>(place)],
                               records.waypointDetails[static_cast<size_t>(place)]));
        }
        records.routes.push_back(std::move(route));
    }
    for (const SampleTrack& track : kSampleTracks) {
        for (int i = 0; i < kSampleTrackPoints; ++i) {
            TrackpointRecord point{};
            point.latitude = DegreesToSemicirclesRounded(track.latitude + i * track.stepLatitude);
            point.longitude =
                DegreesToSemicirclesRounded(track.longitude + i * track.stepLongitude);
            point.time = track.time + static_cast<uint32_t>(i) * 60;
            point.newTrack = i == 0 ? 1 : 0;
            TrackpointDetails details = NoTrackpointDetails();
            details.altitude = track.altitude + static_cast<float>(i) * track.climb;
            if (i == 0) {
                SetFieldText(details.trackName, TRACK_NAME_SIZE, track.name);
                details.trackColour = track.colour;
            }
            records.trackpoints.push_back(point);
            records.trackpointDetails.push_back(details);
        }
    }
    AdaptToUnit(unit, records);
    return records;
}
