#include <algorithm>
#include <functional>
#include <sstream>

#include <gtest/gtest.h>

#include "link/UnitProfile.h"

namespace {

using Bytes = std::vector<uint8_t>;

// The payload of packet 253 for a list such as "P000 L001 A100 D108".
Bytes ArrayOf(const std::string& list)
{
    Bytes bytes;
    std::istringstream words(list);
    for (std::string word; words >> word;) {
        int number = std::stoi(word.substr(1));
        bytes.insert(bytes.end(), {static_cast<uint8_t>(word[0]), static_cast<uint8_t>(number),
                                   static_cast<uint8_t>(number >> 8)});
    }
    return bytes;
}

std::vector<int> FieldsOf(const UnitProtocols& p)
{
    return std::vector<int>({p.link, p.waypoints, p.waypointType, p.routes, p.routeHeaderType,
                             p.routeWaypointType, p.routeLinkType, p.tracks, p.trackHeaderType,
                             p.trackPointType, p.time, p.timeType, p.pvt, p.pvtType});
}

TEST(UnitProtocols, ArraysGiveTheTransfersAndKeepTheRestInTheirOrder)
{
    struct Case {
        const char* legend;
        std::string array;
        std::vector<int> fields;  // as FieldsOf lists them
        std::string others;
    } cases[] = {
        {"an eTrex Venture HC, as it reports to GPSBabel",
         "P000 L001 A010 A100 D110 A201 D202 D110 D210 A301 D312 D302 A400 D110 A500 D501 A600 "
         "D600 A601 D601 A700 D700 A800 D800 A801 D801 A900 A902 A903 A904 A905 D900 A907 D907 "
         "D908 D909 D910 A908 D911 A914 A916 A917 D917 A918 D918",
         {1, 100, 110, 201, 202, 110, 210, 301, 312, 302, 600, 600, 800, 800},
         "P000 A010 A400 D110 A500 D501 A601 D601 A700 D700 A801 D801 A900 A902 A903 A904 A905 "
         "D900 A907 D907 D908 D909 D910 A908 D911 A914 A916 A917 D917 A918 D918"},
        {"a protocol with a data type more than the program knows is kept aside",
         "L002 A100 D108 D999 A302 D311 D304",
         {2, 0, 0, 0, 0, 0, 0, 302, 311, 304, 0, 0, 0, 0},
         "A100 D108 D999"},
        {"an empty array: a unit that speaks nothing", "", std::vector<int>(14, 0), ""},
    };
    for (const Case& c : cases) {
        Bytes bytes = ArrayOf(c.array);
        UnitProtocols read = ParseProtocolArray(bytes.data(), bytes.size());
        UnitProtocols rest;
        rest.others = read.others;
        EXPECT_EQ(FieldsOf(read), c.fields) << c.legend;
        EXPECT_EQ(DescribeProtocols(rest), c.others) << c.legend;
        EXPECT_EQ(EncodeProtocolArray(read), bytes) << c.legend << ": written back as it came";
        EXPECT_EQ(DescribeProtocols(read), c.array) << c.legend;
    }
}

TEST(UnitProtocols, DamagedArraysAreRefusedWithWhatIsWrong)
{
    struct Case {
        const char* legend;
        Bytes bytes;
        std::string error;
    } cases[] = {
        {"cut in an entry", {'A', 100, 0, 'D', 108, 0, 'A'}, "7 Bytes sind keine ganzen Einträge"},
        {"a tag other than P L A D", ArrayOf("A100 D108 X001"),
         "Eintrag 3 hat die unbekannte Kennung 0x58"},
        {"a data type first", ArrayOf("D108 A100"),
         "Eintrag 1 (D108) ist ein Datentyp ohne Anwendungsprotokoll davor"},
        {"a data type after a link protocol", ArrayOf("A100 D108 L001 D005"),
         "Eintrag 4 (D005) ist ein Datentyp ohne Anwendungsprotokoll davor"},
        {"A201 without its link type", ArrayOf("A201 D202 D108"),
         "zu A201 fehlen Datentypen (3 nötig, 2 genannt)"},
        {"a protocol listed twice", ArrayOf("A010 A010"), "A010 steht zweimal darin"},
        {"two route protocols", ArrayOf("A200 D201 D103 A201 D202 D108 D210"),
         "A200 und A201 beschreiben beide Routen"},
    };
    for (const Case& c : cases) {
        try {
            ParseProtocolArray(c.bytes.data(), c.bytes.size());
            ADD_FAILURE() << c.legend << ": read";
        } catch (const ProtocolArrayError& e) {
            EXPECT_EQ(std::string(e.what()), "Protokollliste: " + c.error) << c.legend;
        }
    }
}

TEST(UnitProducts, TheGps12FamilyIsKnownByProductAndSoftwareVersion)
{
    struct Case {
        const char* legend;
        uint16_t product;
        int16_t version;
        int waypointType;
        std::string proximity;  // the A400 protocol with its type, or empty
    } cases[] = {
        {"GPS 12 before software 3.01", 77, 300, 100, "A400 D400"},
        {"GPS 12 from 3.01", 77, 301, 103, "A400 D403"},
        {"GPS 12 3.50 to 3.60: no proximity waypoints", 77, 360, 103, ""},
        {"GPS 12 from 3.61", 77, 361, 103, "A400 D403"},
        {"GPS 12 of product 87", 87, 200, 103, "A400 D403"},
        {"GPS 12 XL of product 96", 96, 250, 103, "A400 D403"},
    };
    for (const Case& c : cases) {
        std::optional<UnitProtocols> p = ProtocolsOfProduct(c.product, c.version);
        ASSERT_TRUE(p) << c.legend;
        EXPECT_FALSE(p->fromArray) << c.legend;
        EXPECT_EQ(FieldsOf(*p), (std::vector<int>{1, 100, c.waypointType, 200, 201, c.waypointType,
                                                  0, 300, 0, 300, 600, 600, 0, 0}))
            << c.legend;
        std::string text = DescribeProtocols(*p);
        size_t at = text.find("A400");
        EXPECT_EQ(at == std::string::npos ? "" : text.substr(at, 9), c.proximity) << c.legend;
    }
    EXPECT_FALSE(ProtocolsOfProduct(4711, 460)) << "a product the table does not hold";
}

TEST(UnitProfile, EveryKnownUnitsArrayFitsAPacketAndReadsBackTheSame)
{
    for (const UnitProfile& unit : KnownUnits()) {
        Bytes bytes = EncodeProtocolArray(unit.protocols);
        EXPECT_LE(bytes.size(), 255u) << unit.model;
        UnitProtocols expected = unit.protocols;
        expected.fromArray = true;
        EXPECT_EQ(ParseProtocolArray(bytes.data(), bytes.size()), expected) << unit.model;
        EXPECT_EQ(UnitByModel(unit.model), &unit);
    }
}

TEST(UnitProfile, KnownUnitsTogetherCoverWhatTheProgramSpeaks)
{
    auto speaks = [](int UnitProtocols::*field, int number) {
        return [=](const UnitProfile& unit) { return unit.protocols.*field == number; };
    };
    struct Need {
        const char* legend;
        std::function<bool(const UnitProfile&)> met;
    } needs[] = {
        {"D103 waypoints", speaks(&UnitProtocols::waypointType, 103)},
        {"D108 waypoints", speaks(&UnitProtocols::waypointType, 108)},
        {"D109 waypoints", speaks(&UnitProtocols::waypointType, 109)},
        {"D110 waypoints", speaks(&UnitProtocols::waypointType, 110)},
        {"A200 routes", speaks(&UnitProtocols::routes, 200)},
        {"A201 routes", speaks(&UnitProtocols::routes, 201)},
        {"A300 tracks", speaks(&UnitProtocols::tracks, 300)},
        {"A301 tracks", speaks(&UnitProtocols::tracks, 301)},
        {"A302 tracks", speaks(&UnitProtocols::tracks, 302)},
        {"a unit with a protocol array", [](const UnitProfile& u) { return u.sendsProtocolArray; }},
        {"a unit without one", [](const UnitProfile& u) { return !u.sendsProtocolArray; }},
        {"a line up to 115200 baud", [](const UnitProfile& u) { return u.fastestBaud == 115200; }},
    };
    for (const Need& need : needs) {
        EXPECT_TRUE(std::any_of(KnownUnits().begin(), KnownUnits().end(), need.met)) << need.legend;
    }
}

TEST(UnitProfile, TheGps12IsTheSimulatorsAndHoldsWhatTheDocumentsGps12Holds)
{
    const UnitProfile& unit = KnownUnits().front();
    const ReceiverProfile& rules = Gps12Profile();
    EXPECT_EQ(std::vector<int>({unit.productId, unit.softwareVersion, unit.sendsProtocolArray,
                                unit.fastestBaud}),
              std::vector<int>({77, 460, false, 9600}));
    EXPECT_EQ(&ProfileOf(unit.model), &rules);
    // Every unit's rules are a document's receiver profile of the same name.
    for (const UnitProfile& u : KnownUnits()) {
        const ReceiverProfile& p = ProfileOf(u.model);
        EXPECT_EQ(std::string(p.id), u.model);
        EXPECT_EQ(std::vector<int>({u.nameLength, u.commentLength, u.maxWaypoints, u.maxRoutes,
                                    u.maxRoutePoints, u.maxTrackpoints}),
                  std::vector<int>({p.nameLength, p.commentLength, p.maxWaypoints, p.maxRoutes,
                                    p.maxRoutePoints, p.maxTrackpoints}))
            << u.model;
        EXPECT_EQ(u.nameCharacters, p.characters) << u.model;
    }
}

}  // namespace
