#include "gps/RichRecords.h"

#include <gtest/gtest.h>

#include "gps/ReceiverProfile.h"
#include "tests/gps/GpsTestRecords.h"

TEST(RichRecords, TheIdentIsTheNameByTheIdentRuleAndTheDetailsKeepOnlyWhatItLoses)
{
    struct Case {
        const char* name;
        const char* ident;
        const char* kept;  // in the details
    } cases[] = {
        {"ZUG", "ZUG   ", ""},
        {"Zug", "ZUG   ", "Zug"},
        {"Aussicht Zugerberg", "AUSSIC", "Aussicht Zugerberg"},
        {"123456789012345678901234567890123456789012345678901234567890", "123456",
         "12345678901234567890123456789012345678901234567890"},
    };
    for (const Case& c : cases) {
        WaypointRecord w = TestWaypoint(1);
        WaypointDetails d = NoWaypointDetails();
        SetWaypointName(w, d, c.name);
        EXPECT_EQ(WaypointIdent(w), c.ident) << c.name;
        EXPECT_EQ(FieldText(d.name, sizeof d.name), c.kept) << c.name;
        EXPECT_EQ(WaypointName(w, d), *c.kept ? c.kept : c.ident) << c.name;
    }
}

TEST(RichRecords, ARecordChangedAloneDropsTheDetailsItContradicts)
{
    WaypointRecord w = TestWaypoint(1);
    WaypointDetails d = NoWaypointDetails();
    SetWaypointName(w, d, "Aussicht Zugerberg");
    SetWaypointComment(w, d, std::string(45, 'k'));
    SetWaypointFullSymbol(w, d, *SymbolByName("Marina"));
    EXPECT_EQ(w.symbol, SYMBOL_BOAT) << "the nearest of the 16";
    DropDetailsTheRecordContradicts(w, d);
    EXPECT_EQ(WaypointFullSymbol(w, d), *SymbolByName("Marina"));
    EXPECT_EQ(WaypointName(w, d), "Aussicht Zugerberg") << "the record agrees";
    EXPECT_EQ(WaypointLongComment(w, d).size(), 45u);

    SetFieldText(w.ident, sizeof w.ident, "HAFEN ");
    SetFieldText(w.comment, sizeof w.comment, "neu");
    w.symbol = SYMBOL_FLAG;
    DropDetailsTheRecordContradicts(w, d);
    EXPECT_TRUE(IsEmpty(d));
    EXPECT_EQ(WaypointName(w, d), "HAFEN ");
}

TEST(ReceiverProfile, TypedNamesFollowTheReceiversRules)
{
    // Names are Windows-1252: \xFC is ü.
    struct Case {
        const char* profile;
        const char* typed;
        const char* stored;  // nullptr: refused
    } cases[] = {
        {"gps12", "Zug-S\xFC" "d 2", "ZUG-SU"},
        {"gps12", "%%%", nullptr},
        {"named14", "Zug-S\xFC" "d 2, Hafen", "Zug-S\xFC" "d 2, Haf"},
        {"named14", "  \t ", nullptr},
        {"unknown", "ab", "AB    "},
    };
    for (const Case& c : cases) {
        auto stored = TypedName(ProfileOf(c.profile), c.typed);
        if (!c.stored) {
            EXPECT_FALSE(stored) << c.typed;
        } else {
            EXPECT_EQ(stored.value_or("(refused)"), c.stored) << c.typed;
        }
    }
}
