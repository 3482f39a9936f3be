// The receiver's side of the line fed arbitrary host bytes: GarminSimulator (and the
// SimulatorLine under it) serving a port that delivers the input. When the simulator asks
// for more after the last byte, or hangs up, the input is done and the simulator is
// stopped, so that no time-out is waited for.
//
// The simulator plays the unit the input names, holding that unit's sample records
// (UnitSampleRecords), so that the host's bytes meet every unit's packets: its waypoint,
// track and route types in uploads, and the faster line of a unit that has one. Afterwards
// its records keep two rules of a document (details none or one per record, at most
// MAX_DOC_ROUTES routes), and without a stored upload they are what it held before.
//
// Input: byte 0 chooses the unit, KnownUnits()[byte 0 % KnownUnits().size()] (0: the
// GPS 12); byte 1 sets faults (bits 0-1 the upload record refused with PKT_NAK, bit 2 at
// every try; bits 3-4 the download record sent damaged, bit 5 at every try; bit 6 stray
// bytes before the first record; bit 7 dates before the week rollover); byte 2 bits 0-2 the
// record at which the simulator hangs up, bit 3 a silent simulator; the rest are the host's
// bytes, in replies as FuzzLine.h cuts them.

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "gps/GpsRecords.h"
#include "link/GarminSimulator.h"
#include "link/SerialPort.h"
#include "link/UnitData.h"
#include "link/UnitProfile.h"
#include "tests/fuzz/FuzzLine.h"
#include "tests/fuzz/FuzzTarget.h"

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

// The sample records of each known unit, as the simulator holds them for that unit.
const GpsRecords& HeldSample(size_t unit)
{
    static const std::vector<GpsRecords> samples = [] {
        std::vector<GpsRecords> all;
        for (const UnitProfile& known : KnownUnits()) {
            all.push_back(UnitSampleRecords(known));
        }
        return all;
    }();
    return samples[unit];
}

template <class Record>
bool SameHeldBytes(const std::vector<Record>& a, const std::vector<Record>& b)
{
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(Record)) == 0);
}

bool SameHeld(const GpsRecords& a, const GpsRecords& b)
{
    return SameHeldBytes(a.waypoints, b.waypoints) &&
           SameHeldBytes(a.waypointDetails, b.waypointDetails) &&
           SameHeldBytes(a.trackpoints, b.trackpoints) &&
           SameHeldBytes(a.trackpointDetails, b.trackpointDetails) &&
           SameRoutes(a.routes, b.routes);
}

// Details as a document keeps them (none, or one per record) and no more routes than it
// holds.
bool HeldFitsDocument(const GpsRecords& held)
{
    auto detailsFit = [](size_t records, size_t details) {
        return details == 0 || details == records;
    };
    return detailsFit(held.waypoints.size(), held.waypointDetails.size()) &&
           detailsFit(held.trackpoints.size(), held.trackpointDetails.size()) &&
           held.routes.size() <= static_cast<size_t>(MAX_DOC_ROUTES);
}

int FuzzSimulator(const uint8_t* data, size_t size)
{
    if (size < 3) {
        return 0;
    }
    const size_t unit = data[0] % KnownUnits().size();
    const uint8_t faultBits = data[1];
    const uint8_t lineBits = data[2];
    auto script = std::make_shared<HostScript>();
    script->replies = SplitIntoReplies(data + 3, size - 3);

    GarminSimulator simulator;
    simulator.SetUnit(KnownUnits()[unit]);
    simulator.SetRecords(HeldSample(unit));
    const GpsRecords before = simulator.Records();
    simulator.SetClock([] { return int64_t{1700000000}; });
    simulator.SetWeekRollover((faultBits & 0x80) != 0);
    SimulatorFaults faults;
    faults.nakUpload = Fault(faultBits & 0x03, (faultBits & 0x04) != 0);
    faults.corruptRecord = Fault((faultBits >> 3) & 0x03, (faultBits & 0x20) != 0);
    faults.strayRecord = Fault((faultBits & 0x40) ? 1 : 0, false);
    faults.hangUpAtRecord = lineBits & 0x07;
    faults.silent = (lineBits & 0x08) != 0;
    simulator.SetFaults(faults);

    FUZZ_CHECK(simulator.Start(std::make_unique<HostPort>(script)), "the simulator did not start");
    {
        std::unique_lock lock(script->mutex);
        script->changed.wait(lock, [&] { return script->drained || script->portGone; });
    }
    simulator.Stop();

    const GpsRecords held = simulator.Records();
    FUZZ_CHECK(HeldFitsDocument(held), "the simulator holds what no document holds");
    FUZZ_CHECK(simulator.Stats().uploadsStored > 0 || SameHeld(held, before),
               "the simulator's records changed without a stored upload");
    return 0;
}

}  // namespace

ORVI_FUZZ_TARGET("simulator", FuzzSimulator)
