// The GPS commands of the main window: each opens a connection of its own for one
// operation (sharing the port when a GPS data document holds it) and drops it again.

#include <mutex>

#include "app/CEditorApp.h"
#include "app/CMainFrame.h"
#include "framework/TaskRunner.h"
#include "link/CGpsConnection.h"
#include "res/CommandIds.h"

namespace {

// Runs `operation` on a connection made for it, through the task runner; the runner's
// Cancel reaches the connection while it exists.
int WithTemporaryConnection(ProgressCallback progress,
                            const std::function<int(CGpsConnection&)>& operation)
{
    std::mutex mutex;
    CGpsConnection* running = nullptr;
    return TaskRunner::Current().Run(
        [&] {
            CGpsConnection connection(progress);
            {
                std::lock_guard lock(mutex);
                running = &connection;
            }
            int result = operation(connection);
            std::lock_guard lock(mutex);
            running = nullptr;
            return result;
        },
        [&] {
            std::lock_guard lock(mutex);
            if (running) {
                running->Cancel();
            }
        });
}

}  // namespace

void CMainFrame::RegisterGpsCommands()
{
    OnCommand(ID_GPS_CONNECT, [] {
        WithTemporaryConnection({}, [](CGpsConnection& c) { return c.RequestProduct(1); });
    });
    OnCommand(ID_GPS_TIME, [] {
        WithTemporaryConnection({}, [](CGpsConnection& c) { return c.SetClockFromGps(); });
    });
    // Without a GPS data document the records are dropped with the connection: these two
    // only exercise the link and show their progress.
    OnCommand(ID_GPS_WPT_DOWNLOAD, [] {
        WithTemporaryConnection(ShowGpsProgress,
                                [](CGpsConnection& c) { return c.DownloadWaypoints(); });
    });
    OnCommand(ID_GPS_TRK_DOWNLOAD, [] {
        WithTemporaryConnection(ShowGpsProgress,
                                [](CGpsConnection& c) { return c.DownloadTrackpoints(); });
    });
    OnCommand(ID_GPS_POWER_OFF,
              [] { WithTemporaryConnection({}, [](CGpsConnection& c) { return c.PowerOff(); }); });
}
