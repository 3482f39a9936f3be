#include "edit/CWaypointDlg.h"

#include <algorithm>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "edit/CDataView.h"
#include "edit/CGridCoordDlg.h"
#include "edit/DialogControls.h"
#include "edit/SymbolImages.h"
#include "gps/CDataDoc.h"
#include "gps/SymbolTable.h"

namespace {

constexpr int kMaxCourse = 360;
constexpr double kMaxDistanceKm = 2000;

QLabel* Label(const QString& text, QWidget* buddy)
{
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

QLineEdit* Edit(QWidget* parent, const char* objectName)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(objectName));
    return edit;
}

// A combo box with an edit field whose typed text selects nothing unless it names an entry.
QComboBox* EditableCombo(QWidget* parent, const char* objectName)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(objectName));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    return combo;
}

const ReceiverProfile& ProfileOfView(CDataView* view)
{
    CDataDoc* doc = view ? view->GetDataDoc() : nullptr;
    return doc ? doc->Receiver() : Gps12Profile();
}

}  // namespace

CWaypointDlg::CWaypointDlg(CDataView* view, const WaypointRecord& record,
                           const WaypointDetails& details)
    : QDialog(view), view_(view), profile_(ProfileOfView(view)), record_(record), details_(details)
{
    setWindowTitle(QStringLiteral("Waypoint - Daten"));
    values_ = WaypointValuesOf(record_, details_);
    const bool gps12Rules = profile_.characters == ReceiverProfile::NameCharacters::IDENT;

    // A name or comment longer than the receiver takes is shown whole, and kept unless edited.
    name_ = Edit(this, "name129");
    name_->setMaxLength(std::max<int>(gps12Rules ? WAYPOINT_IDENT_SIZE : profile_.nameLength,
                                      static_cast<int>(RecordTextLength(values_.name))));
    symbol_ = EditableCombo(this, "symbol127");
    symbol_->setIconSize(QSize(16, 16));
    fullSymbols_ = profile_.fullSymbols || details_.symbol != SYMBOL_NONE;
    if (fullSymbols_) {
        for (const SymbolInfo& symbol : AllSymbols()) {
            symbol_->addItem(FullSymbolImage(symbol.number), QString::fromLatin1(symbol.name),
                             static_cast<int>(symbol.number));
        }
    } else {
        for (int symbol = 0; symbol < SYMBOL_COUNT; ++symbol) {
            symbol_->addItem(SymbolImage(symbol), QString::fromLatin1(SymbolLabel(symbol)));
        }
    }
    display_ = EditableCombo(this, "display128");
    for (int display = 0; display < DISPLAY_COUNT; ++display) {
        display_->addItem(QString::fromLatin1(DisplayLabel(display)));
    }
    comment_ = Edit(this, "comment131");
    comment_->setMaxLength(std::max<int>(gps12Rules ? WAYPOINT_COMMENT_SIZE : profile_.commentLength,
                                         static_cast<int>(RecordTextLength(values_.comment))));
    if (gps12Rules) {
        KeepUpperCase(name_);
        KeepUpperCase(comment_);
    }
    altitude_ = Edit(this, "altitude");
    longitude_ = Edit(this, "longitude132");
    latitude_ = Edit(this, "latitude133");
    referenceBox_ = new QComboBox(this);
    referenceBox_->setObjectName(QStringLiteral("reference149"));
    referenceBox_->setMaxVisibleItems(12);
    courseEdit_ = Edit(this, "course150");
    courseEdit_->setEnabled(false);
    distanceEdit_ = Edit(this, "distance151");
    distanceEdit_->setEnabled(false);
    gridHelp_ = new QPushButton(QStringLiteral("&Gitter-Hilfe"), this);
    gridHelp_->setObjectName(QStringLiteral("gridHelp161"));
    gridHelp_->setAutoDefault(false);

    auto* fields = new QGridLayout;
    fields->addWidget(Label(QStringLiteral("&Name"), name_), 0, 0);
    fields->addWidget(name_, 0, 1);
    fields->addWidget(Label(QStringLiteral("&Symbol"), symbol_), 0, 2);
    fields->addWidget(symbol_, 0, 3);
    fields->addWidget(Label(QStringLiteral("&Anzeige"), display_), 0, 4);
    fields->addWidget(display_, 0, 5);
    fields->addWidget(Label(QStringLiteral("&Kommentar"), comment_), 1, 0);
    fields->addWidget(comment_, 1, 1, 1, 3);
    fields->addWidget(Label(QStringLiteral("&Höhe [m]"), altitude_), 1, 4);
    fields->addWidget(altitude_, 1, 5);
    fields->addWidget(Label(QStringLiteral("&Länge"), longitude_), 2, 0);
    fields->addWidget(longitude_, 2, 1);
    fields->addWidget(Label(QStringLiteral("&Breite"), latitude_), 2, 2);
    fields->addWidget(latitude_, 2, 3);
    fields->addWidget(gridHelp_, 2, 5);
    fields->addWidget(Label(QStringLiteral("&Referenz"), referenceBox_), 3, 0);
    fields->addWidget(referenceBox_, 3, 1);
    fields->addWidget(Label(QStringLiteral("Kurs"), courseEdit_), 3, 2);
    fields->addWidget(courseEdit_, 3, 3);
    fields->addWidget(Label(QStringLiteral("Dist [km]"), distanceEdit_), 3, 4);
    fields->addWidget(distanceEdit_, 3, 5);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 1);
    fields->setColumnStretch(5, 1);

    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CWaypointDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addWidget(buttons);

    // Opening: the record's values into the controls, then the lists.
    ShowValues();
    if (values_.altitude) {
        ShowDouble(altitude_, *values_.altitude);
    }
    symbol_->setCurrentIndex(fullSymbols_ ? symbol_->findData(static_cast<int>(WaypointFullSymbol(
                                                record_, details_)))
                                          : values_.symbol);
    display_->setCurrentIndex(values_.display);
    CDataDoc* doc = view_ ? view_->GetDataDoc() : nullptr;
    if (doc && view_->Mode() == LIST_WAYPOINTS) {
        view_->FillItemCombo(referenceBox_);
        SortComboItems(referenceBox_);
    } else {
        referenceBox_->setEnabled(false);
    }

    // Only the user's changes count, not the values the dialog writes itself.
    connect(referenceBox_, &QComboBox::activated, this, &CWaypointDlg::OnReferenceChosen);
    connect(courseEdit_, &QLineEdit::textEdited, this, &CWaypointDlg::OnCourseEdited);
    connect(distanceEdit_, &QLineEdit::textEdited, this, &CWaypointDlg::OnDistanceEdited);
    connect(gridHelp_, &QPushButton::clicked, this, &CWaypointDlg::OnGridHelp);
}

