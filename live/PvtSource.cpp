#include "live/PvtSource.h"

#include "link/PvtStream.h"

PvtSource::PvtSource(QObject* parent) : PositionSource(parent) {}

void PvtSource::Start()
{
    if (worker_.Running()) {
        return;
    }
    SetState(LiveState::WAITING, {});
    worker_.Start([this](const std::atomic<bool>& stop, const WorkerThread::Post& post) {
        // Each fix and state crosses to the thread that owns the source.
        RunPvtStream(stop,
                     {[this, &post](const LiveFix& fix) { post([this, fix] { Deliver(fix); }); },
                      [this, &post](LiveState state, const std::string& detail) {
                          if (state != LiveState::STOPPED) {
                              post([this, state, text = QString::fromStdString(detail)] {
                                  SetState(state, text);
                              });
                          }
                      }});
    });
}

void PvtSource::Stop()
{
    if (!worker_.Running()) {
        return;
    }
    worker_.Stop();
    SetState(LiveState::STOPPED, {});
}
