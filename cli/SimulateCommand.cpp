// orvi simulate: one of the known receivers on a pseudo-terminal, for trying the editor (or
// any other program that speaks the protocol) without a receiver.

#include <pthread.h>
#include <signal.h>

#include <iostream>
#include <memory>

#include "cli/Commands.h"
#include "framework/ArchiveException.h"
#include "gps/CDataDoc.h"
#include "gps/Gpx.h"
#include "link/GarminSimulator.h"
#include "link/PseudoTerminal.h"
#include "link/SerialDevices.h"
#include "link/UnitData.h"
#include "link/UnitProfile.h"

namespace {

std::string ArchiveError(const ArchiveException& e)
{
    return std::string(e.UserMessage()) + " (" + e.what() + ")";
}

// Reads the records of a .gpx file, or of a GPS data file into `doc`. 0, or the status of
// the failure (reported).
int ReadRecords(const std::string& path, CDataDoc& doc, GpsRecords& records)
{
    if (FileEnding(path) == ".gpx") {
        try {
            GpxData gpx = ReadGpxFile(path);
            for (const std::string& note : GpxReadNotes(gpx)) {
                std::cerr << path << ": " << note << std::endl;
            }
            records = std::move(gpx);
        } catch (const GpxError& e) {
            return Fail(path, e.what());
        } catch (const ArchiveException& e) {  // the file could not be read
            return Fail(path, ArchiveError(e));
        }
        return 0;
    }
    try {
        doc.OnOpenDocument(path);
    } catch (const ArchiveException& e) {
        return Fail(path, ArchiveError(e));
    }
    records = {doc.Waypoints(), doc.WaypointDetailsList(), doc.Trackpoints(),
               doc.TrackpointDetailsList(), doc.Routes()};
    return 0;
}

// Sets the simulator moving as `options` say, along the track it holds when they name no
// file. 0, or the status of the failure (reported).
int StartMoving(GarminSimulator& sim, const UnitProfile& unit, const SimulateOptions& options)
{
    GpsRecords track = sim.Records();
    if (!options.track.empty()) {
        CDataDoc doc;
        if (int status = ReadRecords(options.track, doc, track)) {
            return status;
        }
    } else if (track.trackpoints.empty()) {
        track = UnitSampleRecords(unit);
    }
    if (!sim.SetMoving(TrackMotion(track.trackpoints, track.trackpointDetails),
                       {options.rate, options.nmea})) {
        return Fail(options.track.empty() ? "simulate" : options.track,
                    "no track points to move along");
    }
    if (!options.nmea && unit.protocols.pvt == 0) {
        std::cerr << unit.model << ": no PVT protocol (A800), no positions are sent; "
                  << "--nmea, or a model that has it" << std::endl;
    }
    return 0;
}

}  // namespace

int RunSimulate(const SimulateOptions& options)
{
    if (options.listModels) {
        for (const UnitProfile& unit : KnownUnits()) {
            std::cout << unit.model << '\n';
        }
        return 0;
    }
    const UnitProfile* unit = UnitByModel(options.model);
    if (unit == nullptr) {
        return Fail(options.model, "no such model (orvi simulate --list-models names them)");
    }
    CDataDoc doc;
    GpsRecords records = UnitSampleRecords(*unit);
    if (!options.data.empty()) {
        if (int status = ReadRecords(options.data, doc, records)) {
            return status;
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
    sim.SetUnit(*unit);
    for (const std::string& note : sim.SetRecords(std::move(records))) {
        std::cerr << note << std::endl;
    }
    sim.SetBaudRate(options.baud);
    sim.SetWeekRollover(options.weekRollover);
    if (options.moving) {
        if (int status = StartMoving(sim, *unit, options)) {
            return status;
        }
    }
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
        GpsRecords held = sim.Records();
        if (doc.ReplaceWaypoints(held.waypoints, held.waypointDetails) != DOC_OK ||
            doc.ReplaceTrackpoints(held.trackpoints, held.trackpointDetails) != DOC_OK ||
            doc.ReplaceRoutes(held.routes) != DOC_OK) {
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
