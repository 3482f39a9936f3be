// The GPS commands of the main window: each opens a connection of its own for one
// operation (sharing the port when a GPS data document holds it) and drops it again.

#include <atomic>

#include "app/GpsCommands.h"

#include "edit/LiveSession.h"
#include "framework/Prompts.h"
#include "framework/Settings.h"
#include "live/PositionSources.h"

#include "app/CEditorApp.h"
#include "app/CMainFrame.h"
#include "framework/TaskRunner.h"
#include "link/CGpsConnection.h"
#include "res/CommandIds.h"

int WithTemporaryConnection(ProgressCallback progress,
                            const std::function<int(CGpsConnection&)>& operation)
{
    LiveSession::PausedForTransfer paused;
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
    OnCommand(ID_GPS_LIVE, [this] {
        if (LiveSession::Instance().Running()) {
            StopLive();
        } else {
            StartLive();
        }
    });
    OnUpdateCommand(ID_GPS_LIVE,
                    [](CommandUI& ui) { ui.checked = LiveSession::Instance().Running(); });
    LiveSession::Starter() = [this] { return StartLive(); };
    LiveSession::Pauser() = [this](bool pause) {
        if (liveSource_ && liveOnPort_ && livePaused_ != pause) {
            livePaused_ = pause;
            if (pause) {
                liveSource_->Stop();
            } else {
                liveSource_->Start();
            }
        }
    };
    OnCommand(ID_GPS_POWER_OFF, [] {
        WithTemporaryConnection({},
                                [](CGpsConnection& c) { return static_cast<int>(c.PowerOff()); });
    });
}

bool CMainFrame::StartLive()
{
    const LiveSourceSettings settings = ReadLiveSourceSettings(Settings::Current());
    QString error;
    std::unique_ptr<PositionSource> source = CreatePositionSource(settings, error);
    if (!source) {
        Prompts::Current().Message(error.toStdString());
        return false;
    }
    LiveSession& live = LiveSession::Instance();
    connect(source.get(), &PositionSource::fixArrived, &live, &LiveSession::TakeFix);
    connect(source.get(), &PositionSource::stateChanged, &live, &LiveSession::TakeState);
    liveSource_ = std::move(source);
    liveOnPort_ = settings.OnPort();
    livePaused_ = false;
    live.TakeState(LiveState::WAITING, {});
    liveSource_->Start();
    return true;
}

void CMainFrame::StopLive()
{
    if (liveSource_) {
        liveSource_->Stop();
        liveSource_.reset();
    }
    LiveSession::Instance().Stopped();
}
