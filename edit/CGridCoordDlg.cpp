#include "edit/CGridCoordDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "edit/CDataView.h"
#include "edit/DialogControls.h"
#include "framework/Cp1252.h"
#include "gps/CDataDoc.h"

namespace {

enum { LONGITUDE, LATITUDE };
enum { DEGREES, MINUTES, SECONDS, DISTANCE, SCALE };

QLineEdit* Edit(QWidget* parent, int id)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QStringLiteral("edit%1").arg(id));
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
    return edit;
}

}  // namespace

CGridCoordDlg::CGridCoordDlg(QWidget* parent, CDataView* view, double longitude, double latitude)
    : QDialog(parent), view_(view), longitude_(longitude), latitude_(latitude)
{
    setWindowTitle(QStringLiteral("Koordinaten vom Kartengitter"));

    // The edits' numbers are those of the resource: 126 to 129 longitude, 130 to 133
    // latitude, 163 and 164 the scales.
    const int firstIds[2] = {126, 130};
    const int scaleIds[2] = {163, 164};
    for (int a : {LONGITUDE, LATITUDE}) {
        for (int part = DEGREES; part <= DISTANCE; ++part) {
            axes_[a].edits[part] = Edit(this, firstIds[a] + part);
        }
        axes_[a].edits[SCALE] = Edit(this, scaleIds[a]);
    }
    axes_[LONGITUDE].line = SplitGridLine(longitude);
    axes_[LATITUDE].line = SplitGridLine(latitude);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QStringLiteral("Geben Sie die Position des nächsten Gitterpunktes und den Abstand dazu "
                       "ein!"),
        this));

    auto* grid = new QGridLayout;
    const QString captions[2] = {QStringLiteral("&Länge:"), QStringLiteral("&Breite:")};
    for (int a : {LONGITUDE, LATITUDE}) {
        auto* caption = new QLabel(captions[a], this);
        caption->setBuddy(axes_[a].edits[DEGREES]);
        grid->addWidget(caption, 2 * a, 0, 1, 8);
        int row = 2 * a + 1;
        grid->addWidget(axes_[a].edits[DEGREES], row, 0);
        grid->addWidget(new QLabel(QStringLiteral("°"), this), row, 1);
        grid->addWidget(axes_[a].edits[MINUTES], row, 2);
        grid->addWidget(new QLabel(QStringLiteral("'"), this), row, 3);
        grid->addWidget(axes_[a].edits[SECONDS], row, 4);
        grid->addWidget(new QLabel(QStringLiteral("\" +"), this), row, 5);
        grid->addWidget(axes_[a].edits[DISTANCE], row, 6);
    }
    layout->addLayout(grid);

    layout->addWidget(new QLabel(QStringLiteral("Netz - Maßstab (Einheiten pro °):"), this));
    auto* scales = new QHBoxLayout;
    scales->addWidget(new QLabel(QStringLiteral("Länge:"), this));
    scales->addWidget(axes_[LONGITUDE].edits[SCALE], 1);
    scales->addWidget(new QLabel(QStringLiteral("Breite:"), this));
    scales->addWidget(axes_[LATITUDE].edits[SCALE], 1);
    layout->addLayout(scales);

    presets_ = new QComboBox(this);
    presets_->setObjectName(QStringLiteral("presets156"));
    presets_->setEditable(true);
    presets_->setInsertPolicy(QComboBox::NoInsert);
    presets_->setCompleter(nullptr);
    use_ = DialogButton(QStringLiteral("Use"), this, 157);
    set_ = DialogButton(QStringLiteral("Set"), this, 158);
    delete_ = DialogButton(QStringLiteral("Del"), this, 159);
    auto* presetRow = new QHBoxLayout;
    presetRow->addWidget(presets_, 1);
    presetRow->addWidget(use_);
    presetRow->addWidget(set_);
    presetRow->addWidget(delete_);
    layout->addLayout(presetRow);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CGridCoordDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    ShowValues();
    if (Document()) {
        FillPresets();
    } else {
        for (QWidget* w : std::initializer_list<QWidget*>{presets_, use_, set_, delete_}) {
            w->setEnabled(false);
        }
    }
    connect(use_, &QPushButton::clicked, this, &CGridCoordDlg::OnUse);
    connect(set_, &QPushButton::clicked, this, &CGridCoordDlg::OnSet);
    connect(delete_, &QPushButton::clicked, this, &CGridCoordDlg::OnDelete);
}

