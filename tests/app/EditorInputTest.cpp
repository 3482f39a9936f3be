// The editor as a user meets it: keys, clicks and context menus sent to its widgets,
// without a menu having been opened first.

#include <sys/stat.h>
#include <algorithm>
#include <atomic>

#include <gtest/gtest.h>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolBar>

#include "app/CDataFrame.h"
#include "app/CEditorApp.h"
#include "app/CMainFrame.h"
#include "app/CommandTables.h"
#include "draw/model/CDrawDoc.h"
#include "edit/CDataView.h"
#include "edit/CPlotView.h"
#include "edit/CWaypointDlg.h"
#include "edit/DialogNumbers.h"
#include "edit/PointClipboard.h"
#include "edit/PointListModel.h"
#include "edit/PointListSort.h"
#include "framework/CommandActions.h"
#include "framework/MdiChildFrame.h"
#include "gps/CDataDoc.h"
#include "link/SharedPort.h"
#include "res/CommandIds.h"
#include "tests/MessageBoxAnswerer.h"
#include "tests/RecordingPrompts.h"
#include "tests/TempDir.h"
#include "tests/edit/ModalDialogCloser.h"
#include "tests/gps/GpsTestRecords.h"

namespace {

// The editor on a file of three waypoints, with a port that cannot be opened (its message
// is recorded) and the main window active.
class EditorInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (messageBoxes) {
            settings.SetString("Settings", "Port", "/dev/orviedit-no-such-port");
            answerer = std::make_unique<MessageBoxAnswerer>();
        } else {
            SharedPort::Instance().SetOpener([](const std::string&, int& error) {
                error = ENOENT;
                return std::unique_ptr<SerialPort>();
            });
        }
        CDataDoc file;
        std::vector<WaypointRecord> records = {TestWaypoint(0), TestWaypoint(1), TestWaypoint(2)};
        file.InsertWaypoints(0, 3, records.data());
        file.OnSaveDocument(dir.File("three.orvd"));
        QGuiApplication::clipboard()->clear();

        app = std::make_unique<CEditorApp>(&settings, messageBoxes ? nullptr : &prompts);
        ASSERT_TRUE(app->InitInstance({QString::fromStdString(dir.File("three.orvd"))}));
        frame().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
        view = dynamic_cast<CDataView*>(
            qobject_cast<MdiChildFrame*>(frame().mdiArea()->activeSubWindow())->view());
        ASSERT_NE(view, nullptr);
        doc = view->GetDataDoc();
    }
    void TearDown() override
    {
        if (doc) {
            doc->SetModifiedFlag(false);
        }
        app.reset();
        SharedPort::Instance().SetOpener(nullptr);
    }

    CMainFrame& frame() { return *app->mainFrame(); }
    QPoint RowCenter(int row) { return view->visualRect(view->model()->index(row, 2)).center(); }
    void ClickRow(int row)
    {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, RowCenter(row));
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(view, static_cast<Qt::Key>(key), modifiers);
        QApplication::processEvents();
    }
    std::string Ident(int i) { return std::string(doc->Waypoints()[i].ident, 6); }

    // The context menu of the list at `row` as the mouse or the menu key opens it: each
    // entry's text and whether it is enabled.
    std::vector<std::pair<QString, bool>> ContextMenu(int row, QContextMenuEvent::Reason reason)
    {
        std::vector<std::pair<QString, bool>> entries;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu) {
                return;
            }
            for (QAction* action : menu->actions()) {
                if (!action->isSeparator()) {
                    entries.emplace_back(action->text(), action->isEnabled());
                }
            }
            menu->close();
        });
        QPoint position = RowCenter(row);
        QContextMenuEvent event(reason, position, view->viewport()->mapToGlobal(position));
        QApplication::sendEvent(reason == QContextMenuEvent::Mouse ? view->viewport() : view,
                                &event);
        return entries;
    }

    bool messageBoxes = false;  // real message boxes, answered with Return
    std::unique_ptr<MessageBoxAnswerer> answerer;
    TempDir dir;
    MemorySettings settings;
    RecordingPrompts prompts;
    std::unique_ptr<CEditorApp> app;
    CDataView* view = nullptr;
    CDataDoc* doc = nullptr;
};

