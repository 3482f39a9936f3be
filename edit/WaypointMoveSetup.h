#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "edit/WaypointTransform.h"

class CDataDoc;

// How the move dialog's OK builds its transform.
enum MoveMode {
    MOVE_FROM_POINTS = 0,      // from the chosen points
    MOVE_STORED_SET = 1,       // a stored correction set, unchanged
    MOVE_SET_ABOUT_POINT = 2,  // a stored set's rotation and scale about a newly chosen point
    MOVE_AND_STORE = 3,        // from the chosen points, stored as a new correction set
};

// The points of the move dialog, in the order of its four "<-- use selection" buttons.
enum MovePoint {
    MOVE_REFERENCE1,
    MOVE_CORRECTION1,
    MOVE_REFERENCE2,
    MOVE_CORRECTION2,
    MOVE_POINT_COUNT
};

// What the user has chosen in the "Move selected Waypoints" dialog, and its OK: building the
// transform, storing it as a correction set and moving the selected waypoints of the
// document. Point texts are UTF-8, as the dialog shows them.
class WaypointMoveSetup {
public:
    MoveMode Mode() const { return mode_; }
    // The record index of a chosen point, -1 while none is chosen.
    int PointIndex(MovePoint point) const { return indices_[point]; }
    const std::string& PointText(MovePoint point) const { return texts_[point]; }

    // A "<-- use selection" button with the select list's entry (record index, text). The
    // button of reference 1 in mode MOVE_STORED_SET switches to MOVE_SET_ABOUT_POINT, and in
    // that mode also takes the entry as correction 1.
    void TakePoint(MovePoint point, int recordIndex, std::string_view text);
    // "Use": shows the set's reference and target as "* NAME" and switches to
    // MOVE_STORED_SET; the chosen indices stay.
    void UseCorrectionSet(const MapCorrectionSet& set);
    // "Set": the result of OK is also stored as a new correction set.
    void StoreNextResult() { mode_ = MOVE_AND_STORE; }

    // OK may be pressed: reference 1 and correction 1 are chosen.
    bool PointsChosen() const;

    // OK. `selected` are the record indices of the selected waypoints in row order,
    // `typedName` the text of the correction set box (UTF-8), `selectedSet` the index of
    // the set selected there or -1. Returns false, changing nothing, when the required
    // points or set are missing or a chosen point cannot be fetched; else stores the set
    // (mode MOVE_AND_STORE; the document is then modified even after undoing the move),
    // moves the selected waypoints as one undo step and returns true. The document's views
    // are not told.
    bool Confirm(CDataDoc& doc, const std::vector<int>& selected, std::string_view typedName,
                 int selectedSet) const;

private:
    MoveMode mode_ = MOVE_FROM_POINTS;
    std::array<int, MOVE_POINT_COUNT> indices_{-1, -1, -1, -1};
    std::array<std::string, MOVE_POINT_COUNT> texts_;
};
