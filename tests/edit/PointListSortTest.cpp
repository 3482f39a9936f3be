#include "edit/PointListSort.h"

#include <gtest/gtest.h>

namespace {

TEST(PointListSort, CellTextsCompareAsUnsignedBytes)
{
    struct Case {
        const char* legend;
        std::string a, b;
        int ascending;  // sign of the result
    } cases[] = {
        {"equal", "ABC", "ABC", 0},
        {"both empty", "", "", 0},
        {"upper case before lower case", "B", "a", -1},
        {"a prefix comes first", "AB", "ABC", -1},
        {"empty before anything", "", "0", -1},
        {"bytes above 0x7F after ASCII", "\xe4", "z", 1},
        {"digits sort as text", "10", "9", -1},
        {"zero-padded numbers sort numerically", "009", "010", -1},
        {"minus sign before digits", "-1", "00", -1},
    };
    auto sign = [](int v) { return (v > 0) - (v < 0); };
    for (const Case& c : cases) {
        EXPECT_EQ(sign(CompareCellTexts(c.a, c.b, false)), c.ascending) << c.legend;
        EXPECT_EQ(sign(CompareCellTexts(c.a, c.b, true)), -c.ascending) << c.legend;
        EXPECT_EQ(sign(CompareCellTexts(c.b, c.a, false)), -c.ascending) << c.legend;
    }
}

TEST(PointListSort, RowOrderIsStableInBothDirections)
{
    std::vector<std::string> keys = {"b", "a", "b", "c", "a"};
    EXPECT_EQ(SortedRowOrder(keys, false), (std::vector<int>{1, 4, 0, 2, 3}));
    EXPECT_EQ(SortedRowOrder(keys, true), (std::vector<int>{3, 0, 2, 1, 4}));
    EXPECT_TRUE(SortedRowOrder({}, false).empty());
}

TEST(PointListSort, TheSameColumnTogglesAnotherKeepsTheDirection)
{
    ListSortState state;
    struct Step {
        int click;
        int column;
        bool descending;
    } steps[] = {
        {0, 0, true},                 // the initial column: reversed
        {0, 0, false},                // and back
        {3, 3, false},                // another column, ascending kept
        {3, 3, true},  {1, 1, true},  // another column, descending kept
    };
    for (const Step& s : steps) {
        ClickSortColumn(state, s.click);
        EXPECT_EQ(state.column, s.column) << "click " << s.click;
        EXPECT_EQ(state.descending, s.descending) << "click " << s.click;
    }
    EXPECT_EQ(&SharedListSortState(), &SharedListSortState());
}

}  // namespace
