#include "live/PositionSource.h"

PositionSource::PositionSource(QObject* parent) : QObject(parent)
{
    // Fixes and states cross threads in queued connections.
    qRegisterMetaType<LiveFix>();
    qRegisterMetaType<LiveState>();
}

void PositionSource::SetState(LiveState state, const QString& detail)
{
    if (state == state_ && detail == detail_) {
        return;
    }
    state_ = state;
    detail_ = detail;
    emit stateChanged(state, detail);
}

void PositionSource::Deliver(const LiveFix& fix)
{
    SetState(fix.HasPosition() ? LiveState::RECEIVING : LiveState::WAITING, detail_);
    emit fixArrived(fix);
}