TEST_F(EditorInput, KeysRunTheListsCommandsWithoutAMenuOpenedFirst)
{
    ASSERT_EQ(doc->waypointCount(), 3);
    EXPECT_EQ(prompts.messages.front(), "Error No 2 while opening Port COM1:");

    ClickRow(1);
    Key(Qt::Key_Delete);
    ASSERT_EQ(doc->waypointCount(), 2);
    EXPECT_EQ(Ident(1), std::string("WP2\0\0\0", 6));

    Key(Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(doc->waypointCount(), 3);

    ClickRow(2);
    Key(Qt::Key_C, Qt::ControlModifier);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasFormat(ClipboardMimeType(LIST_WAYPOINTS)))
        << data->formats().join(", ").toStdString();

    Key(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(doc->waypointCount(), 4);
    EXPECT_EQ(Ident(0), Ident(3)) << "pasted at the start";

    // F2 renames in place; the name is the receiver's: six characters, upper case.
    ClickRow(0);
    Key(Qt::Key_F2);
    auto* editor = view->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "xtop");
    QTest::keyClick(editor, Qt::Key_Home);
    QTest::keyClick(editor, Qt::Key_Delete);  // the editor's, not the command's
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    int record = view->ListModel()->RecordAt(0);
    EXPECT_EQ(Ident(record), "TOP   ");
    EXPECT_EQ(doc->waypointCount(), 4);

    // Ctrl+N is New Waypoint in a GPS data window.
    bool waypointDialog = false;
    {
        ModalDialogCloser closer(
            [&](QDialog& dialog) { waypointDialog = qobject_cast<CWaypointDlg*>(&dialog); });
        Key(Qt::Key_N, Qt::ControlModifier);
    }
    EXPECT_TRUE(waypointDialog);
    EXPECT_EQ(doc->waypointCount(), 4) << "cancelled";
}

TEST_F(EditorInput, KeysOfDisabledCommandsDoNothing)
{
    QGuiApplication::clipboard()->setText("no points");
    view->selectionModel()->clearSelection();
    Key(Qt::Key_Delete);
    Key(Qt::Key_V, Qt::ControlModifier);
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(doc->waypointCount(), 3);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "no points")
        << "the list does not copy a cell text of its own";
    view->ShowTrackpoints();
    bool dialog = false;
    {
        ModalDialogCloser closer([&](QDialog&) { dialog = true; });
        Key(Qt::Key_N, Qt::ControlModifier);
        QTest::qWait(30);
    }
    EXPECT_FALSE(dialog) << "no new waypoint in the track list, and no new document either";
}

TEST_F(EditorInput, TheContextMenuShowsItsEntriesEnabledForASelection)
{
    ClickRow(1);
    auto entries = ContextMenu(1, QContextMenuEvent::Mouse);
    std::vector<std::pair<QString, bool>> expected = {{"Cu&t selection\tCtrl+X", true},
                                                      {"&Copy selection\tCtrl+C", true},
                                                      {"&Paste\tCtrl+V", false},
                                                      {"Move Waypoints...", true},
                                                      {"Neue Route aus &Auswahl\tCtrl+R", true},
                                                      {"In Route &einfügen\tIns", false}};
    EXPECT_EQ(entries, expected);

    view->selectionModel()->clearSelection();
    entries = ContextMenu(1, QContextMenuEvent::Keyboard);
    for (auto& entry : expected) {
        entry.second = false;
    }
    EXPECT_EQ(entries, expected);
}

