#include <cstdlib>
#include <filesystem>

#include "bench/Bench.h"

int main()
{
    std::string dir = (std::filesystem::temp_directory_path() / "orvi-bench-XXXXXX").string();
    if (!mkdtemp(dir.data())) {
        std::perror("orvi-bench: cannot create a work directory");
        return 1;
    }
    std::printf("OrviEdit benchmarks (median of 5 runs; ratio to a reference of the same run)\n\n");
    RunGpsDataBenchmarks(dir);
    RunPointListBenchmarks();
    RunDrawBenchmarks(dir);
    RunLinkBenchmarks();
    std::filesystem::remove_all(dir);
    return 0;
}
