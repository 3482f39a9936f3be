// The receiver link end to end: a GPS data document's CGpsConnection opens the device of a
// pseudo-terminal through the POSIX port, with the simulator on the other end.
//
// Opening a link costs 1.2 s (the start-up read waits out a quiet line), so the whole suite
// shares one document and its connection, as the editor keeps one per open document; each
// test resets the simulator's faults and the recorded messages.

#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "framework/Settings.h"
#include "gps/CDataDoc.h"
#include "link/CGpsConnection.h"
#include "link/GarminSimulator.h"
#include "link/UnitData.h"
#include "link/GpsTimeConversion.h"
#include "link/PseudoTerminal.h"
#include "link/SharedPort.h"
#include "link/SystemClock.h"
#include "tests/TempDir.h"
#include "tests/gps/GpsTestRecords.h"
#include "tests/link/SimulatorTestHost.h"

namespace {

const char* const kDisturbed = "Kommunikation zum GPS gestört";

std::vector<WaypointRecord> Waypoints(int first, int count)
{
    std::vector<WaypointRecord> records;
    for (int i = first; i < first + count; ++i) {
        records.push_back(TestWaypoint(i));
    }
    return records;
}

std::vector<TrackpointRecord> Trackpoints(int first, int count)
{
    std::vector<TrackpointRecord> records;
    for (int i = first; i < first + count; ++i) {
        records.push_back(TestTrackpoint(i));
    }
    return records;
}

template <class Record>
bool Same(const std::vector<Record>& a, const std::vector<Record>& b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (!SameBytes(a[i], b[i])) {
            return false;
        }
    }
    return true;
}

// Everything the suite shares, in the order it is built.
struct Rig {
    TempDir dir;
    MemorySettings settings;
    RecordingPrompts prompts;
    Settings* previousSettings = nullptr;
    Prompts* previousPrompts = nullptr;
    GarminSimulator sim;
    std::string link;  // the symbolic link the port setting names
    std::vector<std::string> openingMessages;
    CDataDoc doc;

    // Starts the simulator on a new pseudo-terminal linked at `link`.
    bool Plug()
    {
        std::string error;
        auto pty = PseudoTerminal::Create(error);
        if (!pty || !pty->LinkAs(link, error)) {
            ADD_FAILURE() << error;
            return false;
        }
        return sim.Start(std::move(pty));
    }
};

class SimulatorLink : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        b = new Rig;
        b->link = b->dir.File("gps");
        b->settings.SetString("Settings", "Port", b->link);
        b->previousSettings = Settings::SetCurrent(&b->settings);
        b->previousPrompts = Prompts::SetCurrent(&b->prompts);
        if (b->Plug()) {
            b->doc.gpsConnection = std::make_unique<CGpsConnection>();
        }
        b->openingMessages = b->prompts.messages;
    }

    static void TearDownTestSuite()
    {
        b->doc.gpsConnection.reset();
        b->sim.Stop();
        Settings::SetCurrent(b->previousSettings);
        Prompts::SetCurrent(b->previousPrompts);
        delete b;
        b = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(b->doc.gpsConnection) << "no connection";
        b->sim.SetFaults({});
        b->sim.SetRandomFaults({});
        b->sim.ResetStats();
        b->prompts.messages.clear();
    }

    static CGpsConnection& Connection()
    {
        return static_cast<CGpsConnection&>(*b->doc.gpsConnection);
    }
    static CDataDoc& Doc() { return b->doc; }
    static GarminSimulator& Sim() { return b->sim; }
    static std::vector<std::string>& Messages() { return b->prompts.messages; }

    static Rig* b;
};

Rig* SimulatorLink::b = nullptr;

TEST_F(SimulatorLink, OpeningFindsTheReceiverAndTheProductExchangeShowsItsDescription)
{
    EXPECT_TRUE(b->openingMessages.empty()) << b->openingMessages.front();
    EXPECT_EQ(Connection().RequestProduct(1), 0);
    EXPECT_EQ(Messages(), std::vector<std::string>{"GPS 12 Software Version 4.60"});
    EXPECT_EQ(Connection().link().productId(), 77);
    EXPECT_EQ(Connection().link().softwareVersion(), 460);
}

