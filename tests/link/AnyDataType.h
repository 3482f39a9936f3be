#pragma once

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <vector>

#include "link/DataTypes.h"

// Every data type of link/DataTypes.h behind one pair of functions, for the tests and the
// fuzz target: a packet of any type decodes into the part of one model its kind fills.

inline constexpr int kAllDataTypes[] = {100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110,
                                        300, 301, 302, 310, 311, 312, 200, 201, 202, 210};

// The place D202 headers take as their number.
constexpr int kAnyRouteIndex = 7;

struct __attribute__((packed)) DataTypeModel {
    WaypointRecord waypoint;
    WaypointDetails waypointDetails;
    TrackpointRecord point;
    TrackpointDetails pointDetails;  // a track header's too
    RouteHeader route;
    RouteLink link;
};

// Throws DataTypeError.
inline DataTypeModel DecodeAnyDataType(int type, const uint8_t* data, size_t size)
{
    DataTypeModel m;
    std::memset(&m, 0, sizeof m);
    m.pointDetails = NoTrackpointDetails();
    if (KnownWaypointType(type)) {
        DecodeWaypoint(type, data, size, m.waypoint, m.waypointDetails);
    } else if (KnownTrackPointType(type)) {
        DecodeTrackPoint(type, data, size, m.point, m.pointDetails);
    } else if (KnownTrackHeaderType(type)) {
        DecodeTrackHeader(type, data, size, m.pointDetails);
    } else if (KnownRouteHeaderType(type)) {
        m.route = DecodeRouteHeader(type, data, size, kAnyRouteIndex);
    } else {
        m.link = DecodeRouteLink(type, data, size);
    }
    return m;
}

// D311 writes the number that the track's name spells.
inline std::vector<uint8_t> EncodeAnyDataType(int type, const DataTypeModel& m,
                                              StringLimits limits = {})
{
    if (KnownWaypointType(type)) {
        return EncodeWaypoint(type, m.waypoint, m.waypointDetails, limits);
    }
    if (KnownTrackPointType(type)) {
        return EncodeTrackPoint(type, m.point, m.pointDetails);
    }
    if (KnownTrackHeaderType(type)) {
        char name[TRACK_NAME_SIZE + 1] = {};
        std::memcpy(name, m.pointDetails.trackName, TRACK_NAME_SIZE);
        return EncodeTrackHeader(type, m.pointDetails, std::atoi(name));
    }
    if (KnownRouteHeaderType(type)) {
        return EncodeRouteHeader(type, m.route);
    }
    return EncodeRouteLink(type, m.link);
}
