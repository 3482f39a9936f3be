// The route list as a user meets it: keys, clicks and context menus sent to the editor's
// widgets.

#include <gtest/gtest.h>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QTimer>

#include "app/CEditorApp.h"
#include "app/CMainFrame.h"
#include "edit/CDataView.h"
#include "edit/PointListModel.h"
#include "edit/RouteClipboard.h"
#include "edit/RouteListFormat.h"
#include "framework/MdiChildFrame.h"
#include "gps/CDataDoc.h"
#include "gps/RichRecordBytes.h"
#include "link/SharedPort.h"
#include "res/CommandIds.h"
#include "tests/RecordingPrompts.h"
#include "tests/TempDir.h"
#include "tests/gps/GpsTestRecords.h"

namespace {

// The editor on a file of three waypoints WP0 to WP2, the first with details and the whole
// name "Wp0".
class RouteInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        SharedPort::Instance().SetOpener([](const std::string&, int& error) {
            error = ENOENT;
            return std::unique_ptr<SerialPort>();
        });
        CDataDoc file;
        std::vector<WaypointRecord> records = {TestWaypoint(0), TestWaypoint(1), TestWaypoint(2)};
        WaypointDetails details = TestDetails(0);
        SetWaypointName(records[0], details, "Wp0");  // a whole name beside the ident WP0
        file.InsertWaypoints(0, 1, &records[0], &details);
        file.InsertWaypoints(1, 2, &records[1]);
        file.OnSaveDocument(dir.File("three.orvd"));
        QGuiApplication::clipboard()->clear();
        app = std::make_unique<CEditorApp>(&settings, &prompts);
        ASSERT_TRUE(app->InitInstance({QString::fromStdString(dir.File("three.orvd"))}));
        app->mainFrame()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(app->mainFrame()));
        view = dynamic_cast<CDataView*>(
            qobject_cast<MdiChildFrame*>(app->mainFrame()->mdiArea()->activeSubWindow())->view());
        ASSERT_NE(view, nullptr);
        doc = view->GetDataDoc();
    }
    void TearDown() override
    {
        doc->SetModifiedFlag(false);
        app.reset();
        SharedPort::Instance().SetOpener(nullptr);
    }

    void Click(int row, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers,
                          view->visualRect(view->model()->index(row, 1)).center());
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(view, static_cast<Qt::Key>(key), modifiers);
        QApplication::processEvents();
    }
    // "0: WP0 WP2 | 1: ...": each route's number and its points' idents.
    std::string Routes()
    {
        std::string text;
        for (const Route& route : doc->Routes()) {
            text += (text.empty() ? "" : " | ") + std::to_string(route.header.number) + ":";
            for (const RoutePoint& point : route.points) {
                std::string ident(WaypointIdent(point.record));
                text += " " + ident.erase(ident.find_last_not_of(' ') + 1);
            }
        }
        return text;
    }
    // Chooses the entry `text` of the list's context menu at `row`.
    void ChooseFromContextMenu(int row, const QString& text)
    {
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            for (QAction* action : menu ? menu->actions() : QList<QAction*>()) {
                if (action->text() == text) {
                    action->trigger();
                }
            }
            if (menu) {
                menu->close();
            }
        });
        const QPoint at = view->visualRect(view->model()->index(row, 1)).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, view->viewport()->mapToGlobal(at));
        QApplication::sendEvent(view->viewport(), &event);
        // The offscreen platform leaves the closed menu's window active.
        app->mainFrame()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(app->mainFrame()));
    }

    TempDir dir;
    MemorySettings settings;
    RecordingPrompts prompts;
    std::unique_ptr<CEditorApp> app;
    CDataView* view = nullptr;
    CDataDoc* doc = nullptr;
};

