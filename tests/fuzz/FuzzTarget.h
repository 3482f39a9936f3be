#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// The fuzz targets: one reader of outside data each, fed arbitrary bytes. A target returns 0
// for every input; it aborts (which the fuzzer and the replay report as a fault) when the
// reader breaks a rule of its own: a damaged input that changed the document it was read
// into, or data the program wrote itself that it cannot read back the same.
//
// Each target's source ends with ORVI_FUZZ_TARGET(name, function). Built for libFuzzer
// (ORVI_LIBFUZZER), that is the target's LLVMFuzzerTestOneInput; otherwise it enters the
// function in the table of the replay program, which runs one target by name.

using FuzzFunction = int (*)(const uint8_t* data, size_t size);

[[noreturn]] inline void FuzzFailure(const char* where, const std::string& what)
{
    std::fprintf(stderr, "fuzz target %s: %s\n", where, what.c_str());
    std::abort();
}

#define FUZZ_CHECK(condition, what)                   \
    do {                                              \
        if (!(condition)) {                           \
            FuzzFailure(__FILE__, std::string(what)); \
        }                                             \
    } while (false)

// The replay's table of targets.
struct FuzzTargetEntry {
    const char* name;
    FuzzFunction run;
};
bool RegisterFuzzTarget(const char* name, FuzzFunction run);
const std::vector<FuzzTargetEntry>& FuzzTargets();

#ifdef ORVI_LIBFUZZER
#define ORVI_FUZZ_TARGET(name, function)                                    \
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) \
    {                                                                       \
        return function(data, size);                                        \
    }
#else
#define ORVI_FUZZ_TARGET(name, function) \
    [[maybe_unused]] static const bool function##Registered = RegisterFuzzTarget(name, function);
#endif

// A file of the process's own in a directory in memory where there is one (/dev/shm),
// for readers that take a path. `tag` tells the files of one process apart.
std::string FuzzTempPath(const char* tag);
void WriteFuzzFile(const std::string& path, const uint8_t* data, size_t size);
std::vector<uint8_t> ReadFuzzFile(const std::string& path);
