#pragma once

#include <atomic>
#include <thread>

#include "live/PositionSource.h"

// The receiver's PVT packets over the link (link/PvtStream.h), on the port of the settings,
// read on a thread of its own. A unit without the PVT protocol, a port that cannot be
// opened or goes away: LINK_LOST with the reason, and it tries again until stopped.
class PvtSource : public PositionSource {
    Q_OBJECT

public:
    explicit PvtSource(QObject* parent = nullptr);
    ~PvtSource() override;

    void Start() override;
    void Stop() override;

private:
    std::thread thread_;
    std::atomic<bool> stop_{false};
    // Counts starts, so that what the thread posted before a Stop() is dropped after it.
    std::atomic<int> generation_{0};
    bool running_ = false;
};