TEST_F(SimulatorLink, DownloadsGiveTheReceiversRecordsByteForByte)
{
    std::vector<WaypointRecord> waypoints = Waypoints(1, 25);
    waypoints[3].symbol = 200;                                            // a symbol byte above 127
    std::memset(waypoints[4].comment, 'x', sizeof waypoints[4].comment);  // no terminator
    Sim().SetWaypoints(waypoints);
    Sim().SetTrackpoints(Trackpoints(0, 150));

    EXPECT_EQ(Doc().DownloadWaypointsIntoDoc(), 0);
    EXPECT_EQ(Doc().DownloadTrackpointsIntoDoc(), 0);
    EXPECT_TRUE(Same(Doc().Waypoints(), waypoints));
    EXPECT_TRUE(Same(Doc().Trackpoints(), Trackpoints(0, 150)));
    EXPECT_TRUE(Messages().empty());
    EXPECT_TRUE(WaitUntil([] { return Sim().Stats().downloadsDone == 2; }));
}

TEST_F(SimulatorLink, UploadThenDownloadGivesTheSameRecordsBack)
{
    Sim().SetWaypoints(Waypoints(50, 2));
    Sim().SetTrackpoints({});
    Doc().ReplaceWaypoints(Waypoints(100, 12));
    Doc().ReplaceTrackpoints(Trackpoints(7, 40));
    EXPECT_EQ(Doc().UploadWaypointsFromDoc(), 0);
    EXPECT_EQ(Doc().UploadTrackpointsFromDoc(), 0);
    EXPECT_TRUE(Same(Sim().Waypoints(), Waypoints(100, 12)));
    EXPECT_TRUE(Same(Sim().Trackpoints(), Trackpoints(7, 40)));

    // A host that flushes the device between operations.
    {
        SharedPort::Lease lease = SharedPort::Instance().Borrow();
        auto* port = dynamic_cast<PosixSerialPort*>(lease.get());
        ASSERT_TRUE(port);
        ::tcflush(port->fd(), TCIOFLUSH);
    }

    Doc().ReplaceWaypoints({});
    Doc().ReplaceTrackpoints({});
    EXPECT_EQ(Doc().DownloadWaypointsIntoDoc(), 0);
    EXPECT_EQ(Doc().DownloadTrackpointsIntoDoc(), 0);
    EXPECT_TRUE(Same(Doc().Waypoints(), Waypoints(100, 12)));
    EXPECT_TRUE(Same(Doc().Trackpoints(), Trackpoints(7, 40)));
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Sim().Stats().uploadsStored, 2);
}

TEST_F(SimulatorLink, RefusedDamagedOrNoisyRecordsAreRepeatedWithoutAMessage)
{
    enum Transfer { WaypointDownload, TrackDownload, WaypointUpload, TrackUpload };
    struct Case {
        const char* legend;
        Transfer transfer;
        RecordFault SimulatorFaults::*fault;
        int record;
        int SimulatorStats::*evidence;  // what shows that the fault happened
    } cases[] = {
        {"corrupt waypoint 2", WaypointDownload, &SimulatorFaults::corruptRecord, 2,
         &SimulatorStats::naksReceived},
        {"stray bytes before trackpoint 9", TrackDownload, &SimulatorFaults::strayRecord, 9,
         &SimulatorStats::naksReceived},
        {"corrupt last trackpoint", TrackDownload, &SimulatorFaults::corruptRecord, 10,
         &SimulatorStats::naksReceived},
        {"uploaded waypoint 3 refused", WaypointUpload, &SimulatorFaults::nakUpload, 3,
         &SimulatorStats::naksSent},
        {"uploaded trackpoint 1 refused", TrackUpload, &SimulatorFaults::nakUpload, 1,
         &SimulatorStats::naksSent},
    };
    for (const Case& c : cases) {
        Messages().clear();
        Sim().ResetStats();
        SimulatorFaults faults;
        (faults.*c.fault).record = c.record;
        Sim().SetFaults(faults);
        Sim().SetWaypoints(Waypoints(1, 4));
        Sim().SetTrackpoints(Trackpoints(1, 10));
        Doc().ReplaceWaypoints(Waypoints(20, 4));
        Doc().ReplaceTrackpoints(Trackpoints(20, 10));
        switch (c.transfer) {
        case WaypointDownload:
            EXPECT_EQ(Doc().DownloadWaypointsIntoDoc(), 0) << c.legend;
            EXPECT_TRUE(Same(Doc().Waypoints(), Waypoints(1, 4))) << c.legend;
            break;
        case TrackDownload:
            EXPECT_EQ(Doc().DownloadTrackpointsIntoDoc(), 0) << c.legend;
            EXPECT_TRUE(Same(Doc().Trackpoints(), Trackpoints(1, 10))) << c.legend;
            break;
        case WaypointUpload:
            EXPECT_EQ(Doc().UploadWaypointsFromDoc(), 0) << c.legend;
            EXPECT_TRUE(Same(Sim().Waypoints(), Waypoints(20, 4))) << c.legend;
            break;
        case TrackUpload:
            EXPECT_EQ(Doc().UploadTrackpointsFromDoc(), 0) << c.legend;
            EXPECT_TRUE(Same(Sim().Trackpoints(), Trackpoints(20, 10))) << c.legend;
            break;
        }
        EXPECT_TRUE(Messages().empty()) << c.legend;
        EXPECT_EQ(Sim().Stats().*c.evidence, 1) << c.legend;
    }
}

