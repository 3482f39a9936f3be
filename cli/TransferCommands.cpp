#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>

#include "cli/Commands.h"
#include "framework/ArchiveException.h"
#include "framework/Prompts.h"
#include "framework/QtSettings.h"
#include "gps/CDataDoc.h"
#include "gps/Gps12Upload.h"
#include "link/CGpsConnection.h"
#include "link/SystemClock.h"

namespace {

// Each command opens the port anew: it reads what a receiver sent before only until the line
// is quiet, where the editor waits out the whole start-up read once per document.
constexpr StartupRead kStartup = StartupRead::UntilQuiet;

// The port comes from --port when given, else from the stored setting.
class PortSettings {
public:
    explicit PortSettings(const std::string& port)
    {
        if (port.empty()) {
            previous_ = Settings::SetCurrent(&stored_);
        } else {
            override_.SetString("Settings", "Port", port);
            previous_ = Settings::SetCurrent(&override_);
        }
    }
    ~PortSettings() { Settings::SetCurrent(previous_); }

private:
    QtSettings stored_;
    MemorySettings override_;
    Settings* previous_;
};

// "%d / %d" on standard error, rewritten in place, when standard error is a terminal.
ProgressCallback TerminalProgress()
{
    if (!::isatty(STDERR_FILENO)) {
        return {};
    }
    return [](const char* text) { std::fprintf(stderr, "\r%s ", text); };
}

void EndProgress()
{
    if (::isatty(STDERR_FILENO)) {
        std::fprintf(stderr, "\n");
    }
}

// The clock question is printed and answered by --set; a refused setting is reported.
class ClockPrompts : public Prompts {
public:
    explicit ClockPrompts(bool set) : set_(set) {}
    void Message(const std::string& text) override { std::cerr << text << "\n"; }
    bool Question(const std::string& text) override
    {
        std::cout << text << (set_ ? " ja" : " nein") << std::endl;
        return set_;
    }

private:
    bool set_;
};

class RecordingClock : public SystemClock {
public:
    int64_t NowUtc() override { return system_.NowUtc(); }
    bool SetUtc(int64_t seconds) override
    {
        attempted = true;
        refused = !system_.SetUtc(seconds);
        error = refused ? errno : 0;
        return !refused;
    }
    bool attempted = false;
    bool refused = false;
    int error = 0;

private:
    SystemClock& system_ = SystemClock::Current();
};

}  // namespace

int RunCheck(const std::string& port)
{
    PortSettings settings(port);
    CGpsConnection connection({}, kStartup);
    if (connection.RequestProduct(0) != 0) {
        return 1;
    }
    CGpsLink& link = connection.link();
    std::cout << link.productDescription() << "\n"
              << "product " << link.productId() << ", software " << link.softwareVersion() / 100
              << "." << (link.softwareVersion() % 100 < 10 ? "0" : "")
              << link.softwareVersion() % 100 << "\n";
    const UnitProtocols& protocols = link.protocols();
    std::cout << "protocols " << DescribeProtocols(protocols)
              << (protocols.fromArray ? " (from the receiver)" : " (from the table of known units)")
              << "\n";
    if (!link.protocolsNote().empty()) {
        std::cerr << "orvi: the receiver's protocol array: " << link.protocolsNote() << "\n";
    }
    return 0;
}

int RunTime(const std::string& port, bool set)
{
    PortSettings settings(port);
    // The two times read as the editor shows them: in the user's regional format unless
    // the US standard format is chosen.
    if (Settings::Current().GetInt("Settings", "DisplayFormat", 0) == 0) {
        std::setlocale(LC_TIME, "");
    }
    ClockPrompts prompts(set);
    Prompts* previousPrompts = Prompts::SetCurrent(&prompts);
    RecordingClock clock;
    SystemClock* previousClock = SystemClock::SetCurrent(&clock);
    int result;
    {
        CGpsConnection connection({}, kStartup);
        result = connection.SetClockFromGps();
    }
    SystemClock::SetCurrent(previousClock);
    Prompts::SetCurrent(previousPrompts);
    if (result != 0) {
        return 1;
    }
    if (clock.refused) {
        std::cerr << "orvi: the system clock was not set: " << std::strerror(clock.error) << "\n";
        return 1;
    }
    return 0;
}

