#include "edit/CDataView.h"

#include "edit/LiveSession.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>

#include "edit/PointListModel.h"
#include "edit/PointListSort.h"
#include "edit/RouteListFormat.h"
#include "edit/TextWidthMeter.h"
#include "framework/CommandActions.h"
#include "framework/Prompts.h"
#include "framework/TaskRunner.h"
#include "gps/CDataDoc.h"
#include "gps/Gps12Upload.h"
#include "res/CommandIds.h"

namespace {

// Room around a cell text; the name column of waypoints also holds the symbol.
constexpr int kCellPadding = 20;
constexpr int kNamePadding = 36;

template <class Record>
bool SameRecords(const std::vector<Record>& a, const std::vector<Record>& b)
{
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(Record)) == 0);
}

}  // namespace

CDataView::CDataView(QWidget* parent) : QTableView(parent), model_(new PointListModel(this))
{
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setShowGrid(false);
    setWordWrap(false);
    setSortingEnabled(false);
    setIconSize(QSize(16, 16));
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(std::max(fontMetrics().height(), 16) + 4);
    QHeaderView* header = horizontalHeader();
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setSectionsClickable(true);
    header->setSectionsMovable(true);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setSortIndicatorShown(false);
    connect(header, &QHeaderView::sectionClicked, this,
            [this](int column) { SortByColumn(column); });
    // The list shows the new name already; the plot and the other windows learn of it.
    connect(model_, &PointListModel::recordRenamed, this, [this] {
        if (CDataDoc* doc = GetDataDoc()) {
            doc->UpdateAllViews(this);
        }
    });

    OnCommand(ID_VIEW_WAYPOINTS, [this] { ShowWaypoints(); });
    OnUpdateCommand(ID_VIEW_WAYPOINTS, [this](CommandUI& ui) {
        CDataDoc* doc = GetDataDoc();
        ui.enabled = doc && doc->waypointCount() > 0;
        ui.checked = Mode() == LIST_WAYPOINTS;
    });
    OnCommand(ID_VIEW_TRACKPOINTS, [this] { ShowTrackpoints(); });
    OnUpdateCommand(ID_VIEW_TRACKPOINTS, [this](CommandUI& ui) {
        CDataDoc* doc = GetDataDoc();
        ui.enabled = doc && doc->trackpointCount() > 0;
        ui.checked = Mode() == LIST_TRACKPOINTS;
    });
    OnCommand(ID_GPS_WPT_DOWNLOAD, [this] { DownloadWaypoints(); });
    OnCommand(ID_GPS_TRK_DOWNLOAD, [this] { DownloadTrackpoints(); });
    OnCommand(ID_GPS_WPT_UPLOAD, [this] { UploadWaypoints(); });
    OnCommand(ID_GPS_TRK_UPLOAD, [this] { UploadTrackpoints(); });
    OnCommand(ID_GPS_RTE_DOWNLOAD, [this] { DownloadRoutes(); });
    OnCommand(ID_GPS_RTE_UPLOAD, [this] { UploadRoutes(); });
    OnCommand(ID_GPS_CONNECT, [this] {
        RunTransfer([](GpsDocumentLink& link) { return link.RequestProduct(1); });
    });
    OnCommand(ID_EDIT_UNDO, [this] {
        if (CDataDoc* doc = GetDataDoc()) {
            doc->Undo();
        }
    });
    OnUpdateCommand(ID_EDIT_UNDO, [this](CommandUI& ui) {
        ui.enabled = GetDataDoc() && GetDataDoc()->CanUndo();
    });
    OnCommand(ID_EDIT_REDO, [this] {
        if (CDataDoc* doc = GetDataDoc()) {
            doc->Redo();
        }
    });
    OnUpdateCommand(ID_EDIT_REDO, [this](CommandUI& ui) {
        ui.enabled = GetDataDoc() && GetDataDoc()->CanRedo();
    });
    OnCommand(ID_EDIT_CLEAR, [this] { DeleteSelection(); });
    OnUpdateCommand(ID_EDIT_CLEAR, [this](CommandUI& ui) {
        ui.enabled = selectionModel() && selectionModel()->hasSelection();
    });
    RegisterClipboardAndFileCommands();
    RegisterDialogCommands();
    RegisterRouteCommands();
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [] { CommandActions::StateChanged(); });
}

CDataView::~CDataView() = default;

