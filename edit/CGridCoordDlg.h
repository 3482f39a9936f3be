#pragma once

#include <QDialog>

#include "edit/GridCoordinates.h"

class CDataView;
class CDataDoc;
class QComboBox;
class QLineEdit;
class QPushButton;

// "Koordinaten vom Kartengitter": turns a position read off a printed map's coordinate grid
// into degrees. For each axis the user enters the nearest grid line in degrees, minutes and
// seconds and the distance from it in map units; with a grid scale (map units per degree)
// other than 0 the distance is added. Grid scales can be kept under a name as presets of the
// view's document ("Use", "Set", "Del"); without a view there are none.
class CGridCoordDlg : public QDialog {
    Q_OBJECT

public:
    // Opens with the grid lines of `longitude` and `latitude` (degrees), distances and
    // scales 0. `view` (may be null) gives the document whose presets are used.
    CGridCoordDlg(QWidget* parent, CDataView* view, double longitude, double latitude);

    // After OK: the position entered. Before, and after Cancel: the position given.
    double Longitude() const { return longitude_; }
    double Latitude() const { return latitude_; }

    // OK: reads every edit (each must hold a number) and computes the position.
    void accept() override;

    // "Use": the selected preset's scales into the scale edits.
    void OnUse();
    // "Set": appends the scales as a preset named by the text of the preset box. "Del":
    // removes the selected preset. Both mark the document modified when they change it.
    void OnSet();
    void OnDelete();

private:
    struct Axis {
        GridLine line;
        double distance = 0;  // map units
        double scale = 0;     // map units per degree
        QLineEdit* edits[5];  // degrees, minutes, seconds, distance, scale
    };

    bool ReadControls();
    void ShowValues();
    void FillPresets();
    CDataDoc* Document() const;

    CDataView* view_;
    double longitude_;
    double latitude_;
    Axis axes_[2];  // longitude, latitude
    QComboBox* presets_;
    QPushButton* use_;
    QPushButton* set_;
    QPushButton* delete_;
};