TEST_F(EditorInput, TheToolBarFollowsSelectionAndClipboard)
{
    std::vector<int> ids;
    for (QAction* action : frame().toolBar()->actions()) {
        ids.push_back(action->isSeparator() ? 0 : CommandActions::CommandOf(action));
    }
    EXPECT_EQ(ids, ToolBarLayout());
    auto enabled = [&](int id) {
        QApplication::processEvents();
        return frame().Action(id)->isEnabled();
    };
    EXPECT_FALSE(enabled(ID_EDIT_COPY));
    ClickRow(0);
    EXPECT_TRUE(enabled(ID_EDIT_COPY));
    EXPECT_TRUE(enabled(ID_EDIT_CUT));
    EXPECT_FALSE(enabled(ID_EDIT_PASTE));
    QTest::mouseClick(frame().toolBar()->widgetForAction(frame().Action(ID_EDIT_COPY)),
                      Qt::LeftButton);
    EXPECT_TRUE(enabled(ID_EDIT_PASTE)) << "the clipboard holds waypoints now";
    view->ShowTrackpoints();
    EXPECT_FALSE(enabled(ID_EDIT_PASTE)) << "but the list shows trackpoints";
}

TEST_F(EditorInput, KeysBelongToTheKindOfTheActiveWindow)
{
    EXPECT_EQ(frame().MenuResource(), IDR_GPSDATA);
    EXPECT_TRUE(frame().Action(ID_FILE_NEW)->shortcuts().isEmpty());
    EXPECT_EQ(frame().Action(ID_EDIT_NEW_WAYPOINT)->shortcut(), QKeySequence("Ctrl+N"));

    // Without a document Ctrl+N makes a new one, and Del has no command.
    doc->SetModifiedFlag(false);
    EXPECT_TRUE(frame().Execute(ID_FILE_CLOSE));
    doc = nullptr;
    QApplication::processEvents();
    ASSERT_EQ(frame().MenuResource(), IDR_MAINFRAME);
    EXPECT_EQ(frame().Action(ID_EDIT_NEW_WAYPOINT), nullptr);
    QStringList offered;
    app->documents().chooseType = [&](const QStringList& names) {
        offered = names;
        return -1;
    };
    QTest::keyClick(frame().windowHandle(), Qt::Key_Delete);
    QTest::keyClick(frame().windowHandle(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(offered, (QStringList{"Orvi GPS - Daten", "Orvi Karten"}));
}

TEST_F(EditorInput, ThePlotBesideTheListFollowsTheViewMenuAndTheKeysReachTheList)
{
    auto* window = qobject_cast<CDataFrame*>(frame().mdiArea()->activeSubWindow());
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->PlotShown());
    // With the focus in the plot, Del deletes the rows selected there.
    const PixelPoint at = window->Plot()->WaypointPixel(1);
    QTest::mouseClick(window->Plot(), Qt::LeftButton, {}, QPoint(int(at.x), int(at.y)));
    QTest::keyClick(window->Plot(), Qt::Key_Delete);
    ASSERT_EQ(doc->waypointCount(), 2);
    EXPECT_EQ(Ident(1), std::string(TestWaypoint(2).ident, 6));

    frame().Action(ID_VIEW_PLOT)->trigger();
    EXPECT_FALSE(window->PlotShown());
    EXPECT_EQ(settings.GetInt("Settings", "PlotShown", 1), 0);
    frame().Action(ID_VIEW_PLOT)->trigger();
    EXPECT_TRUE(window->PlotShown());
}

TEST_F(EditorInput, AMapOfThePointsOpensAsANewModifiedMap)
{
    frame().Action(ID_FILE_MAP_FROM_POINTS)->trigger();
    EXPECT_EQ(frame().MenuResource(), IDR_MAP);
    auto* map = dynamic_cast<CDrawDoc*>(
        qobject_cast<MdiChildFrame*>(frame().mdiArea()->activeSubWindow())->document());
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->ObjectList().size(), 6u);  // three marks and their names
    EXPECT_TRUE(map->IsModified());
    map->SetModifiedFlag(false);
}

