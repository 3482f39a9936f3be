#pragma once

#include <cstdint>

#include "gps/Records.h"

// Flat-earth geodesy on a sphere of 6378 km: north-south distances are latitude
// differences times the radius, east-west distances also times the cosine of the mean
// latitude. Distances in km, courses in degrees clockwise from north in [0, 360).
// The evaluation order of every formula is fixed so that results agree bit for bit
// with the receivers' editor; keep it when changing anything here.

struct GeoPosition {
    double latitude;   // degrees
    double longitude;  // degrees
};

struct KmOffset {
    double north;  // km, positive northward
    double east;   // km, positive eastward
};

struct PolarOffset {
    double course;    // degrees, 0 = north, 90 = east
    double distance;  // km
};

constexpr double GEO_PI = 3.141592653589793;
constexpr double EARTH_RADIUS_KM = 6378;

// degrees = semicircles x 180 / 2^31
double SemicirclesToDegrees(int32_t semicircles);

// The product degrees x 11930464.0 truncated toward zero, of which the low 32 bits are
// kept (so degrees beyond +/-180 wrap). NaN and infinities give 0.
int32_t DegreesToSemicircles(double degrees);

// The nearest semicircle value (180 degrees wrap to -2^31). Used for positions that come
// from other programs, so that a position written with enough digits reads back unchanged.
int32_t DegreesToSemicirclesRounded(double degrees);

inline GeoPosition ToGeoPosition(SemicirclePosition p)
{
    return {SemicirclesToDegrees(p.latitude), SemicirclesToDegrees(p.longitude)};
}

// The geodesy operations report success and always succeed. Near the poles the east-west
// scale tends to zero; positions there come out as whatever the division gives.
bool PositionDeltaKm(const GeoPosition& from, const GeoPosition& to, KmOffset& delta);
bool CourseDistance(const GeoPosition& from, const GeoPosition& to, PolarOffset& polar);
bool CourseDistanceSemi(const SemicirclePosition& from, const SemicirclePosition& to,
                        PolarOffset& polar);
bool PositionFromDelta(const GeoPosition& origin, const KmOffset& delta, GeoPosition& result);
bool PositionFromCourse(const GeoPosition& origin, const PolarOffset& polar, GeoPosition& result);
// Replaces target's position by the one at `polar` from origin; no other byte of target
// changes. Origin and target may be the same record.
bool WaypointFromCourse(const WaypointRecord& origin, WaypointRecord& target,
                        const PolarOffset& polar);
