// Waypoints: D100 to D110 (see link/DataTypes.h).

#include <algorithm>
#include <array>
#include <cstring>

#include "link/DataTypeBytes.h"
#include "link/DataTypes.h"

namespace {

// The whole size of the fixed-layout types; 0 for the others. They begin alike: ident 6,
// latitude, longitude, an unused word, comment 40 (58 bytes, all of D100).
size_t FixedWaypointSize(int type)
{
    switch (type) {
    case 100:
        return 58;
    case 101:
        return 63;
    case 102:
        return 64;
    case 103:
        return 60;
    case 104:
    case 107:
        return 65;
    default:
        return 0;
    }
}

// The bytes before the texts of the types that carry them; 0 for the others.
size_t BytesBeforeWaypointTexts(int type)
{
    switch (type) {
    case 105:
        return 10;
    case 106:
        return 24;
    case 108:
        return 48;
    case 109:
        return 52;
    case 110:
        return 62;
    default:
        return 0;
    }
}

constexpr size_t kD106SubclassSize = 13;
constexpr uint8_t kD108ColourDefault = 0xFF;
// D109's default colour. D110 names none (a unit takes an unknown colour as black), but
// GPSBabel writes 0x1F for both, and so does the program.
constexpr uint8_t kD109ColourDefault = 0x1F;
constexpr uint32_t kNoTimeEnRoute = 0xFFFFFFFF;

// D104's display numbers, by the record's display.
constexpr uint8_t kD104Display[DISPLAY_COUNT] = {3, 1, 5};

uint8_t DisplayOfD104(uint8_t value)
{
    if (value == 0) {  // "symbol by itself", like 1
        return DISPLAY_SYMBOL;
    }
    for (uint8_t display = 0; display < DISPLAY_COUNT; ++display) {
        if (kD104Display[display] == value) {
            return display;
        }
    }
    return DISPLAY_SYMBOL_NAME;
}

uint8_t D104OfDisplay(uint8_t display)
{
    return kD104Display[display < DISPLAY_COUNT ? display : uint8_t{DISPLAY_SYMBOL_NAME}];
}

// D107's 0 default, 1 red, 2 green, 3 blue, as the full palette's colours.
constexpr uint8_t kD107Colours[] = {COLOUR_DEFAULT, 9, 10, 12};

uint8_t ColourOfD107(uint8_t value)
{
    return value < std::size(kD107Colours) ? kD107Colours[value] : COLOUR_DEFAULT;
}

uint8_t D107OfColour(uint8_t colour)
{
    switch (colour) {
    case 1:  // dark red
    case 9:
        return 1;
    case 2:  // dark green
    case 10:
        return 2;
    case 4:  // dark blue
    case 12:
        return 3;
    default:
        return 0;
    }
}

// The full palette's 0 to 15; anything else is the default.
uint8_t PaletteColour(uint8_t value)
{
    return value <= 15 ? value : COLOUR_DEFAULT;
}

uint8_t TypeColour(uint8_t colour, uint8_t typeDefault)
{
    return colour <= 15 ? colour : typeDefault;
}

// D101 has a byte for the full-table symbol: a larger one gives way to the record's
// symbol, and that, where it is larger too, to the dot.
uint8_t ByteSymbol(const WaypointRecord& record, const WaypointDetails& details)
{
    for (uint16_t symbol :
         {WaypointFullSymbol(record, details), FullSymbolOfRecordSymbol(record.symbol)}) {
        if (symbol <= 0xFF) {
            return static_cast<uint8_t>(symbol);
        }
    }
    return static_cast<uint8_t>(FullSymbolOfRecordSymbol(SYMBOL_DOT));
}

// The name the types with texts carry: the details' whole name, else the ident without
// the blanks that pad it.
std::string_view WireName(const WaypointRecord& record, const WaypointDetails& details)
{
    std::string_view name = FieldText(details.name, WAYPOINT_NAME_SIZE);
    return name.empty() ? WithoutTrailingBlanks(WaypointIdent(record)) : name;
}

template <size_t N>
void SetDetailText(char (&field)[N], std::string_view text)
{
    SetFieldText(field, N, text);
}

template <size_t N>
std::string_view DetailText(const char (&field)[N])
{
    return FieldText(field, N);
}

// A fixed text field of the record, cut to `limit` characters where that is fewer.
void WriteFixedText(DataTypeWriter& out, const char* field, size_t width, int limit)
{
    if (limit <= 0 || static_cast<size_t>(limit) >= width) {
        out.Bytes(field, width);
        return;
    }
    char cut[WAYPOINT_COMMENT_SIZE];
    SetFieldText(cut, width, FieldText(field, width).substr(0, static_cast<size_t>(limit)));
    out.Bytes(cut, width);
}

void DecodeFixedWaypoint(int type, DataTypeReader& in, WaypointRecord& r, WaypointDetails& d)
{
    in.Bytes(r.ident, WAYPOINT_IDENT_SIZE);
    r.latitude = in.S32();
    r.longitude = in.S32();
    in.U32();  // unused
    in.Bytes(r.comment, WAYPOINT_COMMENT_SIZE);
    if (type == 103 || type == 107) {
        r.symbol = in.U8();
        r.display = in.U8();
    }
    if (type != 100 && type != 103) {
        d.proximity = in.F32();
    }
    switch (type) {
    case 101:
        SetWaypointFullSymbol(r, d, in.U8());
        break;
    case 102:
        SetWaypointFullSymbol(r, d, in.U16());
        break;
    case 104:
        SetWaypointFullSymbol(r, d, in.U16());
        r.display = DisplayOfD104(in.U8());
        break;
    case 107:
        d.colour = ColourOfD107(in.U8());
        break;
    default:
        break;
    }
}

void EncodeFixedWaypoint(int type, const WaypointRecord& r, const WaypointDetails& d,
                         StringLimits limits, DataTypeWriter& out)
{
    WriteFixedText(out, r.ident, WAYPOINT_IDENT_SIZE, limits.ident);
    out.S32(r.latitude);
    out.S32(r.longitude);
    out.U32(0);
    WriteFixedText(out, r.comment, WAYPOINT_COMMENT_SIZE, limits.comment);
    if (type == 103 || type == 107) {
        out.U8(static_cast<uint8_t>(r.symbol));
        out.U8(r.display);
    }
    if (type != 100 && type != 103) {
        out.F32(d.proximity);
    }
    switch (type) {
    case 101:
        out.U8(ByteSymbol(r, d));
        break;
    case 102:
        out.U16(WaypointFullSymbol(r, d));
        break;
    case 104:
        out.U16(WaypointFullSymbol(r, d));
        out.U8(D104OfDisplay(r.display));
        break;
    case 107:
        out.U8(D107OfColour(d.colour));
        break;
    default:
        break;
    }
}

// D105: position, symbol, name. D106: class, 13 bytes of subclass, position, symbol, name,
// the ident of the link to the next point (not kept).
void DecodeD105Family(int type, DataTypeReader& in, WaypointRecord& r, WaypointDetails& d)
{
    if (type == 106) {
        d.wptClass = in.U8();
        in.Bytes(d.subclass, kD106SubclassSize);
    }
    r.latitude = in.S32();
    r.longitude = in.S32();
    SetWaypointFullSymbol(r, d, in.U16());
    SetWaypointName(r, d, in.Text());
    if (type == 106) {
        in.Text();
    }
}

void EncodeD105Family(int type, const WaypointRecord& r, const WaypointDetails& d,
                      StringLimits limits, DataTypeWriter& out)
{
    if (type == 106) {
        out.U8(d.wptClass);
        out.Bytes(d.subclass, kD106SubclassSize);
    }
    out.S32(r.latitude);
    out.S32(r.longitude);
    out.U16(WaypointFullSymbol(r, d));
    out.Text(CutText(WireName(r, d), limits.ident));
    if (type == 106) {
        out.Text({});
    }
}

void DecodeD108Family(int type, DataTypeReader& in, WaypointRecord& r, WaypointDetails& d)
{
    const bool d108 = type == 108;
    if (!d108) {
        in.U8();  // data type
    }
    d.wptClass = in.U8();
    const uint8_t colour = in.U8();
    const uint8_t display = d108 ? in.U8() : static_cast<uint8_t>(colour >> 5 & 3);
    in.U8();  // attributes
    const uint16_t symbol = in.U16();
    in.Bytes(d.subclass, sizeof d.subclass);
    r.latitude = in.S32();
    r.longitude = in.S32();
    d.altitude = in.F32();
    d.depth = in.F32();
    d.proximity = in.F32();
    in.Bytes(d.state, sizeof d.state);
    in.Bytes(d.country, sizeof d.country);
    if (!d108) {
        in.U32();  // estimated time en route
    }
    if (type == 110) {
        d.temperature = in.F32();
        d.time = in.U32();
        d.category = in.U16();
    }
    SetWaypointName(r, d, in.Text());
    SetWaypointComment(r, d, in.Text());
    SetDetailText(d.facility, in.Text());
    SetDetailText(d.city, in.Text());
    SetDetailText(d.address, in.Text());
    SetDetailText(d.crossRoad, in.Text());
    SetWaypointFullSymbol(r, d, symbol);
    r.display = (d108 || display < DISPLAY_COUNT) ? display : uint8_t{DISPLAY_SYMBOL_NAME};
    d.colour = PaletteColour(d108 ? colour : colour & 0x1F);
}

void EncodeD108Family(int type, const WaypointRecord& r, const WaypointDetails& d,
                      StringLimits limits, DataTypeWriter& out)
{
    const bool d108 = type == 108;
    if (!d108) {
        out.U8(0x01);  // data type
    }
    out.U8(d.wptClass);
    if (d108) {
        out.U8(TypeColour(d.colour, kD108ColourDefault));
        out.U8(r.display);
        out.U8(0x60);
    } else {
        uint8_t display = r.display < DISPLAY_COUNT ? r.display : uint8_t{DISPLAY_SYMBOL_NAME};
        out.U8(static_cast<uint8_t>(display << 5 | TypeColour(d.colour, kD109ColourDefault)));
        out.U8(type == 109 ? 0x70 : 0x80);
    }
    out.U16(WaypointFullSymbol(r, d));
    out.Bytes(d.subclass, sizeof d.subclass);
    out.S32(r.latitude);
    out.S32(r.longitude);
    out.F32(d.altitude);
    out.F32(d.depth);
    out.F32(d.proximity);
    out.Bytes(d.state, sizeof d.state);
    out.Bytes(d.country, sizeof d.country);
    if (!d108) {
        out.U32(kNoTimeEnRoute);
    }
    if (type == 110) {
        out.F32(d.temperature);
        out.U32(d.time);
        out.U16(d.category);
    }
    std::array<std::string_view, 6> texts = {
        CutText(WireName(r, d), limits.ident),
        CutText(WaypointLongComment(r, d), limits.comment),
        DetailText(d.facility),
        DetailText(d.city),
        DetailText(d.address),
        DetailText(d.crossRoad),
    };
    // Each text holds at most 50 bytes: name and comment always fit, the others give way,
    // the last first.
    size_t size = BytesBeforeWaypointTexts(type);
    for (std::string_view text : texts) {
        size += text.size() + 1;
    }
    for (size_t i = texts.size(); size > DATA_TYPE_MAX_SIZE && i-- > 2;) {
        size_t cut = std::min(size - DATA_TYPE_MAX_SIZE, texts[i].size());
        texts[i].remove_suffix(cut);
        size -= cut;
    }
    for (std::string_view text : texts) {
        out.Text(text);
    }
}

}  // namespace

