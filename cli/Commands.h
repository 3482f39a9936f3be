#pragma once

#include <string>

namespace CLI {
class App;
}

// The sub-commands of `orvi`. Each returns the process exit status and writes errors to
// standard error.
int RunInfo(const std::string& path, bool json);
int RunConvert(const std::string& input, const std::string& output);

// The same for maps (.orvg): info, convert to .orvg through the document's save, and render
// of the page into a picture (.png, .pdf, .svg; a GUI application only for that), where a
// GPS data file (.orvd) is first drawn as a map of its points (AddPointsToMap). They run in
// orvi-maps; orvi's own versions start that program.
int RunMapInfo(const std::string& path, bool json);
int RunMapConvert(const std::string& input, const std::string& output);
int RunRender(const std::string& input, const std::string& output);

// check, time, download, upload, off: each sets `status` when it has run.
void AddTransferCommands(CLI::App& app, int& status);
// simulate: a receiver on a pseudo-terminal; sets `status` when it has run.
void AddSimulateCommand(CLI::App& app, int& status);

// Lower-case file ending with its dot (".orvd"), or empty.
std::string FileEnding(const std::string& path);
// Writes "orvi: <path>: <message>" to standard error and returns 1.
int Fail(const std::string& path, const std::string& message);
