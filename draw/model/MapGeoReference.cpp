#include "draw/model/MapGeoReference.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "framework/Archive.h"

namespace {

constexpr uint16_t kGeoStreamVersion = 1;
constexpr uint32_t kGeoHeaderSize = 8;
constexpr uint32_t kProjectionSize = 4 + 4 * 8 + 2 * 4;
constexpr uint32_t kControlPointsSize = CONTROL_POINT_COUNT * 4 * 8;

// Plot metres and page units beyond these are damage, not a map.
constexpr double kFarthestMetres = 1e9;
constexpr double kFarthestPageUnits = 1e6;
// The zoom a plot's viewport holds (gps/PlotProjection.h).
constexpr double kFewestUnitsPerMetre = 1e-7;
constexpr double kMostUnitsPerMetre = 200;
constexpr int32_t kLargestPage = 1000000;

constexpr double kSmallestPageSide = 1;       // document units
constexpr double kSmallestGroundSide = 1e-5;  // degrees
constexpr double kGeoDegree = 3.141592653589793 / 180;

struct GeoPlanePoint {
    double x;
    double y;
};
using GeoTriangle = std::array<GeoPlanePoint, CONTROL_POINT_COUNT>;

bool InGeoRange(double v, double low, double high)
{
    return v >= low && v <= high;  // false for NaN
}

double SquaredDistance(GeoPlanePoint a, GeoPlanePoint b)
{
    return (a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y);
}

double ShortestSide(const GeoTriangle& t)
{
    return std::sqrt(std::min(
        {SquaredDistance(t[0], t[1]), SquaredDistance(t[1], t[2]), SquaredDistance(t[2], t[0])}));
}

// The triangle's height onto its longest side over that side: 0 for points on a line.
double Flatness(const GeoTriangle& t)
{
    const double longest = std::max(
        {SquaredDistance(t[0], t[1]), SquaredDistance(t[1], t[2]), SquaredDistance(t[2], t[0])});
    const double twiceArea =
        std::fabs((t[1].x - t[0].x) * (t[2].y - t[0].y) - (t[2].x - t[0].x) * (t[1].y - t[0].y));
    return longest > 0 ? twiceArea / longest : 0;
}

// Degrees east of `from`, -180 ... 180, the shorter way round.
double DegreesEastOf(double longitude, double from)
{
    double east = std::fmod(longitude - from + 180, 360);
    if (east < 0) {
        east += 360;
    }
    return east - 180;
}

bool ProjectionValuesValid(const PointMapProjection& p)
{
    return InGeoRange(p.eastWestScale, 0.01, 1) &&
           InGeoRange(p.centreEast, -kFarthestMetres, kFarthestMetres) &&
           InGeoRange(p.centreNorth, -kFarthestMetres, kFarthestMetres) &&
           p.unitsPerMetre >= kFewestUnitsPerMetre && p.unitsPerMetre <= kMostUnitsPerMetre &&
           p.pageWidth > 0 && p.pageWidth <= kLargestPage && p.pageHeight > 0 &&
           p.pageHeight <= kLargestPage;
}

GeoReferenceFault ControlPointsFault(const ControlPoints& points)
{
    for (const ControlPoint& p : points) {
        if (!InGeoRange(p.x, -kFarthestPageUnits, kFarthestPageUnits) ||
            !InGeoRange(p.y, -kFarthestPageUnits, kFarthestPageUnits) ||
            !InGeoRange(p.latitude, -90, 90) || !InGeoRange(p.longitude, -180, 180)) {
            return GeoReferenceFault::VALUES;
        }
    }
    GeoTriangle page;
    GeoTriangle ground;
    double latitudeSum = 0;
    for (const ControlPoint& p : points) {
        latitudeSum += p.latitude;
    }
    const double eastScale =
        std::max(std::cos(latitudeSum / CONTROL_POINT_COUNT * kGeoDegree), 0.01);
    for (int i = 0; i < CONTROL_POINT_COUNT; ++i) {
        page[i] = {points[i].x, points[i].y};
        ground[i] = {DegreesEastOf(points[i].longitude, points[0].longitude) * eastScale,
                     points[i].latitude};
    }
    if (ShortestSide(page) < kSmallestPageSide) {
        return GeoReferenceFault::PAGE_POINTS_TOGETHER;
    }
    if (Flatness(page) < MIN_CONTROL_FLATNESS) {
        return GeoReferenceFault::PAGE_POINTS_IN_LINE;
    }
    if (ShortestSide(ground) < kSmallestGroundSide) {
        return GeoReferenceFault::POSITIONS_TOGETHER;
    }
    if (Flatness(ground) < MIN_CONTROL_FLATNESS) {
        return GeoReferenceFault::POSITIONS_IN_LINE;
    }
    return GeoReferenceFault::NONE;
}

[[noreturn]] void BadGeoReference(const std::string& detail)
{
    throw ArchiveException(ArchiveException::BadFormat, "georeference: " + detail);
}

}  // namespace

