#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "bench/Bench.h"

// Without arguments, runs every benchmark; otherwise only the groups named: gps, points,
// draw, mapview, plot, link, undo.
int main(int argc, char** argv)
{
    const char* const groups[] = {"gps",  "points", "draw", "mapview",
                                  "plot", "link",   "undo", "live"};
    for (int i = 1; i < argc; ++i) {
        if (std::none_of(std::begin(groups), std::end(groups),
                         [&](const char* g) { return std::strcmp(argv[i], g) == 0; })) {
            std::fprintf(stderr,
                         "usage: orvi-bench [gps|points|draw|mapview|plot|link|undo|live]...\n");
            return 2;
        }
    }
    auto wanted = [&](const char* group) {
        if (argc < 2) {
            return true;
        }
        for (int i = 1; i < argc; ++i) {
            if (std::strcmp(argv[i], group) == 0) {
                return true;
            }
        }
        return false;
    };
    std::string dir = (std::filesystem::temp_directory_path() / "orvi-bench-XXXXXX").string();
    if (!mkdtemp(dir.data())) {
        std::perror("orvi-bench: cannot create a work directory");
        return 1;
    }
    std::printf("OrviEdit benchmarks (median of 5 runs; ratio to a reference of the same run)\n\n");
    if (wanted("gps")) {
        RunGpsDataBenchmarks(dir);
    }
    if (wanted("points")) {
        RunPointListBenchmarks();
    }
    if (wanted("draw")) {
        RunDrawBenchmarks(dir);
    }
    if (wanted("mapview")) {
        RunMapViewBenchmarks();
    }
    if (wanted("plot")) {
        RunPlotBenchmarks();
    }
    if (wanted("link")) {
        RunLinkBenchmarks();
    }
    if (wanted("undo")) {
        RunUndoBenchmarks();
    }
    if (wanted("live")) {
        RunLiveBenchmarks();
    }
    std::filesystem::remove_all(dir);
    return 0;
}
