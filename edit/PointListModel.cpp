#include "edit/PointListModel.h"

#include <numeric>
#include <optional>

#include <QFont>

#include "edit/PointListSort.h"
#include "edit/RouteListFormat.h"
#include "edit/SymbolImages.h"
#include "framework/Cp1252.h"
#include "gps/CDataDoc.h"
#include "gps/WaypointName.h"

PointListModel::PointListModel(QObject* parent) : QAbstractTableModel(parent)
{
    for (int symbol = 0; symbol < SYMBOL_COUNT; ++symbol) {
        symbols_.push_back(SymbolImage(symbol));
    }
}

void PointListModel::Rebuild(ListMode mode)
{
    beginResetModel();
    mode_ = mode;
    int count = 0;
    legs_.clear();
    places_.clear();
    routeRows_.clear();
    if (doc_ && mode == LIST_ROUTES) {
        places_ = RouteListPlaces(doc_->Routes());
        for (size_t row = 0; row < places_.size(); ++row) {
            if (places_[row].point == ROUTE_ITSELF) {
                routeRows_.push_back(static_cast<int>(row));
            }
        }
    } else if (doc_ && mode == LIST_WAYPOINTS) {
        count = doc_->waypointCount();
    } else if (doc_ && mode == LIST_TRACKPOINTS) {
        count = doc_->trackpointCount();
        legs_ = ComputeTrackLegs(doc_->Trackpoints());
    }
    rich_ = doc_ && ShowsRichColumns(*doc_, mode);
    rows_.resize(static_cast<size_t>(count));
    std::iota(rows_.begin(), rows_.end(), 0);
    endResetModel();
}

void PointListModel::Sort(int column, bool descending)
{
    if (column < 0 || column >= columnCount() || mode_ == LIST_ROUTES) {
        return;
    }
    std::vector<std::string> keys(rows_.size());
    for (size_t row = 0; row < rows_.size(); ++row) {
        keys[row] = CellBytes(static_cast<int>(row), column);
    }
    std::vector<int> order = SortedRowOrder(keys, descending);

    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> newRowOf(rows_.size());
    std::vector<int> sorted(rows_.size());
    for (size_t position = 0; position < order.size(); ++position) {
        auto oldRow = static_cast<size_t>(order[position]);
        sorted[position] = rows_[oldRow];
        newRowOf[oldRow] = static_cast<int>(position);
    }
    rows_ = std::move(sorted);
    const QModelIndexList persistent = persistentIndexList();
    QModelIndexList moved;
    moved.reserve(persistent.size());
    for (const QModelIndex& index : persistent) {
        moved.append(index.row() < static_cast<int>(newRowOf.size())
                         ? createIndex(newRowOf[static_cast<size_t>(index.row())], index.column())
                         : QModelIndex());
    }
    changePersistentIndexList(persistent, moved);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int PointListModel::RecordAt(int row) const
{
    return row >= 0 && static_cast<size_t>(row) < rows_.size() ? rows_[static_cast<size_t>(row)]
                                                               : -1;
}

RoutePlace PointListModel::PlaceAt(int row) const
{
    return row >= 0 && static_cast<size_t>(row) < places_.size() ? places_[static_cast<size_t>(row)]
                                                                 : RoutePlace{};
}

int PointListModel::RowOf(RoutePlace place) const
{
    if (place.route < 0 || static_cast<size_t>(place.route) >= routeRows_.size()) {
        return -1;
    }
    const int row = routeRows_[static_cast<size_t>(place.route)] + 1 + place.point;
    return PlaceAt(row) == place ? row : -1;
}

std::string PointListModel::CellBytes(int row, int column) const
{
    if (mode_ == LIST_ROUTES) {
        return doc_ ? RouteCellText(doc_->Routes(), PlaceAt(row), column) : std::string();
    }
    int record = RecordAt(row);
    if (!doc_ || record < 0) {
        return {};
    }
    return PointListCellText(*doc_, mode_, legs_, record, column);
}

QString PointListModel::CellText(int row, int column) const
{
    std::string bytes = CellBytes(row, column);
    if (ListCellEncoding(mode_, column) == CellEncoding::Cp1252) {
        bytes = Cp1252ToUtf8(bytes);
    }
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

int PointListModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid()) {
        return 0;
    }
    return static_cast<int>(mode_ == LIST_ROUTES ? places_.size() : rows_.size());
}

int PointListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ListColumnCount(mode_, rich_);
}

