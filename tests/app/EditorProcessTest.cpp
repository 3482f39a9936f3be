// The editor run as a program ends as asked from outside, also while its link waits for an
// answer to a message box: the receiver on a pseudo-terminal takes the product request and
// answers nothing, and 216 ms later (the read time-out) the link shows its box.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include <gtest/gtest.h>

#include "link/PseudoTerminal.h"
#include "tests/TempDir.h"

using namespace std::chrono;

TEST(EditorProcess, ASignalWhileTheLinkWaitsForAnAnswerClosesTheEditorWithin2s)
{
    for (int signal : {SIGTERM, SIGINT}) {
        std::string error;
        std::unique_ptr<PseudoTerminal> receiver = PseudoTerminal::Create(error);
        ASSERT_TRUE(receiver) << error;
        TempDir config;
        std::filesystem::create_directory(config.File("Ostrel Software"));
        std::ofstream(config.File("Ostrel Software/OrviEdit Moving Map Editor.conf"))
            << "[Settings]\nPort=" << receiver->DevicePath() << "\n";
        pid_t editor = fork();
        if (editor == 0) {
            setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
            execl(ORVIEDIT_BINARY, "orviedit", ORVI_TEST_DATA "/orvd/sample.orvd", nullptr);
            _exit(127);
        }
        uint8_t request[6];
        EXPECT_GT(receiver->ReadAvailable(request, sizeof request, 20000), 0) << "no request";
        std::this_thread::sleep_for(1s);  // the box is up
        kill(editor, signal);
        int status = 0;
        pid_t ended = 0;
        for (auto until = steady_clock::now() + 2s; !ended && steady_clock::now() < until;) {
            std::this_thread::sleep_for(10ms);
            ended = waitpid(editor, &status, WNOHANG);
        }
        if (!ended) {
            kill(editor, SIGKILL);
            waitpid(editor, &status, 0);
        }
        EXPECT_TRUE(ended) << strsignal(signal) << ": still running 2 s after the signal";
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << strsignal(signal) << ": ended by the signal, not by closing";
    }
}
