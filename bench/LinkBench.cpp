// Transfers through the POSIX port against the simulator on a pseudo-terminal, paced as a
// 9600-baud line, timed against the time their bytes need on such a line: in this process
// over a link that is open already, and as a user runs them, `orvi download` from its start
// to its end (and GPSBabel's download, where it is installed, for comparison).

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>
#include <vector>

#include "bench/Bench.h"
#include "framework/ArchiveException.h"
#include "framework/Prompts.h"
#include "framework/Settings.h"
#include "gps/CDataDoc.h"
#include "link/CGpsConnection.h"
#include "link/GarminSimulator.h"
#include "link/PseudoTerminal.h"
#include "link/UnitProfile.h"

namespace {

constexpr int kBaud = 9600;

class CountingPrompts : public Prompts {
public:
    int messages = 0;
    void Message(const std::string& text) override
    {
        ++messages;
        std::fprintf(stderr, "orvi-bench: link says: %s\n", text.c_str());
    }
    bool Question(const std::string&) override { return false; }
};

std::vector<WaypointRecord> MakeWaypoints(int count)
{
    std::vector<WaypointRecord> records(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        WaypointRecord& w = records[static_cast<size_t>(i)];
        std::memset(&w, 0, sizeof w);
        char text[48];
        std::snprintf(text, sizeof text, "WP%04d", i);
        SetFieldText(w.ident, sizeof w.ident, text);
        std::snprintf(text, sizeof text, "waypoint number %d of the benchmark", i);
        SetFieldText(w.comment, sizeof w.comment, text);
        w.latitude = 560000000 + i * 1111;
        w.longitude = 95000000 - i * 777;
        w.symbol = static_cast<int16_t>(i % 16);
        w.display = static_cast<uint8_t>(i % 3);
    }
    return records;
}

std::vector<TrackpointRecord> MakeTrackpoints(int count)
{
    std::vector<TrackpointRecord> records(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        records[static_cast<size_t>(i)] = {560000000 + i * 97, 95000000 + i * 61,
                                           static_cast<uint32_t>(800000000 + i * 5),
                                           static_cast<uint8_t>(i % 500 == 0)};
    }
    return records;
}

template <class Record>
bool SameRecords(const std::vector<Record>& a, const std::vector<Record>& b)
{
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(Record)) == 0);
}

// Runs one transfer and reports its time against the wire time of every byte both sides
// put on the line during it.
void Time(GarminSimulator& sim, const std::string& name, const std::function<int()>& transfer,
          const std::function<bool()>& check)
{
    sim.ResetStats();
    auto start = std::chrono::steady_clock::now();
    int result = transfer();
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // The host's last acknowledgement of a download may still be on its way to the receiver.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    SimulatorStats stats = sim.Stats();
    double wire = static_cast<double>(stats.bytesSent + stats.bytesReceived) * 10.0 / kBaud;
    Report(name, seconds, "wire time at 9600 baud", wire);
    if (result != 0 || !check()) {
        std::printf("  the transfer failed (result %d) or its records differ\n", result);
    }
}

