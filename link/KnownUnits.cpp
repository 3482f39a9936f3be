#include <cctype>
#include <stdexcept>

#include "link/UnitProfile.h"

namespace {

// Products that send no protocol array, with their protocols as the maker's device interface
// description lists them. GPSBabel (jeeps/gpsprot.cc) and PyGarmin (garmin.py) carry the same
// table; every product in it speaks A600 D600 (time) and A700 D700 (position) besides.
struct ArraylessProduct {
    uint16_t productId;
    int fromVersion;  // software versions (hundredths) from this one ...
    int toVersion;    // ... up to, not including, this one
    const char* protocols;
};

constexpr int kEveryVersionFrom = -32768;
constexpr int kEveryVersionTo = 32768;

// The GPS 12 family and the handhelds of its time. D103 carries the GPS 12's own 16 symbols;
// A400 is the proximity waypoints, which the units of software 3.50 to 3.60 leave out.
constexpr const char* kD100Handheld =
    "L001 A010 A100 D100 A200 D201 D100 A300 D300 A500 D500 A600 D600 A700 D700";
constexpr const char* kGps12BeforeSymbols =
    "L001 A010 A100 D100 A200 D201 D100 A300 D300 A400 D400 A500 D501 A600 D600 A700 D700";
constexpr const char* kD103WithProximity =
    "L001 A010 A100 D103 A200 D201 D103 A300 D300 A400 D403 A500 D501 A600 D600 A700 D700";
constexpr const char* kD103 =
    "L001 A010 A100 D103 A200 D201 D103 A300 D300 A500 D501 A600 D600 A700 D700";
constexpr const char* kGpsIII =
    "L001 A010 A100 D104 A200 D201 D104 A300 D300 A500 D501 A600 D600 A700 D700";

constexpr ArraylessProduct kArraylessProducts[] = {
    {31, kEveryVersionFrom, kEveryVersionTo, kD100Handheld},  // GPS 40, GPS 45
    {41, kEveryVersionFrom, kEveryVersionTo, kD100Handheld},  // GPS 38, GPS 40, GPS 45 (XL)
    {47, kEveryVersionFrom, kEveryVersionTo, kD100Handheld},  // GPS 120
    {59, kEveryVersionFrom, kEveryVersionTo, kD100Handheld},  // GPS II
    {72, kEveryVersionFrom, kEveryVersionTo, kGpsIII},        // GPS III
    {73, kEveryVersionFrom, kEveryVersionTo, kD103},          // GPS II Plus
    {77, kEveryVersionFrom, 301, kGps12BeforeSymbols},        // GPS 12, GPS 12 XL
    {77, 301, 350, kD103WithProximity},
    {77, 350, 361, kD103},
    {77, 361, kEveryVersionTo, kD103WithProximity},
    {87, kEveryVersionFrom, kEveryVersionTo, kD103WithProximity},   // GPS 12
    {95, kEveryVersionFrom, kEveryVersionTo, kD103WithProximity},   // GPS 126, GPS 128
    {96, kEveryVersionFrom, kEveryVersionTo, kD103WithProximity},   // GPS 12 (XL), GPS 48
    {97, kEveryVersionFrom, kEveryVersionTo, kD103},                // GPS II Plus
    {100, kEveryVersionFrom, kEveryVersionTo, kD103WithProximity},  // GPS 126, 128 Chinese
    {105, kEveryVersionFrom, kEveryVersionTo, kD103WithProximity},  // GPS 12 XL Japanese
    {106, kEveryVersionFrom, kEveryVersionTo, kD103WithProximity},  // GPS 12 XL Chinese
};

// The protocols of a list as DescribeProtocols writes it. The lists are the program's own:
// one it cannot read is a mistake in this file.
UnitProtocols ProtocolsOfList(std::string_view list)
{
    std::vector<uint8_t> bytes;
    size_t at = 0;
    while (at < list.size()) {
        if (list[at] == ' ') {
            ++at;
            continue;
        }
        char tag = list[at++];
        unsigned number = 0;
        size_t digits = 0;
        for (; at < list.size() && std::isdigit(static_cast<unsigned char>(list[at])); ++at) {
            number = number * 10 + static_cast<unsigned>(list[at] - '0');
            ++digits;
        }
        if (digits == 0 || digits > 5 || number > 0xFFFF) {
            throw std::logic_error("unreadable protocol list: " + std::string(list));
        }
        bytes.insert(bytes.end(), {static_cast<uint8_t>(tag), static_cast<uint8_t>(number),
                                   static_cast<uint8_t>(number >> 8)});
    }
    return ParseProtocolArray(bytes.data(), bytes.size());
}

// A known unit as the table below gives it: its protocol array as a list, or null for a unit
// that sends none (ProtocolsOfProduct knows its protocols).
struct KnownUnitRow {
    const char* model;
    const char* name;
    uint16_t productId;
    int16_t softwareVersion;
    const char* description;
    const char* protocolArray;
    int nameLength;
    ReceiverProfile::NameCharacters nameCharacters;
    int commentLength;
    int maxWaypoints;
    int maxRoutes;
    int maxRoutePoints;
    int maxTrackpoints;
    int fastestBaud;
};

constexpr auto kIdent = ReceiverProfile::NameCharacters::IDENT;
constexpr auto kPrintable = ReceiverProfile::NameCharacters::PRINTABLE;

constexpr KnownUnitRow kKnownUnitRows[] = {
    // Product 77 from software 3.61 on, as the table above has it; a GPS 12 on GPSBabel's
    // bench reports routes A200 D201 D103 (GPSBabel issue 1293). Product data as the
    // simulator has always sent it; limits from the owner's manual, as gps/ReceiverProfile.cpp
    // has them for the GPS 12.
    {"gps12", "GPS 12", 77, 460, "GPS 12 Software Version 4.60", nullptr, 6, kIdent, 40, 500, 20,
     30, 1024, 9600},
    // Product 72 in the table above; names of 6 characters as GPSBabel writes them for the
    // GPS III. Software version, description and limits assumed (the family's 500 waypoints
    // and 20 routes of 30 points, a track log of 1900 points).
    {"gps3", "GPS III", 72, 250, "GPS III Software Version 2.50", nullptr, 6, kIdent, 40, 500, 20,
     30, 1900, 9600},
    // Product 130, the yellow eTrex: GPSBabel gives it D108 waypoints with names of 6
    // characters. Its routes and tracks (A201 D202 D108 D210, A301 D310 D301), the rest of
    // the array, the software version and the limits are assumed.
    {"etrex", "eTrex", 130, 215, "eTrex Software Version 2.15",
     "P000 L001 A010 A100 D108 A201 D202 D108 D210 A301 D310 D301 A500 D501 A600 D600 A700 D700 "
     "A800 D800",
     6, kIdent, 50, 500, 1, 50, 2048, 9600},
    // Product 291: GPSBabel names it and writes names of 10 upper-case characters to it. D109
    // and the rest of the array are assumed, between the eTrex's and the GPSMAP 60CSx's;
    // software version and limits assumed.
    {"gpsmap60cs", "GPSMAP 60CS", 291, 350, "GPSMAP 60CS Software Version 3.50",
     "P000 L001 A010 A100 D109 A201 D202 D109 D210 A301 D310 D301 A400 D109 A500 D501 A600 D600 "
     "A700 D700 A800 D800",
     10, kIdent, 50, 1000, 50, 250, 10000, 9600},
    // Product 292 and its product data as a GPSMAP 60CSx gives them to GPSBabel's users;
    // names of 14 characters of either case (GPSBabel). The array as an eTrex Venture HC of
    // the same generation sends it (GPSBabel issue 381), with P000 L001 assumed in front. The
    // faster line up to 115200 baud (packets 0x30 / 0x31, as GPSBabel switches serial units)
    // and the limits are assumed.
    {"gpsmap60csx", "GPSMAP 60CSx", 292, 410, "GPSMap60CSX Software Version 4.10",
     "P000 L001 A010 A100 D110 A201 D202 D110 D210 A301 D312 D302 A400 D110 A500 D501 A600 D600 "
     "A601 D601 A700 D700 A800 D800 A801 D801 A900 A902 A903 A904 A905 D900 A907 D907 D908 D909 "
     "D910 A908 D911 A914 A916 A917 D917 A918 D918",
     14, kPrintable, 50, 1000, 50, 250, 10000, 115200},
    // The maker's fitness units: GPSBabel reads tracks of the Forerunner 301 with A302, track
    // headers D311 and points D303, and its laps as D1001 (A906). Product id 473 as the
    // maker's FIT product list numbers it; waypoints, routes, software version and limits
    // assumed.
    {"forerunner301", "Forerunner 301", 473, 250, "Forerunner 301 Software Version 2.50",
     "P000 L001 A010 A100 D108 A201 D202 D108 D210 A302 D311 D303 A500 D501 A600 D600 A700 D700 "
     "A800 D800 A906 D1001",
     6, kIdent, 50, 100, 20, 50, 10000, 9600},
};

std::vector<UnitProfile> MakeKnownUnits()
{
    std::vector<UnitProfile> units;
    for (const KnownUnitRow& row : kKnownUnitRows) {
        std::optional<UnitProtocols> protocols =
            row.protocolArray != nullptr ? ProtocolsOfList(row.protocolArray)
                                         : ProtocolsOfProduct(row.productId, row.softwareVersion);
        if (!protocols) {
            throw std::logic_error(std::string("no protocols for the known unit ") + row.model);
        }
        units.push_back({row.model, row.name, row.productId, row.softwareVersion, row.description,
                         row.protocolArray != nullptr, *protocols, row.nameLength,
                         row.nameCharacters, row.commentLength, row.maxWaypoints, row.maxRoutes,
                         row.maxRoutePoints, row.maxTrackpoints, row.fastestBaud});
    }
    return units;
}

}  // namespace

std::span<const UnitProfile> KnownUnits()
{
    static const std::vector<UnitProfile> units = MakeKnownUnits();
    return units;
}

const UnitProfile* UnitByModel(std::string_view model)
{
    for (const UnitProfile& unit : KnownUnits()) {
        if (model == unit.model) {
            return &unit;
        }
    }
    return nullptr;
}

std::optional<UnitProtocols> ProtocolsOfProduct(uint16_t productId, int16_t softwareVersion)
{
    for (const ArraylessProduct& product : kArraylessProducts) {
        if (product.productId == productId && softwareVersion >= product.fromVersion &&
            softwareVersion < product.toVersion) {
            UnitProtocols protocols = ProtocolsOfList(product.protocols);
            protocols.fromArray = false;
            return protocols;
        }
    }
    return std::nullopt;
}

std::string ReceiverIdOf(const UnitProtocols& protocols, uint16_t productId)
{
    for (const UnitProfile& unit : KnownUnits()) {
        if (unit.productId == productId) {
            return unit.model;
        }
    }
    return protocols.waypointType >= 105 ? "named50" : "gps12";
}
