#include "framework/Cp1252.h"

#include <gtest/gtest.h>

namespace {

TEST(Cp1252, EveryByteSurvivesARoundTripThroughUtf8)
{
    std::string all;
    for (int b = 1; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(Cp1252, GermanLettersAndTheEuroSign)
{
    EXPECT_EQ(Cp1252ToUtf8("Stra\xDF"
                           "e \x80"),
              "Straße €");
    EXPECT_EQ(Utf8ToCp1252("Grüße €"),
              "Gr\xFC\xDF"
              "e \x80");
}

TEST(Cp1252, CharactersWithoutAByteAndBrokenUtf8BecomeTheReplacement)
{
    EXPECT_EQ(Utf8ToCp1252("Ω日"), "??");
    EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?");               // sequence cut short
    EXPECT_EQ(Utf8ToCp1252("\xC0\xAF"), "??");            // overlong encoding
    EXPECT_EQ(Utf8ToCp1252("\xED\xA0\x80", '_'), "___");  // surrogate
}

}  // namespace
