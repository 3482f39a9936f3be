// The live position as the editor shows it: the receiver's PVT over a 9600-baud simulated
// line into the plot. The time from the last byte of a fix on the line to the end of the
// plot's repaint, and the processor time of the program's threads (the simulated receiver
// runs in a process of its own for that) while following a 1 Hz and a 10 Hz receiver.

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "bench/Bench.h"
#include "bench/OffscreenApp.h"
#include "edit/CDataView.h"
#include "edit/CPlotView.h"
#include "edit/LiveSession.h"
#include "framework/Settings.h"
#include "gps/CDataDoc.h"
#include "gps/Geodesy.h"
#include "link/GarminSimulator.h"
#include "link/PseudoTerminal.h"
#include "link/TrackMotion.h"
#include "live/PvtSource.h"

namespace {

using Clock = std::chrono::steady_clock;

// A walk round a square near Zug, a minute a side.
TrackMotion BenchTrack()
{
    std::vector<TrackpointRecord> points;
    const double corners[][2] = {{47.17, 8.51}, {47.175, 8.51}, {47.175, 8.517}, {47.17, 8.517}};
    for (int i = 0; i < 5; ++i) {
        points.push_back({DegreesToSemicirclesRounded(corners[i % 4][0]),
                          DegreesToSemicirclesRounded(corners[i % 4][1]),
                          static_cast<uint32_t>(1000000000 + i * 60),
                          static_cast<uint8_t>(i == 0)});
    }
    return TrackMotion(points);
}

// A moving eTrex on a new pseudo-terminal at 9600 baud; its device path.
std::string StartReceiver(GarminSimulator& sim, double rate)
{
    std::string error;
    std::unique_ptr<PseudoTerminal> pty = PseudoTerminal::Create(error);
    if (!pty) {
        return {};
    }
    const std::string device = pty->DevicePath();
    sim.SetUnit(*UnitByModel("etrex"));
    sim.SetBaudRate(9600);
    sim.SetMoving(BenchTrack(), {rate, false});
    return sim.Start(std::move(pty)) ? device : std::string();
}

// The plot of an empty document with the live position, the source started on `device`.
struct LiveWindow {
    explicit LiveWindow(const std::string& device)
    {
        settings.SetString("Settings", "Port", device);
        previous = Settings::SetCurrent(&settings);
        list.AttachDocument(&doc);
        plot.AttachDocument(&doc);
        plot.resize(800, 600);
        plot.show();
        plot.SetFollowMode(FollowMode::IN_VIEW);
        QObject::connect(&source, &PositionSource::fixArrived, &LiveSession::Instance(),
                         &LiveSession::TakeFix);
        source.Start();
    }
    ~LiveWindow()
    {
        source.Stop();
        LiveSession::Instance().Stopped();
        Settings::SetCurrent(previous);
    }

    MemorySettings settings;
    Settings* previous;
    CDataDoc doc;
    CDataView list;
    CPlotView plot{&list};
    PvtSource source;
};

// Notes the end of each repaint of the plot: a zero timer posted at its start fires once
// the paint is done.
class RepaintClock : public QObject {
public:
    std::vector<Clock::time_point> ends;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            QTimer::singleShot(0, this, [this] { ends.push_back(Clock::now()); });
        }
        return false;
    }
};

double ProcessorSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

// Runs the event loop as the editor does, idle between events.
void RunUntil(Clock::time_point end)
{
    QEventLoop loop;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - Clock::now()).count();
    QTimer::singleShot(static_cast<int>(std::max<int64_t>(left, 0)), &loop, &QEventLoop::quit);
    loop.exec();
}

void TimeRepaint()
{
    GarminSimulator sim;
    const std::string device = StartReceiver(sim, 5);
    if (device.empty()) {
        std::fprintf(stderr, "orvi-bench: no live benchmark: no simulated receiver\n");
        return;
    }
    LiveWindow window(device);
    RepaintClock repaints;
    window.plot.installEventFilter(&repaints);
    std::vector<double> latencies;
    Clock::time_point seen{};
    const Clock::time_point end = Clock::now() + std::chrono::seconds(12);
    while (Clock::now() < end && latencies.size() < 40) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        const Clock::time_point sent = sim.Stats().lastPositionSent;
        if (sent == seen || repaints.ends.empty() || repaints.ends.back() < sent) {
            continue;
        }
        // The first repaint that ended after the packet went out.
        auto after = std::find_if(repaints.ends.begin(), repaints.ends.end(),
                                  [&](Clock::time_point t) { return t >= sent; });
        latencies.push_back(std::chrono::duration<double>(*after - sent).count());
        seen = sent;
    }
    sim.Stop();
    if (latencies.size() < 5) {
        std::printf("live: fewer than 5 fixes reached the plot\n");
        return;
    }
    std::sort(latencies.begin(), latencies.end());
    Report("live: last byte of a fix to repainted marker", latencies[latencies.size() / 2],
           "goal 20 ms", 0.020);
}

// Processor time of this process while the plot follows a receiver of `rate` fixes a
// second, the receiver in a child process.
void TimeFollowing(double rate, int seconds)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        return;
    }
    pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        GarminSimulator sim;
        const std::string device = StartReceiver(sim, rate);
        ::write(pipeFds[1], device.c_str(), device.size() + 1);
        ::close(pipeFds[1]);
        ::pause();
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    char device[256] = {};
    ssize_t n = ::read(pipeFds[0], device, sizeof device - 1);
    ::close(pipeFds[0]);
    if (child < 0 || n <= 1) {
        return;
    }
    {
        LiveWindow window(device);
        RunUntil(Clock::now() + std::chrono::seconds(3));  // opening and the first fixes
        const double before = ProcessorSeconds();
        const Clock::time_point start = Clock::now();
        RunUntil(start + std::chrono::seconds(seconds));
        const double used = ProcessorSeconds() - before;
        const double wall = std::chrono::duration<double>(Clock::now() - start).count();
        char name[64];
        std::snprintf(name, sizeof name, "live: following %g Hz, processor", rate);
        Report(name, used, "2 % of one core", wall * 0.02);
    }
    ::kill(child, SIGTERM);
    ::waitpid(child, nullptr, 0);
}

}  // namespace

void RunLiveBenchmarks()
{
    QApplication app(OffscreenArgc(), OffscreenArgv());
    TimeRepaint();
    TimeFollowing(1, 20);
    TimeFollowing(10, 10);
}
