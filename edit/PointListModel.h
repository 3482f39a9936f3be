#pragma once

#include <string>
#include <vector>

#include <QAbstractTableModel>
#include <QPixmap>

#include "edit/PointListFormat.h"
#include "edit/RouteEditing.h"

class CDataDoc;

// The rows of a point list over a GPS data document. The model keeps the order of the rows
// (the record index of each row) and the derived numbers of the track, never records:
// every cell text is formatted from the document when it is asked for. After the document
// changed, Rebuild brings the rows back in step; until then rows whose record is gone show
// empty cells. In route mode a row is a route or one of its points (a RoutePlace) and has
// no record index; its rows keep the routes' order and are not sorted.
class PointListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // The row's item data (quint32): record index in the low 16 bits, row in the high 16.
    static constexpr int ItemDataRole = Qt::UserRole;
    // The row's record index (int).
    static constexpr int RecordRole = Qt::UserRole + 1;

    explicit PointListModel(QObject* parent = nullptr);

    // The document shown (not owned; may be null). Takes effect at the next Rebuild.
    void SetDocument(CDataDoc* doc) { doc_ = doc; }
    CDataDoc* Document() const { return doc_; }
    ListMode Mode() const { return mode_; }

    // Shows the document's records of `mode` in record order (its routes, each followed by
    // its points, in route mode).
    void Rebuild(ListMode mode);
    // Sorts the rows by the texts of `column` (byte order, equal texts keep their order);
    // persistent indexes (selection, current row) follow their rows.
    void Sort(int column, bool descending);

    // The record index of `row`, -1 outside the rows and in route mode.
    int RecordAt(int row) const;
    // Route mode: the route or point of `row` ({-1, ROUTE_ITSELF} outside the rows), and the
    // row of `place` (-1 when no row shows it).
    RoutePlace PlaceAt(int row) const;
    int RowOf(RoutePlace place) const;
    // The cell's bytes as formatted (see ListCellEncoding) and as display text.
    std::string CellBytes(int row, int column) const;
    QString CellText(int row, int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Renames the waypoint of a row of the name column (waypoint mode only): the text becomes
    // the receiver's ident (NormalizeWaypointName) and is stored through SetWaypoint. A name
    // that leaves no character of an ident is refused and the old one kept, as a receiver
    // refuses it.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    // A rename was stored: the document's other views show the record anew. `record` is the
    // waypoint's index, -1 for a route.
    void recordRenamed(int record);

private:
    // The roles beside the text of a row in route mode.
    QVariant RouteData(int row, int column, int role) const;
    bool RenameRouteOfRow(const QModelIndex& index, const QString& name);

    CDataDoc* doc_ = nullptr;
    ListMode mode_ = LIST_NONE;
    bool rich_ = false;               // the columns of later receivers' values shown
    std::vector<int> rows_;           // row -> record index
    std::vector<TrackLeg> legs_;      // by record index, trackpoint mode only
    std::vector<RoutePlace> places_;  // row -> route or point, route mode only
    std::vector<int> routeRows_;      // route index -> the row of the route itself
    std::vector<QPixmap> symbols_;
};
