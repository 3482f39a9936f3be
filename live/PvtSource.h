#pragma once

#include "live/PositionSource.h"
#include "live/WorkerThread.h"

// The receiver's PVT packets over the link (link/PvtStream.h), on the port of the settings,
// read on a thread of its own. A unit without the PVT protocol, a port that cannot be
// opened or goes away: LINK_LOST with the reason, and it tries again until stopped.
class PvtSource : public PositionSource {
    Q_OBJECT

public:
    explicit PvtSource(QObject* parent = nullptr);

    void Start() override;
    void Stop() override;

private:
    WorkerThread worker_{this};
};
