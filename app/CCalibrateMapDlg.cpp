#include "app/CCalibrateMapDlg.h"

#include <cmath>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "convert/PointMap.h"
#include "edit/DialogControls.h"

namespace {

// An edit wide enough for `widest`.
QLineEdit* CalibrationEdit(QWidget* parent, const QString& name, const char* widest)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString::fromLatin1(widest)) + 12);
    return edit;
}

QPushButton* CalibrationButton(const QString& text, QWidget* parent, const QString& name)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

// Positions worked out from a projection, to a tenth of a metre or so: what a user would type.
double Microdegrees(double degrees)
{
    return std::round(degrees * 1e6) / 1e6;
}

}  // namespace

CCalibrateMapDlg::CCalibrateMapDlg(QWidget* parent, const std::optional<MapGeoReference>& current,
                                   std::optional<PagePoint> selectionCentre,
                                   const std::vector<WaypointChoice>& waypoints, CSize page)
    : QDialog(parent), choices_(waypoints), selectionCentre_(selectionCentre), page_(page)
{
    setWindowTitle(QStringLiteral("Karte kalibrieren"));
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("x"), this), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("y"), this), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Breite"), this), 0, 4);
    grid->addWidget(new QLabel(QStringLiteral("Länge"), this), 0, 5);
    for (int i = 0; i < CONTROL_POINT_COUNT; ++i) {
        const QString n = QString::number(i + 1);
        Row& row = rows_[i];
        row.x = CalibrationEdit(this, QStringLiteral("x") + n, "000.5");
        row.y = CalibrationEdit(this, QStringLiteral("y") + n, "000.5");
        row.x->setMaximumWidth(2 * row.x->minimumWidth());
        row.y->setMaximumWidth(2 * row.y->minimumWidth());
        row.latitude = CalibrationEdit(this, QStringLiteral("latitude") + n, "-00.1234567");
        row.longitude = CalibrationEdit(this, QStringLiteral("longitude") + n, "-000.1234567");
        row.selectionCentre = CalibrationButton(QStringLiteral("Auswahl-Mitte"), this,
                                                QStringLiteral("selection") + n);
        row.selectionCentre->setEnabled(selectionCentre_.has_value());
        row.selectionCentre->setToolTip(
            QStringLiteral("Die Mitte der auf der Karte ausgewählten Objekte übernehmen"));
        row.waypoint =
            CalibrationButton(QStringLiteral("<-- Waypoint"), this, QStringLiteral("waypoint") + n);
        row.waypoint->setEnabled(!choices_.empty());
        row.waypoint->setToolTip(QStringLiteral("Die Position des gewählten Waypoints übernehmen"));
        auto* label = new QLabel(QStringLiteral("Punkt &") + n, this);
        label->setBuddy(row.x);
        grid->addWidget(label, i + 1, 0);
        grid->addWidget(row.x, i + 1, 1);
        grid->addWidget(row.y, i + 1, 2);
        grid->addWidget(row.selectionCentre, i + 1, 3);
        grid->addWidget(row.latitude, i + 1, 4);
        grid->addWidget(row.longitude, i + 1, 5);
        grid->addWidget(row.waypoint, i + 1, 6);
        connect(row.selectionCentre, &QPushButton::clicked, this, [this, i] {
            ShowDouble(rows_[i].x, selectionCentre_->x);
            ShowDouble(rows_[i].y, selectionCentre_->y);
        });
        connect(row.waypoint, &QPushButton::clicked, this, [this, i] { TakeWaypoint(i); });
    }

    waypoints_ = new QComboBox(this);
    waypoints_->setObjectName(QStringLiteral("waypoints"));
    waypoints_->setMaxVisibleItems(12);
    for (size_t i = 0; i < choices_.size(); ++i) {
        waypoints_->addItem(choices_[i].label, static_cast<int>(i));
    }
    SortComboItems(waypoints_);
    waypoints_->setEnabled(!choices_.empty());
    auto* waypointLabel = new QLabel(QStringLiteral("&Waypoints der offenen GPS-Daten"), this);
    waypointLabel->setBuddy(waypoints_);
    grid->addWidget(waypointLabel, CONTROL_POINT_COUNT + 1, 0, 1, 4, Qt::AlignRight);
    grid->addWidget(waypoints_, CONTROL_POINT_COUNT + 1, 4, 1, 3);
    grid->setColumnStretch(4, 1);
    grid->setColumnStretch(5, 1);

    auto* hint = new QLabel(
        QStringLiteral("Drei Punkte der Karte (in Karteneinheiten, die Seite ist %1 x %2) und die "
                       "Position, die jeder zeigt (Grad, Nord und Ost positiv). Die Punkte sollen "
                       "ein Dreieck bilden und möglichst weit auseinander liegen.")
            .arg(page.cx)
            .arg(page.cy),
        this);
    hint->setWordWrap(true);

    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Horizontal, this);
    QPushButton* remove = buttons->addButton(QStringLiteral("Kalibrierung &entfernen"),
                                             QDialogButtonBox::DestructiveRole);
    remove->setObjectName(QStringLiteral("remove"));
    remove->setAutoDefault(false);
    remove->setEnabled(current.has_value());
    connect(buttons, &QDialogButtonBox::accepted, this, &CCalibrateMapDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(remove, &QPushButton::clicked, this, [this] { done(kRemoved); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    if (current && current->kind == GeoReferenceKind::CALIBRATION) {
        for (int i = 0; i < CONTROL_POINT_COUNT; ++i) {
            Show(i, current->points[i]);
        }
    } else if (const std::optional<GeoReference> reference =
                   current ? GeoReference::From(*current) : std::nullopt) {
        const double low = POINT_MAP_MARGIN;
        const double right = page.cx - POINT_MAP_MARGIN;
        const double bottom = page.cy - POINT_MAP_MARGIN;
        const PagePoint corners[CONTROL_POINT_COUNT] = {{low, low}, {right, low}, {low, bottom}};
        for (int i = 0; i < CONTROL_POINT_COUNT; ++i) {
            const GeoPosition position = reference->ToPosition(corners[i]);
            Show(i, {corners[i].x, corners[i].y, Microdegrees(position.latitude),
                     Microdegrees(position.longitude)});
        }
    }
}

void CCalibrateMapDlg::Show(int row, const ControlPoint& point)
{
    ShowDouble(rows_[row].x, point.x);
    ShowDouble(rows_[row].y, point.y);
    ShowDouble(rows_[row].latitude, point.latitude);
    ShowDouble(rows_[row].longitude, point.longitude);
}

void CCalibrateMapDlg::TakeWaypoint(int row)
{
    const int entry = SelectedComboIndex(waypoints_);
    if (entry < 0) {
        return;
    }
    const WaypointChoice& choice = choices_[waypoints_->itemData(entry).toInt()];
    ShowDouble(rows_[row].latitude, choice.latitude);
    ShowDouble(rows_[row].longitude, choice.longitude);
}

std::optional<ControlPoints> CCalibrateMapDlg::ReadPoints()
{
    ControlPoints points;
    for (int i = 0; i < CONTROL_POINT_COUNT; ++i) {
        const Row& row = rows_[i];
        const std::optional<double> x = ReadDouble(row.x, 0, page_.cx);
        if (!x) {
            return std::nullopt;
        }
        const std::optional<double> y = ReadDouble(row.y, 0, page_.cy);
        if (!y) {
            return std::nullopt;
        }
        const std::optional<double> latitude = ReadDouble(row.latitude, -90, 90);
        if (!latitude) {
            return std::nullopt;
        }
        const std::optional<double> longitude = ReadDouble(row.longitude, -180, 180);
        if (!longitude) {
            return std::nullopt;
        }
        points[i] = {*x, *y, *latitude, *longitude};
    }
    return points;
}

void CCalibrateMapDlg::accept()
{
    const std::optional<ControlPoints> points = ReadPoints();
    if (!points) {
        return;
    }
    const MapGeoReference calibration = MapGeoReference::OfControlPoints(*points);
    switch (const GeoReferenceFault fault = calibration.Fault()) {
    case GeoReferenceFault::NONE:
        break;
    case GeoReferenceFault::VALUES:
    case GeoReferenceFault::PAGE_POINTS_TOGETHER:
    case GeoReferenceFault::PAGE_POINTS_IN_LINE:
        RefuseInput(rows_[0].x, GeoReferenceFaultText(fault));
        return;
    case GeoReferenceFault::POSITIONS_TOGETHER:
    case GeoReferenceFault::POSITIONS_IN_LINE:
        RefuseInput(rows_[0].latitude, GeoReferenceFaultText(fault));
        return;
    }
    calibration_ = calibration;
    QDialog::accept();
}