TEST_F(EditorInput, AMapOfThePointsKnowsTheirProjectionAndItsCalibrationOffersTheirWaypoints)
{
    frame().Action(ID_FILE_MAP_FROM_POINTS)->trigger();
    auto* map = dynamic_cast<CDrawDoc*>(frame().ActiveChild()->document());
    ASSERT_TRUE(map && map->GetGeoReference());
    EXPECT_EQ(map->GetGeoReference()->kind, GeoReferenceKind::POINT_MAP);
    QStringList shown;  // x of the first point, position of the third, entries
    {
        ModalDialogCloser closer([&](QDialog& dialog) {
            auto* list = Child<QComboBox>(dialog, "waypoints");
            list->setCurrentIndex(list->findText(QStringLiteral("WP1  (three.orvd)")));
            QTest::mouseClick(Child<QPushButton>(dialog, "waypoint3"), Qt::LeftButton);
            for (const char* name : {"x1", "latitude3", "longitude3"}) {
                shown << Child<QLineEdit>(dialog, name)->text();
            }
            shown << QString::number(list->count());
        });
        frame().Action(ID_MAP_CALIBRATE)->trigger();
    }
    const GeoPosition wp1 = ToGeoPosition(PositionOf(TestWaypoint(1)));
    EXPECT_EQ(shown, QStringList({"40", QString::fromStdString(FormatDialogDouble(wp1.latitude)),
                                  QString::fromStdString(FormatDialogDouble(wp1.longitude)), "3"}));
    map->SetModifiedFlag(false);
}

TEST_F(EditorInput, TheMessagePaneReturnsToItsIdleMessageAndTheTitleNamesTheFile)
{
    QStatusTipEvent tip(QStringLiteral("Lädt die Waypoints aus dem GPS"));
    QApplication::sendEvent(&frame(), &tip);
    EXPECT_EQ(frame().statusBar()->currentMessage(), "Lädt die Waypoints aus dem GPS");
    QStatusTipEvent none{QString()};
    QApplication::sendEvent(&frame(), &none);
    EXPECT_EQ(frame().statusBar()->currentMessage(), "Bereit");
    EXPECT_EQ(frame().windowTitle(), "OrviEdit GPS data Editor - three.orvd");
}

TEST_F(EditorInput, NoCommandRunsAndNothingClosesWhileATaskRuns)
{
    std::atomic<bool> done{false};
    bool executed = true, closed = true, windowClosed = true;
    QTimer::singleShot(20, [&] {
        executed = frame().Execute(ID_FILE_CLOSE);
        closed = app->documents().CloseDocument(doc);
        windowClosed = frame().ActiveChild()->close();
        done = true;
    });
    app->taskRunner().Run(
        [&] {
            while (!done) {
                QThread::msleep(5);
            }
            return 0;
        },
        {});
    EXPECT_FALSE(executed);
    EXPECT_FALSE(closed);
    EXPECT_FALSE(windowClosed);
    EXPECT_EQ(app->documents().Documents().size(), 1u);
}

TEST_F(EditorInput, ABadFileOnTheCommandLineEndsTheProgramOnlyWhenNothingElseOpened)
{
    doc->SetModifiedFlag(false);
    doc = nullptr;
    app.reset();
    WriteBytes(dir.File("bad.orvd"), {'x'});
    WriteBytes(dir.File("copy.orvd"), ReadBytes(dir.File("three.orvd")));
    const QString good = QString::fromStdString(dir.File("three.orvd"));
    const QString copy = QString::fromStdString(dir.File("copy.orvd"));
    const QString bad = QString::fromStdString(dir.File("bad.orvd"));
    struct Case {
        QStringList files;
        bool starts;
        size_t documents;
        long badMessages;
    } cases[] = {
        {{good, bad, copy}, true, 2, 1},
        {{bad, good}, true, 1, 1},
        {{bad, bad}, false, 0, 2},
    };
    for (const Case& c : cases) {
        prompts.messages.clear();
        app = std::make_unique<CEditorApp>(&settings, &prompts);
        EXPECT_EQ(app->InitInstance(c.files, false), c.starts) << c.files.join(' ').toStdString();
        EXPECT_EQ(app->documents().Documents().size(), c.documents);
        EXPECT_EQ(
            std::count(prompts.messages.begin(), prompts.messages.end(), "Unexpected file format."),
            c.badMessages);
        app.reset();
    }
}

