#include "link/GarminSimulator.h"

#include <sys/prctl.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <utility>

#include "gps/Geodesy.h"
#include "link/DataTypes.h"
#include "link/GpsTimeConversion.h"
#include "link/NmeaSentences.h"
#include "link/SerialPort.h"

namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

// How often we send a packet that is not acknowledged.
constexpr int kMaxTries = 4;
// Idle reads end this often, so that a stop request or a new fault is noticed.
constexpr int kIdleSliceMs = 50;
constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;

int64_t SystemNowUtc()
{
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return now.tv_sec;
}

}  // namespace

GarminSimulator::GarminSimulator()
{
    SetUnit(KnownUnits().front());
}

GarminSimulator::~GarminSimulator()
{
    Stop();
}

bool GarminSimulator::Start(std::unique_ptr<SerialPort> port)
{
    if (serving_ || !port) {
        return false;
    }
    if (thread_.joinable()) {
        thread_.join();  // ended by a hang-up
    }
    port_ = std::move(port);
    line_ = std::make_unique<SimulatorLine>(*port_, counters_, [this] { return Shape(); });
    hungUp_ = false;
    pending_.reset();
    upload_ = {};
    stop_ = false;
    serving_ = true;
    thread_ = std::thread([this] {
        // The line is paced by sleeping until each byte would have left it; the default
        // slack of 50 us a sleep would make a fast line slower than a real one.
        ::prctl(PR_SET_TIMERSLACK, 1UL);
        Serve();
    });
    return true;
}

std::unique_ptr<SerialPort> GarminSimulator::Stop()
{
    stop_ = true;
    if (thread_.joinable()) {
        thread_.join();
    }
    stop_ = false;
    serving_ = false;
    line_.reset();
    return std::move(port_);
}

void GarminSimulator::SetClock(std::function<int64_t()> nowUtc)
{
    std::lock_guard lock(mutex_);
    clock_ = std::move(nowUtc);
}

void GarminSimulator::SetWeekRollover(bool on)
{
    std::lock_guard lock(mutex_);
    weekRollover_ = on;
}

std::vector<uint8_t> GarminSimulator::TimePacket() const
{
    std::function<int64_t()> clock;
    bool rollover;
    {
        std::lock_guard lock(mutex_);
        clock = clock_;
        rollover = weekRollover_;
    }
    int64_t now = clock ? clock() : SystemNowUtc();
    if (rollover) {
        now -= GPS_WEEK_ROLLOVER_SECONDS;
    }
    time_t seconds = static_cast<time_t>(now);
    struct tm f {};
    gmtime_r(&seconds, &f);
    auto year = static_cast<uint16_t>(std::clamp(f.tm_year + 1900, 0, 65535));
    return {static_cast<uint8_t>(f.tm_mon + 1), static_cast<uint8_t>(f.tm_mday),
            static_cast<uint8_t>(year),         static_cast<uint8_t>(year >> 8),
            static_cast<uint8_t>(f.tm_hour),    0,
            static_cast<uint8_t>(f.tm_min),     static_cast<uint8_t>(f.tm_sec)};
}

void GarminSimulator::SetBaudRate(int baud)
{
    std::lock_guard lock(mutex_);
    baud_ = std::max(baud, 0);
}

void GarminSimulator::SetAckTimeout(int ms)
{
    std::lock_guard lock(mutex_);
    ackTimeoutMs_ = std::max(ms, 1);
}

void GarminSimulator::SetFaults(const SimulatorFaults& faults)
{
    std::lock_guard lock(mutex_);
    faults_ = faults;
}

SimulatorFaults GarminSimulator::Faults() const
{
    std::lock_guard lock(mutex_);
    return faults_;
}

void GarminSimulator::SetRandomFaults(const RandomFaults& faults)
{
    std::lock_guard lock(mutex_);
    dice_.Reset(faults);
}

SimulatorStats GarminSimulator::Stats() const
{
    std::lock_guard lock(mutex_);
    SimulatorStats stats = stats_;
    stats.bytesSent = counters_.sent;
    stats.bytesReceived = counters_.received;
    stats.wireSeconds = static_cast<double>(counters_.wireNanos) * 1e-9;
    stats.randomFaults = dice_.thrown();
    return stats;
}

void GarminSimulator::ResetStats()
{
    std::lock_guard lock(mutex_);
    stats_ = {};
    counters_.sent = 0;
    counters_.received = 0;
    counters_.wireNanos = 0;
}

void GarminSimulator::Count(int SimulatorStats::*counter)
{
    std::lock_guard lock(mutex_);
    ++(stats_.*counter);
}

LineShape GarminSimulator::Shape() const
{
    std::lock_guard lock(mutex_);
    LineShape shape;
    // A switched line is paced at its own rate.
    shape.baud = baud_ > 0 && lineBaud_ != BASE_BAUD ? lineBaud_ : baud_;
    shape.burstBytes = faults_.burstBytes;
    shape.gapMinMs = faults_.gapMinMs;
    shape.gapMaxMs = faults_.gapMaxMs;
    shape.joinFrames = faults_.joinFrames;
    if (moving_.on && moving_.options.nmea && baud_ > 0) {
        shape.baud = NMEA_BAUD;
    }
    return shape;
}