// Faults at random cost retries, and at worst a transfer that fails with a message and
// changes nothing; never a record.
TEST_F(SimulatorLink, RandomFaultsNeverChangeARecord)
{
    RandomFaults faults;
    faults.seed = 5;
    faults.refuseRecord = 0.1;
    faults.corrupt = 0.05;
    faults.noise = 0.05;
    faults.lose = 0.02;
    faults.burst = 0.2;
    faults.pause = 0.1;
    Sim().SetRandomFaults(faults);

    Sim().SetWaypoints(Waypoints(1, 30));
    Doc().ReplaceWaypoints(Waypoints(70, 3));
    if (Doc().DownloadWaypointsIntoDoc() == 0) {
        EXPECT_TRUE(Same(Doc().Waypoints(), Waypoints(1, 30)));
    } else {
        EXPECT_FALSE(Messages().empty());
        EXPECT_TRUE(Same(Doc().Waypoints(), Waypoints(70, 3)));
    }
    std::vector<TrackpointRecord> before = Sim().Trackpoints();
    Doc().ReplaceTrackpoints(Trackpoints(0, 60));
    Messages().clear();
    if (Doc().UploadTrackpointsFromDoc() == 0) {
        EXPECT_TRUE(Same(Sim().Trackpoints(), Trackpoints(0, 60)));
    } else {
        EXPECT_FALSE(Messages().empty());
        EXPECT_TRUE(Same(Sim().Trackpoints(), Trackpoints(0, 60)) ||
                    Same(Sim().Trackpoints(), before));
    }
    SimulatorStats stats = Sim().Stats();
    EXPECT_GT(stats.randomFaults, 10);
    EXPECT_GT(stats.resends + stats.naksSent, 0);
}

TEST_F(SimulatorLink, AnUploadRefusedEveryTimeFailsAndTheReceiverKeepsItsRecords)
{
    Sim().SetWaypoints(Waypoints(1, 3));
    SimulatorFaults faults;
    faults.nakUpload = {2, true};
    Sim().SetFaults(faults);
    Doc().ReplaceWaypoints(Waypoints(30, 3));
    EXPECT_EQ(Doc().UploadWaypointsFromDoc(), -4);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Fehlermeldung des GPS"});
    EXPECT_TRUE(Same(Sim().Waypoints(), Waypoints(1, 3)));
}

