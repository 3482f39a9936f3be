#pragma once

#include <sys/wait.h>
#include <cstdio>
#include <string>

#include "tests/TempDir.h"

// Runs the built `orvi` with `arguments` (shell-quoted by the caller) and collects what it
// printed and its exit status.
struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

inline CliResult RunOrvi(const std::string& arguments)
{
    TempDir dir;
    std::string errPath = dir.File("stderr");
    std::string command = std::string(ORVI_BINARY) + " " + arguments + " 2>" + errPath;
    CliResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        return result;
    }
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        result.out.append(buffer, n);
    }
    int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    auto err = ReadBytes(errPath);
    result.err.assign(err.begin(), err.end());
    return result;
}
