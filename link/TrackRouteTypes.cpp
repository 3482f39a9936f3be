// Track points, track headers, route headers and route links (see link/DataTypes.h).

#include <cstring>
#include <string>

#include "link/DataTypeBytes.h"
#include "link/DataTypes.h"

namespace {

// Latitude, longitude, time, new-track byte; D301 adds altitude and depth before that
// byte, D302 the temperature too. D303 (the fitness units') has latitude, longitude, time,
// altitude and a heart rate, and no new-track byte: its tracks start at their headers.
size_t TrackPointSize(int type)
{
    switch (type) {
    case 303:
        return 17;
    case 300:
        return 13;
    case 301:
        return 21;
    case 302:
        return 25;
    default:
        return 0;
    }
}

constexpr uint8_t kTrackColourTransparent = 16;
constexpr uint8_t kNoHeartRate = 0;  // D303: the model holds no heart rate

// The track colours a header type holds: D310 0 to 15, D312 16 (transparent) too.
bool HeaderHoldsColour(int type, uint8_t colour)
{
    return colour <= 15 || colour == COLOUR_DEFAULT ||
           (type == 312 && colour == kTrackColourTransparent);
}

constexpr int kMaxTrackIndex = 0xFFFF;
constexpr size_t kD201NameSize = 20;
constexpr size_t kD210BytesBeforeText = 20;  // class, subclass

[[noreturn]] void UnknownTrackRouteType(int type, const char* what)
{
    FailDataType(type, std::string("kein Datentyp für ") + what + ", den das Programm kennt");
}

}  // namespace

bool KnownTrackPointType(int type)
{
    return TrackPointSize(type) > 0;
}

std::vector<uint8_t> EncodeTrackPoint(int type, const TrackpointRecord& record,
                                      const TrackpointDetails& details)
{
    if (!KnownTrackPointType(type)) {
        UnknownTrackRouteType(type, "Spurpunkte");
    }
    DataTypeWriter out;
    out.S32(record.latitude);
    out.S32(record.longitude);
    out.U32(record.time);
    if (type == 303) {
        out.F32(details.altitude);
        out.U8(kNoHeartRate);
        return out.Take();
    }
    if (type >= 301) {
        out.F32(details.altitude);
        out.F32(details.depth);
    }
    if (type == 302) {
        out.F32(details.temperature);
    }
    out.U8(record.newTrack);
    return out.Take();
}

void DecodeTrackPoint(int type, const uint8_t* data, size_t size, TrackpointRecord& record,
                      TrackpointDetails& details)
{
    if (!KnownTrackPointType(type)) {
        UnknownTrackRouteType(type, "Spurpunkte");
    }
    RequireSize(type, size, TrackPointSize(type));
    DataTypeReader in(type, data, size);
    TrackpointRecord r;
    r.latitude = in.S32();
    r.longitude = in.S32();
    r.time = in.U32();
    float altitude = VALUE_NONE;
    float depth = VALUE_NONE;
    float temperature = VALUE_NONE;
    if (type == 303) {
        altitude = in.F32();
        in.U8();  // the heart rate
        r.newTrack = 0;
    } else {
        if (type >= 301) {
            altitude = in.F32();
            depth = in.F32();
        }
        if (type == 302) {
            temperature = in.F32();
        }
        r.newTrack = in.U8();
    }
    in.End();
    record = r;
    details.altitude = altitude;
    details.depth = depth;
    details.temperature = temperature;
}

bool KnownTrackHeaderType(int type)
{
    return type == 310 || type == 311 || type == 312;
}

std::vector<uint8_t> EncodeTrackHeader(int type, const TrackpointDetails& first, int trackIndex)
{
    if (!KnownTrackHeaderType(type)) {
        UnknownTrackRouteType(type, "Spurköpfe");
    }
    DataTypeWriter out;
    if (type == 311) {
        if (trackIndex < 0 || trackIndex > kMaxTrackIndex) {
            FailDataType(type, "Spur " + std::to_string(trackIndex) + " passt nicht in 16 Bit");
        }
        out.U16(static_cast<uint16_t>(trackIndex));
        return out.Take();
    }
    out.U8(first.trackDisplay != 0 ? 1 : 0);
    out.U8(HeaderHoldsColour(type, first.trackColour) ? first.trackColour : COLOUR_DEFAULT);
    out.Text(FieldText(first.trackName, TRACK_NAME_SIZE));
    return out.Take();
}

