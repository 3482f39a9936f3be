#include "link/SerialDevices.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// Built-in serial ports exist as device files whether or not a UART is behind them; the
// kernel tells the UART type (0 for none) without the port being opened, which could
// change its modem lines.
bool HasUart(const std::string& path)
{
    std::ifstream type("/sys/class/tty/" + fs::path(path).filename().string() + "/type");
    int uart = 0;
    return type >> uart && uart != 0;
}

// Natural order: ttyS2 before ttyS10.
bool NaturalLess(const std::string& a, const std::string& b)
{
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (std::isdigit(static_cast<unsigned char>(a[i])) &&
            std::isdigit(static_cast<unsigned char>(b[j]))) {
            size_t ie = i, je = j;
            while (ie < a.size() && std::isdigit(static_cast<unsigned char>(a[ie]))) {
                ++ie;
            }
            while (je < b.size() && std::isdigit(static_cast<unsigned char>(b[je]))) {
                ++je;
            }
            long x = std::strtol(a.substr(i, ie - i).c_str(), nullptr, 10);
            long y = std::strtol(b.substr(j, je - j).c_str(), nullptr, 10);
            if (x != y) {
                return x < y;
            }
            i = ie;
            j = je;
            continue;
        }
        if (a[i] != b[j]) {
            return a[i] < b[j];
        }
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

void AddMatching(std::vector<SerialDevice>& out, const std::string& folder,
                 const std::string& prefix, const char* kind, bool checkUart)
{
    std::vector<std::string> paths;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        std::string name = entry.path().filename().string();
        if (name.rfind(prefix, 0) == 0) {
            paths.push_back(entry.path().string());
        }
    }
    std::sort(paths.begin(), paths.end(), NaturalLess);
    for (const std::string& path : paths) {
        if (!checkUart || HasUart(path)) {
            out.push_back({path, kind});
        }
    }
}

}  // namespace

std::string SimulatorAnnouncementFolder()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string base = runtime && *runtime ? runtime : "/tmp";
    return base + "/orviedit-simulators-" + std::to_string(::getuid());
}

std::vector<SerialDevice> ListSerialDevices()
{
    std::vector<SerialDevice> devices;
    AddMatching(devices, "/dev", "ttyS", "serieller Anschluss", true);
    AddMatching(devices, "/dev", "ttyUSB", "USB-Seriell-Adapter", false);
    AddMatching(devices, "/dev", "ttyACM", "USB-Modem", false);
    AddMatching(devices, "/dev/serial/by-id", "", "USB-Gerät", false);

    std::error_code error;
    for (const auto& entry : fs::directory_iterator(SimulatorAnnouncementFolder(), error)) {
        pid_t pid = static_cast<pid_t>(std::strtol(entry.path().filename().c_str(), nullptr, 10));
        std::ifstream in(entry.path());
        std::string path;
        std::getline(in, path);
        if (pid > 0 && ::kill(pid, 0) == 0 && !path.empty() && fs::exists(path)) {
            devices.push_back({path, "GPS-Simulator"});
        }
    }
    return devices;
}

SimulatorAnnouncement::SimulatorAnnouncement(const std::string& devicePath)
{
    std::string folder = SimulatorAnnouncementFolder();
    std::error_code error;
    fs::create_directories(folder, error);
    fs::permissions(folder, fs::perms::owner_all, error);
    file_ = folder + "/" + std::to_string(::getpid());
    std::ofstream out(file_);
    out << devicePath << "\n";
}

SimulatorAnnouncement::~SimulatorAnnouncement()
{
    std::error_code error;
    fs::remove(file_, error);
}
