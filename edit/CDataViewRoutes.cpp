// The route commands of the point list view.

#include <QItemSelectionModel>

#include "edit/CDataView.h"
#include "edit/PointListModel.h"
#include "edit/RouteClipboard.h"
#include "framework/ArchiveException.h"
#include "framework/CommandActions.h"
#include "framework/Prompts.h"
#include "gps/CDataDoc.h"
#include "res/CommandIds.h"

namespace {

const char* const kTooManyRoutes =
    "Die Routen haben keinen Platz: ein GPS-Datendokument hält höchstens 255 Routen mit "
    "zusammen 32767 Punkten.";
const char* const kDamagedRoutes =
    "Die Routen in der Zwischenablage sind beschädigt; es wurde nichts eingefügt.";

// The selected waypoints as route points, whole with their details, in row order.
std::vector<RoutePoint> RoutePointsOf(const CDataDoc& doc, const std::vector<int>& indices)
{
    std::vector<RoutePoint> points;
    for (int i : indices) {
        if (i >= 0 && i < doc.waypointCount()) {
            points.push_back(
                MakeRoutePoint(doc.Waypoints()[static_cast<size_t>(i)], doc.WaypointDetailsAt(i)));
        }
    }
    return points;
}

}  // namespace

// ID_VIEW_ROUTES shows the route list (enabled with a document). In the waypoint list with a
// selection: ID_ROUTE_NEW makes a route of the selected waypoints, ID_ROUTE_INSERT inserts
// them where RouteInsertTarget says (enabled when there is such a place). In the route list:
// ID_ROUTE_MOVE_UP and ID_ROUTE_MOVE_DOWN move the selected points, ID_ROUTE_REVERSE reverses
// the selected routes (enabled with a selected point, or any selection), ID_ROUTE_RENAME
// edits the name of the current route's row (F2, a double-click, or a click on a selected
// row do the same); delete, cut, copy and paste take whole routes and points (see
// CDataViewEditing.cpp).
void CDataView::RegisterRouteCommands()
{
    OnCommand(ID_VIEW_ROUTES, [this] { ShowRoutes(); });
    OnUpdateCommand(ID_VIEW_ROUTES, [this](CommandUI& ui) {
        ui.enabled = GetDataDoc() != nullptr;
        ui.checked = Mode() == LIST_ROUTES;
    });
    auto waypointsSelected = [this] {
        return Mode() == LIST_WAYPOINTS && selectionModel()->hasSelection();
    };
    OnCommand(ID_ROUTE_NEW, [this] { NewRouteFromSelection(); });
    OnUpdateCommand(ID_ROUTE_NEW,
                    [waypointsSelected](CommandUI& ui) { ui.enabled = waypointsSelected(); });
    OnCommand(ID_ROUTE_INSERT, [this] { InsertSelectionIntoRoute(); });
    OnUpdateCommand(ID_ROUTE_INSERT, [this, waypointsSelected](CommandUI& ui) {
        RoutePlace target;
        CDataView* shower = nullptr;
        ui.enabled = waypointsSelected() && RouteInsertTarget(target, shower);
    });
    auto pointSelected = [this](CommandUI& ui) {
        const std::vector<RoutePlace> places = SelectedRoutePlaces();
        ui.enabled = std::any_of(places.begin(), places.end(),
                                 [](const RoutePlace& p) { return p.point != ROUTE_ITSELF; });
    };
    OnCommand(ID_ROUTE_MOVE_UP, [this] { MoveRoutePoints(-1); });
    OnUpdateCommand(ID_ROUTE_MOVE_UP, pointSelected);
    OnCommand(ID_ROUTE_MOVE_DOWN, [this] { MoveRoutePoints(1); });
    OnUpdateCommand(ID_ROUTE_MOVE_DOWN, pointSelected);
    OnCommand(ID_ROUTE_REVERSE, [this] { ReverseSelectedRoutes(); });
    OnUpdateCommand(ID_ROUTE_REVERSE, [this](CommandUI& ui) {
        ui.enabled = Mode() == LIST_ROUTES && selectionModel()->hasSelection();
    });
    OnCommand(ID_ROUTE_RENAME, [this] { edit(currentIndex()); });
    OnUpdateCommand(ID_ROUTE_RENAME, [this](CommandUI& ui) {
        ui.enabled = Mode() == LIST_ROUTES && currentIndex().isValid() &&
                     model_->PlaceAt(currentIndex().row()).point == ROUTE_ITSELF;
    });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const std::vector<RoutePlace> places = SelectedRoutePlaces();
        if (!places.empty()) {
            routeTarget_ = places.back();
        }
    });
}