void GarminSimulator::Serve()
{
    while (!stop_ && !hungUp_) {
        HostFrame frame;
        if (pending_) {
            frame = *pending_;
            pending_.reset();
        } else {
            frame = line_->Read(IdleReadMs(kIdleSliceMs), stop_);
        }
        CheckPingsDue();
        SendDueFix();
        if (frame.kind == HostFrame::Nothing) {
            continue;
        }
        if (frame.kind == HostFrame::LineGone) {
            // Nobody on the other end (a port without a keeper of the device): wait for one.
            upload_ = {};
            std::this_thread::sleep_for(milliseconds(10));
            continue;
        }
        if (MovingNmea() || Faults().silent || !HostAtLineRate()) {
            continue;
        }
        Handle(frame);
    }
    serving_ = false;
}

void GarminSimulator::Answer(uint8_t packetId, uint8_t about)
{
    uint8_t data[2] = {about, 0};
    FrameFault fault;
    if (packetId == PKT_ACK) {
        // A refusal is never late or lost: a host that gave up waiting for it would take it
        // for the answer to the packet it sent next.
        std::lock_guard lock(mutex_);
        fault = dice_.Acknowledgement();
    }
    line_->Send(packetId, data, 2, fault);
}

void GarminSimulator::Handle(const HostFrame& frame)
{
    if (frame.kind == HostFrame::Damaged) {
        // Name what the frame seems to be; when even its id is lost, what came last.
        Count(&SimulatorStats::naksSent);
        Answer(PKT_NAK, static_cast<uint8_t>(frame.id >= 0 ? frame.id : lastHostId_));
        return;
    }
    auto id = static_cast<uint8_t>(frame.id);
    if (id == PKT_NAK) {
        NoteHostRefusal(frame);
        return;
    }
    if (id == PKT_ACK) {
        return;  // a late answer to a packet we no longer wait for
    }
    upload_.acknowledged = false;
    lastHostId_ = id;
    switch (id) {
    case PKT_PRODUCT_REQUEST:
        Answer(PKT_ACK, id);
        SendProduct();
        break;
    case PKT_COMMAND:
        HandleCommand(frame.size > 0 ? frame.Word() : 0xFFFF);
        break;
    case PKT_RECORD_COUNT:
        Answer(PKT_ACK, id);
        upload_ = {};  // the count itself is not needed: the records say how many came
        upload_.active = true;
        break;
    case PKT_BAUD_REQUEST:
        Answer(PKT_ACK, id);
        SwitchRate(frame);
        break;
    case PKT_XFER_DONE:
        CompleteUpload(frame);  // stored before the host hears that it is
        Answer(PKT_ACK, id);
        break;
    default:
        if (UnitTakesPacket(Unit(), id)) {
            ReceiveRecord(frame);
        } else {
            Answer(PKT_ACK, id);  // a packet this receiver has no use for
        }
        break;
    }
}

void GarminSimulator::HandleCommand(uint16_t command)
{
    if (command != CMD_PING && command != CMD_START_PVT_DATA) {
        StopPvt();
    }
    if (command == CMD_POWER_OFF) {
        Count(&SimulatorStats::powerOffs);  // the receiver would be off before answering
        return;
    }
    Answer(PKT_ACK, PKT_COMMAND);
    if (command == CMD_PING) {
        NotePing();
        return;
    }
    upload_ = {};  // an upload that did not complete is forgotten
    switch (command) {
    case CMD_SEND_WAYPOINTS:
    case CMD_SEND_TRACK:
    case CMD_SEND_ROUTES: {
        std::vector<UnitPacket> packets;
        try {
            std::lock_guard lock(mutex_);
            packets = UnitTransferPackets(unit_, records_, command);
        } catch (const DataTypeError&) {
            // Records an upload left that the unit's types cannot send (a D311 track beyond
            // 65535): the transfer breaks off before it starts.
            Count(&SimulatorStats::transfersBroken);
            break;
        }
        SendTransfer(command, packets);
        break;
    }
    case CMD_SEND_TIME:
        SendTime();
        break;
    case CMD_SEND_POSITION:
        SendPosition();
        break;
    case CMD_START_PVT_DATA:
        StartPvt();
        break;
    case 1:  // almanac
    case 3:  // proximity waypoints
        SendTransfer(command, {});
        break;
    default:  // CMD_ABORT_TRANSFER with nothing running, and commands we do not know
        break;
    }
}

