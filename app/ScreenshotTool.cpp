// Makes the pictures of the documentation: runs the editor with a simulated receiver, does
// what a user would do and saves the main window as PNG files.
//
//   orviedit-screenshots OUTPUT-FOLDER

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QMdiArea>
#include <QTableView>
#include <QTimer>

#include "app/CEditorApp.h"
#include "app/CMainFrame.h"
#include "app/SimulatorSession.h"
#include "framework/CView.h"
#include "framework/MdiChildFrame.h"
#include "framework/Settings.h"
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

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: orviedit-screenshots OUTPUT-FOLDER\n");
        return 2;
    }
    QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    return GpsDataScreenshot(folder) ? 0 : 1;
}