CDataDoc* CDataView::GetDataDoc() const
{
    return dynamic_cast<CDataDoc*>(GetDocument());
}

ListMode CDataView::Mode() const
{
    return model_->Mode();
}

void CDataView::OnUpdate(View*, long, const std::any&)
{
    Show(Mode() == LIST_NONE ? LIST_WAYPOINTS : Mode());
}

void CDataView::ShowWaypoints()
{
    Show(LIST_WAYPOINTS);
}

void CDataView::ShowTrackpoints()
{
    Show(LIST_TRACKPOINTS);
}

void CDataView::Show(ListMode mode)
{
    bool switching = mode != Mode();
    if (switching) {
        // The new columns come without the sort arrow.
        horizontalHeader()->setSortIndicatorShown(false);
    }
    // Records keep their indices when their number stays: an edit keeps the selection.
    std::vector<int> selected;
    std::vector<RoutePlace> places;
    const int rowsBefore = model_->rowCount();
    if (!switching) {
        GetSelectedIndices(selected, mode);
        places = SelectedRoutePlaces();
    }
    model_->SetDocument(GetDataDoc());
    model_->Rebuild(mode);
    // A list that shows its sort arrow stays in that order.
    QHeaderView* header = horizontalHeader();
    if (header->isSortIndicatorShown()) {
        const ListSortState& state = SharedListSortState();
        header->setSortIndicator(state.column,
                                 state.descending ? Qt::DescendingOrder : Qt::AscendingOrder);
        model_->Sort(state.column, state.descending);
    }
    if (!selected.empty() && model_->rowCount() == rowsBefore) {
        SelectRecords(mode, selected);
    }
    if (!places.empty()) {
        SelectRoutePlaces(places);
    }
    FitColumnWidths(switching);
    CommandActions::StateChanged();
}

void CDataView::FitColumnWidths(bool fromCaptions)
{
    const QFontMetrics metrics = fontMetrics();
    const ListMode mode = Mode();
    const int columns = model_->columnCount();
    std::vector<int> widths(static_cast<size_t>(columns));
    std::vector<int> padding(static_cast<size_t>(columns), kCellPadding);
    for (int column = 0; column < columns; ++column) {
        auto c = static_cast<size_t>(column);
        widths[c] =
            fromCaptions
                ? metrics.horizontalAdvance(QString::fromUtf8(ListColumnAt(mode, column).caption)) +
                      kCellPadding
                : columnWidth(column);
    }
    if (mode == LIST_WAYPOINTS || mode == LIST_ROUTES) {
        padding[mode == LIST_ROUTES ? int{RTE_COL_NAME} : int{WPT_COL_NAME}] = kNamePadding;
    }
    TextWidthMeter meter(metrics);
    const int rows = model_->rowCount();
    for (int column = 0; column < columns; ++column) {
        auto c = static_cast<size_t>(column);
        CellEncoding encoding = ListCellEncoding(mode, column);
        for (int row = 0; row < rows; ++row) {
            widths[c] = std::max(
                widths[c], meter.Width(model_->CellBytes(row, column), encoding) + padding[c]);
        }
        setColumnWidth(column, std::min(widths[c], 32767));
    }
}

void CDataView::SortByColumn(int column)
{
    if (Mode() == LIST_ROUTES) {
        return;  // the order of the rows is the routes' own
    }
    ListSortState& state = SharedListSortState();
    ClickSortColumn(state, column);
    QHeaderView* header = horizontalHeader();
    header->setSortIndicatorShown(true);
    header->setSortIndicator(state.column,
                             state.descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    model_->Sort(state.column, state.descending);
}

void CDataView::DeleteSelection()
{
    CDataDoc* doc = GetDataDoc();
    if (doc && Mode() == LIST_ROUTES) {
        ApplyRouteEdit(RemovePlaces(doc->Routes(), SelectedRoutePlaces()), "Löschen", this);
        return;
    }
    std::vector<int> indices;
    if (!doc || !GetSelectedIndices(indices, Mode())) {
        return;
    }
    std::sort(indices.begin(), indices.end(), std::greater<int>());
    CDataDoc::UndoStep step(*doc, "Löschen");
    for (int index : indices) {
        int result = Mode() == LIST_TRACKPOINTS ? doc->DeleteTrackpoints(index, 1)
                                                : doc->DeleteWaypoints(index, 1);
        if (result != DOC_OK) {
            break;
        }
    }
    doc->UpdateAllViews(nullptr);
}

bool CDataView::GetSelectedIndices(std::vector<int>& indices, ListMode mode) const
{
    if (mode != Mode() || mode == LIST_ROUTES) {
        return false;
    }
    indices.clear();
    std::vector<bool> selected(static_cast<size_t>(model_->rowCount()));
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            if (row >= 0 && static_cast<size_t>(row) < selected.size()) {
                selected[static_cast<size_t>(row)] = true;
            }
        }
    }
    for (size_t row = 0; row < selected.size(); ++row) {
        if (selected[row]) {
            indices.push_back(model_->RecordAt(static_cast<int>(row)));
        }
    }
    return true;
}

