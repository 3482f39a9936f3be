// The receiver's side of the line fed arbitrary host bytes: GarminSimulator (and the
// SimulatorLine under it) serving a port that delivers the input. When the simulator asks
// for more after the last byte, or hangs up, the input is done and the simulator is
// stopped, so that no time-out is waited for.
//
// Input: byte 0 sets faults (bits 0-1 the upload record refused with PKT_NAK, bit 2 at
// every try; bits 3-4 the download record sent damaged, bit 5 at every try; bit 6 stray
// bytes before the first record; bit 7 dates before the week rollover); byte 1 bits 0-2 the
// record at which the simulator hangs up, bit 3 a silent simulator; the rest are the host's
// bytes, in replies as FuzzLine.h cuts them.

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "link/GarminSimulator.h"
#include "link/SerialPort.h"
#include "tests/fuzz/FuzzLine.h"
#include "tests/fuzz/FuzzTarget.h"
#include "tests/gps/GpsTestRecords.h"

namespace {

struct HostScript {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<LineBytes> replies;
    bool drained = false;   // asked for more after the last reply
    bool portGone = false;  // the simulator closed the port (a hang-up)
};

class HostPort : public SerialPort {
public:
    explicit HostPort(std::shared_ptr<HostScript> script) : s_(std::move(script)) {}
    ~HostPort() override
    {
        std::lock_guard lock(s_->mutex);
        s_->portGone = true;
        s_->changed.notify_all();
    }

    int Write(const uint8_t*, int size) override { return size; }

    int ReadAvailable(uint8_t* buffer, int size, int) override
    {
        std::lock_guard lock(s_->mutex);
        if (s_->replies.empty()) {
            s_->drained = true;
            s_->changed.notify_all();
            return 0;
        }
        LineBytes& next = s_->replies.front();
        int n = std::min<int>(size, static_cast<int>(next.size()));
        std::copy(next.begin(), next.begin() + n, buffer);
        next.erase(next.begin(), next.begin() + n);
        if (next.empty()) {
            s_->replies.pop_front();
        }
        return n;
    }

private:
    std::shared_ptr<HostScript> s_;
};

RecordFault Fault(int record, bool always)
{
    RecordFault fault;
    fault.record = record;
    fault.always = always;
    return fault;
}

int FuzzSimulator(const uint8_t* data, size_t size)
{
    if (size < 2) {
        return 0;
    }
    auto script = std::make_shared<HostScript>();
    script->replies = SplitIntoReplies(data + 2, size - 2);

    GarminSimulator simulator;
    simulator.SetWaypoints({TestWaypoint(1), TestWaypoint(2), TestWaypoint(3)});
    simulator.SetTrackpoints(
        {TestTrackpoint(0), TestTrackpoint(1), TestTrackpoint(2), TestTrackpoint(3)});
    simulator.SetClock([] { return int64_t{1700000000}; });
    simulator.SetWeekRollover((data[0] & 0x80) != 0);
    SimulatorFaults faults;
    faults.nakUpload = Fault(data[0] & 0x03, (data[0] & 0x04) != 0);
    faults.corruptRecord = Fault((data[0] >> 3) & 0x03, (data[0] & 0x20) != 0);
    faults.strayRecord = Fault((data[0] & 0x40) ? 1 : 0, false);
    faults.hangUpAtRecord = data[1] & 0x07;
    faults.silent = (data[1] & 0x08) != 0;
    simulator.SetFaults(faults);

    FUZZ_CHECK(simulator.Start(std::make_unique<HostPort>(script)), "the simulator did not start");
    {
        std::unique_lock lock(script->mutex);
        script->changed.wait(lock, [&] { return script->drained || script->portGone; });
    }
    simulator.Stop();
    return 0;
}

}  // namespace

ORVI_FUZZ_TARGET("simulator", FuzzSimulator)
