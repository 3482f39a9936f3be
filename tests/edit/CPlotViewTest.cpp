#include "edit/CPlotView.h"

#include <algorithm>
#include <functional>
#include <memory>

#include <gtest/gtest.h>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QTest>
#include <QWheelEvent>

#include "edit/CDataView.h"
#include "edit/PointListModel.h"
#include "edit/PointListSort.h"
#include "gps/CDataDoc.h"
#include "tests/edit/ModalDialogCloser.h"

namespace {

WaypointRecord PlotWaypoint(int n)
{
    WaypointRecord w{};
    SetFieldText(w.ident, WAYPOINT_IDENT_SIZE, "WP" + std::to_string(n));
    w.latitude = DegreesToSemicircles(47.10 + 0.01 * n);
    w.longitude = DegreesToSemicircles(8.50 + 0.012 * n);
    w.symbol = static_cast<int16_t>(n);
    return w;
}

TrackpointRecord PlotTrackpoint(int n)
{
    TrackpointRecord t{};
    t.latitude = DegreesToSemicircles(47.06);
    t.longitude = DegreesToSemicircles(8.50 + 0.01 * n);
    t.newTrack = n == 0 || n == 3;
    return t;
}

// A list and the plot beside it on a document of four waypoints and a track of two lines.
class PlotViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SharedListSortState() = {};
        std::vector<WaypointRecord> waypoints;
        for (int i = 0; i < 4; ++i) {
            waypoints.push_back(PlotWaypoint(i));
        }
        std::vector<TrackpointRecord> track;
        for (int i = 0; i < 5; ++i) {
            track.push_back(PlotTrackpoint(i));
        }
        doc.ReplaceWaypoints(waypoints);
        doc.ReplaceTrackpoints(track);
        doc.SetModifiedFlag(false);
        list = std::make_unique<CDataView>();
        plot = std::make_unique<CPlotView>(list.get());
        list->AttachDocument(&doc);
        plot->AttachDocument(&doc);
        plot->resize(600, 400);
        plot->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(plot.get()));
        list->OnInitialUpdate();
        plot->OnInitialUpdate();
    }
    void TearDown() override
    {
        plot.reset();
        list.reset();
    }

    QPoint At(PixelPoint p) { return QPoint(static_cast<int>(p.x), static_cast<int>(p.y)); }
    std::vector<int> Selected(ListMode mode)
    {
        std::vector<int> indices;
        list->GetSelectedIndices(indices, mode);
        std::sort(indices.begin(), indices.end());
        return indices;
    }
    void Drag(Qt::MouseButton button, QPoint from, QPoint to, Qt::KeyboardModifiers keys = {})
    {
        QTest::mousePress(plot.get(), button, keys, from);
        QTest::mouseMove(plot.get(), (from + to) / 2);
        QTest::mouseMove(plot.get(), to);
        QTest::mouseRelease(plot.get(), button, keys, to);
    }
    QImage Render(const QRect& clip)
    {
        QImage image(plot->size(), QImage::Format_ARGB32);
        image.fill(Qt::gray);
        Paint(image, clip);
        return image;
    }
    void Paint(QImage& image, const QRect& clip)
    {
        QPainter painter(&image);
        painter.setClipRect(clip);
        plot->PaintPlot(painter, clip);
    }

    CDataDoc doc;
    std::unique_ptr<CDataView> list;
    std::unique_ptr<CPlotView> plot;
};

