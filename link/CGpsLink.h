#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "gps/GpsRecords.h"
#include "gps/Records.h"
#include "link/LinkTypes.h"
#include "link/UnitData.h"
#include "link/UnitProfile.h"

class SerialPort;

// The standard rate (9600 to 115200 baud) within 5 % of `rate`; 0 when there is none.
int StandardRateNear(int64_t rate);

// The receiver's time as its date-time packet gives it (universal time).
struct GpsTime {
    uint16_t year = 0;
    uint16_t month = 0;
    uint16_t day = 0;
    uint16_t hour = 0;
    uint16_t minute = 0;
    uint16_t second = 0;
};

// Asks for a link that is made now and opened later, by Open().
struct DeferredOpen {};

// One link to the receiver over the process's shared serial port: the packet layer of the
// protocol, the record transfers and the clock. Opening it opens the port (or joins the
// open one) and runs a product exchange; destroying it lets go of the port.
// Failures are reported through Prompts as they happen, chosen by the link state.
// A link is used by one thread at a time; Cancel() may be called from any thread.
class CGpsLink {
public:
    // Made and opened at once. `startup` says how the opening reads what the receiver sent
    // before (the editor keeps the full read).
    explicit CGpsLink(ProgressCallback progress = {}, StartupRead startup = StartupRead::Full);
    // Made without touching the port; Open() follows, on the thread that uses the link.
    CGpsLink(ProgressCallback progress, DeferredOpen, StartupRead startup = StartupRead::Full);
    ~CGpsLink();
    CGpsLink(const CGpsLink&) = delete;
    CGpsLink& operator=(const CGpsLink&) = delete;

    // Takes this link's share of the port and runs the opening steps: the first link opens
    // and configures the port and reads what the receiver sent before; every link then runs
    // a product exchange. Cancel() before or during the opening stops it between two steps,
    // without a message (an opened port stays open). Once per link.
    void Open();
    // Releases the records and this link's share of the port. Called by the destructor.
    void Close();
    // When the device went away since the last command, opens the port again with the
    // usual opening steps. Returns whether a port is open afterwards.
    bool ReopenIfVanished();

    // Packet layer (results in LinkTypes.h). WriteFrame and SendPacket give Ok when the
    // receiver acknowledged, Refused for its PKT_NAK, Written without handshake; ReadFrame
    // and ReceivePacket give Ok for the expected packet (and for an acknowledgement read
    // with LF_ACKFRAME, Refused for a PKT_NAK).
    PacketResult WriteFrame(uint8_t id, const uint8_t* data, uint8_t size, int flags);
    PacketResult SendPacket(uint8_t id, const uint8_t* data, uint8_t size, int flags);
    PacketResult ReadFrame(uint8_t expectedId, uint8_t* buffer, uint8_t capacity, int flags);
    PacketResult ReceivePacket(uint8_t expectedId, uint8_t* buffer, uint8_t capacity, int flags);
    PacketResult SendCommand(uint16_t command, int flags);
    PacketResult SendAck(uint8_t id, int flags);
    // Asks the receiver to run the line at `baud` (a standard rate) and follows it
    // (link/LineSpeed.cpp). Returns the rate the line runs at afterwards; when the receiver
    // does not switch, names an unusable rate or does not confirm it, a message says so and
    // both ends are back at BASE_BAUD.
    int SwitchBaudRate(int baud);
    int lineBaud() const { return lineBaud_; }

    // Shows the message of the current state; returns the state.
    int ReportLinkError();
    // Shows string `messageId`, then "Error No %d" with the last system error when asked.
    int ShowLinkMessage(bool withSystemError, int messageId);

    // Product exchange: 0, or -1 when it failed. Learns what the unit speaks as well
    // (protocols()).
    int RequestProduct(int flags);  // bit 0: show the receiver's description
    // What the unit of the last product exchange speaks: its protocol array, or for a unit
    // without one the program's table (and for a product the table does not know, what a
    // GPS 12 speaks). `protocolsNote()`: why the unit's array could not be taken, or empty.
    const UnitProtocols& protocols() const { return protocols_; }
    const std::string& protocolsNote() const { return protocolsNote_; }
    // Record transfers (results in LinkTypes.h), in the data types of the unit's protocols
    // (link/TypedTransfers.cpp). A download replaces its kind in Records(), details
    // included; an upload sends its kind of what SetRecords() gave. A kind the unit has no
    // protocol for, or whose data type the program does not know, is refused with a
    // message (NotStarted); a packet that is not what its type says ends the transfer with
    // a message (BadData), and nothing of it is kept.
    TransferResult DownloadWaypoints();
    TransferResult DownloadTrackpoints();
    TransferResult DownloadRoutes();
    TransferResult UploadWaypoints();
    TransferResult UploadTrackpoints();
    TransferResult UploadRoutes();
    PacketResult PowerOff();
    const GpsRecords& Records() const { return records_; }
    void SetRecords(GpsRecords records) { records_ = std::move(records); }
    std::vector<WaypointRecord> CopyWaypoints() const { return records_.waypoints; }
    std::vector<TrackpointRecord> CopyTrackpoints() const { return records_.trackpoints; }
    void SetWaypoints(const WaypointRecord* records, int count);
    void SetTrackpoints(const TrackpointRecord* records, int count);

    // Clock. ReadGpsTime: 0, -1 command not acknowledged, -2 no time received.
    int ReadGpsTime(GpsTime& time);
    // Shows the receiver's and the computer's time and on Yes sets the computer's clock
    // from a second reading. 0 when the dialogue ran to its end, -1 when no time was read.
    int SetClockFromGps();