int RunDownload(const std::string& port, const std::string& what, const std::string& path)
{
    if (FileEnding(path) != ".orvd") {
        return Fail(path, "the output must be a .orvd file");
    }
    // Downloading into an existing file keeps what it holds of the other kind.
    CDataDoc doc;
    if (std::filesystem::exists(path)) {
        try {
            doc.OnOpenDocument(path);
        } catch (const ArchiveException& e) {
            return Fail(path, std::string(e.UserMessage()) + " (" + e.what() + ")");
        }
    }
    PortSettings settings(port);
    auto connection = std::make_unique<CGpsConnection>(TerminalProgress(), kStartup);
    // "all" is what the unit transfers of the three.
    const UnitProtocols& speaks = connection->link().protocols();
    const bool all = what == "all";
    doc.gpsConnection = std::move(connection);
    int result = 0;
    if (what == "waypoints" || (all && speaks.waypoints != 0)) {
        result = doc.DownloadWaypointsIntoDoc();
        EndProgress();
    }
    if (result == 0 && (what == "track" || (all && speaks.tracks != 0))) {
        result = doc.DownloadTrackpointsIntoDoc();
        EndProgress();
    }
    if (result == 0 && (what == "routes" || (all && speaks.routes != 0))) {
        result = doc.DownloadRoutesIntoDoc();
        EndProgress();
    }
    doc.gpsConnection.reset();
    if (result != 0) {
        return 1;
    }
    try {
        doc.OnSaveDocument(path);
    } catch (const ArchiveException& e) {
        return Fail(path, std::string(e.UserMessage(true)) + " (" + e.what() + ")");
    }
    std::cerr << "orvi: " << path << ": " << doc.waypointCount() << " waypoints, "
              << doc.trackpointCount() << " trackpoints, " << doc.Routes().size() << " routes\n";
    return 0;
}

int RunUpload(const std::string& port, const std::string& path, bool waypoints, bool track,
              bool routes)
{
    CDataDoc doc;
    try {
        doc.OnOpenDocument(path);
    } catch (const ArchiveException& e) {
        return Fail(path, std::string(e.UserMessage()) + " (" + e.what() + ")");
    }
    if (!waypoints && !track && !routes) {
        waypoints = doc.waypointCount() > 0;
        track = doc.trackpointCount() > 0;
        routes = !doc.Routes().empty();
        if (!waypoints && !track && !routes) {
            return Fail(path, "the file holds nothing to upload");
        }
    }
    if (waypoints && doc.waypointCount() == 0) {
        return Fail(path, "the file holds no waypoints");
    }
    if (track && doc.trackpointCount() == 0) {
        return Fail(path, "the file holds no trackpoints");
    }
    if (routes && doc.Routes().empty()) {
        return Fail(path, "the file holds no routes");
    }
    PortSettings settings(port);
    doc.gpsConnection = std::make_unique<CGpsConnection>(TerminalProgress(), kStartup);
    int result = 0;
    std::string losses;
    if (waypoints) {
        result = doc.UploadWaypointsFromDoc();
        EndProgress();
        losses = doc.WaypointUploadLosses();
    }
    if (result == 0 && track) {
        result = doc.UploadTrackpointsFromDoc();
        EndProgress();
        if (std::string trackLosses = doc.TrackpointUploadLosses(); !trackLosses.empty()) {
            losses += (losses.empty() ? "Track: " : "; Track: ") + trackLosses;
        }
    }
    if (result == 0 && routes) {
        result = doc.UploadRoutesFromDoc();
        EndProgress();
        if (std::string routeLosses = doc.RouteUploadLosses(); !routeLosses.empty()) {
            losses += (losses.empty() ? "Routen: " : "; Routen: ") + routeLosses;
        }
    }
    if (result == 0 && !losses.empty()) {
        std::cerr << "orvi: " << path << ": " << UploadLossesMessage(losses) << "\n";
    }
    return result == 0 ? 0 : 1;
}

int RunPowerOff(const std::string& port)
{
    PortSettings settings(port);
    CGpsConnection connection({}, kStartup);
    return connection.PowerOff() == PacketResult::Written && connection.link().state() >= LINK_READY
               ? 0
               : 1;
}