MapGeoReference MapGeoReference::OfProjection(const PointMapProjection& projection)
{
    MapGeoReference record;
    record.kind = GeoReferenceKind::POINT_MAP;
    record.projection = projection;
    return record;
}

MapGeoReference MapGeoReference::OfControlPoints(const ControlPoints& points)
{
    MapGeoReference record;
    record.kind = GeoReferenceKind::CALIBRATION;
    record.points = points;
    return record;
}

GeoReferenceFault MapGeoReference::Fault() const
{
    switch (kind) {
    case GeoReferenceKind::POINT_MAP:
        return ProjectionValuesValid(projection) ? GeoReferenceFault::NONE
                                                 : GeoReferenceFault::VALUES;
    case GeoReferenceKind::CALIBRATION:
        return ControlPointsFault(points);
    }
    return GeoReferenceFault::VALUES;
}

std::vector<uint8_t> MapGeoReference::WriteStream() const
{
    MemoryOutputStream out;
    Archive ar(out);
    ar.WriteU16(kGeoStreamVersion);
    ar.WriteU16(static_cast<uint16_t>(kind));
    if (kind == GeoReferenceKind::POINT_MAP) {
        ar.WriteU32(kProjectionSize);
        ar.WriteI32(projection.centralLongitude);
        ar.WriteDouble(projection.eastWestScale);
        ar.WriteDouble(projection.centreEast);
        ar.WriteDouble(projection.centreNorth);
        ar.WriteDouble(projection.unitsPerMetre);
        ar.WriteI32(projection.pageWidth);
        ar.WriteI32(projection.pageHeight);
    } else {
        ar.WriteU32(kControlPointsSize);
        for (const ControlPoint& p : points) {
            ar.WriteDouble(p.x);
            ar.WriteDouble(p.y);
            ar.WriteDouble(p.latitude);
            ar.WriteDouble(p.longitude);
        }
    }
    return out.TakeBytes();
}

MapGeoReference MapGeoReference::ReadStream(const std::vector<uint8_t>& stream)
{
    MemoryInputStream in(stream);
    Archive ar(in);
    const uint16_t version = ar.ReadU16();
    if (version != kGeoStreamVersion) {
        BadGeoReference("version " + std::to_string(version));
    }
    const uint16_t kind = ar.ReadU16();
    const uint32_t length = ar.ReadU32();
    if (stream.size() - kGeoHeaderSize > length) {
        BadGeoReference(std::to_string(stream.size() - kGeoHeaderSize - length) +
                        " bytes after the data");
    }
    if (stream.size() - kGeoHeaderSize < length) {
        throw ArchiveException(ArchiveException::EndOfFile, "georeference: data cut short");
    }
    MapGeoReference record;
    if (kind == static_cast<uint16_t>(GeoReferenceKind::POINT_MAP)) {
        if (length < kProjectionSize) {
            throw ArchiveException(ArchiveException::EndOfFile,
                                   "georeference: projection cut short");
        }
        PointMapProjection p;
        p.centralLongitude = ar.ReadI32();
        p.eastWestScale = ar.ReadDouble();
        p.centreEast = ar.ReadDouble();
        p.centreNorth = ar.ReadDouble();
        p.unitsPerMetre = ar.ReadDouble();
        p.pageWidth = ar.ReadI32();
        p.pageHeight = ar.ReadI32();
        record = OfProjection(p);
    } else if (kind == static_cast<uint16_t>(GeoReferenceKind::CALIBRATION)) {
        if (length < kControlPointsSize) {
            throw ArchiveException(ArchiveException::EndOfFile,
                                   "georeference: control points cut short");
        }
        ControlPoints points;
        for (ControlPoint& p : points) {
            p.x = ar.ReadDouble();
            p.y = ar.ReadDouble();
            p.latitude = ar.ReadDouble();
            p.longitude = ar.ReadDouble();
        }
        record = OfControlPoints(points);
    } else {
        BadGeoReference("kind " + std::to_string(kind));
    }
    if (record.Fault() != GeoReferenceFault::NONE) {
        BadGeoReference("values that place the map nowhere (fault " +
                        std::to_string(static_cast<int>(record.Fault())) + ")");
    }
    return record;
}
