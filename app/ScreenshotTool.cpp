// Makes the pictures of the documentation: runs the editor with a simulated receiver, does
// what a user would do and saves the main window as PNG files.
//
//   orviedit-screenshots OUTPUT-FOLDER

#include <algorithm>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QPainter>
#include <QTableView>
#include <QTimer>

#include "app/CDataFrame.h"
#include "app/CEditorApp.h"
#include "app/CMainFrame.h"
#include "app/SimulatorSession.h"
#include "edit/CDataView.h"
#include "edit/CGridCoordDlg.h"
#include "edit/CMoveWaypointsDlg.h"
#include "edit/CPlotView.h"
#include "edit/CWaypointDlg.h"
#include "edit/DialogNumbers.h"
#include "edit/PointListFormat.h"
#include "framework/CView.h"
#include "framework/MdiChildFrame.h"
#include "framework/Settings.h"
#include "gps/CDataDoc.h"
#include "gps/Geodesy.h"
#include "gps/RecordCollection.h"
#include "res/CommandIds.h"

namespace {

void Settle()
{
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
    }
}

bool Save(QWidget* window, const QString& path)
{
    Settle();
    bool saved = window->grab().save(path);
    std::fprintf(stderr, "%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    return saved;
}

// The main window with one GPS data document in two windows: its waypoints and its
// track log, both downloaded from the receiver.
bool GpsDataScreenshot(const QString& folder)
{
    MemorySettings settings;
    CEditorApp app(&settings);
    std::unique_ptr<SimulatorSession> session = SimulatorSession::Start(QString(), 0);
    app.documents().chooseType = [](const QStringList& names) {
        return static_cast<int>(names.indexOf("Orvi GPS - Daten"));
    };
    if (!session || !app.InitInstance({}, true)) {
        return false;
    }
    CMainFrame& frame = *app.mainFrame();
    frame.resize(1180, 760);
    Settle();
    frame.Execute(ID_GPS_WPT_DOWNLOAD);
    frame.Execute(ID_WINDOW_NEW);
    frame.Execute(ID_GPS_TRK_DOWNLOAD);
    frame.Execute(ID_VIEW_TRACKPOINTS);
    frame.mdiArea()->tileSubWindows();
    frame.SetStatusPaneText(ID_INDICATOR_MOUSEPOS, QStringLiteral("600 / 600"));
    return Save(&frame, folder + QStringLiteral("/screenshot-gps.png"));
}

// The sample's window maximized in the editor's main window, its plot fitted; null when
// the editor could not open it. `session` keeps the simulated receiver for the run.
CDataFrame* ShowSampleWindow(CEditorApp& app, std::unique_ptr<SimulatorSession>& session)
{
    session = SimulatorSession::Start(QString(), 0);
    const QString sample = QStringLiteral(ORVI_SOURCE_DIR "/res/sample/sample.orvd");
    if (!session || !app.InitInstance({sample}, true)) {
        return nullptr;
    }
    app.mainFrame()->resize(1180, 760);
    Settle();
    auto* window = qobject_cast<CDataFrame*>(app.mainFrame()->mdiArea()->activeSubWindow());
    if (!window) {
        return nullptr;
    }
    window->showMaximized();
    Settle();
    window->Plot()->FitAll();
    return window;
}

// The sample track with its waypoints, the plot beside the list, one waypoint selected in
// the plot and the mouse over it.
bool PlotScreenshot(const QString& folder)
{
    MemorySettings settings;
    CEditorApp app(&settings);
    std::unique_ptr<SimulatorSession> session;
    CDataFrame* window = ShowSampleWindow(app, session);
    if (!window) {
        return false;
    }
    CMainFrame& frame = *app.mainFrame();
    auto* doc = dynamic_cast<CDataDoc*>(window->document());
    for (int i = 0; i < doc->waypointCount(); ++i) {
        if (WaypointIdent(doc->Waypoints()[static_cast<size_t>(i)]) == "HIRSCH") {
            window->List()->SelectRecords(LIST_WAYPOINTS, {i});
            const GeoPosition position =
                ToGeoPosition(PositionOf(doc->Waypoints()[static_cast<size_t>(i)]));
            frame.SetStatusPaneText(ID_INDICATOR_MOUSEPOS, CPlotView::PositionText(position));
        }
    }
    return Save(&frame, folder + QStringLiteral("/screenshot-plot.png"));
}

// The route list beside the plot: two routes made of sample waypoints by "Neue Route aus
// Auswahl", one point selected.
bool RoutesScreenshot(const QString& folder)
{
    MemorySettings settings;
    CEditorApp app(&settings);
    std::unique_ptr<SimulatorSession> session;
    CDataFrame* window = ShowSampleWindow(app, session);
    if (!window) {
        return false;
    }
    CMainFrame& frame = *app.mainFrame();
    // ZUG, HAFEN, ANKER, FISCH, CAMP along the lake; ZUGBRG, ROSSBG, HIRSCH in the hills.
    for (const std::vector<int>& waypoints : {std::vector<int>{0, 3, 4, 5, 8}, {6, 7, 10}}) {
        window->List()->SelectRecords(LIST_WAYPOINTS, waypoints);
        frame.Execute(ID_ROUTE_NEW);
    }
    window->List()->SelectRoutePlaces({{0, 2}});
    return Save(&frame, folder + QStringLiteral("/screenshot-routes.png"));
}

WaypointRecord SampleWaypoint(const char* ident, double lat, double lon, const char* comment,
                              int symbol)
{
    WaypointRecord w{};
    SetFieldText(w.ident, sizeof w.ident, ident);
    SetFieldText(w.comment, sizeof w.comment, comment);
    w.latitude = DegreesToSemicircles(lat);
    w.longitude = DegreesToSemicircles(lon);
    w.symbol = static_cast<int16_t>(symbol);
    return w;
}

// A document of waypoints around Lucerne with a grid preset and a correction set, comments
// in Windows-1252 as the receiver keeps them.
void FillSampleDocument(CDataDoc& doc)
{
    const WaypointRecord records[] = {
        SampleWaypoint("KIRCHE", 47.0545, 8.3065, "HOFKIRCHE ST. LEODEGAR", SYMBOL_HOUSE),
        SampleWaypoint("BRUECK", 47.0517, 8.3076,
                       "KAPELLBR\xdc"
                       "CKE",
                       SYMBOL_FLAG),
        SampleWaypoint("BAHNHF", 47.0502, 8.3102, "BAHNHOF LUZERN", SYMBOL_CAR),
        SampleWaypoint("HAFEN", 47.0525, 8.3110, "SCHIFFSTATION", SYMBOL_ANCHOR),
        SampleWaypoint("PILAT", 46.9790, 8.2550, "PILATUS KULM", SYMBOL_FLAG),
        SampleWaypoint("CAMP", 47.0430, 8.2950, "CAMPING LIDO", SYMBOL_CAMP),
    };
    doc.InsertWaypoints(0, 6, records);
    GridScalePreset preset = ZeroedEntry<GridScalePreset>();
    SetFieldText(preset.name, sizeof preset.name, "Landeskarte 1:25000");
    preset.longitudeScale = 3016;
    preset.latitudeScale = 4447;
    doc.gridPresets.Append(preset);
    MapCorrectionSet set = ZeroedEntry<MapCorrectionSet>();
    SetFieldText(set.name, sizeof set.name, "Stadtplan Luzern");
    set.reference = records[0];
    set.target = records[1];
    set.rotation = 2.5;
    set.scale = 1.01;
    doc.correctionSets.Append(set);
}

// The dialog as shown; with `combo`, its open list of entries is drawn below the dialog,
// under the box, so that it hides none of the dialog's fields.
bool SaveDialog(QDialog& dialog, const QString& path, QComboBox* combo = nullptr)
{
    dialog.show();
    Settle();
    QPixmap picture = dialog.grab();
    if (combo) {
        combo->view()->window()->setMinimumHeight(0);
        combo->setMaxVisibleItems(combo->count());
        combo->showPopup();
        Settle();
        QPixmap list = combo->view()->window()->grab();
        combo->hidePopup();
        constexpr int kGap = 6;
        int left = combo->mapTo(&dialog, QPoint()).x();
        QPixmap both(std::max(picture.width(), left + list.width()),
                     picture.height() + kGap + list.height() + kGap);
        both.fill(dialog.palette().color(QPalette::Window));
        QPainter painter(&both);
        painter.drawPixmap(0, 0, picture);
        painter.drawPixmap(left, picture.height() + kGap, list);
        painter.end();
        picture = both;
    }
    bool saved = picture.save(path);
    std::fprintf(stderr, "%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    dialog.close();
    return saved;
}

// The waypoint dialog placing a waypoint by course and distance from another, the grid
// coordinates dialog with a stored grid scale and the move dialog with two pairs of points.
bool DialogScreenshots(const QString& folder)
{
    CDataDoc doc;
    FillSampleDocument(doc);
    CDataView view;
    view.resize(700, 300);
    view.AttachDocument(&doc);
    view.OnInitialUpdate();

    WaypointRecord edited;
    doc.GetWaypoint(1, edited);
    CWaypointDlg waypoint(&view, edited);
    auto* reference = waypoint.findChild<QComboBox*>(QStringLiteral("reference149"));
    reference->setCurrentIndex(reference->findText(QStringLiteral("KIRCHE")));
    waypoint.OnReferenceChosen();
    bool ok = SaveDialog(waypoint, folder + QStringLiteral("/screenshot-waypoint-dialog.png"),
                         waypoint.findChild<QComboBox*>(QStringLiteral("symbol127")));

    CGridCoordDlg grid(nullptr, &view, 8.3076, 47.0517);
    grid.findChild<QLineEdit*>(QStringLiteral("edit129"))
        ->setText(QString::fromStdString(FormatDialogDouble(12.5)));
    grid.findChild<QLineEdit*>(QStringLiteral("edit133"))->setText(QStringLiteral("31"));
    grid.findChild<QLineEdit*>(QStringLiteral("edit163"))->setText(QStringLiteral("3016"));
    grid.findChild<QLineEdit*>(QStringLiteral("edit164"))->setText(QStringLiteral("4447"));
    auto* presets = grid.findChild<QComboBox*>(QStringLiteral("presets156"));
    presets->setCurrentIndex(0);
    ok = SaveDialog(grid, folder + QStringLiteral("/screenshot-grid-dialog.png")) && ok;

    view.selectAll();
    CMoveWaypointsDlg move(&view);
    move.findChild<QComboBox*>(QStringLiteral("sets156"))->setCurrentIndex(0);
    auto* select = move.findChild<QComboBox*>(QStringLiteral("select153"));
    const char* const points[MOVE_POINT_COUNT] = {"KIRCHE", "BRUECK", "PILAT", "CAMP"};
    for (int p = 0; p < MOVE_POINT_COUNT; ++p) {
        select->setCurrentIndex(select->findText(QString::fromLatin1(points[p])));
        move.OnUseSelection(static_cast<MovePoint>(p));
    }
    ok = SaveDialog(move, folder + QStringLiteral("/screenshot-move-dialog.png")) && ok;
    return ok;
}

}  // namespace

bool MapScreenshots(const QString& folder, const QString& sampleMap);

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: orviedit-screenshots OUTPUT-FOLDER\n");
        return 2;
    }
    QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    bool ok = GpsDataScreenshot(folder);
    ok = PlotScreenshot(folder) && ok;
    ok = RoutesScreenshot(folder) && ok;
    ok = DialogScreenshots(folder) && ok;
    ok = MapScreenshots(folder,
                        QStringLiteral(ORVI_SOURCE_DIR "/tests/data/orvg/every-kind.orvg")) &&
         ok;
    return ok ? 0 : 1;
}