void CDataView::SelectRecords(ListMode mode, const std::vector<int>& records)
{
    if (mode != LIST_WAYPOINTS && mode != LIST_TRACKPOINTS) {
        return;
    }
    if (mode != Mode()) {
        Show(mode);
    }
    const int rows = model_->rowCount();
    std::vector<int> rowOf(static_cast<size_t>(rows), -1);
    for (int row = 0; row < rows; ++row) {
        const int record = model_->RecordAt(row);
        if (record >= 0 && record < rows) {
            rowOf[static_cast<size_t>(record)] = row;
        }
    }
    std::vector<int> selectedRows;
    for (int record : records) {
        if (record >= 0 && record < rows && rowOf[static_cast<size_t>(record)] >= 0) {
            selectedRows.push_back(rowOf[static_cast<size_t>(record)]);
        }
    }
    SelectRows(std::move(selectedRows));
}

void CDataView::SelectRows(std::vector<int> selectedRows)
{
    const int first = selectedRows.empty() ? -1 : selectedRows.front();
    std::sort(selectedRows.begin(), selectedRows.end());
    QItemSelection selection;
    const int lastColumn = model_->columnCount() - 1;
    for (size_t i = 0; i < selectedRows.size();) {
        size_t end = i;
        while (end + 1 < selectedRows.size() && selectedRows[end + 1] <= selectedRows[end] + 1) {
            ++end;
        }
        selection.select(model_->index(selectedRows[i], 0),
                         model_->index(selectedRows[end], lastColumn));
        i = end + 1;
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    if (first >= 0) {
        const QModelIndex current = model_->index(first, 0);
        selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
        scrollTo(current);
    }
}

bool CDataView::FillItemCombo(QComboBox* combo) const
{
    const int rows = model_->rowCount();
    for (int row = 0; row < rows; ++row) {
        combo->addItem(model_->CellText(row, 0), model_->RecordAt(row));
    }
    return rows > 0;
}

bool CDataView::BuildContextMenu(QMenu& menu, const QPoint& position) const
{
    if (!indexAt(position).isValid()) {
        return false;
    }
    CommandActions::FillMenu(&menu, {{ID_EDIT_CUT, "Cu&t selection\tCtrl+X"},
                                     {ID_EDIT_COPY, "&Copy selection\tCtrl+C"},
                                     {ID_EDIT_PASTE, "&Paste\tCtrl+V"}});
    if (Mode() == LIST_ROUTES) {
        CommandActions::FillMenu(&menu, {{0, nullptr},
                                         {ID_ROUTE_MOVE_UP, "Punkt nach &oben\tCtrl+Up"},
                                         {ID_ROUTE_MOVE_DOWN, "Punkt nach &unten\tCtrl+Down"},
                                         {ID_ROUTE_REVERSE, "Route um&kehren"},
                                         {ID_ROUTE_RENAME, "Route u&mbenennen\tF2"},
                                         {0, nullptr},
                                         {ID_EDIT_CLEAR, "&Löschen\tDel"}});
    } else {
        CommandActions::FillMenu(&menu, {{0, nullptr},
                                         {ID_EDIT_MOVE_WAYPOINTS, "Move Waypoints..."},
                                         {0, nullptr},
                                         {ID_ROUTE_NEW, "Neue Route aus &Auswahl\tCtrl+R"},
                                         {ID_ROUTE_INSERT, "In Route &einfügen\tIns"}});
    }
    return true;
}

void CDataView::contextMenuEvent(QContextMenuEvent* event)
{
    // Focus makes this view, and with it its frame, the active one, so that the chosen
    // command reaches this view.
    setFocus(Qt::PopupFocusReason);
    // The mouse gives a position in the list; the menu key opens the menu at the current row.
    QPoint position = event->pos();
    QPoint global = event->globalPos();
    if (event->reason() == QContextMenuEvent::Keyboard) {
        position = visualRect(currentIndex()).center();
        global = viewport()->mapToGlobal(position);
    }
    QMenu menu(this);
    if (BuildContextMenu(menu, position)) {
        CommandActions::Refresh(menu.actions());
        menu.exec(global);
    }
    event->accept();
}

void CDataView::keyPressEvent(QKeyEvent* event)
{
    // Copying is the command's: the list's own copy of one cell's text never runs.
    if (event->matches(QKeySequence::Copy)) {
        event->ignore();
        return;
    }
    QTableView::keyPressEvent(event);
}

bool CDataView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    const int name = Mode() == LIST_ROUTES ? int{RTE_COL_NAME} : int{WPT_COL_NAME};
    return QTableView::edit(index.isValid() ? index.siblingAtColumn(name) : index, trigger, event);
}

