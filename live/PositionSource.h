#pragma once

#include <QObject>
#include <QString>

#include "live/LiveTypes.h"

// Where live positions come from: the receiver's PVT packets on the link, NMEA sentences on
// a serial line, or gpsd. Each source reads on its own (socket notifiers or a worker thread
// of its own); its signals are emitted on the thread that owns the object, the
// user-interface thread in the editor. A source that cannot reach its line or daemon says
// LINK_LOST and tries again until stopped.
class PositionSource : public QObject {
    Q_OBJECT

public:
    explicit PositionSource(QObject* parent = nullptr);

    // Opens the line or connects to the daemon, now or, while that fails, again and again
    // until Stop(). Does nothing when started already.
    virtual void Start() = 0;
    // Closes the line or the connection. No fix comes after it returns; the state is
    // STOPPED. Does nothing when stopped already.
    virtual void Stop() = 0;

    LiveState State() const { return state_; }
    // What goes with the state: the device or daemon read from, or why it is lost.
    const QString& StateDetail() const { return detail_; }

signals:
    // A position, or a report that the receiver has none (kind NONE): about once a second
    // while the receiver speaks.
    void fixArrived(const LiveFix& fix);
    void stateChanged(LiveState state, const QString& detail);

protected:
    // Emits stateChanged when the state or its detail differs from the current one.
    void SetState(LiveState state, const QString& detail);
    // Emits the fix; the state becomes RECEIVING for a position, WAITING for none.
    void Deliver(const LiveFix& fix);

private:
    LiveState state_ = LiveState::STOPPED;
    QString detail_;
};