void GarminSimulator::SendProduct()
{
    std::vector<uint8_t> data;
    {
        std::lock_guard lock(mutex_);
        data = {static_cast<uint8_t>(productId_), static_cast<uint8_t>(productId_ >> 8),
                static_cast<uint8_t>(softwareVersion_),
                static_cast<uint8_t>(static_cast<uint16_t>(softwareVersion_) >> 8)};
        data.insert(data.end(), description_.begin(), description_.end());
    }
    data.push_back(0);
    if (!SendPacket(PKT_PRODUCT_DATA, data.data(), static_cast<uint8_t>(data.size()))) {
        return;
    }
    UnitProfile unit = Unit();
    if (unit.sendsProtocolArray) {
        std::vector<uint8_t> array = EncodeProtocolArray(unit.protocols);
        array.resize(std::min<size_t>(array.size(), DATA_TYPE_MAX_SIZE));
        SendPacket(PKT_PROTOCOL_ARRAY, array.data(), static_cast<uint8_t>(array.size()));
    }
}

void GarminSimulator::SendTime()
{
    std::vector<uint8_t> packet = TimePacket();
    SendPacket(PKT_DATE_TIME, packet.data(), static_cast<uint8_t>(packet.size()));
}

void GarminSimulator::SendPosition()
{
    SemicirclePosition where{0, 0};
    {
        std::lock_guard lock(mutex_);
        const std::vector<ProtocolEntry>& others = unit_.protocols.others;
        if (std::find(others.begin(), others.end(), ProtocolEntry{'A', 700}) == others.end()) {
            return;
        }
        if (!records_.trackpoints.empty()) {
            where = {records_.trackpoints.back().latitude, records_.trackpoints.back().longitude};
        }
    }
    double radians[2] = {SemicirclesToDegrees(where.latitude) * kRadiansPerDegree,
                         SemicirclesToDegrees(where.longitude) * kRadiansPerDegree};
    uint8_t packet[sizeof radians];
    std::memcpy(packet, radians, sizeof radians);  // little-endian, as Records.h requires
    SendPacket(PKT_POSITION, packet, sizeof packet);
}

void GarminSimulator::SendTransfer(uint16_t command, const std::vector<UnitPacket>& packets)
{
    int count = static_cast<int>(std::min<size_t>(packets.size(), INT16_MAX));
    uint8_t countBytes[2] = {static_cast<uint8_t>(count), static_cast<uint8_t>(count >> 8)};
    if (!SendPacket(PKT_RECORD_COUNT, countBytes, 2)) {
        Count(&SimulatorStats::transfersBroken);
        return;
    }
    for (int number = 1; number <= count; ++number) {
        if (Faults().hangUpAtRecord == number) {
            HangUp();
            return;
        }
        const UnitPacket& packet = packets[static_cast<size_t>(number - 1)];
        if (!SendPacket(packet.id, packet.data.data(), static_cast<uint8_t>(packet.data.size()),
                        number)) {
            Count(&SimulatorStats::transfersBroken);
            return;
        }
    }
    uint8_t done[2] = {static_cast<uint8_t>(command), static_cast<uint8_t>(command >> 8)};
    if (!SendPacket(PKT_XFER_DONE, done, 2)) {
        Count(&SimulatorStats::transfersBroken);
        return;
    }
    Count(&SimulatorStats::downloadsDone);
}

bool GarminSimulator::SendPacket(uint8_t id, const uint8_t* data, uint8_t size, int record)
{
    for (int attempt = 1; attempt <= kMaxTries; ++attempt) {
        if (attempt > 1) {
            Count(&SimulatorStats::resends);
        }
        SimulatorFaults faults;
        milliseconds ackTimeout;
        FrameFault fault;
        {
            std::lock_guard lock(mutex_);
            faults = faults_;
            ackTimeout = milliseconds(ackTimeoutMs_);
            fault = dice_.Packet();
        }
        fault.corrupt = fault.corrupt || faults.corruptRecord.Hits(record, attempt);
        if (faults.strayRecord.Hits(record, attempt)) {
            fault.stray = faults.strayBytes;
        }
        if (!line_->Send(id, data, size, fault)) {
            return false;
        }
        const Clock::time_point deadline = Clock::now() + ackTimeout;
        for (;;) {
            auto left = std::chrono::ceil<milliseconds>(deadline - Clock::now()).count();
            if (left <= 0) {
                break;  // no answer: send it again
            }
            HostFrame answer = line_->Read(static_cast<int>(left), stop_);
            if (stop_ || answer.kind == HostFrame::LineGone) {
                return false;
            }
            if (answer.kind == HostFrame::Nothing) {
                continue;
            }
            if (answer.kind == HostFrame::Damaged) {
                break;  // a spoilt answer counts as a refusal
            }
            if (answer.id == PKT_ACK) {
                // Hosts acknowledge with the id alone or with the id and a zero.
                if (answer.size >= 1 && answer.data[0] == id) {
                    return true;
                }
                continue;  // a late acknowledgement of something else
            }
            if (answer.id == PKT_NAK) {
                NoteHostRefusal(answer);
                break;
            }
            pending_ = answer;  // the host has moved on: this ends the transfer
            return false;
        }
    }
    return false;
}

void GarminSimulator::HangUp()
{
    line_.reset();
    port_.reset();  // closes our end: the host's device hangs up
    hungUp_ = true;
    std::lock_guard lock(mutex_);
    stats_.hungUp = true;
    ++stats_.transfersBroken;
    faults_.hangUpAtRecord = 0;
}