bool CWaypointDlg::ReadControls()
{
    std::optional<std::string> name = ReadText(name_, name_->maxLength());
    if (!name) {
        return false;
    }
    std::optional<std::string> comment = ReadText(comment_, comment_->maxLength());
    if (!comment) {
        return false;
    }
    std::optional<double> altitude;
    if (!altitude_->text().trimmed().isEmpty()) {
        altitude = ReadDouble(altitude_);
        if (!altitude) {
            return false;
        }
    }
    std::optional<double> longitude = ReadDouble(longitude_);
    if (!longitude) {
        return false;
    }
    std::optional<double> latitude = ReadDouble(latitude_);
    if (!latitude) {
        return false;
    }
    std::optional<int> course = ReadInt(courseEdit_, 0, kMaxCourse);
    if (!course) {
        return false;
    }
    std::optional<double> distance = ReadDouble(distanceEdit_, 0, kMaxDistanceKm);
    if (!distance) {
        return false;
    }
    values_.name = *name;
    values_.comment = *comment;
    values_.altitude = altitude;
    values_.longitude = *longitude;
    values_.latitude = *latitude;
    course_ = *course;
    distance_ = *distance;
    return true;
}

void CWaypointDlg::ShowValues()
{
    QString name = FromUtf8(values_.name);
    if (name_->text() != name) {
        name_->setText(name);
    }
    QString comment = FromUtf8(values_.comment);
    if (comment_->text() != comment) {
        comment_->setText(comment);
    }
    ShowDouble(longitude_, values_.longitude);
    ShowDouble(latitude_, values_.latitude);
    ShowInt(courseEdit_, course_);
    ShowDouble(distanceEdit_, distance_);
}

