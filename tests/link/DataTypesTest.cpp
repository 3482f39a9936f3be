#include "link/DataTypes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "tests/link/AnyDataType.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes U16(uint16_t v)
{
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
}

Bytes U32(uint32_t v)
{
    return U16(static_cast<uint16_t>(v)) + U16(static_cast<uint16_t>(v >> 16));
}

Bytes F32(float f)
{
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    return U32(bits);
}

// A zero-terminated text, or a fixed field padded with zeros.
Bytes Text(const std::string& s)
{
    return Bytes(s.begin(), s.end()) + Bytes{0};
}
Bytes Field(const std::string& s, size_t width)
{
    Bytes b(s.begin(), s.end());
    b.resize(width);
    return b;
}

std::string Number(float f)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", f);
    return f == VALUE_NONE ? "none" : text;
}

template <size_t N>
std::string Str(const char (&field)[N])
{
    return std::string(FieldText(field, N));
}

// What the model holds of a packet of `type`, in a line.
std::string Dump(int type, const DataTypeModel& m)
{
    if (KnownWaypointType(type)) {
        const WaypointRecord& w = m.waypoint;
        const WaypointDetails& d = m.waypointDetails;
        return std::string(WaypointName(w, d)) + "|" + std::string(WaypointLongComment(w, d)) +
               " " + std::to_string(WaypointFullSymbol(w, d)) + " " + std::to_string(w.display) +
               " " + std::to_string(d.colour) + " " + Number(d.proximity) + " " +
               Number(d.altitude) + " " + Number(d.temperature);
    }
    const TrackpointDetails& p = m.pointDetails;
    if (KnownTrackPointType(type)) {
        return std::to_string(m.point.time) + " " + std::to_string(m.point.newTrack) + " " +
               Number(p.altitude) + " " + Number(p.depth) + " " + Number(p.temperature);
    }
    if (KnownTrackHeaderType(type)) {
        return Str(p.trackName) + " " + std::to_string(p.trackColour) + " " +
               std::to_string(p.trackDisplay);
    }
    if (KnownRouteHeaderType(type)) {
        return std::to_string(m.route.number) + " " + Str(m.route.name);
    }
    return std::to_string(m.link.linkClass) + " " + Str(m.link.ident);
}

constexpr uint16_t kLandGas = 8220;  // "Gas Station"
const Bytes kPosition = U32(0x20000000) + U32(0xF0000000);
const Bytes kOld = Field("ZUG", 6) + kPosition + U32(0) + Field("AM SEE", 40);
const Bytes kUserSubclass = Bytes(6, 0) + Bytes(12, 0xFF);
// D108 to D110 from the subclass to the country.
const Bytes kMapMiddle = kUserSubclass + kPosition + F32(512.5f) + F32(VALUE_NONE) + F32(25.5f) +
                         Bytes{'Z', 'G', 'C', 'H'};
const Bytes kMapTexts =
    Text("Aussicht Zugerberg") + Text("Bank") + Text("") + Text("Zug") + Text("") + Text("");
const Bytes kD108 = Bytes{0, 9, 2, 0x60} + U16(kLandGas) + kMapMiddle + kMapTexts;