void DecodeTrackHeader(int type, const uint8_t* data, size_t size, TrackpointDetails& first)
{
    if (!KnownTrackHeaderType(type)) {
        UnknownTrackRouteType(type, "Spurköpfe");
    }
    DataTypeReader in(type, data, size);
    uint8_t display = 1;
    uint8_t colour = COLOUR_DEFAULT;
    std::string name;
    if (type == 311) {
        RequireSize(type, size, 2);
        name = std::to_string(in.U16());
    } else {
        RequireTextTypeSize(type, size, 2);
        display = in.U8() != 0 ? 1 : 0;
        colour = in.U8();
        if (!HeaderHoldsColour(type, colour)) {
            colour = COLOUR_DEFAULT;
        }
        name = in.Text();
    }
    in.End();
    first.trackDisplay = display;
    first.trackColour = colour;
    SetFieldText(first.trackName, TRACK_NAME_SIZE, name);
}

bool KnownRouteHeaderType(int type)
{
    return type == 200 || type == 201 || type == 202;
}

std::vector<uint8_t> EncodeRouteHeader(int type, const RouteHeader& header)
{
    DataTypeWriter out;
    switch (type) {
    case 200:
        out.U8(header.number);
        break;
    case 201:
        out.U8(header.number);
        out.Bytes(header.name, kD201NameSize);
        break;
    case 202:
        out.Text(FieldText(header.name, ROUTE_NAME_SIZE));
        break;
    default:
        UnknownTrackRouteType(type, "Routenköpfe");
    }
    return out.Take();
}

RouteHeader DecodeRouteHeader(int type, const uint8_t* data, size_t size, int routeIndex)
{
    RouteHeader header;
    std::memset(&header, 0, sizeof header);
    DataTypeReader in(type, data, size);
    switch (type) {
    case 200:
        RequireSize(type, size, 1);
        header.number = in.U8();
        break;
    case 201:
        RequireSize(type, size, 1 + kD201NameSize);
        header.number = in.U8();
        in.Bytes(header.name, kD201NameSize);
        break;
    case 202:
        if (routeIndex < 0 || routeIndex >= MAX_DOC_ROUTES) {
            FailDataType(type, "Route " + std::to_string(routeIndex + 1) + ", mehr als die " +
                                   std::to_string(MAX_DOC_ROUTES) + " eines Dokuments");
        }
        RequireTextTypeSize(type, size, 0);
        header.number = static_cast<uint8_t>(routeIndex);
        SetFieldText(header.name, ROUTE_NAME_SIZE, in.Text());
        break;
    default:
        UnknownTrackRouteType(type, "Routenköpfe");
    }
    in.End();
    return header;
}

bool KnownRouteLinkType(int type)
{
    return type == 210;
}

std::vector<uint8_t> EncodeRouteLink(int type, const RouteLink& link)
{
    if (!KnownRouteLinkType(type)) {
        UnknownTrackRouteType(type, "Routenverbindungen");
    }
    DataTypeWriter out;
    out.U16(link.linkClass);
    out.Bytes(link.subclass, sizeof link.subclass);
    out.Text(FieldText(link.ident, ROUTE_LINK_IDENT_SIZE));
    return out.Take();
}

RouteLink DecodeRouteLink(int type, const uint8_t* data, size_t size)
{
    if (!KnownRouteLinkType(type)) {
        UnknownTrackRouteType(type, "Routenverbindungen");
    }
    RequireTextTypeSize(type, size, kD210BytesBeforeText);
    DataTypeReader in(type, data, size);
    RouteLink link;
    std::memset(&link, 0, sizeof link);
    link.linkClass = in.U16();
    in.Bytes(link.subclass, sizeof link.subclass);
    SetFieldText(link.ident, ROUTE_LINK_IDENT_SIZE, in.Text());
    in.End();
    return link;
}