void CWaypointDlg::accept()
{
    if (!ReadControls()) {
        return;
    }
    switch (CheckWaypointValues(values_, record_, profile_)) {
    case WaypointValueFault::Name:
        RefuseInput(name_,
                    "Der Name braucht einen Buchstaben, eine Ziffer oder einen Bindestrich.");
        return;
    case WaypointValueFault::Longitude:
        RefuseInput(longitude_, "Die Länge muss zwischen -180 und 180 Grad liegen.");
        return;
    case WaypointValueFault::Latitude:
        RefuseInput(latitude_, "Die Breite muss zwischen -90 und 90 Grad liegen.");
        return;
    case WaypointValueFault::Altitude:
        RefuseInput(altitude_, "Die Höhe muss zwischen -100000 und 100000 m liegen.");
        return;
    case WaypointValueFault::None:
        break;
    }
    ReadSymbol();
    values_.display = SelectedComboIndex(display_);
    StoreWaypointValues(values_, profile_, record_, details_);
    QDialog::accept();
}

void CWaypointDlg::ReadSymbol()
{
    int entry = SelectedComboIndex(symbol_);
    if (!fullSymbols_) {
        values_.symbol = entry;
        return;
    }
    // Nothing chosen from the table keeps the record's own symbol.
    values_.fullSymbol = entry >= 0 ? symbol_->itemData(entry).toInt() : -1;
    values_.symbol = values_.fullSymbol >= 0
                         ? RecordSymbolOfFullSymbol(static_cast<uint16_t>(values_.fullSymbol))
                         : record_.symbol;
}

void CWaypointDlg::OnReferenceChosen()
{
    if (!ReadControls()) {
        return;
    }
    int entry = referenceBox_->currentIndex();
    CDataDoc* doc = view_ ? view_->GetDataDoc() : nullptr;
    if (entry < 0 || !doc) {
        return;
    }
    if (!referenceChosen_) {
        courseEdit_->setEnabled(true);
        distanceEdit_->setEnabled(true);
        referenceChosen_ = true;
    }
    WaypointRecord reference;
    if (doc->GetWaypoint(referenceBox_->itemData(entry).toInt(), reference) != DOC_OK) {
        return;
    }
    reference_ = ToGeoPosition(PositionOf(reference));
    ShownOffset shown = ShownCourseDistance(reference_, {values_.latitude, values_.longitude});
    course_ = shown.course;
    distance_ = shown.distance;
    ShowValues();
}

void CWaypointDlg::PlaceAtCourse()
{
    GeoPosition position = PositionFromShownOffset(reference_, course_, distance_);
    values_.latitude = position.latitude;
    values_.longitude = position.longitude;
    ShowValues();
}

void CWaypointDlg::OnCourseEdited()
{
    if (referenceChosen_ && ReadControls()) {
        PlaceAtCourse();
    }
}

void CWaypointDlg::OnDistanceEdited()
{
    if (referenceChosen_ && ReadControls() && ApplyNewDistance(distance_)) {
        PlaceAtCourse();
    }
}

void CWaypointDlg::OnGridHelp()
{
    if (!ReadControls()) {
        return;
    }
    CGridCoordDlg grid(this, view_, values_.longitude, values_.latitude);
    if (RunGridDialog(grid) == QDialog::Accepted) {
        values_.longitude = grid.Longitude();
        values_.latitude = grid.Latitude();
    }
    ShowValues();
}

int CWaypointDlg::RunGridDialog(CGridCoordDlg& dialog)
{
    return dialog.exec();
}