    // Stops a running record transfer between two packets, or the opening between two
    // steps.
    void Cancel() { cancel_ = true; }

    int state() const { return state_; }
    // The id and data size of the last packet a read took.
    uint8_t LastPacketId() const { return lastPacketId_; }
    uint8_t LastPacketSize() const { return lastPacketSize_; }
    uint16_t productId() const { return productId_; }
    int16_t softwareVersion() const { return softwareVersion_; }
    const std::string& productDescription() const { return description_; }

private:
    // A cancel request counts for the opening or transfer that runs or is about to run,
    // and ends with it.
    class CancelScope {
    public:
        explicit CancelScope(std::atomic<bool>& flag) : flag_(flag) {}
        ~CancelScope() { flag_ = false; }
        CancelScope(const CancelScope&) = delete;
        CancelScope& operator=(const CancelScope&) = delete;

    private:
        std::atomic<bool>& flag_;
    };

    void OpenPort();
    // One write or read on the shared port, holding it meanwhile. -1 with lastError_ set
    // on failure; a device that has gone is closed for every link.
    int PortWrite(const uint8_t* data, int size);
    // Reads one frame, timed as a read of `expected` bytes; what comes after it in the same
    // read waits for the next read.
    int PortRead(uint8_t* buffer, int size, int expected);
    bool PortVanished() const;
    // Drops what was read beyond the frame and reads and drops what still comes of a frame
    // that could not be taken, until the line is quiet: a read that met line noise ends
    // 10 ms after it, so the rest of the frame would otherwise spoil the next read (and be
    // refused once more, for a packet the receiver then sends twice).
    void DropRestOfFrame();
    void Progress(int number, int count);
    // After the product data: reads the packets a unit sends unasked (extended product data,
    // the protocol array) and sets protocols_ (link/UnitExchange.cpp).
    void LearnProtocols();
    // The rate transfers run at: the unit's fastest where the table knows it and the user has
    // not turned the faster line off (setting Settings/FastLine 0).
    int FastestRateForTransfers() const;
    // For the time of a transfer, the line at that rate, and back at the base rate after.
    class FasterLine {
    public:
        explicit FasterLine(CGpsLink& link);
        ~FasterLine();
        FasterLine(const FasterLine&) = delete;
        FasterLine& operator=(const FasterLine&) = delete;

    private:
        CGpsLink& link_;
        bool switched_ = false;
    };
    // Reads and drops what comes for `ms` (the port's clock).
    void QuietFor(int ms);
    bool SetPortRate(int baud);
    // Asks the receiver to stop sending and drops what it still sends.
    void AbortTransfer();
    // Drops input that is waiting before a conversation begins (what a receiver repeated
    // after a transfer was given up, say), so it cannot pass for the answer.
    void DiscardInput();
    // Where a download's packets go: the count first, then each packet as it comes. A
    // packet that is not what it should be throws DataTypeError.
    struct PacketSink {
        std::function<void(int count)> begin;
        std::function<void(uint8_t id, const uint8_t* data, uint8_t size)> take;
    };
    // The command, the count, that many packets of the ids in `ids` (others are refused and
    // sent again), transfer complete.
    TransferResult DownloadPackets(uint16_t command, std::vector<uint8_t> ids, bool everyRecord,
                                   TransferResult budgetExceeded, TransferResult doneMissing,
                                   const PacketSink& sink);
    // The count, the packets, transfer complete naming `command`.
    TransferResult UploadPackets(uint16_t command, bool everyRecord,
                                 const std::vector<UnitPacket>& packets);
    // Why the unit cannot transfer `kind` with this program: it has no protocol for it, or
    // speaks it in a data type the program does not know. Empty: it can.
    enum TransferKind { KIND_WAYPOINTS, KIND_TRACKS, KIND_ROUTES };
    std::string KindRefusal(TransferKind kind) const;
    // A download of `kind` in the unit's protocol into `got`: the packets of `ids`, read
    // strictly (PacketAssembler); a waypoint download's waypoints fill the count's slots.
    TransferResult DownloadKind(TransferKind kind, uint16_t command, std::vector<uint8_t> ids,
                                GpsRecords& got);
    // An upload of `kind` in the unit's protocol; a record its type cannot hold ends it
    // before anything is sent, with a message (BadData).
    TransferResult UploadKind(TransferKind kind, uint16_t command, bool everyRecord);
    // Shows the message of a refused transfer; NotStarted.
    TransferResult RefuseKind(const std::string& message);

    int state_ = LINK_CLOSED;
    uint16_t productId_ = 0;
    int16_t softwareVersion_ = 0;
    std::string description_;
    // What a GPS 12 speaks until a product exchange says otherwise, as the link always did.
    UnitProtocols protocols_ = ProtocolsOfProduct(77, 460).value_or(UnitProtocols{});
    std::string protocolsNote_;
    GpsRecords records_;
    std::vector<uint8_t> transferIds_;  // the packet ids a running download takes
    ProgressCallback progress_;
    ProgressCallback pendingProgress_;  // stored once the port is ready
    int lastError_ = 0;                 // errno of the last failed port operation
    int lineBaud_ = BASE_BAUD;
    uint8_t lastPacketId_ = 0;
    uint8_t lastPacketSize_ = 0;
    bool holdsShare_ = false;
    StartupRead startup_ = StartupRead::Full;
    std::atomic<bool> cancel_{false};
};
