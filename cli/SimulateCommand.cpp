// orvi simulate: a receiver of the GPS 12 family on a pseudo-terminal, for trying the
// editor (or any other program that speaks the protocol) without a receiver.

#include <pthread.h>
#include <signal.h>

#include <iostream>
#include <memory>

#include "cli/Commands.h"
#include "framework/ArchiveException.h"
#include "gps/CDataDoc.h"
#include "link/GarminSimulator.h"
#include "link/PseudoTerminal.h"
#include "link/SerialDevices.h"

namespace {

std::string ArchiveError(const ArchiveException& e)
{
    return std::string(e.UserMessage()) + " (" + e.what() + ")";
}

}  // namespace

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
    SimulatorFaults faults;
    faults.joinFrames = options.burst;
    sim.SetFaults(faults);
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
