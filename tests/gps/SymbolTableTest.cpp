#include "gps/SymbolTable.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

#include "gps/Records.h"

namespace {

std::string Lower(std::string_view s)
{
    std::string out(s);
    for (char& c : out) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

TEST(SymbolTable, OrderedByNumberEachNumberAndNameOnceAndFoundBothWays)
{
    std::set<std::string> names;
    int previous = -1;
    for (const SymbolInfo& s : AllSymbols()) {
        EXPECT_GT(s.number, previous) << s.name;
        EXPECT_TRUE(names.insert(Lower(s.name)).second) << s.name << " twice";
        EXPECT_STREQ(SymbolName(s.number), s.name);
        EXPECT_EQ(SymbolByName(s.name), s.number) << s.name;
        previous = s.number;
    }
}

TEST(SymbolTable, NamesAndNumbersOutsideTheTable)
{
    struct Case {
        const char* legend;
        const char* name;
        std::optional<uint16_t> number;
    } cases[] = {
        {"any case", "gAS sTATION", 8},
        {"comma and colour", "FLAG, BLUE", 8284},
        {"GPSBabel's other spelling", "hotel", 173},
        {"no comma, no symbol", "Flag Blue", std::nullopt},
        {"a name with a blank more", "Gas Station ", std::nullopt},
        {"empty", "", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SymbolByName(c.name), c.number) << c.legend;
    }
    for (uint16_t number : {uint16_t(38), uint16_t(7680), uint16_t(8224), SYMBOL_NONE}) {
        EXPECT_EQ(SymbolName(number), nullptr) << number;
    }
}

TEST(SymbolTable, RecordSymbolsGoToTheirFullSymbolAndBack)
{
    std::set<uint16_t> used;
    for (int s = 0; s < SYMBOL_COUNT; ++s) {
        uint16_t full = FullSymbolOfRecordSymbol(s);
        EXPECT_NE(SymbolName(full), nullptr) << s;
        EXPECT_EQ(RecordSymbolOfFullSymbol(full), s);
        used.insert(full);
    }
    EXPECT_EQ(used.size(), size_t(SYMBOL_COUNT));
    EXPECT_STREQ(SymbolName(FullSymbolOfRecordSymbol(-1)), "Waypoint");
    EXPECT_STREQ(SymbolName(FullSymbolOfRecordSymbol(SYMBOL_COUNT)), "Waypoint");
}

TEST(SymbolTable, FullSymbolsGoToTheNearestRecordSymbol)
{
    struct Case {
        const char* name;
        int record;
    } cases[] = {
        {"Boat Ramp", SYMBOL_BOAT},    {"Convenience Store", SYMBOL_GAS},
        {"Flag, Green", SYMBOL_FLAG},  {"Navaid, Red", SYMBOL_BUOY},
        {"Danger Area", SYMBOL_SKULL}, {"Airport", SYMBOL_DOT},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RecordSymbolOfFullSymbol(*SymbolByName(c.name)), c.record) << c.name;
    }
    EXPECT_EQ(RecordSymbolOfFullSymbol(SYMBOL_NONE), SYMBOL_DOT);
}

}  // namespace
