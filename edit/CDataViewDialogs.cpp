// The commands of the point list view that run the point dialogs (modal).

#include "edit/CDataView.h"

#include <cstring>

#include "edit/CMoveWaypointsDlg.h"
#include "edit/CWaypointDlg.h"
#include "edit/PointListModel.h"
#include "gps/CDataDoc.h"
#include "res/CommandIds.h"

void CDataView::RegisterDialogCommands()
{
    OnCommand(ID_EDIT_NEW_WAYPOINT, [this] { NewWaypoint(); });
    OnUpdateCommand(ID_EDIT_NEW_WAYPOINT,
                    [this](CommandUI& ui) { ui.enabled = Mode() == LIST_WAYPOINTS; });
    OnCommand(ID_EDIT_MOVE_WAYPOINTS, [this] { MoveWaypoints(); });
    OnUpdateCommand(ID_EDIT_MOVE_WAYPOINTS, [this](CommandUI& ui) {
        ui.enabled =
            Mode() == LIST_WAYPOINTS && selectionModel() && selectionModel()->hasSelection();
    });
    // Queued: the dialog opens once the double-click is handled, which also drops the
    // renaming that the first click on a selected row has scheduled. In the route list a
    // double-click renames a route.
    connect(
        this, &QAbstractItemView::doubleClicked, this,
        [this](const QModelIndex& index) {
            if (Mode() == LIST_ROUTES) {
                edit(index);
            } else {
                EditWaypoint(index.row());
            }
        },
        Qt::QueuedConnection);
}

void CDataView::NewWaypoint()
{
    CDataDoc* doc = GetDataDoc();
    CWaypointDlg dialog(this);
    if (!doc || dialog.exec() != QDialog::Accepted) {
        return;
    }
    {
        CDataDoc::UndoStep step(*doc, "Neuer Waypoint");
        doc->InsertWaypoints(0, 1, &dialog.Record(),
                             IsEmpty(dialog.Details()) ? nullptr : &dialog.Details());
    }
    // The other lists of the document show rows by record index, and all indices moved.
    doc->UpdateAllViews(this);
    ShowWaypoints();
}

void CDataView::EditWaypoint(int row)
{
    CDataDoc* doc = GetDataDoc();
    int index = model_->RecordAt(row);
    WaypointRecord record;
    if (!doc || Mode() != LIST_WAYPOINTS || doc->GetWaypoint(index, record) != DOC_OK) {
        return;
    }
    const WaypointDetails details = doc->WaypointDetailsAt(index);
    CWaypointDlg dialog(this, record, details);
    if (dialog.exec() != QDialog::Accepted ||
        (SameBytes(dialog.Record(), record) &&
         std::memcmp(&dialog.Details(), &details, sizeof details) == 0)) {
        return;
    }
    {
        CDataDoc::UndoStep step(*doc, "Waypoint ändern");
        doc->SetWaypoint(index, dialog.Record(), dialog.Details());
    }
    // Cells are formatted from the document when painted, so the list keeps its rows and
    // column widths; the plot and the other windows show the record anew.
    viewport()->update();
    doc->UpdateAllViews(this);
}

void CDataView::MoveWaypoints()
{
    CMoveWaypointsDlg dialog(this);
    dialog.exec();
}
