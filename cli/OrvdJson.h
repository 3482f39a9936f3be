#pragma once

#include <nlohmann/json.hpp>

#include "gps/CDataDoc.h"

// The JSON form of a GPS data document and its records. Texts are decoded from
// Windows-1252; positions appear both in degrees and in semicircles.
// Values a record does not hold (altitude, depth, time) are null.
nlohmann::json WaypointJson(const WaypointRecord& w,
                            const WaypointDetails& details = NoWaypointDetails());
nlohmann::json TrackpointJson(const TrackpointRecord& t,
                              const TrackpointDetails& details = NoTrackpointDetails());
nlohmann::json DataDocJson(const CDataDoc& doc);
