#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "gps/GpsRecords.h"
#include "link/FaultDice.h"
#include "link/SimulatorLine.h"
#include "link/TrackMotion.h"
#include "link/UnitData.h"
#include "link/UnitProfile.h"

class SerialPort;

// A fault on one record of a transfer. Records count from 1 within each transfer; 0 is off.
struct RecordFault {
    int record = 0;
    bool always = false;  // at every try of that record, not only at the first

    bool Hits(int number, int attempt) const
    {
        return record > 0 && number == record && (always || attempt == 1);
    }
};

// Misbehaviour the simulator can be told to show.
struct SimulatorFaults {
    RecordFault nakUpload;      // refuse this record of an upload with PKT_NAK
    RecordFault corruptRecord;  // send this record of a download with a wrong checksum
    RecordFault strayRecord;    // put `strayBytes` on the line just before this record
    std::vector<uint8_t> strayBytes = {0x00, 0x55};
    bool silent = false;  // take everything off the line, answer nothing
    // Hang up (close our end of the line) instead of sending this record of a download, or
    // on receiving it in an upload. 0: never. Cleared when it happens.
    int hangUpAtRecord = 0;
    // Split every frame into bursts of this many bytes with pauses of gapMinMs to gapMaxMs
    // between them. 0: whole frames.
    int burstBytes = 0;
    int gapMinMs = 12;
    int gapMaxMs = 16;
    // Acknowledgements go out in one write with the packet that follows them (LineShape).
    bool joinFrames = false;
    // The rate a baud request is answered with, when it is to differ from the rate the
    // receiver then runs at (an unusable rate, or one the host's pings never come at). 0: the
    // rate it runs at.
    int namedBaud = 0;
};

// What the simulator has seen and done since it was made or ResetStats() was called.
struct SimulatorStats {
    uint64_t bytesSent = 0;      // every byte we put on the line, stray bytes included
    uint64_t bytesReceived = 0;  // every byte the host put on the line
    double wireSeconds = 0;      // what all of them need at the rates they went at; paced only
    int naksSent = 0;            // damaged or refused packets of the host
    int naksReceived = 0;        // our packets the host refused
    int resends = 0;             // packets sent again after a PKT_NAK or a time-out
    int powerOffs = 0;
    int uploadsStored = 0;    // uploads that replaced our waypoints, track log or routes
    int downloadsDone = 0;    // downloads that ran to their transfer-complete packet
    int transfersBroken = 0;  // downloads given up, aborted or cut by a hang-up
    bool hungUp = false;
    int randomFaults = 0;  // faults of SetRandomFaults shown
    // When the last byte of the last PVT packet was handed to the line.
    std::chrono::steady_clock::time_point lastPositionSent{};
};

// How the simulated receiver moves (GarminSimulator::SetMoving).
struct MovingOptions {
    double rate = 1;  // fixes a second, 0.1 to 20 (others are taken to the nearer end)
    // NMEA sentences instead of the binary protocol.
    bool nmea = false;
};

// A Garmin receiver as seen from its serial line: a unit (UnitProfile: product data,
// protocols and data types, limits), the records it holds, its clock, and the receiver's
// side of the protocol, served through any SerialPort on a thread of its own.
//
// It answers a product request with its product data, followed by its protocol array
// (packet 253) when the unit sends one; acknowledges every good packet (PKT_ACK: id, 0),
// refuses damaged ones with a PKT_NAK naming the id it expected; waits for the host's
// acknowledgement (of one or two data bytes) after every packet it sends, sending it again
// after a PKT_NAK or 1.5 s of silence, at most 4 times. Commands: 7 waypoints, 6 track log,
// 4 routes (each in the unit's protocol and types, see UnitTransferPackets; the record
// count counts every packet up to the transfer-complete packet), 5 time, 2 position (for a
// unit that speaks A700; others acknowledge it only), 0 abort the running
// transfer, 8 power off (noted, not acknowledged: the receiver switches off); 1 and 3
// (almanac, proximity waypoints) give empty transfers. An upload (record count, records,
// transfer complete) replaces the waypoints, the track log or the routes when it completes,
// before the transfer-complete packet is acknowledged; one that stops short changes nothing.
// A record that is not of the unit's type is refused with a PKT_NAK; packets of a kind the
// unit does not take are acknowledged and dropped.
//
// The model may be read and changed from any thread at any time; a transfer sends the
// records the model held when it began.
//
// While moving (SetMoving), the receiver has a fix every 1 / rate seconds, at its place along a
// track. A unit that speaks A800 sends each as a PKT_PVT packet (D800) from the host's
// CMD_START_PVT_DATA on (acknowledged as every command) until CMD_STOP_PVT_DATA or any other
// command but CMD_PING, which is then handled as always. PVT packets are not acknowledged:
// the receiver does not wait for the host's acknowledgement nor send one again after a
// PKT_NAK, as the maker's units do. A unit without A800 acknowledges the start command and
// sends nothing. In NMEA mode the receiver speaks nothing else: it sends the sentences of
// each fix (NmeaFixSentences) unasked, paced at NMEA_BAUD when the line is paced at all,
// and takes whatever the host sends off the line without answering it.
class GarminSimulator {
public:
    // A GPS 12 (the first of KnownUnits()): product 77, software version 4.60, no records,
    // the computer's clock.
    GarminSimulator();
    ~GarminSimulator();
    GarminSimulator(const GarminSimulator&) = delete;
    GarminSimulator& operator=(const GarminSimulator&) = delete;

