#include "edit/PointListSort.h"

#include <algorithm>
#include <cstring>
#include <numeric>

ListSortState& SharedListSortState()
{
    static ListSortState state;
    return state;
}

void ClickSortColumn(ListSortState& state, int column)
{
    if (column == state.column) {
        state.descending = !state.descending;
    } else {
        state.column = column;
    }
}

int CompareCellTexts(std::string_view a, std::string_view b, bool descending)
{
    size_t common = std::min(a.size(), b.size());
    int result = common > 0 ? std::memcmp(a.data(), b.data(), common) : 0;
    if (result == 0) {
        result = a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
    } else {
        result = result < 0 ? -1 : 1;
    }
    return descending ? -result : result;
}

std::vector<int> SortedRowOrder(const std::vector<std::string>& keys, bool descending)
{
    std::vector<int> order(keys.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int x, int y) {
        return CompareCellTexts(keys[static_cast<size_t>(x)], keys[static_cast<size_t>(y)],
                                descending) < 0;
    });
    return order;
}
