#pragma once

#include <QDialog>
#include <QString>
#include <optional>
#include <vector>

#include "convert/GeoReference.h"
#include "draw/model/MapGeoReference.h"
#include "framework/Geometry.h"

class QComboBox;
class QLineEdit;
class QPushButton;

// A waypoint the calibration dialog offers as the position of a point.
struct WaypointChoice {
    QString label;         // what the list shows: the name and the document
    double latitude = 0;   // degrees
    double longitude = 0;  // degrees
};

// "Karte kalibrieren": three points of the map's page (x and y in document units) and the
// position each shows (latitude and longitude in degrees, as the waypoint dialog reads them),
// typed, or for the page point taken from the centre of the view's selection ("Auswahl-Mitte")
// and for the position from a waypoint of an open GPS data document ("<-- Waypoint" takes the
// entry chosen in the list of waypoints).
//
// OK reads the fields (a number that cannot be read, or lies beyond the page or the earth's
// range, is refused with the standard prompt) and refuses points that make no calibration
// (two together, three in a line; GeoReferenceFaultText says which), keeping the dialog open;
// otherwise Calibration() holds the record. "Kalibrierung entfernen", enabled for a map that
// has a georeference, ends the dialog with kRemoved. The dialog changes no document.
class CCalibrateMapDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kRemoved = 2;  // exec()'s result for "Kalibrierung entfernen"

    // `current`: the map's georeference; a calibration shows its points, the projection of a
    // map of points shows three points near the page's corners with their positions.
    // `selectionCentre`: the centre of the view's selection, none without one. `page`: the
    // page's size, the range of x and y.
    CCalibrateMapDlg(QWidget* parent, const std::optional<MapGeoReference>& current,
                     std::optional<PagePoint> selectionCentre,
                     const std::vector<WaypointChoice>& waypoints, CSize page);

    // The calibration after OK.
    const MapGeoReference& Calibration() const { return calibration_; }

    void accept() override;

private:
    struct Row {
        QLineEdit* x;
        QLineEdit* y;
        QLineEdit* latitude;
        QLineEdit* longitude;
        QPushButton* selectionCentre;
        QPushButton* waypoint;
    };
    void Show(int row, const ControlPoint& point);
    void TakeWaypoint(int row);
    std::optional<ControlPoints> ReadPoints();

    Row rows_[CONTROL_POINT_COUNT];
    QComboBox* waypoints_;
    std::vector<WaypointChoice> choices_;
    std::optional<PagePoint> selectionCentre_;
    CSize page_;
    MapGeoReference calibration_;
};
