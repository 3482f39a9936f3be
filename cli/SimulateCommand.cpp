// orvi simulate: a receiver of the GPS 12 family on a pseudo-terminal, for trying the
// editor (or any other program that speaks the protocol) without a receiver.

#include <pthread.h>
#include <signal.h>

#include <iostream>
#include <memory>

#include <CLI/CLI.hpp>

#include "cli/Commands.h"
#include "framework/ArchiveException.h"
#include "gps/CDataDoc.h"
#include "link/GarminSimulator.h"
#include "link/PseudoTerminal.h"
#include "link/SerialDevices.h"

namespace {

struct SimulateOptions {
    std::string data;
    std::string save;
    std::string link;
    int baud = 0;
    bool weekRollover = false;
};

std::string ArchiveError(const ArchiveException& e)
{
    return std::string(e.UserMessage()) + " (" + e.what() + ")";
}

// Serves until SIGINT or SIGTERM. Standard output gets the device path as its first line.
int RunSimulate(const SimulateOptions& options)
{
    CDataDoc doc;
    if (!options.data.empty()) {
        try {
            doc.OnOpenDocument(options.data);
        } catch (const ArchiveException& e) {
            return Fail(options.data, ArchiveError(e));
        }
    }
    if (!options.save.empty() && FileEnding(options.save) != ".orvd") {
        return Fail(options.save, "unknown file type (expected .orvd)");
    }
    std::string error;
    std::unique_ptr<PseudoTerminal> pty = PseudoTerminal::Create(error);
    if (!pty) {
        return Fail("simulate", error);
    }
    if (!options.link.empty() && !pty->LinkAs(options.link, error)) {
        return Fail(options.link, error);
    }
    std::string device = pty->DevicePath();

    // The signals are blocked in every thread (the simulator's inherits the mask) and
    // taken here.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    GarminSimulator sim;
    sim.SetWaypoints(doc.Waypoints());
    sim.SetTrackpoints(doc.Trackpoints());
    sim.SetBaudRate(options.baud);
    sim.SetWeekRollover(options.weekRollover);
    sim.Start(std::move(pty));
    // The options dialog of the editor offers announced simulators as ports.
    SimulatorAnnouncement announcement(options.link.empty() ? device : options.link);
    std::cout << device << std::endl;

    int signal = 0;
    while (sigwait(&stopSignals, &signal) != 0) {
    }
    std::unique_ptr<SerialPort> port = sim.Stop();

    int status = 0;
    if (!options.save.empty()) {
        if (doc.ReplaceWaypoints(sim.Waypoints()) != DOC_OK ||
            doc.ReplaceTrackpoints(sim.Trackpoints()) != DOC_OK) {
            status = Fail(options.save, "more records than a file can hold");
        } else {
            try {
                doc.OnSaveDocument(options.save);
            } catch (const ArchiveException& e) {
                status = Fail(options.save, ArchiveError(e));
            }
        }
    }
    return status;  // the port goes with `port`, and the symbolic link with it
}

}  // namespace

void AddSimulateCommand(CLI::App& app, int& status)
{
    auto options = std::make_shared<SimulateOptions>();
    CLI::App* simulate = app.add_subcommand(
        "simulate",
        "Act as a Garmin GPS 12 on a pseudo-terminal until SIGINT or SIGTERM; the device path "
        "is the first line of output");
    simulate->add_option("--data", options->data, "Waypoints and track log to offer (.orvd)");
    simulate->add_option("--baud", options->baud, "Pace the line at this many baud")
        ->check(CLI::PositiveNumber);
    simulate->add_option("--link", options->link,
                         "Make this path a symbolic link to the device while serving");
    simulate->add_option("--save", options->save,
                         "At the end, write the receiver's records (uploads included) (.orvd)");
    simulate->add_flag("--week-rollover", options->weekRollover,
                       "Report dates 1024 weeks early, as receivers past a GPS week rollover do");
    simulate->callback([&status, options] { status = RunSimulate(*options); });
}
