#include "gps/WaypointName.h"

#include <gtest/gtest.h>

namespace {

TEST(WaypointName, IdentsHoldOnlyWhatReceiversAccept)
{
    struct Case {
        const char* legend;
        std::string name;  // Windows-1252
        std::string ident;
    } cases[] = {
        {"padded with blanks", "AB", "AB    "},
        {"empty", "", "      "},
        {"cut to six", "ABCDEFGH", "ABCDEF"},
        {"digits, blank and hyphen stay", "1 2-3", "1 2-3 "},
        {"lower case goes up", "MiXeD", "MIXED "},
        {"umlauts lose their dots", "\xe4\xf6\xfc\xc4\xd6\xdc", "AOUAOU"},
        {"other accented letters", "\xe9\xc7\xf1\xf8\xfd\xff", "ECNOYY"},
        {"caron letters and Y diaeresis", "\x8a\x9a\x8e\x9e\x9f", "SSZZY "},
        {"sharp s and ligatures spelled out", "\xdf\xe6\x9c", "SSAEOE"},
        {"thorn and eth", "\xfe\xf0", "THD   "},
        {"other characters are left out", "P.1_a/b", "P1AB  "},
        {"signs of the upper half too", "\xb5\xd7\xf7\xa7\x80x", "X     "},
        {"cut after leaving out", "A.B.C.D.E.F.G", "ABCDEF"},
        {"spelling out stops at the field", "ABCDE\xdf", "ABCDES"},
        {"the name ends at a zero byte", std::string("ab\0cd", 5), "AB    "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NormalizeWaypointIdent(c.name), c.ident) << c.legend;
    }
}

}  // namespace
