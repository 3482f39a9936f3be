#include "edit/PointListModel.h"

#include <numeric>
#include <optional>

#include "edit/PointListSort.h"
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
    if (doc_ && mode == LIST_WAYPOINTS) {
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
    if (column < 0 || column >= columnCount()) {
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

std::string PointListModel::CellBytes(int row, int column) const
{
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
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
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
    return flags;
}

bool PointListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
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