void CDataView::ShowRoutes()
{
    Show(LIST_ROUTES);
}

std::vector<RoutePlace> CDataView::SelectedRoutePlaces() const
{
    std::vector<RoutePlace> places;
    if (Mode() != LIST_ROUTES) {
        return places;
    }
    QModelIndexList rows = selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    for (const QModelIndex& row : rows) {
        places.push_back(model_->PlaceAt(row.row()));
    }
    return places;
}

void CDataView::SelectRoutePlaces(const std::vector<RoutePlace>& places)
{
    if (Mode() != LIST_ROUTES) {
        Show(LIST_ROUTES);
    }
    std::vector<int> rows;
    for (const RoutePlace& place : places) {
        if (const int row = model_->RowOf(place); row >= 0) {
            rows.push_back(row);
        }
    }
    SelectRows(std::move(rows));
}

bool CDataView::ApplyRouteEdit(RouteEdit edit, const char* label, CDataView* shower)
{
    CDataDoc* doc = GetDataDoc();
    if (!doc || edit.result == ROUTE_EDIT_NOTHING) {
        return false;
    }
    if (edit.result == ROUTE_EDIT_TOO_MANY) {
        Prompts::Current().Message(kTooManyRoutes);
        return false;
    }
    {
        CDataDoc::UndoStep step(*doc, label);
        doc->ReplaceRoutes(std::move(edit.routes));
    }
    doc->UpdateAllViews(nullptr);
    shower->SelectRoutePlaces(edit.selection);
    return true;
}

bool CDataView::RouteInsertTarget(RoutePlace& target, CDataView*& shower)
{
    CDataDoc* doc = GetDataDoc();
    if (!doc) {
        return false;
    }
    for (View* view : doc->GetViews()) {
        auto* list = dynamic_cast<CDataView*>(view);
        if (list && list != this) {
            const std::vector<RoutePlace> places = list->SelectedRoutePlaces();
            if (!places.empty()) {
                target = places.back();
                shower = list;
                return true;
            }
        }
    }
    const std::vector<Route>& routes = doc->Routes();
    if (!IsRoutePlace(routes, {routeTarget_.route, ROUTE_ITSELF})) {
        return false;
    }
    target = IsRoutePlace(routes, routeTarget_) ? routeTarget_
                                                : RoutePlace{routeTarget_.route, ROUTE_ITSELF};
    shower = this;
    return true;
}

void CDataView::NewRouteFromSelection()
{
    CDataDoc* doc = GetDataDoc();
    std::vector<int> indices;
    if (doc && GetSelectedIndices(indices, LIST_WAYPOINTS)) {
        ApplyRouteEdit(NewRoute(doc->Routes(), RoutePointsOf(*doc, indices)), "Neue Route", this);
    }
}

void CDataView::InsertSelectionIntoRoute()
{
    CDataDoc* doc = GetDataDoc();
    std::vector<int> indices;
    RoutePlace target;
    CDataView* shower = nullptr;
    if (doc && GetSelectedIndices(indices, LIST_WAYPOINTS) && RouteInsertTarget(target, shower)) {
        ApplyRouteEdit(InsertIntoRoute(doc->Routes(), target, RoutePointsOf(*doc, indices)),
                       "In Route einfügen", shower);
    }
}

void CDataView::MoveRoutePoints(int step)
{
    if (CDataDoc* doc = GetDataDoc()) {
        ApplyRouteEdit(MovePoints(doc->Routes(), SelectedRoutePlaces(), step),
                       "Routenpunkt verschieben", this);
    }
}

void CDataView::ReverseSelectedRoutes()
{
    if (CDataDoc* doc = GetDataDoc()) {
        ApplyRouteEdit(ReverseRoutes(doc->Routes(), SelectedRoutePlaces()), "Route umkehren", this);
    }
}

void CDataView::PasteRoutes()
{
    CDataDoc* doc = GetDataDoc();
    if (!doc) {
        return;
    }
    std::vector<Route> pasted;
    try {
        pasted = RoutesFromClipboard();
    } catch (const ArchiveException&) {
        Prompts::Current().Message(kDamagedRoutes);
        return;
    }
    ApplyRouteEdit(AppendRoutes(doc->Routes(), pasted), "Routen einfügen", this);
}
