// The host's side of the receiver protocol fed arbitrary serial bytes: the packet layer
// (CGpsLink) and the transfers above it, run for a GPS data document as the editor runs
// them, against a port that replays the input as the receiver's replies. The port keeps a
// clock of its own, so time-outs pass at once.
//
// Input: byte 0 chooses the commands (bit 0 product request, 1 waypoint download, 2 track
// download, 3 the receiver's time and setting the clock from it, 4 waypoint upload, 5 track
// upload, 6 power off, 7 cancel at the first progress report); byte 1 makes read call
// n - 1 fail with EIO (the device gone), byte 2 likewise write call n - 1; byte 3 chooses
// more commands (bit 0 route download, after the track download; bit 1 route upload, after
// the track upload); the rest are the receiver's replies (FuzzLine.h). Every link opens the
// port with a product exchange first, which learns the unit's protocols: the transfers run
// in the data types the replies announce.

#include <cerrno>
#include <chrono>
#include <memory>
#include <utility>

#include "framework/Prompts.h"
#include "framework/Settings.h"
#include "gps/CDataDoc.h"
#include "link/CGpsConnection.h"
#include "link/SerialPort.h"
#include "link/SharedPort.h"
#include "link/SystemClock.h"
#include "tests/fuzz/FuzzLine.h"
#include "tests/fuzz/FuzzTarget.h"
#include "tests/gps/GpsTestRecords.h"

namespace {

// The receiver's replies and the state of the line, shared by the ports opened while one
// input runs (a link opens a new one after the device went away).
struct ReceiverScript {
    std::deque<LineBytes> replies;
    bool partial = false;     // the front reply has been read in part
    bool replyEnded = false;  // the last read took the end of a reply
    std::chrono::steady_clock::time_point now{};
    int reads = 0;
    int writes = 0;
    int failRead = -1;
    int failWrite = -1;
    int openPorts = 0;
};

class ReceiverPort : public SerialPort {
public:
    explicit ReceiverPort(ReceiverScript& script) : s_(script) { ++s_.openPorts; }
    ~ReceiverPort() override { --s_.openPorts; }

    int Write(const uint8_t*, int size) override
    {
        if (s_.writes++ == s_.failWrite) {
            errno = EIO;
            return -1;
        }
        return size;
    }

    int ReadAvailable(uint8_t* buffer, int size, int timeoutMs) override
    {
        if (s_.reads++ == s_.failRead) {
            errno = EIO;
            return -1;
        }
        // Without waiting only the rest of a reply that is already on the line arrives.
        if (timeoutMs <= 0 && !s_.partial) {
            return 0;
        }
        bool afterReply = std::exchange(s_.replyEnded, false);
        if (afterReply && timeoutMs <= 10) {
            s_.now += std::chrono::milliseconds(timeoutMs);
            return 0;
        }
        if (s_.replies.empty() || s_.replies.front().empty()) {
            if (!s_.replies.empty()) {
                s_.replies.pop_front();
            }
            s_.now += std::chrono::milliseconds(std::max(timeoutMs, 0));
            return 0;
        }
        LineBytes& next = s_.replies.front();
        int n = std::min<int>(size, static_cast<int>(next.size()));
        std::copy(next.begin(), next.begin() + n, buffer);
        next.erase(next.begin(), next.begin() + n);
        s_.partial = !next.empty();
        if (next.empty()) {
            s_.replies.pop_front();
            s_.replyEnded = true;
        }
        s_.now += std::chrono::milliseconds(1);
        return n;
    }

    std::chrono::steady_clock::time_point Now() const override { return s_.now; }

private:
    ReceiverScript& s_;
};

class QuietPrompts : public Prompts {
public:
    void Message(const std::string&) override {}
    bool Question(const std::string&) override { return true; }
};

// The computer's clock, which the time command may set: never the real one.
class StillClock : public SystemClock {
public:
    int64_t NowUtc() override { return now; }
    bool SetUtc(int64_t seconds) override
    {
        now = seconds;
        return true;
    }
    int64_t now = 1700000000;
};

struct LinkStage {
    QuietPrompts prompts;
    MemorySettings settings;
    StillClock clock;
    ReceiverScript* script = nullptr;

    LinkStage()
    {
        Prompts::SetCurrent(&prompts);
        Settings::SetCurrent(&settings);
        SystemClock::SetCurrent(&clock);
        SharedPort::Instance().SetOpener([this](const std::string&, int& error) {
            if (!script) {
                error = ENOENT;
                return std::unique_ptr<SerialPort>();
            }
            return std::unique_ptr<SerialPort>(std::make_unique<ReceiverPort>(*script));
        });
    }
};

int FuzzLink(const uint8_t* data, size_t size)
{
    static LinkStage stage;
    if (size < 4) {
        return 0;
    }
    const uint8_t commands = data[0];
    const uint8_t routeCommands = data[3];
    ReceiverScript script;
    script.failRead = data[1] - 1;
    script.failWrite = data[2] - 1;
    script.replies = SplitIntoReplies(data + 4, size - 4);
    stage.script = &script;
    {
        CDataDoc doc;
        doc.ReplaceWaypoints({TestWaypoint(1), TestWaypoint(2), TestWaypoint(3)});
        doc.ReplaceTrackpoints({TestTrackpoint(0), TestTrackpoint(1), TestTrackpoint(2)});
        doc.ReplaceRoutes({TestRoute(1, 2)});
        CGpsConnection* connection = nullptr;
        auto owned = std::make_unique<CGpsConnection>([&](const char*) {
            if ((commands & 0x80) && connection) {
                connection->Cancel();
            }
        });
        connection = owned.get();
        doc.gpsConnection = std::move(owned);
        if (commands & 0x01) {
            doc.CheckConnection();
        }
        if (commands & 0x02) {
            doc.DownloadWaypointsIntoDoc();
        }
        if (commands & 0x04) {
            doc.DownloadTrackpointsIntoDoc();
        }
        if (routeCommands & 0x01) {
            doc.DownloadRoutesIntoDoc();
        }
        if (commands & 0x08) {
            connection->SetClockFromGps();
        }
        if (commands & 0x10) {
            doc.UploadWaypointsFromDoc();
        }
        if (commands & 0x20) {
            doc.UploadTrackpointsFromDoc();
        }
        if (routeCommands & 0x02) {
            doc.UploadRoutesFromDoc();
        }
        if (commands & 0x40) {
            connection->PowerOff();
        }
        FUZZ_CHECK(doc.waypointCount() <= MAX_DOC_RECORDS &&
                       doc.trackpointCount() <= MAX_DOC_RECORDS && RoutesFit(doc.Routes()),
                   "a download gave the document more records than it holds");
    }
    stage.script = nullptr;
    FUZZ_CHECK(script.openPorts == 0, "the port stayed open after the last link");
    return 0;
}

}  // namespace

ORVI_FUZZ_TARGET("link", FuzzLink)