    // Starts serving on `port`, which the simulator owns from now on. False (and the port
    // is dropped) while it still serves another one.
    bool Start(std::unique_ptr<SerialPort> port);
    // Stops serving, waiting at most about 0.6 s for the thread (longer only while a paced
    // frame is on its way), and hands the port back; null when the simulator hung up.
    std::unique_ptr<SerialPort> Stop();
    // True from Start() until Stop() or a hang-up.
    bool Serving() const { return serving_; }

    // Plays `unit` from now on: its product data, protocol array, data types and fastest
    // rate (SetFastestBaud). The records held are adapted to it as SetRecords adapts them;
    // returns the notes of AdaptToUnit, and throws its DataTypeError.
    std::vector<std::string> SetUnit(const UnitProfile& unit);
    UnitProfile Unit() const;
    // Another product data for the unit played.
    void SetProduct(uint16_t id, int16_t version, const std::string& description);
    // Holds `records` as the unit holds them (AdaptToUnit); returns its notes of what was
    // left out.
    std::vector<std::string> SetRecords(GpsRecords records);
    GpsRecords Records() const;
    // Replace one kind of record, as given (no details, not adapted to the unit).
    void SetWaypoints(std::vector<WaypointRecord> records);
    void SetTrackpoints(std::vector<TrackpointRecord> records);
    std::vector<WaypointRecord> Waypoints() const;
    std::vector<TrackpointRecord> Trackpoints() const;

    // The time the receiver reports, in seconds since 1970 (UTC). Null: the computer's clock.
    void SetClock(std::function<int64_t()> nowUtc);
    // Reports dates 1024 weeks (619315200 s) early, as receivers of this family do past a
    // GPS week rollover.
    void SetWeekRollover(bool on);
    // The date-time packet the receiver would send now: month, day, year (16-bit), hour
    // (16-bit), minute, second.
    std::vector<uint8_t> TimePacket() const;

    // Pace the line at this many baud (10 bits per byte); 0: unpaced.
    void SetBaudRate(int baud);
    // The fastest rate the receiver switches to when the host asks (PKT_BAUD_REQUEST); at
    // BASE_BAUD (the default) it does not switch. A switched line is paced at its rate when
    // the line is paced at all, and falls back to BASE_BAUD when the host has not pinged
    // within 2 s. On a pseudo-terminal, host packets sent at another rate than the line's
    // (as the device's settings show) go unanswered, and the line falls back to BASE_BAUD.
    void SetFastestBaud(int baud);
    // The rate the line runs at now.
    int LineBaud() const;
    // How long to wait for the host's acknowledgement before sending a packet again
    // (1500 ms unless changed).
    void SetAckTimeout(int ms);
    void SetFaults(const SimulatorFaults& faults);
    SimulatorFaults Faults() const;
    // Faults at random, besides those of SetFaults; the dice start anew from the seed.
    void SetRandomFaults(const RandomFaults& faults);

    SimulatorStats Stats() const;
    void ResetStats();

