#include "live/PvtSource.h"

#include "link/PvtStream.h"

PvtSource::PvtSource(QObject* parent) : PositionSource(parent) {}

PvtSource::~PvtSource()
{
    Stop();
}

void PvtSource::Start()
{
    if (running_) {
        return;
    }
    running_ = true;
    stop_ = false;
    const int generation = ++generation_;
    SetState(LiveState::WAITING, {});
    thread_ = std::thread([this, generation] {
        // Each fix and state crosses to the thread that owns the source.
        auto post = [this, generation](auto deliver) {
            QMetaObject::invokeMethod(
                this,
                [this, generation, deliver] {
                    if (generation == generation_ && running_) {
                        deliver();
                    }
                },
                Qt::QueuedConnection);
        };
        RunPvtStream(stop_,
                     {[post, this](const LiveFix& fix) { post([this, fix] { Deliver(fix); }); },
                      [post, this](LiveState state, const std::string& detail) {
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
    if (!running_) {
        return;
    }
    stop_ = true;
    thread_.join();
    running_ = false;
    ++generation_;
    SetState(LiveState::STOPPED, {});
}
