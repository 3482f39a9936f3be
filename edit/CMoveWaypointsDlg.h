#pragma once

#include <QDialog>

#include "edit/WaypointMoveSetup.h"

class CDataDoc;
class CDataView;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

// "Move selected Waypoints": moves the waypoints selected in the view so that a reference
// waypoint lands on its correction point, optionally turned and stretched by a second pair
// of points, or by a map correction set stored in the document. OK moves the selection as
// one undo step, rebuilds every list of the document and closes; without the points or set
// it needs, or when the view no longer shows waypoints, OK does nothing and the dialog stays
// open. Storing a set (OK after "Set") or deleting one marks the document modified.
class CMoveWaypointsDlg : public QDialog {
    Q_OBJECT

public:
    // `view` (may be null) is the parent and gives the document, its waypoints and the
    // selection. Without a view nothing can be chosen.
    explicit CMoveWaypointsDlg(CDataView* view);

    const WaypointMoveSetup& Setup() const { return setup_; }

    void accept() override;

    // "<-- use selection" of `point`: takes the select list's entry (nothing without one).
    void OnUseSelection(MovePoint point);
    // "Use", "Set" and "Del" of the correction set box.
    void OnUseSet();
    void OnStoreSet();
    void OnDeleteSet();

private:
    CDataDoc* Document() const;
    void ShowPointTexts();
    void ListSetNames();
    // The index in correctionSets of the entry selected in the set box, or -1.
    int SelectedSet() const;

    CDataView* view_;
    WaypointMoveSetup setup_;
    QLineEdit* points_[MOVE_POINT_COUNT];
    QPushButton* useSelection_[MOVE_POINT_COUNT];
    QComboBox* selectList_;
    QCheckBox* loadFromFile_;
    QComboBox* sets_;
    QPushButton* ok_;
};