TEST_F(SimulatorLink, AGivenUpDownloadLeavesNothingOnTheLineForTheNextCommand)
{
    Sim().SetWaypoints(Waypoints(1, 1));
    SimulatorFaults faults;
    faults.corruptRecord = {1, true};
    Sim().SetFaults(faults);
    EXPECT_EQ(Connection().DownloadWaypoints(), -4);
    EXPECT_EQ(Messages().size(), 1u);
    Sim().SetFaults({});
    Messages().clear();
    EXPECT_EQ(Connection().RequestProduct(0), 0);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(SimulatorLink, FramesSplitOrJoinedWhateverTheTimingStillTransfer)
{
    SimulatorFaults split;
    split.burstBytes = 7;  // an acknowledgement comes as 7 bytes and, 12-16 ms later, 1
    SimulatorFaults joined;
    joined.joinFrames = true;  // an acknowledgement and the packet after it in one read
    for (const SimulatorFaults& faults : {split, joined}) {
        Sim().SetFaults(faults);
        Sim().ResetStats();
        Sim().SetWaypoints(Waypoints(1, 3));
        EXPECT_EQ(Doc().DownloadWaypointsIntoDoc(), 0);
        EXPECT_TRUE(Same(Doc().Waypoints(), Waypoints(1, 3)));
        Doc().ReplaceTrackpoints(Trackpoints(1, 4));
        EXPECT_EQ(Doc().UploadTrackpointsFromDoc(), 0);
        EXPECT_TRUE(Same(Sim().Trackpoints(), Trackpoints(1, 4)));
        EXPECT_TRUE(Messages().empty());
        EXPECT_EQ(Sim().Stats().naksReceived, 0);
    }
}

TEST_F(SimulatorLink, TheLineRunsFasterWhereTheReceiverSwitchesAndElseStaysAtItsBaseRate)
{
    CGpsLink& link = Connection().link();
    Sim().SetWaypoints(Waypoints(1, 3));
    Sim().SetFastestBaud(115200);
    EXPECT_EQ(link.SwitchBaudRate(115200), 115200);
    EXPECT_EQ(Sim().LineBaud(), 115200);
    EXPECT_EQ(Doc().DownloadWaypointsIntoDoc(), 0);
    EXPECT_TRUE(Same(Doc().Waypoints(), Waypoints(1, 3)));
    EXPECT_EQ(link.SwitchBaudRate(BASE_BAUD), BASE_BAUD);
    EXPECT_EQ(Sim().LineBaud(), BASE_BAUD);
    EXPECT_TRUE(Messages().empty());

    // Each failure leaves both ends at 9600 baud, says why, and the link goes on working.
    struct Case {
        int fastest;
        int named;
        const char* message;
    };
    const Case cases[] = {
        {BASE_BAUD, 0, "Der Empfänger wechselt nicht auf 115200 Baud; weiter mit 9600 Baud."},
        {115200, 12345,
         "Der Empfänger nennt 12345 Baud, eine Rate, die die Schnittstelle nicht einstellen "
         "kann; weiter mit 9600 Baud."},
        {115200, 57600, "Der Empfänger hat 57600 Baud nicht bestätigt; weiter mit 9600 Baud."},
    };
    for (const Case& c : cases) {
        Sim().SetFastestBaud(c.fastest);
        SimulatorFaults faults;
        faults.namedBaud = c.named;
        Sim().SetFaults(faults);
        Messages().clear();
        EXPECT_EQ(link.SwitchBaudRate(115200), BASE_BAUD);
        EXPECT_EQ(Messages(), std::vector<std::string>{c.message});
        EXPECT_EQ(Sim().LineBaud(), BASE_BAUD);
        Messages().clear();
        EXPECT_EQ(Doc().DownloadWaypointsIntoDoc(), 0) << c.message;
        EXPECT_TRUE(Messages().empty()) << c.message;
    }
    Sim().SetFastestBaud(BASE_BAUD);
}

TEST_F(SimulatorLink, EveryKnownUnitGivesWhatItHoldsAndTakesItBackTheSame)
{
    for (const UnitProfile& unit : KnownUnits()) {
        SCOPED_TRACE(unit.model);
        Sim().SetUnit(unit);
        Sim().SetRecords(UnitSampleRecords(unit));
        const GpsRecords held = Sim().Records();
        ASSERT_EQ(Connection().RequestProduct(0), 0);
        EXPECT_EQ(Doc().DownloadWaypointsIntoDoc(), 0);
        EXPECT_EQ(Doc().DownloadTrackpointsIntoDoc(), 0);
        EXPECT_EQ(Doc().DownloadRoutesIntoDoc(), 0);
        EXPECT_TRUE(SameRecordBytes(Doc().Records(), held));
        EXPECT_STREQ(Doc().Receiver().id, unit.model);

        Sim().SetRecords({});
        EXPECT_EQ(Doc().UploadWaypointsFromDoc(), 0);
        EXPECT_EQ(Doc().UploadTrackpointsFromDoc(), 0);
        EXPECT_EQ(Doc().UploadRoutesFromDoc(), 0);
        EXPECT_TRUE(SameRecordBytes(Sim().Records(), held));
        EXPECT_TRUE(Messages().empty()) << Messages().front();
        EXPECT_EQ(Sim().LineBaud(), BASE_BAUD);
    }
    Sim().SetUnit(KnownUnits().front());
    Sim().SetRecords({});
    EXPECT_EQ(Connection().RequestProduct(0), 0);
    Doc().SetReceiver("gps12");
}

TEST_F(SimulatorLink, ASilentReceiverGivesTheTimeOutMessageAndNoHang)
{
    Sim().SetWaypoints(Waypoints(1, 2));
    Doc().ReplaceWaypoints(Waypoints(40, 2));
    SimulatorFaults faults;
    faults.silent = true;
    Sim().SetFaults(faults);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Doc().DownloadWaypointsIntoDoc(), -1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    ASSERT_FALSE(Messages().empty());
    for (const std::string& m : Messages()) {
        EXPECT_EQ(m, kDisturbed);
    }
    EXPECT_TRUE(Same(Doc().Waypoints(), Waypoints(40, 2)));

    Sim().SetFaults({});
    Messages().clear();
    EXPECT_EQ(Connection().RequestProduct(0), 0);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(SimulatorLink, TheTimeExchangeReturnsTheReceiversClock)
{
    Sim().SetClock([] { return int64_t{1007735445}; });  // 7 December 2001, 14:30:45
    GpsTime time;
    ASSERT_EQ(Connection().ReadGpsTime(time), 0);
    EXPECT_EQ(time.year, 2001);
    EXPECT_EQ(time.month, 12);
    EXPECT_EQ(time.day, 7);
    EXPECT_EQ(time.hour, 14);
    EXPECT_EQ(time.minute, 30);
    EXPECT_EQ(time.second, 45);

    // The computer's clock with the week rollover: 1024 weeks early on the line, put right
    // by the link's reading of it.
    Sim().SetClock(nullptr);
    Sim().SetWeekRollover(true);
    ASSERT_EQ(Connection().ReadGpsTime(time), 0);
    Sim().SetWeekRollover(false);
    EXPECT_LT(time.year, 2010);
    auto read = ReceiverTimeUtc(time, BuildDateUtc());
    ASSERT_TRUE(read);
    EXPECT_NEAR(static_cast<double>(*read), static_cast<double>(::time(nullptr)), 5.0);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(SimulatorLink, PowerOffIsNotedAndTheLinkGoesOnWorking)
{
    Connection().PowerOff();
    ASSERT_TRUE(WaitUntil([] { return Sim().Stats().powerOffs == 1; }));
    EXPECT_EQ(Connection().RequestProduct(0), 0);
    EXPECT_TRUE(Messages().empty());
}

// Last, because it plugs in a new pseudo-terminal and the link opens it again.
TEST_F(SimulatorLink, AReceiverThatHangsUpMidTransferEndsItAndTheLinkReopensLater)
{
    Sim().SetWaypoints(Waypoints(1, 5));
    Doc().ReplaceWaypoints(Waypoints(60, 2));
    SimulatorFaults faults;
    faults.hangUpAtRecord = 3;
    Sim().SetFaults(faults);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Doc().DownloadWaypointsIntoDoc(), -4);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(Messages(), std::vector<std::string>{kDisturbed});
    EXPECT_TRUE(Same(Doc().Waypoints(), Waypoints(60, 2)));  // no half download
    EXPECT_TRUE(SharedPort::Instance().Vanished());
    ASSERT_TRUE(WaitUntil([] { return !Sim().Serving(); }));
    EXPECT_TRUE(Sim().Stats().hungUp);
    EXPECT_EQ(Sim().Faults().hangUpAtRecord, 0);  // once

    // The receiver comes back on a new device at the same path; the same connection finds it.
    CGpsConnection* same = &Connection();
    ASSERT_TRUE(b->Plug());
    Messages().clear();
    EXPECT_EQ(Doc().DownloadWaypointsIntoDoc(), 0);
    EXPECT_TRUE(Same(Doc().Waypoints(), Waypoints(1, 5)));
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(&Connection(), same);
}

// The opening as `orvi` runs it, on a device of its own (after the suite above has let go of
// the shared port): it does not wait out a quiet line, and still reports and drops what a
// receiver sent before.
TEST(QuietStartup, OpeningEndsSoonAfterTheLineFallsQuiet)
{
    struct Case {
        const char* legend;
        ByteVector waiting;
        std::vector<std::string> messages;
    } cases[] = {
        {"a quiet line", {}, {}},
        {"a receiver that was talking", ByteVector(30, 0x55), {"Received 30 Byte(s) at startup"}},
    };
    for (const Case& c : cases) {
        std::string error;
        auto pty = PseudoTerminal::Create(error);
        ASSERT_TRUE(pty) << error;
        if (!c.waiting.empty()) {
            ASSERT_EQ(pty->Write(c.waiting.data(), static_cast<int>(c.waiting.size())),
                      static_cast<int>(c.waiting.size()));
        }
        MemorySettings settings;
        settings.SetString("Settings", "Port", pty->DevicePath());
        Settings* previous = Settings::SetCurrent(&settings);
        RecordingPrompts prompts;
        PromptsScope scope(prompts);
        GarminSimulator sim;
        ASSERT_TRUE(sim.Start(std::move(pty)));

        auto start = std::chrono::steady_clock::now();
        {
            CGpsConnection connection({}, StartupRead::UntilQuiet);
            auto took = std::chrono::steady_clock::now() - start;
            EXPECT_LT(took, std::chrono::milliseconds(400)) << c.legend;
            EXPECT_EQ(connection.link().productId(), 77) << c.legend;
        }
        Settings::SetCurrent(previous);
        EXPECT_EQ(prompts.messages, c.messages) << c.legend;
    }
}

}  // namespace
