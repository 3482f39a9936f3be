// The soak test of the receiver link: `orvi upload` and `orvi download` run again and again
// against a simulated receiver that misbehaves at random (refused and damaged frames, frames
// lost, frames in bursts, pauses), on one line paced at 9600 baud and on one unpaced, until
// the time is up. Each round trip sends fresh records up and fetches them back. A transfer
// may fail, but only with a message and without touching its file; a record that arrives
// different from what was sent is a bug.
//
// A third line plays every known unit in turn (its own protocols and types, the faster line
// where it has one): `orvi download all` fetches what it holds, waypoints, track log and
// routes, and `orvi upload` sends that back to it emptied; both must give the same bytes.
//
// orvi-soak [--seconds N] [--seed N] [--orvi PATH]
// Prints the counts of each line and in all; exit status 1 when anything came back wrong.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <CLI/CLI.hpp>

#include "framework/ArchiveException.h"
#include "gps/CDataDoc.h"
#include "link/GarminSimulator.h"
#include "link/UnitData.h"
#include "link/UnitProfile.h"
#include "link/PseudoTerminal.h"
#include "tests/TempDir.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWaypoints = 1000;
constexpr int kTrackpoints = 10000;
constexpr int kBaud = 9600;

// The bytes one record and its acknowledgement take on the line, about: the estimate of
// whether a paced round trip still fits in the time left.
constexpr double kWaypointLineBytes = 66 + 8;
constexpr double kTrackpointLineBytes = 19 + 8;

std::mutex outputMutex;

void Say(const char* format, auto... args)
{
    std::lock_guard lock(outputMutex);
    std::printf(format, args...);
    std::fflush(stdout);
}

struct Counts {
    int roundTrips = 0;
    int ok = 0;
    int failedCleanly = 0;
    int wrong = 0;

    void Add(const Counts& other)
    {
        roundTrips += other.roundTrips;
        ok += other.ok;
        failedCleanly += other.failedCleanly;
        wrong += other.wrong;
    }
};

struct Outcome {
    int status = -1;  // exit status; -1 when it did not end in time or was killed
    std::string errors;
};

// Runs `orvi` with `arguments`, standard error into `errPath`; kills it after `limit`.
Outcome RunOrvi(const std::string& orvi, std::vector<std::string> arguments,
                const std::string& errPath, std::chrono::seconds limit)
{
    arguments.insert(arguments.begin(), orvi);
    std::vector<char*> argv;
    for (std::string& a : arguments) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    Outcome outcome;
    pid_t pid = ::fork();
    if (pid == 0) {
        int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, STDIN_FILENO);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(err, STDERR_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    if (pid < 0) {
        return outcome;
    }
    auto until = Clock::now() + limit;
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) != pid) {
        if (Clock::now() >= until) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            outcome.errors =
                "(killed: still running after " + std::to_string(limit.count()) + " s)";
            return outcome;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::vector<uint8_t> err = ReadBytes(errPath);
    outcome.errors.assign(err.begin(), err.end());
    return outcome;
}

template <class Record>
bool Same(const std::vector<Record>& a, const std::vector<Record>& b)
{
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(Record)) == 0);
}

