#include "edit/DialogNumbers.h"

#include <climits>

#include <gtest/gtest.h>

#include "tests/edit/ProcessSettings.h"

namespace {

TEST(DialogNumbers, IntegersAllowBlanksAndASignAndClampBeyondTheRange)
{
    struct Case {
        const char* text;
        std::optional<int> value;
    } cases[] = {
        {"90", 90},
        {" \t360 ", 360},
        {"+7", 7},
        {"-7", -7},
        {"99999999999", INT_MAX},
        {"-99999999999", INT_MIN},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"12a", std::nullopt},
        {"1.5", std::nullopt},
        {"1 2", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseDialogInt(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(DialogNumbers, NumbersMustBeFiniteAndWhole)
{
    ScopedLocale locale("C");
    struct Case {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"1.5", 1.5},          {" -2e3\t", -2000},      {".5", 0.5},
        {"", std::nullopt},    {"1.5x", std::nullopt},  {"nan", std::nullopt},
        {"inf", std::nullopt}, {"1e400", std::nullopt}, {"abc", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseDialogDouble(c.text), c.value) << '"' << c.text << '"';
    }
    EXPECT_EQ(FormatDialogDouble(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(FormatDialogDouble(13.5), "13.5");
    EXPECT_EQ(FormatDialogDouble(1e20), "1e+20");
}

TEST(DialogNumbers, TheDecimalSeparatorFollowsTheProcessLocale)
{
    ScopedLocale german("de_DE.UTF-8");
    if (!german.ok()) {
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    }
    EXPECT_EQ(FormatDialogDouble(13.5), "13,5");
    EXPECT_EQ(ParseDialogDouble("1,25"), 1.25);
    EXPECT_EQ(ParseDialogDouble("1.25"), std::nullopt);
}

TEST(DialogNumbers, PromptsNameTheRange)
{
    EXPECT_EQ(PromptIntegerBetween(0, 360), "Please enter an integer between 0 and 360.");
    EXPECT_EQ(PromptNumberBetween(0, 2000), "Please enter a number between 0 and 2000.");
    EXPECT_EQ(PromptMaxChars(6), "Please enter no more than 6 characters.");
    EXPECT_EQ(PromptEnterInteger(), "Please enter an integer.");
    EXPECT_EQ(PromptEnterNumber(), "Please enter a number.");
}

}  // namespace
