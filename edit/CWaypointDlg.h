#pragma once

#include <QDialog>

#include "edit/WaypointDialogValues.h"
#include "gps/Records.h"

class CDataView;
class CGridCoordDlg;
class QComboBox;
class QLineEdit;
class QPushButton;

// "Waypoint - Daten": edits one waypoint record with its details, its name, symbol, display,
// comment, altitude and position. Names and comments follow the rules of the document's
// receiver; the symbol list is the maker's full table when the receiver has it (or the
// waypoint holds a symbol of it), else the GPS 12's 16. The position can also be placed by course and distance from a reference
// waypoint of the view's document, or taken from a map grid (CGridCoordDlg).
//
// Course and distance are enabled once a reference is chosen. Typing a course moves the
// waypoint to that course and distance from the reference; typing a distance does so only
// when it differs from the distance last applied by any waypoint dialog of this program run.
// Input that cannot be read is reported with the standard prompts, and the dialog stays open.
class CWaypointDlg : public QDialog {
    Q_OBJECT

public:
    // `view` (may be null) gives the reference waypoints and is the dialog's parent.
    explicit CWaypointDlg(CDataView* view, const WaypointRecord& record = WaypointRecord{},
                          const WaypointDetails& details = NoWaypointDetails());

    // After OK: the edited record and details. Before, and after Cancel: those given.
    const WaypointRecord& Record() const { return record_; }
    const WaypointDetails& Details() const { return details_; }

    // OK: reads and checks every control; stores them into the record and closes.
    void accept() override;

    // The handlers of the user's changes (the controls call them).
    void OnReferenceChosen();
    void OnCourseEdited();
    void OnDistanceEdited();
    void OnGridHelp();

protected:
    // Runs the grid coordinates dialog modally; returns its result.
    virtual int RunGridDialog(CGridCoordDlg& dialog);

private:
    // All controls into the members; false (a prompt was shown) when one cannot be read.
    bool ReadControls();
    void ShowValues();
    // The position at the shown course and distance from the reference.
    void PlaceAtCourse();

    // The selected symbol: a list index of the 16, or a full-table number.
    void ReadSymbol();

    CDataView* view_;
    const ReceiverProfile& profile_;
    WaypointRecord record_;
    WaypointDetails details_;
    bool fullSymbols_ = false;  // the symbol list is the maker's table
    WaypointDialogValues values_;
    int course_ = 0;       // whole degrees
    double distance_ = 0;  // km
    GeoPosition reference_{0, 0};
    bool referenceChosen_ = false;

    QLineEdit* name_;
    QComboBox* symbol_;
    QComboBox* display_;
    QLineEdit* comment_;
    QLineEdit* altitude_;
    QLineEdit* longitude_;
    QLineEdit* latitude_;
    QComboBox* referenceBox_;
    QLineEdit* courseEdit_;
    QLineEdit* distanceEdit_;
    QPushButton* gridHelp_;
};