// Records as a user's file may hold them, with every byte value in the binary fields (0x10
// among them, which the line doubles).
std::vector<WaypointRecord> RandomWaypoints(std::mt19937& random, int count)
{
    static const char kIdent[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 -";
    std::uniform_int_distribution<int> letter(0, sizeof kIdent - 2);
    std::uniform_int_distribution<int> text(0x20, 0xFF);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int32_t> latitude(-0x3FFFFFFF, 0x3FFFFFFF);
    std::uniform_int_distribution<int32_t> longitude(INT32_MIN, INT32_MAX);
    std::vector<WaypointRecord> records(static_cast<size_t>(count));
    for (WaypointRecord& w : records) {
        std::memset(&w, 0, sizeof w);
        for (char& c : w.ident) {
            c = kIdent[letter(random)];
        }
        int length = std::uniform_int_distribution<int>(0, sizeof w.comment)(random);
        for (int i = 0; i < length; ++i) {
            w.comment[i] = static_cast<char>(text(random));
        }
        w.latitude = latitude(random);
        w.longitude = longitude(random);
        w.symbol = static_cast<int16_t>(byte(random));  // the line carries one byte of it
        w.display = static_cast<uint8_t>(byte(random) % 3);
    }
    return records;
}

std::vector<TrackpointRecord> RandomTrackpoints(std::mt19937& random, int count)
{
    std::uniform_int_distribution<int32_t> latitude(-0x3FFFFFFF, 0x3FFFFFFF);
    std::uniform_int_distribution<int32_t> longitude(INT32_MIN, INT32_MAX);
    std::uniform_int_distribution<uint32_t> time(0, UINT32_MAX);
    std::vector<TrackpointRecord> records(static_cast<size_t>(count));
    for (size_t i = 0; i < records.size(); ++i) {
        records[i] = {latitude(random), longitude(random), time(random),
                      static_cast<uint8_t>(i == 0 || random() % 50 == 0)};
    }
    return records;
}

bool Save(CDataDoc& doc, const std::string& path)
{
    try {
        doc.OnSaveDocument(path);
        return true;
    } catch (const ArchiveException& e) {
        Say("orvi-soak: %s: %s\n", path.c_str(), e.what());
        return false;
    }
}

// One line to one simulated receiver, and the round trips over it.
class Lane {
public:
    Lane(std::string name, int baud, uint32_t seed, std::string orvi, bool units = false)
        : name_(std::move(name)),
          baud_(baud),
          seed_(seed),
          orvi_(std::move(orvi)),
          random_(seed),
          units_(units)
    {
    }

    bool Start()
    {
        std::string error;
        auto pty = PseudoTerminal::Create(error);
        if (!pty) {
            Say("orvi-soak: %s: %s\n", name_.c_str(), error.c_str());
            return false;
        }
        device_ = pty->DevicePath();
        sim_.SetBaudRate(baud_);
        RandomFaults faults;
        faults.seed = seed_;
        faults.refuseRecord = 0.01;
        faults.corrupt = 0.01;
        faults.noise = 0.003;
        faults.lose = 0.001;
        faults.burst = 0.02;
        faults.pause = 0.003;
        sim_.SetRandomFaults(faults);
        return sim_.Start(std::move(pty));
    }

    // Round trips, waypoints and track logs in turn, until `deadline`; a paced line starts
    // none that would not end before it.
    void Run(Clock::time_point deadline)
    {
        for (size_t unit = 0; units_ && Clock::now() < deadline; ++unit) {
            UnitRoundTrip(KnownUnits()[unit % KnownUnits().size()]);
        }
        for (bool track = false; !units_; track = !track) {
            if (Clock::now() >= deadline) {
                return;
            }
            if (baud_ > 0) {
                auto left = std::chrono::duration<double>(deadline - Clock::now()).count();
                if (EstimatedSeconds(track) > left) {
                    track = !track;
                    if (EstimatedSeconds(track) > left) {
                        return;
                    }
                }
            }
            if (track) {
                RoundTrip<TrackpointRecord>();
            } else {
                RoundTrip<WaypointRecord>();
            }
        }
    }

    void Stop() { sim_.Stop(); }

    const Counts& counts() const { return counts_; }
    const std::string& name() const { return name_; }
    SimulatorStats stats() const { return sim_.Stats(); }

private:
    double EstimatedSeconds(bool track) const
    {
        double bytes =
            track ? kTrackpoints * kTrackpointLineBytes : kWaypoints * kWaypointLineBytes;
        return 2 * 1.1 * bytes * 10 / baud_ + 5;
    }

    template <class Record>
    void RoundTrip()
    {
        constexpr bool isTrack = std::is_same_v<Record, TrackpointRecord>;
        const char* kind = isTrack ? "trackpoints" : "waypoints";
        std::vector<Record> sent;
        if constexpr (isTrack) {
            sent = RandomTrackpoints(random_, kTrackpoints);
        } else {
            sent = RandomWaypoints(random_, kWaypoints);
        }
        const int number = ++counts_.roundTrips;
        std::string upPath = dir_.File("up.orvd");
        std::string downPath = dir_.File("down.orvd");
        CDataDoc up;
        if constexpr (isTrack) {
            up.ReplaceTrackpoints(sent);
        } else {
            up.ReplaceWaypoints(sent);
        }
        if (!Save(up, upPath)) {
            Wrong(number, kind, "the file to upload could not be written");
            return;
        }
        // What the receiver held before: a failed upload leaves it or replaces it whole.
        std::vector<Record> before = Held<Record>();
        // Long enough for the slowest honest transfer: every record failing once.
        auto limit = std::chrono::seconds(baud_ > 0 ? 3600 : 1800);

        auto start = Clock::now();
        Outcome upload = RunOrvi(
            orvi_, {"upload", upPath, isTrack ? "--track" : "--waypoints", "--port", device_},
            dir_.File("upload.err"), limit);
        std::vector<Record> held = Held<Record>();
        if (upload.status == 0 && !Same(held, sent)) {
            Wrong(number, kind, "the upload succeeded, but the receiver holds other records");
            return;
        }
        if (upload.status != 0) {
            if (upload.status < 0 || upload.errors.empty()) {
                Wrong(number, kind,
                      ("the upload failed without a message " + upload.errors).c_str());
                return;
            }
            if (!Same(held, sent) && !Same(held, before)) {
                Wrong(number, kind, "a failed upload left the receiver with a mixture");
                return;
            }
        }

        // The download goes into a file that holds something already, which a failed
        // download must leave as it is.
        CDataDoc old;
        old.ReplaceWaypoints(RandomWaypoints(random_, 3));
        old.ReplaceTrackpoints(RandomTrackpoints(random_, 3));
        if (!Save(old, downPath)) {
            Wrong(number, kind, "the file to download into could not be written");
            return;
        }
        std::vector<uint8_t> oldBytes = ReadBytes(downPath);
        Outcome download = RunOrvi(
            orvi_, {"download", isTrack ? "track" : "waypoints", "-o", downPath, "--port", device_},
            dir_.File("download.err"), limit);
        if (download.status != 0) {
            if (download.status < 0 || download.errors.empty()) {
                Wrong(number, kind,
                      ("the download failed without a message " + download.errors).c_str());
            } else if (ReadBytes(downPath) != oldBytes) {
                Wrong(number, kind, "a failed download changed its file");
            } else {
                Clean(number, kind, upload.status != 0 ? upload.errors : download.errors);
            }
            return;
        }
        CDataDoc got;
        try {
            got.OnOpenDocument(downPath);
        } catch (const ArchiveException& e) {
            Wrong(number, kind, "the downloaded file cannot be read");
            return;
        }
        std::vector<Record> fetched;
        if constexpr (isTrack) {
            fetched = got.Trackpoints();
        } else {
            fetched = got.Waypoints();
        }
        if (!Same(fetched, Held<Record>())) {
            Wrong(number, kind, "the download succeeded with other records than the receiver's");
            return;
        }
        if (upload.status != 0) {
            Clean(number, kind, upload.errors);
            return;
        }
        ++counts_.ok;
        Say("%s: round trip %d, %d %s: ok in %.1f s\n", name_.c_str(), number,
            static_cast<int>(sent.size()), kind,
            std::chrono::duration<double>(Clock::now() - start).count());
    }

    // What a unit holds, down into a file and up again into the unit emptied.
    void UnitRoundTrip(const UnitProfile& unit)
    {
        const int number = ++counts_.roundTrips;
        sim_.SetUnit(unit);
        sim_.SetRecords(UnitSampleRecords(unit));
        const GpsRecords held = sim_.Records();
        const std::string path = dir_.File("unit.orvd");
        std::filesystem::remove(path);
        auto limit = std::chrono::seconds(600);
        Outcome download = RunOrvi(orvi_, {"download", "all", "-o", path, "--port", device_},
                                   dir_.File("download.err"), limit);
        if (download.status != 0) {
            EndsCleanly(number, unit.model, download, !std::filesystem::exists(path));
            return;
        }
        CDataDoc got;
        try {
            got.OnOpenDocument(path);
        } catch (const ArchiveException&) {
            Wrong(number, unit.model, "the downloaded file cannot be read");
            return;
        }
        if (!SameBytes(got.Records(), held)) {
            Wrong(number, unit.model, "the download succeeded with other data than the unit's");
            return;
        }
        sim_.SetRecords({});
        Outcome upload = RunOrvi(orvi_, {"upload", path, "--port", device_},
                                 dir_.File("upload.err"), limit);
        if (upload.status != 0) {
            EndsCleanly(number, unit.model, upload, true);
            return;
        }
        if (!SameBytes(sim_.Records(), held)) {
            Wrong(number, unit.model, "the upload succeeded, but the unit holds other data");
            return;
        }
        ++counts_.ok;
        Say("%s: round trip %d, %s: ok\n", name_.c_str(), number, unit.model);
    }

    // A failed transfer: with a message, and `untouched` what it must not have changed.
    void EndsCleanly(int number, const char* kind, const Outcome& outcome, bool untouched)
    {
        if (outcome.status < 0 || outcome.errors.empty()) {
            Wrong(number, kind, ("failed without a message " + outcome.errors).c_str());
        } else if (!untouched) {
            Wrong(number, kind, "a failed download wrote its file");
        } else {
            Clean(number, kind, outcome.errors);
        }
    }

    static bool SameBytes(const GpsRecords& a, const GpsRecords& b)
    {
        auto same = [](const auto& x, const auto& y) {
            return x.size() == y.size() &&
                   (x.empty() || std::memcmp(x.data(), y.data(), x.size() * sizeof x[0]) == 0);
        };
        return same(a.waypoints, b.waypoints) && same(a.waypointDetails, b.waypointDetails) &&
               same(a.trackpoints, b.trackpoints) &&
               same(a.trackpointDetails, b.trackpointDetails) && SameRoutes(a.routes, b.routes);
    }

    template <class Record>
    std::vector<Record> Held() const
    {
        if constexpr (std::is_same_v<Record, TrackpointRecord>) {
            return sim_.Trackpoints();
        } else {
            return sim_.Waypoints();
        }
    }

    void Clean(int number, const char* kind, std::string message)
    {
        ++counts_.failedCleanly;
        while (!message.empty() && message.back() == '\n') {
            message.pop_back();
        }
        for (char& c : message) {
            c = c == '\n' ? '|' : c;
        }
        Say("%s: round trip %d, %s: failed with the message \"%s\"\n", name_.c_str(), number, kind,
            message.c_str());
    }

    void Wrong(int number, const char* kind, const char* what)
    {
        ++counts_.wrong;
        Say("%s: round trip %d, %s: WRONG: %s\n", name_.c_str(), number, kind, what);
    }

    std::string name_;
    int baud_;
    uint32_t seed_;
    std::string orvi_;
    std::mt19937 random_;
    TempDir dir_;
    GarminSimulator sim_;
    std::string device_;
    Counts counts_;
    bool units_;
};

void PrintCounts(const char* name, const Counts& c)
{
    Say("%-16s round trips %4d   ok %4d   failed cleanly %4d   wrong %d\n", name, c.roundTrips,
        c.ok, c.failedCleanly, c.wrong);
}

}  // namespace

