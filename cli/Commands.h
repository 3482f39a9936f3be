#pragma once

#include <string>

// The sub-commands of `orvi`. Each returns the process exit status and writes errors to
// standard error.
int RunInfo(const std::string& path, bool json);
int RunConvert(const std::string& input, const std::string& output);

// Lower-case file ending with its dot (".orvd"), or empty.
std::string FileEnding(const std::string& path);
// Writes "orvi: <path>: <message>" to standard error and returns 1.
int Fail(const std::string& path, const std::string& message);