TEST_F(PlotViewTest, ClicksAndTheRubberBandSelectRowsOfTheSortedList)
{
    list->SortByColumn(0);
    list->SortByColumn(0);  // names descending: rows no longer in record order
    QTest::mouseClick(plot.get(), Qt::LeftButton, {}, At(plot->WaypointPixel(2)));
    EXPECT_EQ(Selected(LIST_WAYPOINTS), std::vector<int>{2});
    EXPECT_EQ(list->ListModel()->RecordAt(list->currentIndex().row()), 2);

    QTest::mouseClick(plot.get(), Qt::LeftButton, Qt::ControlModifier, At(plot->WaypointPixel(0)));
    EXPECT_EQ(Selected(LIST_WAYPOINTS), (std::vector<int>{0, 2}));
    QTest::mouseClick(plot.get(), Qt::LeftButton, Qt::ControlModifier, At(plot->WaypointPixel(2)));
    EXPECT_EQ(Selected(LIST_WAYPOINTS), std::vector<int>{0});

    // A band around waypoints 1 and 2 only.
    const QPoint one = At(plot->WaypointPixel(1));
    const QPoint two = At(plot->WaypointPixel(2));
    Drag(Qt::LeftButton, QPoint(std::min(one.x(), two.x()) - 4, std::max(one.y(), two.y()) + 4),
         QPoint(std::max(one.x(), two.x()) + 4, std::min(one.y(), two.y()) - 4));
    EXPECT_EQ(Selected(LIST_WAYPOINTS), (std::vector<int>{1, 2}));

    // A click on a track point shows the track in the list, with that point selected.
    QTest::mouseClick(plot.get(), Qt::LeftButton, {}, At(plot->TrackpointPixel(4)));
    EXPECT_EQ(list->Mode(), LIST_TRACKPOINTS);
    EXPECT_EQ(Selected(LIST_TRACKPOINTS), std::vector<int>{4});
    // A click on nothing selects nothing.
    QTest::mouseClick(plot.get(), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_TRUE(Selected(LIST_TRACKPOINTS).empty());
}

TEST_F(PlotViewTest, RowsSelectedInTheListShowHighlightedInThePlot)
{
    const QColor highlight = plot->palette().color(QPalette::Highlight);
    const PixelPoint p = plot->WaypointPixel(3);
    const QPoint besideSymbol(static_cast<int>(p.x) - 8, static_cast<int>(p.y));
    EXPECT_NE(Render(plot->rect()).pixelColor(besideSymbol), highlight);
    list->SelectRecords(LIST_WAYPOINTS, {3});
    EXPECT_EQ(Render(plot->rect()).pixelColor(besideSymbol), highlight);
}

TEST_F(PlotViewTest, DraggingSelectedWaypointsMovesThemAsOneUndoStep)
{
    list->SelectRecords(LIST_WAYPOINTS, {0, 1});
    const std::vector<WaypointRecord> before = doc.Waypoints();
    const PlotPoint was0 = plot->Projection().Project(PositionOf(before[0]));
    const PlotPoint was1 = plot->Projection().Project(PositionOf(before[1]));
    const QPoint from = At(plot->WaypointPixel(0));
    Drag(Qt::LeftButton, from, from + QPoint(40, -30));

    const double metresPerPixel = 1 / plot->Viewport().PixelsPerMetre();
    for (auto [index, was] : {std::pair{0, was0}, std::pair{1, was1}}) {
        const PlotPoint now = plot->Projection().Project(PositionOf(doc.Waypoints()[index]));
        EXPECT_NEAR(now.x - was.x, 40 * metresPerPixel, 0.5);
        EXPECT_NEAR(now.y - was.y, 30 * metresPerPixel, 0.5);
    }
    EXPECT_TRUE(SameBytes(doc.Waypoints()[2], before[2]));
    EXPECT_EQ(Selected(LIST_WAYPOINTS), (std::vector<int>{0, 1}));
    doc.Undo();
    EXPECT_TRUE(SameBytes(doc.Waypoints()[0], before[0]));
    EXPECT_TRUE(SameBytes(doc.Waypoints()[1], before[1]));
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(PlotViewTest, AChangedPointRepaintsOnlyTheAreaThatShowsIt)
{
    struct Case {
        const char* legend;
        std::function<void()> change;
    };
    const Case cases[] = {
        {"a waypoint moved",
         [&] {
             WaypointRecord w = doc.Waypoints()[1];
             w.latitude += DegreesToSemicircles(0.004);
             doc.SetWaypoint(1, w);
         }},
        {"a waypoint renamed",
         [&] {
             WaypointRecord w = doc.Waypoints()[2];
             SetFieldText(w.ident, WAYPOINT_IDENT_SIZE, "NEU");
             doc.SetWaypoint(2, w);
         }},
        {"a waypoint given a full-table symbol its record's symbol stands for",
         [&] {
             // Record symbol 0 stands for many full-table symbols; another of them.
             const auto& all = AllSymbols();
             auto other = std::find_if(all.begin(), all.end(), [](const SymbolInfo& s) {
                 return RecordSymbolOfFullSymbol(s.number) == 0 &&
                        s.number != FullSymbolOfRecordSymbol(0);
             });
             WaypointRecord w = doc.Waypoints()[0];
             WaypointDetails d = NoWaypointDetails();
             SetWaypointFullSymbol(w, d, other->number);
             ASSERT_TRUE(SameBytes(w, doc.Waypoints()[0]));
             doc.SetWaypoint(0, w, d);
         }},
        {"a track point moved",
         [&] {
             std::vector<TrackpointRecord> track = doc.Trackpoints();
             track[1].latitude += DegreesToSemicircles(0.005);
             doc.ReplaceTrackpoints(track);
         }},
        {"a track split in two",
         [&] {
             std::vector<TrackpointRecord> track = doc.Trackpoints();
             track[4].newTrack = 1;
             doc.ReplaceTrackpoints(track);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        QImage image = Render(plot->rect());
        c.change();
        doc.UpdateAllViews(nullptr);
        const PixelRect& area = plot->LastChangeArea();
        ASSERT_FALSE(area.Empty());
        EXPECT_LT((area.right - area.left) * (area.bottom - area.top), 600 * 400 / 10);
        Paint(image, QRect(area.left, area.top, area.right - area.left, area.bottom - area.top));
        EXPECT_EQ(image, Render(plot->rect()));
    }
    doc.DeleteWaypoints(0, 1);
    doc.UpdateAllViews(nullptr);
    EXPECT_TRUE(plot->LastChangeArea().Empty());  // a new count paints everything
}

TEST_F(PlotViewTest, AWaypointShowsItsWholeName)
{
    WaypointRecord w = doc.Waypoints()[3];
    WaypointDetails d = NoWaypointDetails();
    SetWaypointName(w, d, "Waldrand Nord");
    doc.SetWaypoint(3, w, NoWaypointDetails());  // the ident alone
    doc.UpdateAllViews(nullptr);
    const QImage identOnly = Render(plot->rect());
    doc.SetWaypoint(3, w, d);
    doc.UpdateAllViews(nullptr);
    EXPECT_NE(Render(plot->rect()), identOnly);
}

TEST_F(PlotViewTest, ARenameAndADialogEditShowInThePlotAtOnce)
{
    list->show();
    // What the plot shows must be what a plot opened afresh on the document shows.
    auto showsTheDocument = [&] {
        CPlotView fresh(list.get());
        fresh.AttachDocument(&doc);
        fresh.resize(plot->size());
        fresh.OnInitialUpdate();
        fresh.SetViewport(plot->Viewport());
        QImage image(plot->size(), QImage::Format_ARGB32);
        QPainter painter(&image);
        fresh.PaintPlot(painter, fresh.rect());
        painter.end();
        fresh.AttachDocument(nullptr);
        return image == Render(plot->rect());
    };
    const QImage before = Render(plot->rect());
    list->setCurrentIndex(list->model()->index(2, 0));
    QTest::keyClick(list.get(), Qt::Key_F2);
    auto* editor = list->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "BAHN");
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    ASSERT_EQ(WaypointIdent(doc.Waypoints()[2]), "BAHN  ");
    EXPECT_NE(Render(plot->rect()), before);
    EXPECT_TRUE(showsTheDocument()) << "after F2";

    ModalDialogCloser closer([](QDialog& dialog) {
        Child<QLineEdit>(dialog, "latitude133")->setText("47.1");
        dialog.accept();
    });
    const QPoint row = list->visualRect(list->model()->index(1, 2)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row);  // opens it queued
    for (int waited = 0; waited < 5000 && closer.seen() == 0; waited += 10) {
        QTest::qWait(10);
    }
    ASSERT_EQ(closer.seen(), 1);
    ASSERT_EQ(doc.Waypoints()[1].latitude, DegreesToSemicircles(47.1));
    EXPECT_TRUE(showsTheDocument()) << "after the waypoint dialog";
}

TEST_F(PlotViewTest, RoutesShowAsDashedLinesThroughTheirPoints)
{
    auto routePixels = [&] {
        QImage image = Render(plot->rect());
        int n = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                n += (image.pixel(x, y) & 0xFFFFFF) == 0x2850C8;  // the routes' blue
            }
        }
        return n;
    };
    EXPECT_EQ(routePixels(), 0);
    Route route;
    for (int i : {0, 2, 3}) {
        route.points.push_back(MakeRoutePoint(PlotWaypoint(i), NoWaypointDetails()));
    }
    doc.ReplaceRoutes({route});
    doc.UpdateAllViews(nullptr);
    EXPECT_GT(routePixels(), 10);
    doc.Undo();
    EXPECT_EQ(routePixels(), 0);

    // Routes alone are placed and fitted as waypoints are.
    doc.ReplaceWaypoints({});
    doc.ReplaceTrackpoints({});
    doc.ReplaceRoutes({route});
    doc.UpdateAllViews(nullptr);
    EXPECT_GT(routePixels(), 10);
}

TEST_F(PlotViewTest, TheWheelZoomsAtTheMouseAndTheRightButtonDragsThePlane)
{
    const QPoint mouse = At(plot->WaypointPixel(1));
    const double zoom = plot->Viewport().PixelsPerMetre();
    QWheelEvent wheel(QPointF(mouse), plot->mapToGlobal(QPointF(mouse)), QPoint(), QPoint(0, 240),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(plot.get(), &wheel);
    EXPECT_NEAR(plot->Viewport().PixelsPerMetre(), zoom * 1.25 * 1.25, zoom * 1e-9);
    EXPECT_NEAR(plot->WaypointPixel(1).x, mouse.x(), 1);
    EXPECT_NEAR(plot->WaypointPixel(1).y, mouse.y(), 1);

    Drag(Qt::RightButton, mouse, mouse + QPoint(-50, 20));
    EXPECT_NEAR(plot->WaypointPixel(1).x, mouse.x() - 50, 1);
    EXPECT_NEAR(plot->WaypointPixel(1).y, mouse.y() + 20, 1);
    EXPECT_EQ(doc.IsModified(), false);
}

}  // namespace

TEST_F(PlotViewTest, ALiveFixRepaintsOnlyTheMarkerAndTheTrailsNewPieceUnlessTheViewFollows)
{
    const GeoPosition start = ToGeoPosition(PositionOf(doc.Waypoints()[1]));
    auto fixAt = [&](double north, float course) {
        LiveFix fix;
        fix.kind = FixKind::THREE_D;
        fix.latitude = start.latitude + north;
        fix.longitude = start.longitude;
        fix.speed = 2;
        fix.course = course;
        fix.horizontalError = 30;
        return fix;
    };
    plot->ShowLiveFix(fixAt(0, 0), 1000);
    struct Case {
        const char* legend;
        std::function<void()> change;
    };
    const Case cases[] = {
        {"the next fix", [&] { plot->ShowLiveFix(fixAt(0.0005, 10), 2000); }},
        {"a turn on the spot", [&] { plot->ShowLiveFix(fixAt(0.0005, 200), 3000); }},
        {"no reception", [&] { plot->SetLiveReceiving(false); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        QImage image = Render(plot->rect());
        c.change();
        const PixelRect area = plot->LastChangeArea();
        ASSERT_FALSE(area.Empty());
        EXPECT_LT((area.right - area.left) * (area.bottom - area.top), 600 * 400 / 10);
        Paint(image, QRect(area.left, area.top, area.right - area.left, area.bottom - area.top));
        EXPECT_EQ(image, Render(plot->rect()));
    }
    plot->SetFollowMode(FollowMode::CENTRED);
    plot->ShowLiveFix(fixAt(0.002, 0), 4000);
    EXPECT_TRUE(plot->LastChangeArea().Empty()) << "the view moved: everything repaints";
    const PixelRect marker = plot->LiveArea();
    EXPECT_NEAR((marker.left + marker.right) / 2.0, 300, 1);
    EXPECT_NEAR((marker.top + marker.bottom) / 2.0, 200, 1);
}