int main(int argc, char** argv)
{
    int seconds = 300;
    uint32_t seed = 1;
    std::string orvi = (std::filesystem::path(argv[0]).parent_path() / "orvi").string();
    CLI::App app{"orvi-soak: upload and download round trips against a misbehaving receiver"};
    app.add_option("--seconds", seconds, "How long to start new round trips")
        ->check(CLI::PositiveNumber);
    app.add_option("--seed", seed, "Seed of the records and of the receiver's faults");
    app.add_option("--orvi", orvi, "The orvi program");
    CLI11_PARSE(app, argc, argv);
    if (::access(orvi.c_str(), X_OK) != 0) {
        std::fprintf(stderr, "orvi-soak: %s: not found\n", orvi.c_str());
        return 2;
    }

    Lane lanes[] = {{"unpaced", 0, seed, orvi},
                    {"9600 baud", kBaud, seed + 1, orvi},
                    {"known units", 0, seed + 2, orvi, true}};
    for (Lane& lane : lanes) {
        if (!lane.Start()) {
            return 2;
        }
    }
    Say("orvi-soak: %d s, seed %u: %d waypoints and %d trackpoints up and down\n", seconds, seed,
        kWaypoints, kTrackpoints);
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(seconds);
    std::vector<std::thread> threads;
    for (Lane& lane : lanes) {
        threads.emplace_back([&lane, deadline] { lane.Run(deadline); });
    }
    for (std::thread& t : threads) {
        t.join();
    }

    Counts all;
    Say("\n");
    for (Lane& lane : lanes) {
        SimulatorStats s = lane.stats();
        lane.Stop();
        Say("%s: the receiver refused %d packets, had %d refused, sent %d again; %d faults\n",
            lane.name().c_str(), s.naksSent, s.naksReceived, s.resends, s.randomFaults);
        PrintCounts(lane.name().c_str(), lane.counts());
        all.Add(lane.counts());
    }
    PrintCounts("all", all);
    return all.wrong == 0 ? 0 : 1;
}
