#include "edit/WaypointMoveSetup.h"

#include "framework/Cp1252.h"
#include "gps/CDataDoc.h"

namespace {

std::string StoredPointText(const WaypointRecord& w)
{
    return "* " + Cp1252ToUtf8(WaypointIdent(w));
}

}  // namespace

void WaypointMoveSetup::TakePoint(MovePoint point, int recordIndex, std::string_view text)
{
    if (point == MOVE_REFERENCE1 && mode_ == MOVE_STORED_SET) {
        mode_ = MOVE_SET_ABOUT_POINT;
    }
    indices_[point] = recordIndex;
    texts_[point] = text;
    if (point == MOVE_REFERENCE1 && mode_ == MOVE_SET_ABOUT_POINT) {
        TakePoint(MOVE_CORRECTION1, recordIndex, text);
    }
}

void WaypointMoveSetup::UseCorrectionSet(const MapCorrectionSet& set)
{
    texts_[MOVE_REFERENCE1] = StoredPointText(set.reference);
    texts_[MOVE_CORRECTION1] = StoredPointText(set.target);
    mode_ = MOVE_STORED_SET;
}

bool WaypointMoveSetup::PointsChosen() const
{
    return indices_[MOVE_REFERENCE1] >= 0 && indices_[MOVE_CORRECTION1] >= 0;
}

bool WaypointMoveSetup::Confirm(CDataDoc& doc, const std::vector<int>& selected,
                                std::string_view typedName, int selectedSet) const
{
    if (!PointsChosen() && mode_ != MOVE_STORED_SET) {
        return false;
    }
    std::array<WaypointRecord, MOVE_POINT_COUNT> points{};
    if (mode_ != MOVE_STORED_SET) {
        if (doc.GetWaypoint(indices_[MOVE_REFERENCE1], points[MOVE_REFERENCE1]) != DOC_OK ||
            doc.GetWaypoint(indices_[MOVE_CORRECTION1], points[MOVE_CORRECTION1]) != DOC_OK) {
            return false;
        }
    }
    // Without a second pair the first one stands in for it, which makes a pure shift.
    if (indices_[MOVE_REFERENCE2] < 0 || indices_[MOVE_CORRECTION2] < 0 ||
        doc.GetWaypoint(indices_[MOVE_REFERENCE2], points[MOVE_REFERENCE2]) != DOC_OK ||
        doc.GetWaypoint(indices_[MOVE_CORRECTION2], points[MOVE_CORRECTION2]) != DOC_OK) {
        points[MOVE_REFERENCE2] = points[MOVE_REFERENCE1];
        points[MOVE_CORRECTION2] = points[MOVE_CORRECTION1];
    }

    MapCorrectionSet set = ZeroedEntry<MapCorrectionSet>();
    std::string name;
    if (mode_ != MOVE_FROM_POINTS) {
        name = Utf8ToCp1252(typedName);
        if (selectedSet >= 0 && selectedSet < doc.correctionSets.Count()) {
            set = doc.correctionSets.At(selectedSet);
            name = FieldText(set.name, sizeof set.name);
        } else if (mode_ == MOVE_STORED_SET || mode_ == MOVE_SET_ABOUT_POINT) {
            return false;
        }
    }

    WaypointTransform transform;
    switch (mode_) {
    case MOVE_STORED_SET:
        transform.SetFromCorrectionSet(set.reference, set.target, set);
        break;
    case MOVE_SET_ABOUT_POINT:
        transform.SetFromCorrectionSet(points[MOVE_REFERENCE1], points[MOVE_CORRECTION1], set);
        break;
    case MOVE_FROM_POINTS:
    case MOVE_AND_STORE:
        transform.SetFromPoints(points[MOVE_REFERENCE1], points[MOVE_CORRECTION1],
                                points[MOVE_REFERENCE2], points[MOVE_CORRECTION2]);
        break;
    }

    if (mode_ == MOVE_AND_STORE) {
        transform.StoreInCorrectionSet(set);
        SetFieldText(set.name, sizeof set.name, name);
        ClearReserved(set);
        doc.correctionSets.Append(set);
        doc.MarkChangedOutsideRecords();
    }

    CDataDoc::UndoStep step(doc, "Waypoints verschieben");
    for (int index : selected) {
        WaypointRecord w;
        if (doc.GetWaypoint(index, w) == DOC_OK && transform.Apply(w)) {
            doc.SetWaypoint(index, w);
        }
    }
    return true;
}
