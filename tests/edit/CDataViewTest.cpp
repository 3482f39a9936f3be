#include "edit/CDataView.h"

#include <memory>

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include "edit/PointListModel.h"
#include "edit/PointListSort.h"
#include "framework/CommandActions.h"
#include "framework/TaskRunner.h"
#include "gps/CDataDoc.h"
#include "res/CommandIds.h"
#include "tests/edit/FakeDocumentLink.h"
#include "tests/edit/ProcessSettings.h"
#include "tests/gps/GpsTestRecords.h"

namespace {

class DataViewTest : public ::testing::Test {
protected:
    void SetUp() override { SharedListSortState() = {}; }

    void AddWaypoints(int count)
    {
        std::vector<WaypointRecord> records;
        for (int i = 0; i < count; ++i) {
            records.push_back(TestWaypoint(i));
        }
        doc.InsertWaypoints(doc.waypointCount(), count, records.data());
        doc.SetModifiedFlag(false);
    }

    std::unique_ptr<CDataView> OpenView()
    {
        auto view = std::make_unique<CDataView>();
        view->resize(900, 300);
        view->AttachDocument(&doc);
        view->OnInitialUpdate();
        return view;
    }

    static QString Cell(const CDataView& view, int row, int column)
    {
        return view.model()->index(row, column).data().toString();
    }

    static QStringList Captions(const CDataView& view)
    {
        QStringList captions;
        for (int c = 0; c < view.model()->columnCount(); ++c) {
            captions << view.model()->headerData(c, Qt::Horizontal).toString();
        }
        return captions;
    }

    static std::vector<int> Records(const CDataView& view)
    {
        std::vector<int> records;
        for (int row = 0; row < view.model()->rowCount(); ++row) {
            records.push_back(view.ListModel()->RecordAt(row));
        }
        return records;
    }

