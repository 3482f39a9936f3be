#pragma once

#include <string>
#include <vector>

#include "gps/Records.h"
#include "gps/RichRecords.h"

// What a GPS 12 takes of a document: its records as they are, with one change: a waypoint
// whose whole name was shortened to its ident gets an ident of its own where another
// waypoint has the same one ("AUSSIC", "AUSSI1", ...), so that the receiver does not take
// one for the other. The document keeps what it holds.
std::vector<WaypointRecord> Gps12Waypoints(const std::vector<WaypointRecord>& records,
                                           const std::vector<WaypointDetails>& details);

// What the GPS 12 could not take, in one sentence ("3 Namen gekürzt, Höhen nicht
// übertragen"); empty when it takes everything.
std::string Gps12WaypointLosses(const std::vector<WaypointDetails>& details);
std::string Gps12TrackLosses(const std::vector<TrackpointDetails>& details);

// The message that reports `losses` to the user ("Der Empfänger hat nicht alles übernommen:
// 3 Namen gekürzt."); empty when there are none.
std::string UploadLossesMessage(const std::string& losses);
