#pragma once

#include "gps/MapCorrectionSet.h"
#include "gps/Records.h"

// Moves waypoints by a reference point and its correction point: a waypoint at some course
// and distance from the reference lands at the course plus `rotation` and the distance
// times `scale` from the correction point (flat-earth geodesy of gps/Geodesy.h).
class WaypointTransform {
public:
    // From two pairs of points: reference 1 goes to correction 1; when both pairs are more
    // than 0.1 km apart, the turn and stretch from the pair of references to the pair of
    // corrections become rotation (normalised into [0, 360]) and scale. Otherwise the
    // transform is a pure shift (scale 1) and the rotation keeps its previous value.
    void SetFromPoints(const WaypointRecord& reference1, const WaypointRecord& correction1,
                       const WaypointRecord& reference2, const WaypointRecord& correction2);
    // The set's rotation and scale about `reference`, moved to `target`. A set whose rotation
    // or scale is not a finite number (a damaged file) gives a transform that is not valid.
    void SetFromCorrectionSet(const WaypointRecord& reference, const WaypointRecord& target,
                              const MapCorrectionSet& set);
    // Writes reference, target, rotation and scale into `set`; its name and reserved bytes
    // stay.
    void StoreInCorrectionSet(MapCorrectionSet& set) const;

    // Replaces the position of `waypoint`; no other byte changes. False (and nothing
    // changed) when the transform has not been set up.
    bool Apply(WaypointRecord& waypoint) const;

    bool Valid() const { return valid_; }
    double Rotation() const { return rotation_; }  // degrees
    double Scale() const { return scale_; }
    const WaypointRecord& Reference() const { return reference_; }
    const WaypointRecord& Target() const { return target_; }

private:
    bool valid_ = false;
    double rotation_ = 0.0;
    double scale_ = 0.0;
    WaypointRecord reference_{};
    WaypointRecord target_{};
};

// Brings a course above 360 degrees down by whole turns until it is at most 360 (360 itself
// stays). Values below 360 and NaN come back unchanged; huge values are reduced without
// looping over every turn.
double TurnsBelow360(double course);
