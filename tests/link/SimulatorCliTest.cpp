// `orvi simulate` run as a user runs it, with the receiver link talking to it.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "framework/Settings.h"
#include "gps/CDataDoc.h"
#include "link/CGpsConnection.h"
#include "tests/TempDir.h"
#include "tests/gps/GpsTestRecords.h"
#include "tests/link/SimulatorTestHost.h"

namespace {

const std::string kSample = ORVI_TEST_DATA "/orvd/sample.orvd";

// The built `orvi` as a child process, its standard output and error in pipes. Killed if
// it is still running when the object goes.
class OrviProcess {
public:
    explicit OrviProcess(std::vector<std::string> arguments)
    {
        int out[2], err[2];
        if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) {
            return;
        }
        arguments.insert(arguments.begin(), ORVI_BINARY);
        std::vector<char*> argv;
        for (std::string& a : arguments) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            ::dup2(err[1], STDERR_FILENO);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        ::close(err[1]);
        out_ = out[0];
        err_ = err[0];
    }
    ~OrviProcess()
    {
        if (pid_ > 0 && !exited_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        ::close(out_);
        ::close(err_);
    }

    // The first line of standard output, without its newline; empty when none came in time.
    std::string FirstLine(int ms)
    {
        std::string line;
        auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        char c;
        while (std::chrono::steady_clock::now() < until) {
            struct pollfd p {
                out_, POLLIN, 0
            };
            if (::poll(&p, 1, 50) <= 0) {
                continue;
            }
            if (::read(out_, &c, 1) != 1) {
                break;
            }
            if (c == '\n') {
                return line;
            }
            line += c;
        }
        return {};
    }

    // Waits at most `ms` for the process to end; its exit status, or -1.
    int Wait(int ms)
    {
        int status = 0;
        bool done = WaitUntil([&] { return ::waitpid(pid_, &status, WNOHANG) == pid_; }, ms);
        exited_ = done;
        return done && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    void Signal(int signal) { ::kill(pid_, signal); }

    std::string Errors()
    {
        std::string text;
        char buffer[512];
        ssize_t n;
        ::fcntl(err_, F_SETFL, O_NONBLOCK);
        while ((n = ::read(err_, buffer, sizeof buffer)) > 0) {
            text.append(buffer, static_cast<size_t>(n));
        }
        return text;
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
    bool exited_ = false;
};

template <class Record>
bool Same(const std::vector<Record>& a, const std::vector<Record>& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](const Record& x, const Record& y) { return SameBytes(x, y); });
}

TEST(OrviSimulate, ServesUntilSigtermAndSavesWhatWasUploaded)
{
    TempDir dir;
    std::string link = dir.File("gps");
    std::string saved = dir.File("saved.orvd");
    OrviProcess orvi({"simulate", "--data", kSample, "--link", link, "--save", saved});
    std::string device = orvi.FirstLine(5000);
    ASSERT_EQ(device.rfind("/dev/pts/", 0), 0u) << device << orvi.Errors();
    EXPECT_EQ(std::filesystem::read_symlink(link).string(), device);

    MemorySettings settings;
    settings.SetString("Settings", "Port", link);
    Settings* previousSettings = Settings::SetCurrent(&settings);
    RecordingPrompts prompts;
    PromptsScope promptsScope(prompts);
    CDataDoc sample;
    sample.OnOpenDocument(kSample);
    std::vector<WaypointRecord> uploaded = {TestWaypoint(1), TestWaypoint(2), TestWaypoint(3)};
    {
        CGpsConnection connection;
        EXPECT_EQ(connection.DownloadWaypoints(), 0);
        EXPECT_TRUE(Same(connection.CopyWaypoints(), sample.Waypoints()));
        connection.SetWaypoints(uploaded.data(), 3);
        EXPECT_EQ(connection.UploadWaypoints(), 0);
    }
    {
        CGpsConnection again;  // the device closed and opened again
        EXPECT_EQ(again.DownloadWaypoints(), 0);
        EXPECT_TRUE(Same(again.CopyWaypoints(), uploaded));
    }
    Settings::SetCurrent(previousSettings);
    EXPECT_TRUE(prompts.messages.empty()) << prompts.messages.front();

    orvi.Signal(SIGTERM);
    EXPECT_EQ(orvi.Wait(3000), 0) << orvi.Errors();
    CDataDoc result;
    result.OnOpenDocument(saved);
    EXPECT_TRUE(Same(result.Waypoints(), uploaded));
    EXPECT_TRUE(Same(result.Trackpoints(), sample.Trackpoints()));
    EXPECT_EQ(result.correctionSets.Count(), sample.correctionSets.Count());
    struct stat st;
    EXPECT_NE(::lstat(link.c_str(), &st), 0) << "the link is left behind";
}

TEST(OrviSimulate, RefusesBadArgumentsWithAMessage)
{
    TempDir dir;
    std::string regular = dir.File("regular");
    WriteBytes(regular, {'k', 'e', 'e', 'p'});
    std::vector<uint8_t> sample = ReadBytes(kSample);
    WriteBytes(dir.File("cut.orvd"), std::vector<uint8_t>(sample.begin(), sample.begin() + 100));
    const std::string point = "<gpx version=\"1.1\"><wpt lat=\"47.1\" lon=\"8.5\"/></gpx>";
    WriteBytes(dir.File("point.gpx"), std::vector<uint8_t>(point.begin(), point.end()));
    struct Case {
        const char* legend;
        std::vector<std::string> arguments;
        const char* says;
    } cases[] = {
        {"missing data file", {"--data", dir.File("none.orvd")}, "Failed to open document."},
        {"damaged data file", {"--data", dir.File("cut.orvd")}, "Unexpected file format."},
        {"missing GPX file", {"--data", dir.File("none.gpx")}, "Failed to open document."},
        {"unknown model", {"--model", "gps99"}, "no such model"},
        {"link over a regular file", {"--link", regular}, "not a symbolic link"},
        {"save as another type", {"--save", dir.File("out.gpx")}, "unknown file type"},
        {"baud rate 0", {"--baud", "0"}, "baud"},
        {"a rate without moving", {"--rate", "2"}, "--rate requires --moving"},
        {"a rate beyond 20 a second", {"--moving", "--rate", "25"}, "not in range"},
        {"a track file without a track", {"--moving", dir.File("point.gpx")}, "no track points"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments = {"simulate"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        OrviProcess orvi(arguments);
        int status = orvi.Wait(3000);
        EXPECT_NE(status, 0) << c.legend;
        EXPECT_NE(status, -1) << c.legend << ": still running";
        EXPECT_NE(orvi.Errors().find(c.says), std::string::npos) << c.legend;
    }
    EXPECT_EQ(ReadBytes(regular), (std::vector<uint8_t>{'k', 'e', 'e', 'p'}));
}

}  // namespace
