// Transfers through the POSIX port against the simulator on a pseudo-terminal, paced as a
// 9600-baud line, timed against the time their bytes need on such a line.

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

#include "bench/Bench.h"
#include "framework/Prompts.h"
#include "framework/Settings.h"
#include "link/CGpsConnection.h"
#include "link/GarminSimulator.h"
#include "link/PseudoTerminal.h"

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
    sim.Stop();
    Prompts::SetCurrent(previousPrompts);
    Settings::SetCurrent(previousSettings);
}
