#pragma once

#include <string>
#include <string_view>
#include <vector>

// The sort state of the point lists: one for the whole program, shared by all lists of all
// documents, used on the user-interface thread only.
struct ListSortState {
    int column = 0;
    bool descending = false;
};

ListSortState& SharedListSortState();

// A click on the header of `column`: the same column again reverses the direction, another
// column becomes the sort column with the direction kept.
void ClickSortColumn(ListSortState& state, int column);

// Compares two cell texts byte by byte as unsigned characters (strcmp order: case-sensitive,
// no collation, a prefix first); the result negated when descending. <0, 0 or >0.
int CompareCellTexts(std::string_view a, std::string_view b, bool descending);

// The order of rows sorted by their texts (keys[i] is the text of row i): element k is
// the row that comes to position k. Rows with equal texts keep their order.
std::vector<int> SortedRowOrder(const std::vector<std::string>& keys, bool descending);
