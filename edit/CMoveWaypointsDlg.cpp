#include "edit/CMoveWaypointsDlg.h"

#include <QCheckBox>
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

CMoveWaypointsDlg::CMoveWaypointsDlg(CDataView* view) : QDialog(view), view_(view)
{
    setWindowTitle(QStringLiteral("Move selected Waypoints"));

    const QString labels[MOVE_POINT_COUNT] = {
        QStringLiteral("Reference points for moving group"),
        QStringLiteral("Correction pont to move reference point to"),
        QStringLiteral("Reference points to stretch and rotate group"),
        QStringLiteral("Correction pont to move reference point to"),
    };
    auto* pointGrid = new QGridLayout;
    for (int p = 0; p < MOVE_POINT_COUNT; ++p) {
        points_[p] = new QLineEdit(this);
        points_[p]->setObjectName(QStringLiteral("point%1").arg(143 + p));
        points_[p]->setReadOnly(true);
        useSelection_[p] = DialogButton(QStringLiteral("<-- use selection"), this, 148 + p);
        pointGrid->addWidget(new QLabel(labels[p], this), 2 * p, 0, 1, 2);
        pointGrid->addWidget(points_[p], 2 * p + 1, 0);
        pointGrid->addWidget(useSelection_[p], 2 * p + 1, 1);
        connect(useSelection_[p], &QPushButton::clicked, this,
                [this, p] { OnUseSelection(static_cast<MovePoint>(p)); });
    }
    pointGrid->setColumnStretch(0, 1);

    selectList_ = new QComboBox(this);
    selectList_->setObjectName(QStringLiteral("select153"));
    selectList_->setMaxVisibleItems(16);
    auto* selectLabel = new QLabel(QStringLiteral("&Select list"), this);
    selectLabel->setBuddy(selectList_);
    auto* hint = new QLabel(QStringLiteral("Select points in list and insert with the appropriate "
                                           "\"use selection\" button"),
                            this);
    hint->setWordWrap(true);
    auto* selectColumn = new QVBoxLayout;
    selectColumn->addWidget(selectLabel);
    selectColumn->addWidget(selectList_);
    selectColumn->addWidget(hint);
    selectColumn->addStretch(1);

    auto* top = new QHBoxLayout;
    top->addLayout(pointGrid, 3);
    top->addLayout(selectColumn, 2);

    // Part of the dialog, but no loading of correction data from a file exists.
    loadFromFile_ = new QCheckBox(QStringLiteral("Load map correction data from file"), this);
    loadFromFile_->setObjectName(QStringLiteral("check142"));
    loadFromFile_->setEnabled(false);

    sets_ = new QComboBox(this);
    sets_->setObjectName(QStringLiteral("sets156"));
    sets_->setEditable(true);
    sets_->setInsertPolicy(QComboBox::NoInsert);
    sets_->setCompleter(nullptr);
    QPushButton* use = DialogButton(QStringLiteral("Use"), this, 157);
    QPushButton* store = DialogButton(QStringLiteral("Set"), this, 158);
    QPushButton* remove = DialogButton(QStringLiteral("Del"), this, 159);
    connect(use, &QPushButton::clicked, this, &CMoveWaypointsDlg::OnUseSet);
    connect(store, &QPushButton::clicked, this, &CMoveWaypointsDlg::OnStoreSet);
    connect(remove, &QPushButton::clicked, this, &CMoveWaypointsDlg::OnDeleteSet);
    auto* setRow = new QHBoxLayout;
    setRow->addWidget(sets_, 1);
    setRow->addWidget(use);
    setRow->addWidget(store);
    setRow->addWidget(remove);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setEnabled(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &CMoveWaypointsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(loadFromFile_);
    layout->addLayout(setRow);
    layout->addWidget(buttons);

    if (Document() && view_->Mode() == LIST_WAYPOINTS) {
        view_->FillItemCombo(selectList_);
        SortComboItems(selectList_);
        ListSetNames();
    } else {
        selectList_->setEnabled(false);
        sets_->setEnabled(false);
    }
}

CDataDoc* CMoveWaypointsDlg::Document() const
{
    return view_ ? view_->GetDataDoc() : nullptr;
}

void CMoveWaypointsDlg::ShowPointTexts()
{
    for (int p = 0; p < MOVE_POINT_COUNT; ++p) {
        points_[p]->setText(FromUtf8(setup_.PointText(static_cast<MovePoint>(p))));
    }
}

void CMoveWaypointsDlg::ListSetNames()
{
    sets_->clear();
    if (CDataDoc* doc = Document()) {
        std::vector<std::string> names = doc->correctionSets.Names();
        for (size_t i = 0; i < names.size(); ++i) {
            sets_->addItem(FromUtf8(Cp1252ToUtf8(names[i])), static_cast<int>(i));
        }
    }
    SortComboItems(sets_);
}

int CMoveWaypointsDlg::SelectedSet() const
{
    int entry = SelectedComboIndex(sets_);
    return entry < 0 ? -1 : sets_->itemData(entry).toInt();
}

void CMoveWaypointsDlg::OnUseSelection(MovePoint point)
{
    int entry = selectList_->currentIndex();
    if (entry < 0) {
        return;
    }
    setup_.TakePoint(point, selectList_->itemData(entry).toInt(),
                     ToUtf8(selectList_->itemText(entry)));
    ShowPointTexts();
    ok_->setEnabled(setup_.PointsChosen());
    selectList_->setFocus(Qt::OtherFocusReason);
}

void CMoveWaypointsDlg::OnUseSet()
{
    CDataDoc* doc = Document();
    int i = SelectedSet();
    if (!doc || i < 0 || i >= doc->correctionSets.Count()) {
        return;
    }
    setup_.UseCorrectionSet(doc->correctionSets.At(i));
    ok_->setEnabled(true);
    for (MovePoint p : {MOVE_CORRECTION1, MOVE_REFERENCE2, MOVE_CORRECTION2}) {
        useSelection_[p]->setEnabled(false);
    }
    ShowPointTexts();
}

void CMoveWaypointsDlg::OnStoreSet()
{
    setup_.StoreNextResult();
}

void CMoveWaypointsDlg::OnDeleteSet()
{
    CDataDoc* doc = Document();
    int i = SelectedSet();
    if (!doc || i < 0) {
        return;
    }
    if (doc->correctionSets.RemoveAt(i)) {
        doc->MarkChangedOutsideRecords();
    }
    ListSetNames();
}

void CMoveWaypointsDlg::accept()
{
    CDataDoc* doc = Document();
    std::vector<int> selected;
    if (!doc || !view_->GetSelectedIndices(selected, LIST_WAYPOINTS)) {
        return;
    }
    if (setup_.Confirm(*doc, selected, ToUtf8(sets_->currentText()), SelectedSet())) {
        // Every list of the document shows the moved positions.
        doc->UpdateAllViews(nullptr);
        QDialog::accept();
    }
}
