#include "app/SimulatorSession.h"

#include <QFile>

#include "framework/ArchiveException.h"
#include "framework/ByteStream.h"
#include "framework/Prompts.h"
#include "framework/Settings.h"
#include "gps/CDataDoc.h"
#include "link/GarminSimulator.h"
#include "link/PseudoTerminal.h"
#include "link/SerialDevices.h"
#include "link/TrackMotion.h"
#include "link/UnitData.h"
#include "link/UnitProfile.h"

// The settings as they are, but with the simulator as the port: for this run only, so a
// port chosen in the options dialog meanwhile is not stored.
class PortOverride : public Settings {
public:
    explicit PortOverride(std::string port)
        : port_(std::move(port)), base_(Settings::SetCurrent(this))
    {
    }
    ~PortOverride() override { Settings::SetCurrent(base_); }

    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& fallback) override
    {
        if (section == "Settings" && key == "Port") {
            return port_;
        }
        return base_->GetString(section, key, fallback);
    }
    void SetString(const std::string& section, const std::string& key,
                   const std::string& value) override
    {
        if (!(section == "Settings" && key == "Port")) {
            base_->SetString(section, key, value);
        }
    }

private:
    std::string port_;
    Settings* base_;
};

std::unique_ptr<SimulatorSession> SimulatorSession::Start(const QString& dataFile, int baud,
                                                          const QString& model, Motion motion)
{
    const bool moving = motion != Motion::STILL;
    const QString played = model.isEmpty() && moving ? QStringLiteral("etrex") : model;
    const UnitProfile* unit = played.isEmpty() ? nullptr : UnitByModel(played.toStdString());
    if (!model.isEmpty() && !unit) {
        Prompts::Current().Message("Der GPS-Simulator kennt kein Modell \"" + model.toStdString() +
                                   "\" (orvi simulate --list-models).");
        return nullptr;
    }
    CDataDoc data;
    try {
        if (unit && dataFile.isEmpty() && !model.isEmpty()) {
            // The unit's own sample.
        } else if (dataFile.isEmpty()) {
            QFile sample(QStringLiteral(":/sample/sample.orvd"));
            sample.open(QIODevice::ReadOnly);
            QByteArray bytes = sample.readAll();
            MemoryInputStream in(bytes.constData(), static_cast<size_t>(bytes.size()));
            Archive archive(in);
            data.Serialize(archive);
        } else {
            data.OnOpenDocument(dataFile.toStdString());
        }
    } catch (const ArchiveException& e) {
        Prompts::Current().Message(dataFile.toStdString() + ": " + e.UserMessage());
        return nullptr;
    }

    std::string error;
    std::unique_ptr<PseudoTerminal> line = PseudoTerminal::Create(error);
    if (!line) {
        Prompts::Current().Message("Der GPS-Simulator kann nicht starten: " + error);
        return nullptr;
    }
    std::unique_ptr<SimulatorSession> session(new SimulatorSession);
    session->device_ = line->DevicePath();
    session->simulator_ = std::make_unique<GarminSimulator>();
    if (unit) {
        session->simulator_->SetUnit(*unit);
        session->simulator_->SetRecords(
            dataFile.isEmpty() && !model.isEmpty() ? UnitSampleRecords(*unit) : data.Records());
    } else {
        session->simulator_->SetWaypoints(data.Waypoints());
        session->simulator_->SetTrackpoints(data.Trackpoints());
    }
    session->simulator_->SetBaudRate(baud);
    if (moving) {
        const GpsRecords held = session->simulator_->Records();
        session->simulator_->SetMoving(TrackMotion(held.trackpoints, held.trackpointDetails),
                                       {1, motion == Motion::NMEA});
    }
    if (!session->simulator_->Start(std::move(line))) {
        Prompts::Current().Message("Der GPS-Simulator kann nicht starten.");
        return nullptr;
    }
    session->announcement_ = std::make_unique<SimulatorAnnouncement>(session->device_);
    session->override_ = std::make_unique<PortOverride>(session->device_);
    return session;
}

SimulatorSession::~SimulatorSession()
{
    override_.reset();
    announcement_.reset();
    if (simulator_) {
        simulator_->Stop();
    }
}