TEST_F(EditorInput, SavingOverAReadOnlyFileIsRefusedAndAsksForAnotherName)
{
    // A GPS data file and a map, each without write permission, each changed by keys.
    auto* gpsFrame = frame().ActiveChild();
    frame().Action(ID_FILE_MAP_FROM_POINTS)->trigger();
    auto* mapFrame = frame().ActiveChild();
    ASSERT_TRUE(app->documents().SaveDocumentAs(mapFrame->document(),
                                                QString::fromStdString(dir.File("map.orvg"))));
    for (auto [window, name] : {std::pair{mapFrame, "map.orvg"}, {gpsFrame, "three.orvd"}}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
        frame().mdiArea()->setActiveSubWindow(window);
        auto* keys = dynamic_cast<QWidget*>(window->view());
        ASSERT_NE(keys, nullptr);
        if (window == gpsFrame) {
            ClickRow(1);
        } else {
            QTest::keyClick(keys, Qt::Key_A, Qt::ControlModifier);
        }
        QTest::keyClick(keys, Qt::Key_Delete);
        ASSERT_TRUE(window->document()->IsModified());
        const std::string path = dir.File(name);
        chmod(path.c_str(), 0444);
        const std::vector<uint8_t> before = ReadBytes(path);
        prompts.messages.clear();
        QString offered;
        {
            ModalDialogCloser closer([&](QDialog& dialog) {
                if (auto* files = qobject_cast<QFileDialog*>(&dialog)) {
                    offered = files->windowTitle();
                }
            });
            QTest::keyClick(keys, Qt::Key_S, Qt::ControlModifier);
        }
        EXPECT_EQ(prompts.messages, std::vector<std::string>{"Failed to save document."});
        EXPECT_EQ(offered, "Speichern unter");
        EXPECT_EQ(ReadBytes(path), before);
        EXPECT_TRUE(window->document()->IsModified());
        window->document()->SetModifiedFlag(false);
    }
}

TEST_F(EditorInput, CtrlOOpensAFileTheKeysComeBackAndASortedListStaysSortedThroughUndo)
{
    bool asked = false;
    {
        ModalDialogCloser closer(
            [&](QDialog& dialog) { asked = qobject_cast<QFileDialog*>(&dialog); });
        Key(Qt::Key_O, Qt::ControlModifier);
    }
    EXPECT_TRUE(asked);
    // The keys come back to the window when the dialog closes, also without a window manager.
    EXPECT_TRUE(QTest::qWaitForWindowActive(&frame()));

    SharedListSortState() = {};
    QHeaderView* header = view->horizontalHeader();
    const QPoint name(header->sectionViewportPosition(0) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, name);  // the same column: descending
    auto rows = [&] {
        std::vector<int> records;
        for (int row = 0; row < view->model()->rowCount(); ++row) {
            records.push_back(view->ListModel()->RecordAt(row));
        }
        return records;
    };
    ASSERT_EQ(rows(), (std::vector<int>{2, 1, 0}));
    ClickRow(0);
    Key(Qt::Key_Delete);
    ASSERT_EQ(doc->waypointCount(), 2);
    Key(Qt::Key_Z, Qt::ControlModifier);
    Key(Qt::Key_Y, Qt::ControlModifier);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(rows(), (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
}

// The port's message shows above the progress dialog of the opening, takes the key, and
// the window is usable afterwards.
class EditorWithoutPort : public EditorInput {
protected:
    void SetUp() override
    {
        messageBoxes = true;
        EditorInput::SetUp();
    }
};

TEST_F(EditorWithoutPort, OpeningAFileShowsThePortMessageAndLeavesAUsableWindow)
{
    EXPECT_EQ(answerer->texts,
              QStringList{"Error No 2 while opening Port /dev/orviedit-no-such-port"});
    EXPECT_EQ(answerer->closedByForce, 0);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    ClickRow(0);
    Key(Qt::Key_Delete);
    EXPECT_EQ(doc->waypointCount(), 2);
}

}  // namespace