// A program to run: a path, or a name looked up on PATH. Empty when there is none.
std::string FindProgram(const std::string& name)
{
    if (name.find('/') != std::string::npos) {
        return ::access(name.c_str(), X_OK) == 0 ? name : std::string();
    }
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "";
    for (size_t start = 0; start <= dirs.size();) {
        size_t end = std::min(dirs.find(':', start), dirs.size());
        std::string candidate = dirs.substr(start, end - start) + "/" + name;
        if (end > start && ::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        start = end + 1;
    }
    return {};
}

// Runs a program to its end, its output into `log`; its exit status, or -1.
int RunProgram(std::vector<std::string> arguments, const std::string& log)
{
    std::vector<char*> argv;
    for (std::string& a : arguments) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    pid_t pid = ::fork();
    if (pid == 0) {
        int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(out, STDOUT_FILENO);
        ::dup2(out, STDERR_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid) {
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string FileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A download by another program, run three times against the simulator: the median of its
// times against the wire time of the bytes of that run. `check` looks at the output file.
void TimeProgram(GarminSimulator& sim, const std::string& name, std::vector<std::string> arguments,
                 const std::string& output, const std::string& log,
                 const std::function<bool()>& check)
{
    struct Run {
        double seconds;
        double wire;
    };
    std::vector<Run> runs;
    for (int i = 0; i < 3; ++i) {
        std::filesystem::remove(output);
        sim.ResetStats();
        auto start = std::chrono::steady_clock::now();
        int status = RunProgram(arguments, log);
        double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        SimulatorStats stats = sim.Stats();
        if (status != 0 || !check()) {
            std::printf("%-44s failed (exit status %d): %s\n", name.c_str(), status,
                        FileText(log).c_str());
            return;
        }
        runs.push_back(
            {seconds, static_cast<double>(stats.bytesSent + stats.bytesReceived) * 10.0 / kBaud});
    }
    std::sort(runs.begin(), runs.end(),
              [](const Run& a, const Run& b) { return a.seconds / a.wire < b.seconds / b.wire; });
    Report(name, runs[1].seconds, "wire time at 9600 baud", runs[1].wire);
}

// `orvi download waypoints` as a user runs it, from the start of the process to its end, and
// GPSBabel's download of the same waypoints from the same simulator when it is installed.
void RunProgramBenchmarks()
{
    std::string orvi =
        (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "orvi").string();
    char pattern[] = "/tmp/orvi-bench-link-XXXXXX";
    if (!::mkdtemp(pattern)) {
        std::perror("orvi-bench: no work directory");
        return;
    }
    const std::string dir = pattern;
    std::string error;
    std::unique_ptr<PseudoTerminal> pty = PseudoTerminal::Create(error);
    if (!pty) {
        std::fprintf(stderr, "orvi-bench: no program benchmarks: %s\n", error.c_str());
        return;
    }
    const std::string device = pty->DevicePath();
    const std::vector<WaypointRecord> waypoints = MakeWaypoints(100);
    GarminSimulator sim;
    sim.SetBaudRate(kBaud);
    sim.SetWaypoints(waypoints);
    sim.Start(std::move(pty));

    const std::string orvd = dir + "/download.orvd";
    TimeProgram(sim, "orvi download 100 waypoints, 9600 baud",
                {orvi, "download", "waypoints", "-o", orvd, "--port", device}, orvd,
                dir + "/orvi.log", [&] {
                    CDataDoc doc;
                    try {
                        doc.OnOpenDocument(orvd);
                    } catch (const ArchiveException&) {
                        return false;
                    }
                    return SameRecords(doc.Waypoints(), waypoints);
                });
    if (std::string gpsbabel = FindProgram("gpsbabel"); !gpsbabel.empty()) {
        const std::string gpx = dir + "/download.gpx";
        TimeProgram(sim, "gpsbabel download 100 waypoints, 9600 baud",
                    {gpsbabel, "-w", "-i", "garmin", "-f", device, "-o", "gpx", "-F", gpx}, gpx,
                    dir + "/gpsbabel.log", [&] {
                        std::string text = FileText(gpx);
                        size_t count = 0;
                        for (size_t at = text.find("<wpt "); at != std::string::npos;
                             at = text.find("<wpt ", at + 1)) {
                            ++count;
                        }
                        return count == waypoints.size();
                    });
    }
    sim.Stop();
    std::filesystem::remove_all(dir);
}

// 2000 track points from a unit that switches to 115200 baud for the transfer, against the
// time all its bytes would need at 9600 baud, and against the least time the switched line
// allows: every byte at the rate it went at, and the two waits of 100 ms between the
// receiver's answer and the switch of the port, there and back.
void TimeFasterLine(GarminSimulator& sim)
{
    const UnitProfile* unit = UnitByModel("gpsmap60csx");
    if (unit == nullptr) {
        return;
    }
    sim.SetUnit(*unit);
    GpsRecords held;
    held.trackpoints = MakeTrackpoints(2000);
    sim.SetRecords(held);
    const std::vector<TrackpointRecord> track = sim.Trackpoints();
    CGpsConnection connection;  // learns the unit and its fastest rate
    sim.ResetStats();
    auto start = std::chrono::steady_clock::now();
    int result = connection.DownloadTrackpoints();
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    SimulatorStats stats = sim.Stats();
    const std::string name = "download 2000 trackpoints, 115200 baud";
    Report(name, seconds, "wire time at 9600 baud",
           static_cast<double>(stats.bytesSent + stats.bytesReceived) * 10.0 / kBaud);
    Report(name, seconds, "line at its rates + 2 x 100 ms", stats.wireSeconds + 0.2);
    if (result != 0 || !SameRecords(connection.CopyTrackpoints(), track)) {
        std::printf("  the transfer failed (result %d) or its records differ\n", result);
    }
}

}  // namespace

void RunLinkBenchmarks()
{
    std::string error;
    std::unique_ptr<PseudoTerminal> pty = PseudoTerminal::Create(error);
    if (!pty) {
        std::fprintf(stderr, "orvi-bench: no link benchmarks: %s\n", error.c_str());
        return;
    }
    MemorySettings settings;
    settings.SetString("Settings", "Port", pty->DevicePath());
    Settings* previousSettings = Settings::SetCurrent(&settings);
    CountingPrompts prompts;
    Prompts* previousPrompts = Prompts::SetCurrent(&prompts);

    GarminSimulator sim;
    sim.SetBaudRate(kBaud);
    sim.Start(std::move(pty));
    {
        CGpsConnection connection;
        const std::vector<WaypointRecord> waypoints = MakeWaypoints(200);
        const std::vector<TrackpointRecord> track = MakeTrackpoints(2000);

        sim.SetWaypoints(waypoints);
        Time(
            sim, "download 200 waypoints, 9600 baud",
            [&] { return connection.DownloadWaypoints(); },
            [&] { return SameRecords(connection.CopyWaypoints(), waypoints); });
        sim.SetTrackpoints(track);
        Time(
            sim, "download 2000 trackpoints, 9600 baud",
            [&] { return connection.DownloadTrackpoints(); },
            [&] { return SameRecords(connection.CopyTrackpoints(), track); });

        sim.SetWaypoints({});
        sim.SetTrackpoints({});
        connection.SetWaypoints(waypoints.data(), static_cast<int>(waypoints.size()));
        Time(
            sim, "upload 200 waypoints, 9600 baud", [&] { return connection.UploadWaypoints(); },
            [&] { return SameRecords(sim.Waypoints(), waypoints); });
        connection.SetTrackpoints(track.data(), static_cast<int>(track.size()));
        Time(
            sim, "upload 2000 trackpoints, 9600 baud",
            [&] { return connection.UploadTrackpoints(); },
            [&] { return SameRecords(sim.Trackpoints(), track); });
    }
    TimeFasterLine(sim);
    sim.Stop();
    Prompts::SetCurrent(previousPrompts);
    Settings::SetCurrent(previousSettings);

    RunProgramBenchmarks();
}
