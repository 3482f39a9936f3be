#pragma once

#include <nlohmann/json.hpp>

#include "gps/CDataDoc.h"

// The JSON form of a GPS data document and its records. Texts are decoded from
// Windows-1252; positions appear both in degrees and in semicircles.
nlohmann::json WaypointJson(const WaypointRecord& w);
nlohmann::json TrackpointJson(const TrackpointRecord& t);
nlohmann::json DataDocJson(const CDataDoc& doc);