TEST(DataTypes, EveryTypeDecodesIntoTheModelAndEncodesToTheSameBytes)
{
    const Bytes point = kPosition + U32(1000);
    const Bytes d104 = kOld + F32(25.5f) + U16(kLandGas);
    struct Case {
        const char* legend;
        int type;
        Bytes bytes;
        const char* model;  // as Dump() writes it
    } cases[] = {
        {"D100: no symbol, the dot", 100, kOld, "ZUG|AM SEE 18 0 255 none none none"},
        {"D101: a symbol byte", 101, kOld + F32(25.5f) + Bytes{8},
         "ZUG|AM SEE 8 0 255 25.5 none none"},
        {"D102", 102, d104, "ZUG|AM SEE 8220 0 255 25.5 none none"},
        {"D103: one of the 16 symbols", 103, kOld + Bytes{SYMBOL_CAMP, 2},
         "ZUG|AM SEE 151 2 255 none none none"},
        {"D104: 5 is with comment", 104, d104 + Bytes{5}, "ZUG|AM SEE 8220 2 255 25.5 none none"},
        {"D104: 3 is with name", 104, d104 + Bytes{3}, "ZUG|AM SEE 8220 0 255 25.5 none none"},
        {"D107: 2 is green", 107, kOld + Bytes{SYMBOL_CAMP, 1} + F32(25.5f) + Bytes{2},
         "ZUG|AM SEE 151 1 10 25.5 none none"},
        {"D105", 105,
         kPosition + U16(kLandGas) +
             Text("Br\xFC"
                  "cke"),
         "Br\xFC"
         "cke| 8220 0 255 none none none"},
        {"D106", 106, Bytes(14, 0) + kPosition + U16(kLandGas) + Text("ZUG") + Text(""),
         "ZUG   | 8220 0 255 none none none"},
        {"D108", 108, kD108, "Aussicht Zugerberg|Bank 8220 2 9 25.5 512.5 none"},
        {"D109: colour 0x1F is the default", 109,
         Bytes{1, 0, 1 << 5 | 0x1F, 0x70} + U16(kLandGas) + kMapMiddle + U32(~0u) + kMapTexts,
         "Aussicht Zugerberg|Bank 8220 1 255 25.5 512.5 none"},
        {"D110", 110,
         Bytes{1, 0, 2 << 5 | 12, 0x80} + U16(kLandGas) + kMapMiddle + U32(~0u) + F32(-12.5f) +
             U32(1000) + U16(0x8005) + kMapTexts,
         "Aussicht Zugerberg|Bank 8220 2 12 25.5 512.5 -12.5"},
        {"D300", 300, point + Bytes{1}, "1000 1 none none none"},
        {"D301", 301, point + F32(512.5f) + F32(2) + Bytes{0}, "1000 0 512.5 2 none"},
        {"D302", 302, point + F32(512.5f) + F32(VALUE_NONE) + F32(-3.5f) + Bytes{1},
         "1000 1 512.5 none -3.5"},
        {"D303: no heart rate held", 303, point + F32(512.5f) + Bytes{0}, "1000 0 512.5 none none"},
        {"D310", 310, Bytes{1, 9} + Text("Morgen"), "Morgen 9 1"},
        {"D312: transparent, hidden", 312, Bytes{0, 16} + Text("Abend"), "Abend 16 0"},
        {"D311: the number as the name", 311, U16(513), "513 255 1"},
        {"D200", 200, {4}, "4 "},
        {"D201: the comment is the name", 201, Bytes{4} + Field("SEE RUNDE", 20), "4 SEE RUNDE"},
        {"D202: its place in the transfer as the number", 202, Text("Pass"), "7 Pass"},
        {"D210", 210, U16(1) + kUserSubclass + Text("A1"), "1 A1"},
    };
    for (const Case& c : cases) {
        DataTypeModel m = DecodeAnyDataType(c.type, c.bytes.data(), c.bytes.size());
        EXPECT_EQ(Dump(c.type, m), c.model) << c.legend;
        EXPECT_EQ(EncodeAnyDataType(c.type, m), c.bytes) << c.legend;
    }
}

