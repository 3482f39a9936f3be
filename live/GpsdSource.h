#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "live/PositionSource.h"

// Positions from gpsd, through its client library: a watch in JSON; each TPV report makes a
// fix (mode 2 or 3 with latitude and longitude a position, 3D only with an altitude, else
// NONE), with the satellites in use of the last SKY report.
//
// A worker thread of its own connects and reads; fixes and states are handed to the thread
// that owns the object. States: WAITING once connected; RECEIVING while fixes with a
// position come, WAITING again for fixes without; LINK_LOST with the reason when gpsd
// cannot be reached or closes the connection, and a new connection every kReconnectMs.
// Stop() waits for the worker, at most for a connection attempt under way (immediate on
// this machine, up to the system's connect time-out for a host that does not answer).
class GpsdSource : public PositionSource {
    Q_OBJECT

public:
    static constexpr int kDefaultPort = 2947;
    static constexpr int kReconnectMs = 2000;

    explicit GpsdSource(std::string host = "localhost", int port = kDefaultPort,
                        QObject* parent = nullptr);
    ~GpsdSource() override;

    void Start() override;
    void Stop() override;

private:
    void Run(unsigned run);
    // Reads reports until gpsd goes or Stop(); returns why it ended.
    QString Watch(void* gpsData, unsigned run);
    void PostState(unsigned run, LiveState state, const QString& detail);
    void PostFix(unsigned run, const LiveFix& fix);
    // Waits kReconnectMs or until Stop(); false when stopping.
    bool Pause();
    bool Stopping() const { return stopping_.load(); }

    std::string host_;
    int port_;
    std::thread worker_;
    std::atomic<bool> stopping_{false};
    std::mutex mutex_;
    std::condition_variable wake_;
    unsigned run_ = 0;  // counts Start(); reports of an earlier run are dropped
};