    static void SelectRecords(CDataView& view, std::initializer_list<int> records)
    {
        view.clearSelection();
        for (int row = 0; row < view.model()->rowCount(); ++row) {
            for (int record : records) {
                if (view.ListModel()->RecordAt(row) == record) {
                    view.selectionModel()->select(
                        view.model()->index(row, 0),
                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
                }
            }
        }
    }

    std::vector<std::string> Idents() const
    {
        std::vector<std::string> idents;
        for (const WaypointRecord& w : doc.Waypoints()) {
            idents.emplace_back(WaypointIdent(w));
        }
        return idents;
    }

    CommandUI Update(CDataView& view, int id) { return RouteUpdate({&view, &doc}, id); }

    ScopedLocale locale{"C"};
    ScopedTimeZone zone{"UTC"};
    CDataDoc doc;
};

TEST_F(DataViewTest, AnEmptyDocumentShowsTheWaypointColumnsAndDisablesTheModes)
{
    auto view = OpenView();
    EXPECT_EQ(view->Mode(), LIST_WAYPOINTS);
    EXPECT_EQ(Captions(*view),
              QStringList({"Name", "Pos Breite", "Pos. Länge", "Kommentar", "Nr", "Symbol"}));
    EXPECT_EQ(view->model()->rowCount(), 0);
    EXPECT_FALSE(Update(*view, ID_VIEW_WAYPOINTS).enabled);
    EXPECT_FALSE(Update(*view, ID_VIEW_TRACKPOINTS).enabled);
    EXPECT_FALSE(Update(*view, ID_EDIT_CLEAR).enabled);
    int captionWidth = view->fontMetrics().horizontalAdvance("Kommentar");
    EXPECT_EQ(view->columnWidth(WPT_COL_COMMENT), captionWidth + 20);
}

TEST_F(DataViewTest, WaypointRowsShowTheRecords)
{
    WaypointRecord w = TestWaypoint(0);
    SetFieldText(w.ident, sizeof w.ident, "ABCDEF");
    SetFieldText(w.comment, sizeof w.comment,
                 "Gr\xfc\xdf"
                 "e aus dem Wald");
    w.latitude = 1 << 30;
    w.longitude = -(1 << 29);
    w.symbol = SYMBOL_ANCHOR;
    doc.InsertWaypoints(0, 1, &w);
    AddWaypoints(1);
    auto view = OpenView();
    ASSERT_EQ(view->model()->rowCount(), 2);
    EXPECT_EQ(Cell(*view, 0, WPT_COL_NAME), "ABCDEF");
    EXPECT_EQ(Cell(*view, 0, WPT_COL_LATITUDE), "90");
    EXPECT_EQ(Cell(*view, 0, WPT_COL_LONGITUDE), "-45");
    EXPECT_EQ(Cell(*view, 0, WPT_COL_COMMENT), "Grüße aus dem Wald");
    EXPECT_EQ(Cell(*view, 0, WPT_COL_NUMBER), "000");
    EXPECT_EQ(Cell(*view, 0, WPT_COL_SYMBOL), "06");
    EXPECT_EQ(Cell(*view, 1, WPT_COL_NAME), "WP0");
    EXPECT_EQ(Cell(*view, 1, WPT_COL_NUMBER), "001");
    QVariant symbol = view->model()->index(0, WPT_COL_NAME).data(Qt::DecorationRole);
    EXPECT_EQ(symbol.value<QPixmap>().size(), QSize(16, 16));
    EXPECT_FALSE(view->model()->index(0, WPT_COL_LATITUDE).data(Qt::DecorationRole).isValid());
    int commentWidth = view->fontMetrics().horizontalAdvance("Grüße aus dem Wald");
    EXPECT_GE(view->columnWidth(WPT_COL_COMMENT), commentWidth + 20);
    EXPECT_LE(view->columnWidth(WPT_COL_COMMENT), commentWidth + 24);
    EXPECT_GE(view->columnWidth(WPT_COL_NAME),
              view->fontMetrics().horizontalAdvance("ABCDEF") + 36);
}

TEST_F(DataViewTest, TrackpointRowsShowTheDerivedColumns)
{
    doc.ReplaceTrackpoints({{0, 0, 0, 1}, {107176, 0, 60, 0}, {107176, 0, 120, 1}});
    auto view = OpenView();
    view->ShowTrackpoints();
    EXPECT_EQ(Captions(*view), QStringList({"Nr", "Neu", "Pos Breite", "Pos. Länge", "Zeit", "Kurs",
                                            "Abstand", "Speed", "Strecke"}));
    ASSERT_EQ(view->model()->rowCount(), 3);
    QStringList second;
    for (int c = 0; c < 9; ++c) {
        second << Cell(*view, 1, c);
    }
    EXPECT_EQ(second, QStringList({"0001", "0", "0.00898339", "0", "Sun Dec 31 00:01:00 1989",
                                   "180", "1.000", "60.0", "1.00"}));
    EXPECT_EQ(Cell(*view, 0, TRK_COL_COURSE), "");
    EXPECT_EQ(Cell(*view, 0, TRK_COL_TOTAL), "0.00");
    EXPECT_EQ(Cell(*view, 2, TRK_COL_SPEED), "") << "a new segment";
    EXPECT_EQ(Cell(*view, 2, TRK_COL_DISTANCE), "0.000");
    EXPECT_FALSE(view->model()->index(0, 0).data(Qt::DecorationRole).isValid());
}

TEST_F(DataViewTest, NumbersAndDatesFollowTheProcessLocale)
{
    ScopedLocale german("de_DE.UTF-8");
    if (!german.ok()) {
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    }
    doc.ReplaceTrackpoints({{0, 0, 64 * 86400, 0}, {107176, 0, 64 * 86400 + 60, 0}});
    auto view = OpenView();
    view->ShowTrackpoints();
    EXPECT_EQ(Cell(*view, 1, TRK_COL_SPEED), "60,0");
    EXPECT_EQ(Cell(*view, 1, TRK_COL_LATITUDE), "0,00898339");
    EXPECT_TRUE(Cell(*view, 1, TRK_COL_TIME).startsWith("Mo 05 Mär 1990 00:01:00"))
        << Cell(*view, 1, TRK_COL_TIME).toStdString();
}

TEST_F(DataViewTest, HeaderClicksSortByTextToggleAndNrRestoresRecordOrder)
{
    AddWaypoints(12);
    auto view = OpenView();
    // The initial sort column is 0, so the first click on "Name" reverses it.
    view->horizontalHeader()->sectionClicked(WPT_COL_NAME);
    EXPECT_EQ(Records(*view), (std::vector<int>{9, 8, 7, 6, 5, 4, 3, 2, 11, 10, 1, 0}));
    EXPECT_TRUE(view->horizontalHeader()->isSortIndicatorShown());
    EXPECT_EQ(view->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    view->SortByColumn(WPT_COL_NAME);
    EXPECT_EQ(Records(*view), (std::vector<int>{0, 1, 10, 11, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(view->horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder);
    for (int row = 0; row < 12; ++row) {
        QModelIndex index = view->model()->index(row, 3);
        EXPECT_EQ(index.data(PointListModel::ItemDataRole).toUInt(),
                  RowItemData(row, view->ListModel()->RecordAt(row)))
            << "row " << row;
    }
    view->SortByColumn(WPT_COL_NUMBER);
    EXPECT_EQ(Records(*view), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(view->horizontalHeader()->sortIndicatorSection(), WPT_COL_NUMBER);
    view->SortByColumn(WPT_COL_NUMBER);
    EXPECT_EQ(Records(*view), (std::vector<int>{11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
}

TEST_F(DataViewTest, TheSortStateIsSharedAndTheSelectionFollowsItsRows)
{
    AddWaypoints(12);
    auto first = OpenView();
    auto second = OpenView();
    first->SortByColumn(WPT_COL_LATITUDE);
    SelectRecords(*second, {3});
    second->SortByColumn(WPT_COL_LATITUDE);  // the same column again: descending
    EXPECT_TRUE(SharedListSortState().descending);
    EXPECT_EQ(second->ListModel()->RecordAt(0), 1) << "\"8.39029e-05\" is the greatest text";
    std::vector<int> selected;
    ASSERT_TRUE(second->GetSelectedIndices(selected, LIST_WAYPOINTS));
    EXPECT_EQ(selected, std::vector<int>{3});
    doc.UpdateAllViews(nullptr);
    EXPECT_EQ(Records(*second)[0], 1) << "a rebuild keeps the order the arrow shows";
}

TEST_F(DataViewTest, RenamingStoresTheNormalizedNameInWaypointModeOnly)
{
    AddWaypoints(3);
    doc.ReplaceTrackpoints({TestTrackpoint(0), TestTrackpoint(1)});
    auto view = OpenView();
    QModelIndex name = view->model()->index(1, WPT_COL_NAME);
    EXPECT_TRUE(view->model()->flags(name) & Qt::ItemIsEditable);
    EXPECT_FALSE(view->model()->flags(view->model()->index(1, 1)) & Qt::ItemIsEditable);
    EXPECT_TRUE(view->model()->setData(name, "ab"));
    EXPECT_EQ(Idents(), (std::vector<std::string>{"WP0", "AB    ", "WP2"}));
    EXPECT_EQ(Cell(*view, 1, WPT_COL_NAME), "AB    ");
    EXPECT_TRUE(doc.IsModified());

    view->ShowTrackpoints();
    EXPECT_FALSE(view->model()->flags(view->model()->index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_FALSE(view->model()->setData(view->model()->index(0, 0), "x"));
}

TEST_F(DataViewTest, F2EditsTheNameOfTheCurrentRow)
{
    AddWaypoints(3);
    auto view = OpenView();
    view->show();
    view->setCurrentIndex(view->model()->index(2, WPT_COL_COMMENT));
    auto rename = [&](const QString& typed) {
        QTest::keyClick(view.get(), Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(view->indexWidget(view->model()->index(2, 0)));
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Backspace);
        editor->insert(typed);
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();  // the delegate commits through a queued call
    };
    rename(QStringLiteral("süd"));
    EXPECT_EQ(Idents()[2], "SUD   ");
    EXPECT_EQ(Cell(*view, 2, WPT_COL_NAME), "SUD   ");
    for (const QString& nameless : {QString(), QStringLiteral("  "), QStringLiteral("?")}) {
        rename(nameless);
        EXPECT_EQ(Idents()[2], "SUD   ") << "refused: " << nameless.toStdString();
    }

    // A receiver with longer names keeps what the user typed; the ident follows it.
    doc.SetReceiver("named14");
    rename(QStringLiteral("Süd-Hafen am See"));
    EXPECT_EQ(Idents()[2], "SUD-HA");
    EXPECT_EQ(Cell(*view, 2, WPT_COL_NAME), "Süd-Hafen am S");
}

TEST_F(DataViewTest, DeletingFromASortedListRemovesExactlyTheSelectedRecords)
{
    AddWaypoints(8);
    auto view = OpenView();
    auto other = OpenView();
    other->ShowTrackpoints();
    view->SortByColumn(WPT_COL_NAME);  // descending
    SelectRecords(*view, {5, 2});
    EXPECT_TRUE(Update(*view, ID_EDIT_CLEAR).enabled);
    EXPECT_TRUE(RouteCommand({view.get(), &doc}, ID_EDIT_CLEAR));
    EXPECT_EQ(Idents(), (std::vector<std::string>{"WP0", "WP1", "WP3", "WP4", "WP6", "WP7"}));
    EXPECT_EQ(Records(*view), (std::vector<int>{5, 4, 3, 2, 1, 0})) << "still sorted";
    EXPECT_EQ(Cell(*view, 2, WPT_COL_NAME), "WP4");
    EXPECT_EQ(other->Mode(), LIST_TRACKPOINTS);
    EXPECT_FALSE(Update(*view, ID_EDIT_CLEAR).enabled);
}

TEST_F(DataViewTest, DeletingTrackpointsRebuildsTheTrack)
{
    doc.ReplaceTrackpoints({TestTrackpoint(0), TestTrackpoint(1), TestTrackpoint(2)});
    auto view = OpenView();
    view->ShowTrackpoints();
    SelectRecords(*view, {0, 2});
    view->DeleteSelection();
    ASSERT_EQ(doc.trackpointCount(), 1);
    EXPECT_TRUE(SameBytes(doc.Trackpoints()[0], TestTrackpoint(1)));
    EXPECT_EQ(view->model()->rowCount(), 1);
    EXPECT_EQ(Cell(*view, 0, TRK_COL_TOTAL), "0.00");
}

TEST_F(DataViewTest, CommandStatesFollowTheModeAndTheDocument)
{
    AddWaypoints(2);
    doc.ReplaceTrackpoints({TestTrackpoint(0)});
    auto view = OpenView();
    struct Expect {
        int id;
        bool enabled;
        bool checked;
    };
    auto check = [&](const char* legend, std::initializer_list<Expect> expects) {
        for (const Expect& e : expects) {
            CommandUI ui = Update(*view, e.id);
            EXPECT_EQ(ui.enabled, e.enabled) << legend << ": command " << e.id;
            EXPECT_EQ(ui.checked, e.checked) << legend << ": command " << e.id;
        }
    };
    check("waypoints shown", {{ID_VIEW_WAYPOINTS, true, true},
                              {ID_VIEW_TRACKPOINTS, true, false},
                              {ID_GPS_WPT_DOWNLOAD, true, false},
                              {ID_GPS_TRK_DOWNLOAD, true, false},
                              {ID_GPS_WPT_UPLOAD, true, false},
                              {ID_GPS_TRK_UPLOAD, true, false},
                              {ID_GPS_CONNECT, true, false},
                              {ID_EDIT_CLEAR, false, false},
                              {ID_EDIT_NEW_WAYPOINT, true, false}});
    EXPECT_TRUE(RouteCommand({view.get(), &doc}, ID_VIEW_TRACKPOINTS));
    view->selectRow(0);
    check("trackpoints shown", {{ID_VIEW_WAYPOINTS, true, false},
                                {ID_VIEW_TRACKPOINTS, true, true},
                                {ID_EDIT_CLEAR, true, false}});
    doc.DeleteWaypoints(0, 2);
    check("no waypoints left", {{ID_VIEW_WAYPOINTS, false, false}});
}

TEST_F(DataViewTest, SelectedIndicesAndTheItemComboFollowTheRowOrder)
{
    AddWaypoints(4);
    auto view = OpenView();
    view->SortByColumn(WPT_COL_NAME);  // descending: records 3 2 1 0
    SelectRecords(*view, {0, 2});
    std::vector<int> indices{42};
    EXPECT_FALSE(view->GetSelectedIndices(indices, LIST_TRACKPOINTS));
    EXPECT_EQ(indices, std::vector<int>{42});
    ASSERT_TRUE(view->GetSelectedIndices(indices, LIST_WAYPOINTS));
    EXPECT_EQ(indices, (std::vector<int>{2, 0}));

    QComboBox combo;
    ASSERT_TRUE(view->FillItemCombo(&combo));
    ASSERT_EQ(combo.count(), 4);
    EXPECT_EQ(combo.itemText(0), "WP3");
    EXPECT_EQ(combo.itemData(0).toInt(), 3);
    EXPECT_EQ(combo.itemText(3), "WP0");
    EXPECT_EQ(combo.itemData(3).toInt(), 0);

    view->ShowTrackpoints();
    QComboBox empty;
    EXPECT_FALSE(view->FillItemCombo(&empty));
    EXPECT_EQ(empty.count(), 0);
}

TEST_F(DataViewTest, TheContextMenuOffersItsOwnEntriesOnlyOnARow)
{
    AddWaypoints(2);
    auto view = OpenView();
    QPoint onRow = view->visualRect(view->model()->index(1, 2)).center();
    QPoint belowRows(10, view->rowViewportPosition(1) + view->rowHeight(1) + 5);
    QMenu menu;
    ASSERT_TRUE(view->BuildContextMenu(menu, onRow));
    QStringList texts;
    for (QAction* action : menu.actions()) {
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    EXPECT_EQ(texts, (QStringList{"Cu&t selection\tCtrl+X", "&Copy selection\tCtrl+C",
                                  "&Paste\tCtrl+V", "-", "Move Waypoints...", "-",
                                  "Neue Route aus &Auswahl\tCtrl+R", "In Route &einfügen\tIns"}));
    EXPECT_EQ(CommandActions::CommandOf(menu.actions()[1]), ID_EDIT_COPY);
    QMenu offRow;
    EXPECT_FALSE(view->BuildContextMenu(offRow, belowRows));
}

}  // namespace
