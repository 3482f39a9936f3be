// Runs the fuzz targets without a fuzzer, over the inputs kept in the tree:
//
//   orvi_fuzz_replay TARGET PATH...    every file of each directory PATH (or the file PATH)
//   orvi_fuzz_replay --make-seeds DIR  writes the seeds of every target into DIR/<target>/
//   orvi_fuzz_replay --list            the targets' names
//
// A fault aborts the program as it would abort the fuzzer. A missing PATH is passed over
// (a target may have no regressions yet), but a run without a single input fails.

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/fuzz/FuzzSeeds.h"
#include "tests/fuzz/FuzzTarget.h"

namespace {

int Usage()
{
    std::fprintf(stderr,
                 "usage: orvi_fuzz_replay TARGET PATH...\n"
                 "       orvi_fuzz_replay --make-seeds DIR\n"
                 "       orvi_fuzz_replay --list\n");
    return 2;
}

std::vector<std::string> InputsOf(const std::string& path)
{
    namespace fs = std::filesystem;
    std::vector<std::string> inputs;
    std::error_code error;
    if (fs::is_regular_file(path, error)) {
        inputs.push_back(path);
    } else if (fs::is_directory(path, error)) {
        for (const fs::directory_entry& entry : fs::directory_iterator(path)) {
            if (entry.is_regular_file()) {
                inputs.push_back(entry.path().string());
            }
        }
        std::sort(inputs.begin(), inputs.end());
    } else {
        std::printf("%s: not there, passed over\n", path.c_str());
    }
    return inputs;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
        for (const FuzzTargetEntry& target : FuzzTargets()) {
            std::printf("%s\n", target.name);
        }
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "--make-seeds") == 0) {
        int written = WriteFuzzSeeds(argv[2]);
        std::printf("%d seeds written to %s\n", written, argv[2]);
        return 0;
    }
    if (argc < 3) {
        return Usage();
    }
    auto target =
        std::find_if(FuzzTargets().begin(), FuzzTargets().end(),
                     [&](const FuzzTargetEntry& t) { return t.name == std::string(argv[1]); });
    if (target == FuzzTargets().end()) {
        std::fprintf(stderr, "no fuzz target \"%s\"\n", argv[1]);
        return Usage();
    }
    int count = 0;
    for (int i = 2; i < argc; ++i) {
        for (const std::string& input : InputsOf(argv[i])) {
            std::vector<uint8_t> bytes = ReadFuzzFile(input);
            std::printf("%s\n", input.c_str());
            std::fflush(stdout);
            target->run(bytes.data(), bytes.size());
            ++count;
        }
    }
    std::printf("%s: %d inputs\n", target->name, count);
    if (count == 0) {
        std::fprintf(stderr, "%s: no inputs\n", target->name);
        return 1;
    }
    return 0;
}