int CDataView::RunTransfer(const std::function<int(GpsDocumentLink&)>& transfer)
{
    CDataDoc* doc = GetDataDoc();
    GpsDocumentLink* link = doc ? doc->gpsConnection.get() : nullptr;
    if (!link) {
        return -1;
    }
    // The receiver's PVT would answer on the same port: it waits.
    LiveSession::PausedForTransfer paused;
    // The task runs on a worker thread in the editor: it touches the connection only.
    return TaskRunner::Current().Run([link, transfer] { return transfer(*link); },
                                     [link] { link->Cancel(); });
}

void CDataView::DownloadWaypoints()
{
    if (CDataDoc* doc = GetDataDoc()) {
        std::vector<WaypointRecord> before = doc->Waypoints();
        doc->ApplyWaypointDownload(RunTransfer(std::mem_fn(&GpsDocumentLink::DownloadWaypoints)));
        if (!SameRecords(before, doc->Waypoints())) {
            doc->UpdateAllViews(this);
        }
    }
    ShowWaypoints();
}

void CDataView::DownloadTrackpoints()
{
    if (CDataDoc* doc = GetDataDoc()) {
        std::vector<TrackpointRecord> before = doc->Trackpoints();
        doc->ApplyTrackpointDownload(
            RunTransfer(std::mem_fn(&GpsDocumentLink::DownloadTrackpoints)));
        if (!SameRecords(before, doc->Trackpoints())) {
            doc->UpdateAllViews(nullptr);
        }
    }
}

void CDataView::DownloadRoutes()
{
    if (CDataDoc* doc = GetDataDoc()) {
        std::vector<Route> before = doc->Routes();
        doc->ApplyRouteDownload(RunTransfer(std::mem_fn(&GpsDocumentLink::DownloadRoutes)));
        if (!SameRoutes(before, doc->Routes())) {
            doc->UpdateAllViews(nullptr);
        }
    }
    ShowRoutes();
}

void CDataView::UploadRoutes()
{
    if (CDataDoc* doc = GetDataDoc(); doc && doc->gpsConnection) {
        doc->PrepareUpload();
        if (RunTransfer(std::mem_fn(&GpsDocumentLink::UploadRoutes)) == 0) {
            ReportUploadLosses(doc->RouteUploadLosses());
        }
    }
}

void CDataView::ReportUploadLosses(const std::string& losses)
{
    if (!losses.empty()) {
        Prompts::Current().Message(UploadLossesMessage(losses));
    }
}

void CDataView::UploadWaypoints()
{
    if (CDataDoc* doc = GetDataDoc(); doc && doc->gpsConnection) {
        doc->PrepareWaypointUpload();
        if (RunTransfer(std::mem_fn(&GpsDocumentLink::UploadWaypoints)) == 0) {
            ReportUploadLosses(doc->WaypointUploadLosses());
        }
    }
}

void CDataView::UploadTrackpoints()
{
    if (CDataDoc* doc = GetDataDoc(); doc && doc->gpsConnection) {
        doc->PrepareTrackpointUpload();
        if (RunTransfer(std::mem_fn(&GpsDocumentLink::UploadTrackpoints)) == 0) {
            ReportUploadLosses(doc->TrackpointUploadLosses());
        }
    }
}