TEST_F(RouteInput, ARouteMadeOfSelectedWaypointsIsEditedByKeysAndMenusAndUndoneStepByStep)
{
    Click(0);
    Click(2, Qt::ControlModifier);
    Key(Qt::Key_R, Qt::ControlModifier);
    ASSERT_EQ(Routes(), "0: WP0 WP2");
    EXPECT_TRUE(SameBytes(doc->Routes()[0].points[0].record, doc->Waypoints()[0]));
    EXPECT_EQ(doc->Routes()[0].points[0].details.altitude, TestDetails(0).altitude);
    ASSERT_EQ(view->Mode(), LIST_ROUTES);
    EXPECT_EQ(view->SelectedRoutePlaces(), (std::vector<RoutePlace>{{0, ROUTE_ITSELF}}));
    EXPECT_EQ(view->ListModel()->CellText(0, RTE_COL_NAME), "Wp0 - WP2");

    // Back in the waypoint list, Ins puts WP1 at the end of the route chosen there.
    app->mainFrame()->Action(ID_VIEW_WAYPOINTS)->trigger();
    Click(1);
    Key(Qt::Key_Insert);
    ASSERT_EQ(Routes(), "0: WP0 WP2 WP1");
    EXPECT_EQ(view->SelectedRoutePlaces(), (std::vector<RoutePlace>{{0, 2}}));

    Key(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(Routes(), "0: WP0 WP1 WP2");
    EXPECT_EQ(view->SelectedRoutePlaces(), (std::vector<RoutePlace>{{0, 1}}));
    Click(1);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Routes(), "0: WP1 WP2");
    ChooseFromContextMenu(0, QStringLiteral("Route um&kehren"));
    EXPECT_EQ(Routes(), "0: WP2 WP1");

    // F2 renames the route as a GPS 12 holds a route's comment.
    Click(0);
    Key(Qt::Key_F2);
    auto* editor = view->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "Heimweg am Abend, der lange");
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(view->ListModel()->CellText(0, RTE_COL_NAME), "Heimweg am Abend, de");

    for (const char* before :
         {"0: WP2 WP1", "0: WP1 WP2", "0: WP0 WP1 WP2", "0: WP0 WP2 WP1", "0: WP0 WP2", ""}) {
        Key(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(Routes(), before);
        EXPECT_EQ(view->model()->rowCount(), int(RouteListPlaces(doc->Routes()).size()));
    }
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(RouteInput, RoutesGoThroughTheClipboardAndAreRefusedDamagedOrBeyondTheLimits)
{
    doc->ReplaceRoutes({TestRoute(0, 2)});
    app->mainFrame()->Action(ID_VIEW_ROUTES)->trigger();
    Click(1);
    Key(Qt::Key_C, Qt::ControlModifier);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(data->hasFormat(RouteClipboardMimeType()));
    EXPECT_EQ(data->text().toStdString(),
              "Route 0,Aussichtspunkt Nummer 0,0.000000,-0.000000\r\n"
              "Route 0,Aussichtspunkt Nummer 1,0.000084,-0.000084\r\n");
    Key(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(Routes(), "0: WP0 WP1 | 1: WP0 WP1");
    EXPECT_EQ(view->SelectedRoutePlaces(), (std::vector<RoutePlace>{{1, ROUTE_ITSELF}}));
    Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Routes(), "0: WP0 WP1");
    Key(Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(Routes(), "0: WP0 WP1 | 1: WP0 WP1");

    auto* damaged = new QMimeData;
    damaged->setData(RouteClipboardMimeType(), QByteArray("\x01\x00\x00\x00\xff", 5));
    QGuiApplication::clipboard()->setMimeData(damaged);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Routes(), "0: WP0 WP1 | 1: WP0 WP1");
    ASSERT_EQ(prompts.messages.size(), 2u);  // the port's, then the paste's
    EXPECT_NE(prompts.messages[1].find("beschädigt"), std::string::npos);

    CopyRoutesToClipboard(std::vector<Route>(254, TestRoute(7, 0)));
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(doc->Routes().size(), 2u);
    EXPECT_NE(prompts.messages.back().find("255 Routen"), std::string::npos);
}

}  // namespace
