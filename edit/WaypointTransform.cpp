#include "edit/WaypointTransform.h"

#include <cmath>

#include "gps/Geodesy.h"

namespace {

// Pairs of points closer than this give no usable direction or scale.
constexpr double kMinPairDistanceKm = 0.1;

// Beyond this many turns, whole turns are removed with fmod (exact) before the loop.
constexpr double kLoopLimit = 360.0 * 1024;

}  // namespace

double TurnsBelow360(double course)
{
    if (course > kLoopLimit) {
        course = std::fmod(course, 360.0);
    }
    while (course > 360) {
        course -= 360;
    }
    return course;
}

void WaypointTransform::SetFromPoints(const WaypointRecord& reference1,
                                      const WaypointRecord& correction1,
                                      const WaypointRecord& reference2,
                                      const WaypointRecord& correction2)
{
    reference_ = reference1;
    target_ = correction1;
    PolarOffset references, corrections;
    CourseDistanceSemi(PositionOf(reference1), PositionOf(reference2), references);
    CourseDistanceSemi(PositionOf(correction1), PositionOf(correction2), corrections);
    if (corrections.distance > kMinPairDistanceKm && references.distance > kMinPairDistanceKm) {
        scale_ = corrections.distance / references.distance;
        rotation_ = corrections.course - references.course;
    } else {
        scale_ = 1.0;
    }
    // Courses lie in [0, 360), so their difference needs at most one turn either way;
    // a rotation kept from before may be anything.
    if (rotation_ < -kLoopLimit) {
        rotation_ = std::fmod(rotation_, 360.0);
    }
    while (rotation_ < 0) {
        rotation_ += 360;
    }
    rotation_ = TurnsBelow360(rotation_);
    valid_ = std::isfinite(rotation_) && std::isfinite(scale_);
}

void WaypointTransform::SetFromCorrectionSet(const WaypointRecord& reference,
                                             const WaypointRecord& target,
                                             const MapCorrectionSet& set)
{
    reference_ = reference;
    target_ = target;
    rotation_ = set.rotation;
    scale_ = set.scale;
    valid_ = std::isfinite(rotation_) && std::isfinite(scale_);
}

void WaypointTransform::StoreInCorrectionSet(MapCorrectionSet& set) const
{
    set.reference = reference_;
    set.target = target_;
    set.rotation = rotation_;
    set.scale = scale_;
}

bool WaypointTransform::Apply(WaypointRecord& waypoint) const
{
    if (!valid_) {
        return false;
    }
    PolarOffset offset;
    CourseDistanceSemi(PositionOf(reference_), PositionOf(waypoint), offset);
    offset.course = TurnsBelow360(offset.course + rotation_);
    offset.distance = offset.distance * scale_;
    WaypointFromCourse(target_, waypoint, offset);
    return true;
}
