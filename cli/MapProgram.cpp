// The map commands as orvi runs them: in orvi-maps, the program beside it that holds the
// drawing stack (see cli/CMakeLists.txt). Its output and exit status are theirs.

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli/Commands.h"

extern char** environ;

namespace {

int RunMapsProgram(std::vector<std::string> arguments)
{
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    std::string program = (self.parent_path() / "orvi-maps").string();
    arguments.insert(arguments.begin(), program);
    std::vector<char*> argv;
    for (std::string& a : arguments) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    std::cout.flush();
    std::fflush(nullptr);
    pid_t pid;
    if (int failed = ::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ)) {
        return Fail(program, std::strerror(failed));
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

}  // namespace

int RunMapInfo(const std::string& path, bool json)
{
    return json ? RunMapsProgram({"info", "--json", path}) : RunMapsProgram({"info", path});
}

int RunMapConvert(const std::string& input, const std::string& output)
{
    return RunMapsProgram({"convert", input, output});
}

int RunRender(const std::string& input, const std::string& output)
{
    return RunMapsProgram({"render", input, output});
}
