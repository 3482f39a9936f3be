#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

#include "tests/fuzz/FuzzTarget.h"

namespace {

std::vector<FuzzTargetEntry>& Table()
{
    static std::vector<FuzzTargetEntry> table;
    return table;
}

}  // namespace

bool RegisterFuzzTarget(const char* name, FuzzFunction run)
{
    Table().push_back({name, run});
    return true;
}

const std::vector<FuzzTargetEntry>& FuzzTargets()
{
    return Table();
}

std::string FuzzTempPath(const char* tag)
{
    std::error_code error;
    std::filesystem::path dir = "/dev/shm";
    if (!std::filesystem::is_directory(dir, error) || access(dir.c_str(), W_OK) != 0) {
        dir = std::filesystem::temp_directory_path();
    }
    return (dir / ("orvi-fuzz-" + std::to_string(getpid()) + "-" + tag)).string();
}

void WriteFuzzFile(const std::string& path, const uint8_t* data, size_t size)
{
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    FUZZ_CHECK(fd >= 0, "cannot create " + path);
    size_t done = 0;
    while (done < size) {
        ssize_t n = write(fd, data + done, size - done);
        FUZZ_CHECK(n > 0, "cannot write " + path);
        done += static_cast<size_t>(n);
    }
    close(fd);
}

std::vector<uint8_t> ReadFuzzFile(const std::string& path)
{
    std::vector<uint8_t> bytes;
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    FUZZ_CHECK(fd >= 0, "cannot open " + path);
    uint8_t chunk[65536];
    for (;;) {
        ssize_t n = read(fd, chunk, sizeof chunk);
        FUZZ_CHECK(n >= 0, "cannot read " + path);
        if (n == 0) {
            break;
        }
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    close(fd);
    return bytes;
}