QVariant PointListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid()) {
        return {};
    }
    int row = index.row();
    if (mode_ == LIST_ROUTES && role != Qt::DisplayRole && role != Qt::EditRole) {
        return RouteData(row, index.column(), role);
    }
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return CellText(row, index.column());
    case Qt::DecorationRole:
    case Qt::ToolTipRole:
        if (mode_ == LIST_WAYPOINTS && index.column() == WPT_COL_NAME && doc_) {
            WaypointRecord w;
            if (doc_->GetWaypoint(RecordAt(row), w) != DOC_OK) {
                return {};
            }
            const WaypointDetails& details = doc_->WaypointDetailsAt(RecordAt(row));
            if (role == Qt::ToolTipRole) {
                return SymbolToolTip(WaypointFullSymbol(w, details));
            }
            if (details.symbol != SYMBOL_NONE) {
                return FullSymbolImage(details.symbol);
            }
            if (w.symbol >= 0 && w.symbol < static_cast<int>(symbols_.size())) {
                return symbols_[static_cast<size_t>(w.symbol)];
            }
        }
        return {};
    case ItemDataRole:
        return QVariant::fromValue<quint32>(RowItemData(row, RecordAt(row)));
    case RecordRole:
        return RecordAt(row);
    default:
        return {};
    }
}

QVariant PointListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (role == Qt::DisplayRole) {
        return QString::fromUtf8(ListColumnAt(mode_, section).caption);
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue<int>(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

Qt::ItemFlags PointListModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && mode_ == LIST_WAYPOINTS && index.column() == WPT_COL_NAME) {
        flags |= Qt::ItemIsEditable;
    }
    if (index.isValid() && mode_ == LIST_ROUTES && index.column() == RTE_COL_NAME &&
        PlaceAt(index.row()).point == ROUTE_ITSELF) {
        flags |= Qt::ItemIsEditable;
    }
    return flags;
}

bool PointListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (mode_ == LIST_ROUTES && role == Qt::EditRole && index.column() == RTE_COL_NAME && doc_) {
        return RenameRouteOfRow(index, value.toString());
    }
    if (role != Qt::EditRole || !index.isValid() || mode_ != LIST_WAYPOINTS ||
        index.column() != WPT_COL_NAME || !doc_) {
        return false;
    }
    int record = RecordAt(index.row());
    WaypointRecord w;
    if (doc_->GetWaypoint(record, w) != DOC_OK) {
        return false;
    }
    // The name as the document's receiver holds it: under the GPS 12's rules the ident
    // alone, which drops a longer name the waypoint had.
    std::optional<std::string> name =
        TypedName(doc_->Receiver(), Utf8ToCp1252(value.toString().toStdString()));
    if (!name) {
        return false;
    }
    WaypointDetails details = doc_->WaypointDetailsAt(record);
    SetWaypointName(w, details, *name);
    if (doc_->SetWaypoint(record, w, details) != DOC_OK) {
        return false;
    }
    emit dataChanged(index, index);
    emit recordRenamed(record);
    return true;
}

QVariant PointListModel::RouteData(int row, int column, int role) const
{
    const RoutePlace place = PlaceAt(row);
    if (!doc_ || !IsRoutePlace(doc_->Routes(), place)) {
        return {};
    }
    // A route's row stands out in bold; a point's name carries its symbol.
    if (place.point == ROUTE_ITSELF) {
        if (role == Qt::FontRole) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    }
    const RoutePoint& point =
        doc_->Routes()[static_cast<size_t>(place.route)].points[static_cast<size_t>(place.point)];
    const uint16_t symbol = WaypointFullSymbol(point.record, point.details);
    if (column == RTE_COL_NAME && role == Qt::DecorationRole) {
        return FullSymbolImage(symbol);
    }
    if (column == RTE_COL_NAME && role == Qt::ToolTipRole) {
        return SymbolToolTip(symbol);
    }
    return {};
}

bool PointListModel::RenameRouteOfRow(const QModelIndex& index, const QString& name)
{
    const RoutePlace place = PlaceAt(index.row());
    RouteEdit edit = RenameRoute(doc_->Routes(), place.route, doc_->Receiver(),
                                 Utf8ToCp1252(name.toStdString()));
    if (place.point != ROUTE_ITSELF || edit.result != ROUTE_EDIT_OK) {
        return false;
    }
    {
        CDataDoc::UndoStep step(*doc_, "Route umbenennen");
        doc_->ReplaceRoutes(std::move(edit.routes));
    }
    emit dataChanged(index, index);
    emit recordRenamed(-1);
    return true;
}