CDataDoc* CGridCoordDlg::Document() const
{
    return view_ ? view_->GetDataDoc() : nullptr;
}

bool CGridCoordDlg::ReadControls()
{
    double values[2][5];
    for (int a : {LONGITUDE, LATITUDE}) {
        for (int part = DEGREES; part <= SCALE; ++part) {
            std::optional<double> value = ReadDouble(axes_[a].edits[part]);
            if (!value) {
                return false;
            }
            values[a][part] = *value;
        }
    }
    for (int a : {LONGITUDE, LATITUDE}) {
        axes_[a].line = {values[a][DEGREES], values[a][MINUTES], values[a][SECONDS]};
        axes_[a].distance = values[a][DISTANCE];
        axes_[a].scale = values[a][SCALE];
    }
    return true;
}

void CGridCoordDlg::ShowValues()
{
    for (const Axis& axis : axes_) {
        ShowDouble(axis.edits[DEGREES], axis.line.degrees);
        ShowDouble(axis.edits[MINUTES], axis.line.minutes);
        ShowDouble(axis.edits[SECONDS], axis.line.seconds);
        ShowDouble(axis.edits[DISTANCE], axis.distance);
        ShowDouble(axis.edits[SCALE], axis.scale);
    }
}

void CGridCoordDlg::FillPresets()
{
    presets_->clear();
    CDataDoc* doc = Document();
    std::vector<std::string> names = doc ? doc->gridPresets.Names() : std::vector<std::string>{};
    for (size_t i = 0; i < names.size(); ++i) {
        presets_->addItem(FromUtf8(Cp1252ToUtf8(names[i])), static_cast<int>(i));
    }
    SortComboItems(presets_);
}

void CGridCoordDlg::accept()
{
    if (!ReadControls()) {
        return;
    }
    const Axis& lon = axes_[LONGITUDE];
    const Axis& lat = axes_[LATITUDE];
    longitude_ = GridPosition(lon.line, lon.distance, lon.scale);
    latitude_ = GridPosition(lat.line, lat.distance, lat.scale);
    QDialog::accept();
}

void CGridCoordDlg::OnUse()
{
    CDataDoc* doc = Document();
    if (!doc || !ReadControls()) {
        return;
    }
    int entry = SelectedComboIndex(presets_);
    if (entry < 0) {
        return;
    }
    int i = presets_->itemData(entry).toInt();
    if (i < 0 || i >= doc->gridPresets.Count()) {
        return;
    }
    axes_[LONGITUDE].scale = doc->gridPresets.At(i).longitudeScale;
    axes_[LATITUDE].scale = doc->gridPresets.At(i).latitudeScale;
    ShowValues();
}

void CGridCoordDlg::OnSet()
{
    CDataDoc* doc = Document();
    if (!doc || !ReadControls()) {
        return;
    }
    GridScalePreset preset = ZeroedEntry<GridScalePreset>();
    SetFieldText(preset.name, sizeof preset.name, Utf8ToCp1252(ToUtf8(presets_->currentText())));
    preset.latitudeScale = axes_[LATITUDE].scale;
    preset.longitudeScale = axes_[LONGITUDE].scale;
    doc->gridPresets.Append(preset);
    doc->MarkChangedOutsideRecords();
    FillPresets();
}

void CGridCoordDlg::OnDelete()
{
    CDataDoc* doc = Document();
    int entry = SelectedComboIndex(presets_);
    if (!doc || entry < 0) {
        return;
    }
    int i = presets_->itemData(entry).toInt();
    if (i < 0) {
        return;
    }
    if (doc->gridPresets.RemoveAt(i)) {
        doc->MarkChangedOutsideRecords();
    }
    FillPresets();
}
