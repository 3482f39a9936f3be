#pragma once

#include <cstdint>
#include <vector>

#include "gps/LiveFix.h"
#include "gps/Records.h"
#include "gps/RichRecords.h"

// A receiver carried along a track, for the simulator's moving mode: where it is, how it
// moves and whether it has a fix, any number of seconds after it set out. The journey goes
// from the first track point to the last, then straight back to the first, and again.
//
// Between two points it moves in a straight line (in degrees; across the 180th meridian the
// short way) at an even pace. The time it takes is the difference of the points' times when
// both are known and the later one follows within an hour; otherwise (no times, a new track,
// a jump in time, and the way back to the start) what a walk at WALKING_SPEED takes, at
// least 1 s and at most 60 s. The velocity is that of the straight line, by the flat-earth
// geodesy of gps/Geodesy.h. Pure: the same seconds give the same fix.
class TrackMotion {
public:
    static constexpr double WALKING_SPEED = 1.4;  // m/s

    // Along the points; `details` holds their altitudes (one per point, or none). Points
    // whose latitude lies beyond +/-90 degrees are left out. No points: Empty().
    TrackMotion(const std::vector<TrackpointRecord>& points,
                const std::vector<TrackpointDetails>& details = {});
    TrackMotion() = default;

    bool Empty() const { return stops_.empty(); }
    // One way round, back at the first point; 0 for a track of one point.
    double LoopSeconds() const { return loopSeconds_; }

    // The fix at `seconds` (>= 0) after setting out, its time `startUtcMillis` + seconds. A 3D
    // fix where the altitudes of both points around it are known, else 2D, with an error of
    // 4.5 m (3D) or 9 m (2D) and 8 or 3 satellites; in the last `outageSeconds` of every
    // `outageEvery` seconds (counted from setting out) no fix (NONE, no satellites), the
    // position and velocity as they are all the same. Empty(): the default LiveFix.
    LiveFix FixAt(double seconds, int64_t startUtcMillis) const;

    // The losses of fix; either 0 or less: none. 4 s of every 60 s unless changed.
    void SetOutages(double outageEvery, double outageSeconds);

private:
    struct Stop {
        double latitude;   // degrees
        double longitude;  // degrees
        float altitude;    // m above sea level, VALUE_NONE unknown
        double at;         // seconds after setting out
    };

    std::vector<Stop> stops_;
    double loopSeconds_ = 0;
    double outageEvery_ = 60;
    double outageSeconds_ = 4;
};