    // The receiver moves along `motion` from now on (link/SimulatorMoving.cpp): fix n (from
    // 0) is due n / rate seconds after this call and is motion's fix at n / rate seconds,
    // with the time the clock (SetClock) gave at this call plus n / rate seconds (1024 weeks
    // early with SetWeekRollover). When the line cannot keep up, the fixes that are overdue
    // by more than one period are left out. False, and nothing changes, for an empty motion.
    bool SetMoving(TrackMotion motion, const MovingOptions& options);
    // The receiver stands still again and speaks the binary protocol.
    void StopMoving();

private:
    struct Upload {
        bool active = false;
        int tries = 0;              // arrivals of the record that comes next
        bool acknowledged = false;  // we kept the last record that came (of `recordId`)
        int recordId = -1;
        bool repeatComing = false;  // the host missed that acknowledgement: the record comes again
        std::vector<UnitPacket> packets;  // the records taken, each read as the unit's type
    };

    void Serve();
    void Handle(const HostFrame& frame);
    void HandleCommand(uint16_t command);
    void ReceiveRecord(const HostFrame& frame);
    void CompleteUpload(const HostFrame& frame);
    void SendProduct();
    // The faster line (link/SimulatorLineSpeed.cpp).
    void SwitchRate(const HostFrame& request);
    void NotePing();
    // Falls back to BASE_BAUD when the pings after a switch are overdue.
    void CheckPingsDue();
    // Whether the host's end of the line runs at our rate, where the port can tell; when it
    // does not, the line falls back to BASE_BAUD.
    bool HostAtLineRate();
    void SendTime();
    // A700: where the unit is, the last point of its track log (0, 0 without one).
    void SendPosition();
    // Record count, the packets, transfer complete.
    void SendTransfer(uint16_t command, const std::vector<UnitPacket>& packets);
    // Sends one packet and waits for its acknowledgement; `record` (from 1) names the record
    // of a transfer that faults may hit. False when it was not acknowledged: given up, the
    // line gone, stopped, or the host sent another packet instead (kept in `pending_`).
    bool SendPacket(uint8_t id, const uint8_t* data, uint8_t size, int record = 0);
    void Answer(uint8_t packetId, uint8_t about);  // PKT_ACK or PKT_NAK
    void NoteHostRefusal(const HostFrame& frame);  // a PKT_NAK from the host
    LineShape Shape() const;                       // what the line is to look like now
    // Moving (link/SimulatorMoving.cpp): sends the fix that is due, if one is and the host
    // is to have it, unless the host has left much of what we sent unread.
    void SendDueFix();
    // How long an idle read may wait, at most `ms`, before SendDueFix has something to do.
    int IdleReadMs(int ms) const;
    bool MovingNmea() const;
    void StartPvt();  // CMD_START_PVT_DATA
    void StopPvt();
    void HangUp();
    void Count(int SimulatorStats::*counter);

    mutable std::mutex mutex_;  // guards everything up to `moving_`
    UnitProfile unit_;
    uint16_t productId_;
    int16_t softwareVersion_;
    std::string description_;
    GpsRecords records_;
    std::function<int64_t()> clock_;
    bool weekRollover_ = false;
    int baud_ = 0;
    int fastestBaud_ = BASE_BAUD;
    int lineBaud_ = BASE_BAUD;
    int pingsDue_ = 0;  // pings still to come after a switch
    std::chrono::steady_clock::time_point pingDeadline_{};
    int ackTimeoutMs_ = 1500;
    SimulatorFaults faults_;
    FaultDice dice_;
    SimulatorStats stats_;
    struct Moving {
        bool on = false;
        TrackMotion motion;
        MovingOptions options;
        std::chrono::steady_clock::time_point start{};  // when fix 0 was due
        int64_t startUtcMillis = 0;
        int64_t next = 0;  // the number of the next fix
        bool pvt = false;  // the host asked for PVT packets
    } moving_;

    LineCounters counters_;
    std::unique_ptr<SerialPort> port_;  // used by the serving thread only while it runs
    std::unique_ptr<SimulatorLine> line_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> serving_{false};
    bool hungUp_ = false;
    std::optional<HostFrame> pending_;  // a packet that ended a transfer, handled next
    Upload upload_;
    int lastHostId_ = PKT_COMMAND;  // the id of the host's last good packet
};
