#pragma once

#include <array>
#include <cstdint>
#include <vector>

// A map's place on the earth as the map document keeps it: what relates the page's
// coordinates (document units, x to the right, y downward) to positions (degrees, WGS 84).
// This is the record, its rules and its stream; going between page and positions is
// convert/GeoReference's arithmetic.

// The compound-file stream of the record, beside "Contents"; written only for a map that
// has a georeference.
inline constexpr char GEO_REFERENCE_STREAM_NAME[] = "OrviGeoReference";

// The projection a map of GPS points was drawn with (convert/PointMap): the points'
// PlotProjection (its central longitude and east-west scale) and the PlotViewport that fitted
// its plot metres into the page: page x = (east - centreEast) * unitsPerMetre + pageWidth / 2,
// page y = pageHeight / 2 - (north - centreNorth) * unitsPerMetre.
struct PointMapProjection {
    int32_t centralLongitude = 0;  // semicircles
    double eastWestScale = 1;      // 0.01 ... 1
    double centreEast = 0;         // plot metres shown at the page's centre
    double centreNorth = 0;
    double unitsPerMetre = 1;  // page units per plot metre, 1e-7 ... 200
    int32_t pageWidth = 0;     // the page the points were fitted into, > 0
    int32_t pageHeight = 0;

    friend bool operator==(const PointMapProjection&, const PointMapProjection&) = default;
};

// A point of a calibration: a page point and the position it shows.
struct ControlPoint {
    double x = 0;  // document units
    double y = 0;
    double latitude = 0;   // degrees, -90 ... 90
    double longitude = 0;  // degrees, -180 ... 180

    friend bool operator==(const ControlPoint&, const ControlPoint&) = default;
};

constexpr int CONTROL_POINT_COUNT = 3;
using ControlPoints = std::array<ControlPoint, CONTROL_POINT_COUNT>;

enum class GeoReferenceKind : uint16_t {
    POINT_MAP = 1,    // the projection of "Als Karte übernehmen"
    CALIBRATION = 2,  // three control points
};

// Why a record cannot be used, the first that applies.
enum class GeoReferenceFault {
    NONE,
    VALUES,                // a number beyond its range, or not finite
    PAGE_POINTS_TOGETHER,  // two control points less than one unit apart on the page
    PAGE_POINTS_IN_LINE,   // the page points span no triangle (see below)
    POSITIONS_TOGETHER,    // two positions less than 1e-5 degrees (about a metre) apart
    POSITIONS_IN_LINE,     // the positions span no triangle
};

// The smallest flatness of a triangle of control points that counts as one: its smallest
// height at least 2 % of its longest side. Flatter triangles turn small errors of the typed
// points into large errors of the map. Positions are compared in the plane of degrees north
// and degrees east (east of the first point's longitude, across the 180th meridian the
// shorter way) times the cosine of the points' mean latitude (at least 0.01).
constexpr double MIN_CONTROL_FLATNESS = 0.02;

struct MapGeoReference {
    GeoReferenceKind kind = GeoReferenceKind::CALIBRATION;
    PointMapProjection projection;  // POINT_MAP only, default otherwise
    ControlPoints points{};         // CALIBRATION only, zero otherwise

    static MapGeoReference OfProjection(const PointMapProjection& projection);
    static MapGeoReference OfControlPoints(const ControlPoints& points);

    GeoReferenceFault Fault() const;

    // The stream, little-endian: uint16 version (1), uint16 kind, uint32 length of the data
    // that follows, the data. POINT_MAP (44 bytes): int32 centralLongitude, double
    // eastWestScale, double centreEast, double centreNorth, double unitsPerMetre, int32
    // pageWidth, int32 pageHeight. CALIBRATION (96 bytes): per control point double x,
    // double y, double latitude, double longitude. Doubles are IEEE 754 binary64.
    //
    // A reader takes the fields it knows from the start of the data and passes over more
    // data within the length, which later writers of version 1 may append; a version above 1
    // has another layout.
    std::vector<uint8_t> WriteStream() const;
    // Throws ArchiveException: EndOfFile for a stream that ends before the length or the
    // kind's fields, BadFormat for another version, an unknown kind, bytes after the
    // length, or a record with a fault.
    static MapGeoReference ReadStream(const std::vector<uint8_t>& stream);

    friend bool operator==(const MapGeoReference&, const MapGeoReference&) = default;
};
