#pragma once

#include <QString>
#include <cstdint>
#include <memory>

class GarminSimulator;
class SimulatorAnnouncement;
class PortOverride;

// A simulated receiver for one run of the editor (`orviedit --simulator`): a GPS 12 on a
// pseudo-terminal at 9600 baud, holding the sample data that ships with the program or the
// waypoints and track of a file, and used as the port for this run without changing the
// stored setting. Other programs find it in the options dialog while it runs.
class SimulatorSession {
public:
    // Null when it cannot start (the reason has been shown). `baud` paces the line (0: as
    // fast as the pseudo-terminal goes).
    // `model`: a known unit to play (link/UnitProfile.h), with its own sample data unless a
    // file gives the data; empty: the GPS 12. `motion`: the receiver moves along its track,
    // sending PVT packets when asked or NMEA sentences by themselves (without a model, an
    // eTrex plays it: a GPS 12 has no PVT).
    enum class Motion : uint8_t { STILL, PVT, NMEA };
    static std::unique_ptr<SimulatorSession> Start(const QString& dataFile, int baud = 9600,
                                                   const QString& model = {},
                                                   Motion motion = Motion::STILL);
    ~SimulatorSession();

    const std::string& devicePath() const { return device_; }
    GarminSimulator& simulator() { return *simulator_; }

private:
    SimulatorSession() = default;

    std::string device_;
    std::unique_ptr<GarminSimulator> simulator_;
    std::unique_ptr<SimulatorAnnouncement> announcement_;
    std::unique_ptr<PortOverride> override_;
};