TEST(DataTypes, DataThatCannotBeItsTypeFailsNamingTheType)
{
    const Bytes longText = Bytes{1, 0, 0, 0x70} + U16(0) + kMapMiddle + U32(0) +
                           Text(std::string(250, 'a')) + Bytes(5, 0);
    struct Case {
        const char* legend;
        int type;
        Bytes bytes;
    } cases[] = {
        {"D300: one byte short", 300, Bytes(12, 0)},
        {"D303: with a new-track byte", 303, Bytes(18, 0)},
        {"D103: one byte long", 103, kOld + Bytes{0, 0, 0}},
        {"D100: nothing", 100, {}},
        {"D108: cut before its texts", 108, Bytes(47, 0)},
        {"D108: the last text missing", 108, Bytes(kD108.begin(), kD108.end() - 1)},
        {"D108: the last text without its zero", 108, kD108 + Bytes{'x'}},
        {"D108: a byte after the last text", 108, kD108 + Bytes{0}},
        {"D109: more than a packet holds", 109, longText},
        {"D999: a type nobody knows", 999, kOld},
        {"D202: nothing", 202, {}},
        {"D210: an ident without its zero", 210, Bytes(20, 0) + Bytes{'A'}},
    };
    for (const Case& c : cases) {
        const std::string prefix = "D" + std::to_string(c.type) + ": ";
        try {
            DecodeAnyDataType(c.type, c.bytes.data(), c.bytes.size());
            ADD_FAILURE() << c.legend << " decoded";
        } catch (const DataTypeError& e) {
            EXPECT_EQ(std::string(e.what()).substr(0, prefix.size()), prefix) << e.what();
        }
    }
    EXPECT_THROW(DecodeRouteHeader(202, Text("A").data(), 2, MAX_DOC_ROUTES), DataTypeError);
}

TEST(DataTypes, EncodingKeepsToWhatTheTypeAndTheUnitHold)
{
    WaypointRecord w{};
    WaypointDetails d = NoWaypointDetails();
    SetWaypointName(w, d, "Aussicht auf dem Zugerberg");
    SetWaypointComment(w, d, "Bank mit Blick auf den See und die Berge rundum");
    SetFieldText(d.facility, sizeof d.facility, std::string(30, 'f'));
    SetFieldText(d.city, sizeof d.city, std::string(24, 'c'));
    SetFieldText(d.address, sizeof d.address, std::string(50, 'a'));
    SetFieldText(d.crossRoad, sizeof d.crossRoad, std::string(50, 'x'));
    const std::string whole =
        "Aussicht auf dem Zugerberg|Bank mit Blick auf den See und die "
        "Berge rundum 8220 0 9 none none none";
    const std::string record = "AUSSIC|Bank mit Blick auf den See und die Berge ";
    struct Case {
        const char* legend;
        int type;
        StringLimits limits;
        uint16_t symbol;
        uint8_t colour;
        size_t size;
        std::string model;  // decoded again, as Dump() writes it
    } cases[] = {
        {"D108: the last texts give way to a packet", 108, {}, kLandGas, 9, 255, whole},
        {"D110: the same", 110, {}, kLandGas, 9, 255, whole},
        {"D109: a unit that takes fewer characters",
         109,
         {10, 20},
         kLandGas,
         9,
         242,
         "Aussicht a|Bank mit Blick auf d 8220 0 9 none none none"},
        {"D103: the record's fields, cut",
         103,
         {3, 5},
         kLandGas,
         9,
         60,
         "AUS|Bank  8 0 255 none none none"},
        {"D101: a land symbol as the record's",
         101,
         {},
         kLandGas,
         9,
         63,
         record + "8 0 255 none none none"},
        {"D101: the dot where the record's is no byte",
         101,
         {},
         8196,
         9,
         63,
         record + "18 0 255 none none none"},
        {"D107: dark blue as blue", 107, {}, 18, 4, 65, record + "18 0 12 none none none"},
        {"D107: white as the default", 107, {}, 18, 15, 65, record + "18 0 255 none none none"},
    };
    for (const Case& c : cases) {
        DataTypeModel m{};
        m.waypoint = w;
        m.waypointDetails = d;
        SetWaypointFullSymbol(m.waypoint, m.waypointDetails, c.symbol);
        m.waypointDetails.colour = c.colour;
        Bytes bytes = EncodeAnyDataType(c.type, m, c.limits);
        EXPECT_EQ(bytes.size(), c.size) << c.legend;
        EXPECT_EQ(Dump(c.type, DecodeAnyDataType(c.type, bytes.data(), bytes.size())), c.model)
            << c.legend;
    }
}

}  // namespace
