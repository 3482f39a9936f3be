#include "gps/Geodesy.h"

#include <cmath>

namespace {

constexpr double kDegreesPerSemicircle = 8.381903171539307e-08;  // 180 / 2^31
constexpr double kSemicirclesPerDegree = 11930464.0;
constexpr double kOneOver180 = 0.005555555555555556;
constexpr double kOneOver360 = 0.002777777777777778;
constexpr double kTwoTo32 = 4294967296.0;

}  // namespace

double SemicirclesToDegrees(int32_t semicircles)
{
    return semicircles * kDegreesPerSemicircle;
}

namespace {

// The low 32 bits of an integral double, as two's complement; 0 for NaN and infinities.
int32_t Low32Bits(double integral)
{
    if (!std::isfinite(integral)) {
        return 0;
    }
    // fmod is exact, so this keeps precisely the low 32 bits.
    double low = std::fmod(integral, kTwoTo32);
    if (low < 0) {
        low += kTwoTo32;
    }
    return static_cast<int32_t>(static_cast<uint32_t>(low));
}

}  // namespace

int32_t DegreesToSemicircles(double degrees)
{
    return Low32Bits(std::trunc(degrees * kSemicirclesPerDegree));
}

int32_t DegreesToSemicirclesRounded(double degrees)
{
    return Low32Bits(std::round(degrees * (2147483648.0 / 180.0)));
}

bool PositionDeltaKm(const GeoPosition& from, const GeoPosition& to, KmOffset& delta)
{
    double k = std::cos((from.latitude + to.latitude) * GEO_PI * kOneOver360) * EARTH_RADIUS_KM;
    delta.north = (to.latitude - from.latitude) * GEO_PI * EARTH_RADIUS_KM * kOneOver180;
    delta.east = (to.longitude - from.longitude) * GEO_PI * k * kOneOver180;
    return true;
}

bool CourseDistance(const GeoPosition& from, const GeoPosition& to, PolarOffset& polar)
{
    KmOffset d;
    PositionDeltaKm(from, to, d);
    polar.distance = std::sqrt(d.east * d.east + d.north * d.north);
    double course = std::atan2(d.east, d.north) / GEO_PI * 180;
    if (course < 0) {
        course = course + 360;
        // A course a hair west of north would round up to 360, which is north again.
        if (course >= 360) {
            course = 0;
        }
    }
    polar.course = course;
    return true;
}

bool CourseDistanceSemi(const SemicirclePosition& from, const SemicirclePosition& to,
                        PolarOffset& polar)
{
    return CourseDistance(ToGeoPosition(from), ToGeoPosition(to), polar);
}

bool PositionFromDelta(const GeoPosition& origin, const KmOffset& delta, GeoPosition& result)
{
    GeoPosition r = origin;
    // The first pass takes the cosine at the origin, the next ones at the mean of origin
    // and the end point found so far.
    for (int pass = 0; pass < 3; ++pass) {
        double k =
            std::cos((origin.latitude + r.latitude) * GEO_PI * kOneOver360) * EARTH_RADIUS_KM;
        r.latitude = delta.north / EARTH_RADIUS_KM / GEO_PI * 180 + origin.latitude;
        r.longitude = delta.east / k / GEO_PI * 180 + origin.longitude;
    }
    result = r;
    return true;
}

bool PositionFromCourse(const GeoPosition& origin, const PolarOffset& polar, GeoPosition& result)
{
    double theta = GEO_PI * polar.course * kOneOver180;
    KmOffset d{std::cos(theta) * polar.distance, std::sin(theta) * polar.distance};
    return PositionFromDelta(origin, d, result);
}

bool WaypointFromCourse(const WaypointRecord& origin, WaypointRecord& target,
                        const PolarOffset& polar)
{
    GeoPosition a{SemicirclesToDegrees(origin.latitude), SemicirclesToDegrees(origin.longitude)};
    GeoPosition r;
    PositionFromCourse(a, polar, r);
    target.latitude = DegreesToSemicircles(r.latitude);
    target.longitude = DegreesToSemicircles(r.longitude);
    return true;
}
