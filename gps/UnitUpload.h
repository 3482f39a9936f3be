#pragma once

#include <string>

#include "gps/GpsRecords.h"
#include "gps/ReceiverProfile.h"

// What an upload sends to a receiver of `profile`: copies of the document's records adapted
// to what it holds, what it could not take, and whether it may be sent at all. The document
// keeps what it holds.
//
// Names are cut to the receiver's length and characters (TypedName); a name that was cut
// gets a number at its end where another waypoint has the same one ("AUSSICHTSP",
// "AUSSICHTS1", ...), so that the receiver does not take one for the other; a route point
// takes the name its waypoint got. A GPS 12 takes the records as Gps12Upload.h says.
struct UnitUpload {
    GpsRecords records;
    std::string waypointLosses;  // in one sentence ("3 Namen gekürzt, ..."); empty: none
    std::string trackLosses;
    std::string routeLosses;
    // Why the kinds asked for may not be sent: more waypoints, track points, routes or
    // points in a route than the receiver holds. Empty: they may; always for the GPS 12,
    // which is sent what the document holds, as it always was.
    std::string refusal;
};

enum UploadKinds { UPLOAD_WAYPOINTS = 1, UPLOAD_TRACK = 2, UPLOAD_ROUTES = 4 };

// Appends `part` to a list of losses ("3 Namen gekürzt" + "Höhen nicht übertragen").
void AppendLoss(std::string& losses, const std::string& part);

UnitUpload UploadFor(const GpsRecords& records, const ReceiverProfile& profile, int kinds);
