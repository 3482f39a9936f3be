#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

// Benchmarks print the time of an operation as a ratio to a reference measured in the same
// run, so that the numbers compare across machines. They never fail.

// The median of `runs` timings of `work`, in seconds.
inline double Measure(const std::function<void()>& work, int runs = 5)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

inline void Report(const std::string& name, double seconds, const std::string& reference,
                   double referenceSeconds)
{
    std::printf("%-44s %9.3f ms   %7.2f x %s (%.3f ms)\n", name.c_str(), seconds * 1e3,
                referenceSeconds > 0 ? seconds / referenceSeconds : 0.0, reference.c_str(),
                referenceSeconds * 1e3);
    std::fflush(stdout);
}

// Plain file I/O of a number of bytes: the reference for loading and saving documents.
inline void PlainWrite(const std::string& path, const std::vector<char>& bytes)
{
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
        std::perror("orvi-bench: plain write");
    }
    ::fsync(fd);
    ::close(fd);
}

inline void PlainRead(const std::string& path, std::vector<char>& bytes)
{
    int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0 || ::read(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
        std::perror("orvi-bench: plain read");
    }
    ::close(fd);
}

// Each file of benchmarks defines one of these; BenchMain runs them in order.
void RunGpsDataBenchmarks(const std::string& workDirectory);
void RunPointListBenchmarks();
void RunLinkBenchmarks();
void RunDrawBenchmarks(const std::string& workDirectory);
void RunMapViewBenchmarks();
void RunPlotBenchmarks();
void RunUndoBenchmarks();
// The live position: a fix's way from the line to the plot, and following's processor time.
void RunLiveBenchmarks();
