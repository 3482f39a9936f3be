#pragma once

#include <vector>

#include "gps/Records.h"
#include "gps/RichRecords.h"

// Everything a GPS data document holds of the receiver's data. A details array is empty
// when no record of its kind has details, and holds one entry per record otherwise.
struct GpsRecords {
    std::vector<WaypointRecord> waypoints;
    std::vector<WaypointDetails> waypointDetails;
    std::vector<TrackpointRecord> trackpoints;
    std::vector<TrackpointDetails> trackpointDetails;
    std::vector<Route> routes;
};