bool KnownWaypointType(int type)
{
    return FixedWaypointSize(type) > 0 || BytesBeforeWaypointTexts(type) > 0;
}

std::vector<uint8_t> EncodeWaypoint(int type, const WaypointRecord& record,
                                    const WaypointDetails& details, StringLimits limits)
{
    DataTypeWriter out;
    if (FixedWaypointSize(type) > 0) {
        EncodeFixedWaypoint(type, record, details, limits, out);
    } else if (type == 105 || type == 106) {
        EncodeD105Family(type, record, details, limits, out);
    } else if (BytesBeforeWaypointTexts(type) > 0) {
        EncodeD108Family(type, record, details, limits, out);
    } else {
        FailDataType(type, "kein Datentyp für Wegpunkte, den das Programm kennt");
    }
    return out.Take();
}

void DecodeWaypoint(int type, const uint8_t* data, size_t size, WaypointRecord& record,
                    WaypointDetails& details)
{
    WaypointRecord r;
    std::memset(&r, 0, sizeof r);
    WaypointDetails d = NoWaypointDetails();
    DataTypeReader in(type, data, size);
    if (size_t whole = FixedWaypointSize(type)) {
        RequireSize(type, size, whole);
        DecodeFixedWaypoint(type, in, r, d);
    } else if (size_t head = BytesBeforeWaypointTexts(type)) {
        RequireTextTypeSize(type, size, head);
        if (type == 105 || type == 106) {
            DecodeD105Family(type, in, r, d);
        } else {
            DecodeD108Family(type, in, r, d);
        }
    } else {
        FailDataType(type, "kein Datentyp für Wegpunkte, den das Programm kennt");
    }
    in.End();
    record = r;
    details = d;
}
