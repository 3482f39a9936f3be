// The GPS commands of the main window: each opens a connection of its own for one
// operation (sharing the port when a GPS data document holds it) and drops it again.

#include <atomic>

#include "app/GpsCommands.h"

#include "app/CEditorApp.h"
#include "app/CMainFrame.h"
#include "framework/TaskRunner.h"
#include "link/CGpsConnection.h"
#include "res/CommandIds.h"

int WithTemporaryConnection(ProgressCallback progress,
                            const std::function<int(CGpsConnection&)>& operation)
{
    CGpsConnection connection(std::move(progress), DeferredOpen{});
    std::atomic<bool> cancelled{false};
    return TaskRunner::Current().Run(
        [&] {
            connection.Open();
            return cancelled ? static_cast<int>(TransferResult::Cancelled) : operation(connection);
        },
        [&] {
            cancelled = true;
            connection.Cancel();
        });
}

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
    OnCommand(ID_GPS_POWER_OFF, [] {
        WithTemporaryConnection({},
                                [](CGpsConnection& c) { return static_cast<int>(c.PowerOff()); });
    });
}
