#pragma once

#include <functional>
#include <vector>

#include <QTableView>

#include "edit/PointListFormat.h"
#include "edit/RouteEditing.h"
#include "framework/CView.h"

class CDataDoc;
class GpsDocumentLink;
class PointListModel;
class QComboBox;
class QMenu;

// The view of a GPS data document: a list of its waypoints or of its trackpoints, one row
// per record, sortable by any column (the sort column and direction are shared by all
// lists), with in-place renaming of waypoints, deletion of the selected records and the
// document's transfers with the receiver; or a list of its routes, each route's row followed
// by its points' rows, in the routes' order. Each view keeps its own mode. The rows hold
// record indices (route and point indices) only; every list is rebuilt from the document.
//
// Commands (see res/CommandIds.h): ID_VIEW_WAYPOINTS and ID_VIEW_TRACKPOINTS switch the
// list (enabled when the document has such records, checked when shown); the four
// ID_GPS_WPT/TRK_DOWNLOAD/UPLOAD commands and ID_GPS_CONNECT (the product exchange) run their
// transfer through TaskRunner::Current(); ID_EDIT_CLEAR deletes the selected records (enabled
// with a selection); ID_EDIT_UNDO and ID_EDIT_REDO step through the document's history.
// ID_VIEW_ROUTES shows the routes; the route commands are listed at RegisterRouteCommands.
class CDataView : public QTableView, public CView {
    Q_OBJECT

public:
    explicit CDataView(QWidget* parent = nullptr);
    ~CDataView() override;

    using QTableView::edit;

    // The attached document when it is a CDataDoc, else null.
    CDataDoc* GetDataDoc() const;
    ListMode Mode() const;
    PointListModel* ListModel() const { return model_; }

    // Rebuilds the list the view shows; a view that shows nothing yet shows the waypoints.
    void OnUpdate(View* sender, long hint, const std::any& payload) override;

    // Rebuild the list in waypoint or trackpoint mode, in record order, or in the shared sort
    // order when the list shows its sort arrow (a rebuild in the same mode). A switch of mode
    // starts the column widths from the captions; a rebuild in the same mode starts from
    // the current widths. Either way columns grow to fit every cell. A rebuild in the same
    // mode with as many records as before keeps the selected records selected.
    void ShowWaypoints();
    void ShowTrackpoints();
    // The route list keeps the routes and points that are still there selected.
    void ShowRoutes();

    // A click on the header of `column`: updates the shared sort state, shows the arrow on
    // that column and sorts the rows.
    void SortByColumn(int column);

    // Deletes the records of the selected rows from the document, highest index first,
    // stopping at the first failure, then rebuilds the document's views. In the route list:
    // the selected points, and the routes whose own rows are selected.
    void DeleteSelection();

    // The point dialogs, run modally; each change is one undo step. NewWaypoint (command
    // ID_EDIT_NEW_WAYPOINT, waypoint mode) inserts the dialog's waypoint as record 0 and shows
    // the waypoint list. EditWaypoint (a double-click on a row of the waypoint list) stores
    // the dialog's record when any of its bytes changed. MoveWaypoints (command
    // ID_EDIT_MOVE_WAYPOINTS, waypoint mode with a selection) runs the move dialog.
    void NewWaypoint();
    void EditWaypoint(int row);
    void MoveWaypoints();

    // Copy puts the selected rows' records on the clipboard (a private block and a text),
    // cut copies and deletes them, paste inserts the clipboard's records of the list's kind
    // at the start of the document. In the route list they copy and cut the routes of the
    // selected rows, whole, and paste appends the clipboard's routes with free numbers.
    // Each change is one undo step.
    void CopySelection();
    void CutSelection();
    void PasteRecords();
    // GPX import adds a file's waypoints and tracks to the end of the document, each kind
    // refused with a message when it would pass what a document holds; export writes the
    // whole document. Both ask for the file; the ...File functions take it.
    void ImportGpx();
    void ExportGpx();
    bool ImportGpxFile(const QString& path);
    bool ExportGpxFile(const QString& path);

    // The record indices of the selected rows, in row order. False (and `indices`
    // untouched) when the view does not show `mode`, and for the routes, whose rows are
    // no records (SelectedRoutePlaces).
    bool GetSelectedIndices(std::vector<int>& indices, ListMode mode) const;

    // Selects the rows of `records` (record indices of `mode`) and no others, showing `mode`
    // first when the list shows the other kind; the first of them becomes the current row
    // and is scrolled into view. Indices outside the records are left out. Waypoints and
    // trackpoints only.
    void SelectRecords(ListMode mode, const std::vector<int>& records);

    // The routes and points of the selected rows in row order; empty unless the list shows
    // the routes. Selecting them shows the routes first; places that are no rows are left
    // out, and the first one becomes the current row.
    std::vector<RoutePlace> SelectedRoutePlaces() const;
    void SelectRoutePlaces(const std::vector<RoutePlace>& places);

    // The route commands, each one undo step; see RegisterRouteCommands. They rebuild the
    // document's views and select what they made or moved.
    void NewRouteFromSelection();
    void InsertSelectionIntoRoute();
    void MoveRoutePoints(int step);
    void ReverseSelectedRoutes();
    void PasteRoutes();
    // Where "In Route einfügen" inserts: the last selected row of a route list of the
    // document shown in another window, else the one this list had selected when it last
    // showed the routes (a point: after it; a route, or a point no longer there: at the end
    // of the route). `shower` is the list that shows the result. False when there is none.
    bool RouteInsertTarget(RoutePlace& target, CDataView*& shower);

    // Adds the first-column text of every row to `combo`, in row order, each with its
    // record index as item data. False when the list has no rows.
    bool FillItemCombo(QComboBox* combo) const;

    // Fills `menu` with the context menu of a click at `position` (viewport coordinates):
    // cut, copy, paste, move waypoints and the two commands that make routes of waypoints;
    // in the route list cut, copy, paste, the route commands and delete; run through the
    // program's command router. False when the position is not on a row.
    bool BuildContextMenu(QMenu& menu, const QPoint& position) const;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Editing always edits the name column of the row (F2, or a click on a selected row).
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;

private:
    void RegisterClipboardAndFileCommands();
    void RegisterDialogCommands();
    void RegisterRouteCommands();
    // Stores the routes of `edit` as one undo step named `label`, rebuilds the document's
    // views and selects the edit's rows in `shower`; a message when they do not fit.
    bool ApplyRouteEdit(RouteEdit edit, const char* label, CDataView* shower);
    void SelectRows(std::vector<int> rows);
    void Show(ListMode mode);
    void FitColumnWidths(bool fromCaptions);
    // Runs `transfer` on the document's connection through the current TaskRunner; -1
    // without a connection.
    int RunTransfer(const std::function<int(GpsDocumentLink&)>& transfer);
    void DownloadWaypoints();
    void DownloadTrackpoints();
    void UploadWaypoints();
    void UploadTrackpoints();
    // After an upload: what the receiver could not take, once, in a message.
    void ReportUploadLosses(const std::string& losses);
    void DownloadRoutes();
    void UploadRoutes();

    PointListModel* model_;
    RoutePlace routeTarget_;  // the last selected row of this view's route list
};
