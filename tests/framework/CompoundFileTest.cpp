#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <stdexcept>

#include <gtest/gtest.h>

#include "framework/ArchiveException.h"
#include "framework/CompoundFile.h"
#include "tests/TempDir.h"

namespace {

std::vector<uint8_t> Pattern(size_t size, uint8_t seed)
{
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<uint8_t>(seed + i * 7 + (i >> 9));
    }
    return bytes;
}

// Streams below and above the 4096-byte limit of the small-stream area, an empty stream,
// a control character in a name, and storages two deep.
CompoundStorage SampleTree()
{
    CompoundStorage root;
    root.streams["Contents"] = Pattern(70000, 1);
    root.streams["\005SummaryInformation"] = Pattern(400, 2);
    root.streams["Empty"] = {};
    CompoundStorage& item = root.storages["Embedding 1"];
    item.streams["Data"] = Pattern(5000, 3);
    item.streams["Item"] = Pattern(30, 4);
    item.storages["Inner"].streams["x"] = {1, 2, 3};
    root.storages["Embedding 2"] = {};
    return root;
}

void ExpectSameTree(const CompoundStorage& a, const CompoundStorage& b, const std::string& where)
{
    EXPECT_EQ(a.streams, b.streams) << where;
    ASSERT_EQ(a.storages.size(), b.storages.size()) << where;
    for (const auto& [name, sub] : a.storages) {
        ASSERT_TRUE(b.Storage(name)) << where << "/" << name;
        ExpectSameTree(sub, *b.Storage(name), where + "/" + name);
    }
}

ArchiveException::Kind ReadErrorKind(const std::string& path)
{
    try {
        ReadCompoundFile(path);
    } catch (const ArchiveException& e) {
        return e.kind();
    }
    ADD_FAILURE() << path << " was read";
    return ArchiveException::OutOfMemory;
}

TEST(CompoundFile, TreeOfStreamsAndStoragesReadsBackAsWritten)
{
    TempDir dir;
    CompoundStorage tree = SampleTree();
    WriteCompoundFile(dir.File("a.orvg"), tree);
    ExpectSameTree(ReadCompoundFile(dir.File("a.orvg")), tree, "root");
}

TEST(CompoundFile, FailedWriteLeavesTheTargetAndNoTemporaryFile)
{
    TempDir dir;
    std::string path = dir.File("a.orvg");
    WriteBytes(path, {'o', 'l', 'd'});
    for (const std::string& bad : {std::string(), std::string(32, 'n'), std::string("a/b")}) {
        CompoundStorage tree = SampleTree();
        tree.storages["Embedding 1"].streams[bad] = {1};
        EXPECT_THROW(WriteCompoundFile(path, tree), std::invalid_argument) << bad;
    }
    EXPECT_EQ(ReadBytes(path), (std::vector<uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    // 31 characters, some of them two bytes long in UTF-8, is the longest name.
    CompoundStorage tree;
    tree.streams["\xc3\xa4" + std::string(30, 'n')] = {1};
    WriteCompoundFile(path, tree);
    ExpectSameTree(ReadCompoundFile(path), tree, "root");
}

TEST(CompoundFile, WriteKeepsThePermissionsOfTheReplacedFile)
{
    TempDir dir;
    std::string path = dir.File("a.orvg");
    WriteBytes(path, {});
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    WriteCompoundFile(path, SampleTree());
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(CompoundFile, MissingFilesAndOtherFilesAreRefused)
{
    TempDir dir;
    EXPECT_EQ(ReadErrorKind(dir.File("none.orvg")), ArchiveException::FileError);
    EXPECT_EQ(ReadErrorKind(dir.path()), ArchiveException::FileError);
    WriteBytes(dir.File("text.orvg"), std::vector<uint8_t>(2048, 'x'));
    EXPECT_EQ(ReadErrorKind(dir.File("text.orvg")), ArchiveException::BadFormat);
    WriteBytes(dir.File("empty.orvg"), {});
    EXPECT_EQ(ReadErrorKind(dir.File("empty.orvg")), ArchiveException::BadFormat);
}

TEST(CompoundFile, FileCutShortIsRefused)
{
    TempDir dir;
    WriteCompoundFile(dir.File("a.orvg"), SampleTree());
    std::vector<uint8_t> whole = ReadBytes(dir.File("a.orvg"));
    for (size_t keep : {size_t{100}, size_t{512}, whole.size() / 2, whole.size() - 512}) {
        WriteBytes(dir.File("cut.orvg"), std::vector<uint8_t>(whole.begin(), whole.begin() + keep));
        EXPECT_EQ(ReadErrorKind(dir.File("cut.orvg")), ArchiveException::BadFormat) << keep;
    }
}

// Puts `size` into the directory entry of the stream `name` (UTF-16 in the entry).
bool ClaimStreamSize(std::vector<uint8_t>& file, const std::string& name, uint32_t size)
{
    for (size_t entry = 512; entry + 128 <= file.size(); entry += 128) {
        bool same = file[entry + 64] == 2 * (name.size() + 1);
        for (size_t i = 0; same && i < name.size(); ++i) {
            same = file[entry + 2 * i] == static_cast<uint8_t>(name[i]) &&
                   file[entry + 2 * i + 1] == 0;
        }
        if (same) {
            for (int b = 0; b < 4; ++b) {
                file[entry + 120 + b] = static_cast<uint8_t>(size >> (8 * b));
            }
            return true;
        }
    }
    return false;
}

TEST(CompoundFile, StreamsClaimingMoreThanTheFileAreRefusedOrLeftOut)
{
    TempDir dir;
    WriteCompoundFile(dir.File("a.orvg"), SampleTree());
    std::vector<uint8_t> file = ReadBytes(dir.File("a.orvg"));
    std::vector<uint8_t> longer = file;
    ASSERT_TRUE(ClaimStreamSize(longer, "Contents", static_cast<uint32_t>(file.size() - 8)));
    WriteBytes(dir.File("longer.orvg"), longer);
    EXPECT_EQ(ReadErrorKind(dir.File("longer.orvg")), ArchiveException::BadFormat);

    std::vector<uint8_t> huge = file;
    ASSERT_TRUE(ClaimStreamSize(huge, "Contents", 0x7FFFFF00));
    WriteBytes(dir.File("huge.orvg"), huge);
    try {
        EXPECT_EQ(ReadCompoundFile(dir.File("huge.orvg")).Stream("Contents"), nullptr);
    } catch (const ArchiveException& e) {
        EXPECT_EQ(e.kind(), ArchiveException::BadFormat);
    }
}

// The root entry of a file as libgsf writes it (512-byte sectors): the first entry of the
// directory's first sector, whose number the header holds at 0x30.
size_t RootEntry(const std::vector<uint8_t>& file)
{
    uint32_t first = 0;
    for (int b = 3; b >= 0; --b) {
        first = first << 8 | file[0x30 + b];
    }
    return (size_t{first} + 1) * 512;
}

void PutU32(std::vector<uint8_t>& file, size_t at, uint32_t value)
{
    for (int b = 0; b < 4; ++b) {
        file[at + b] = static_cast<uint8_t>(value >> (8 * b));
    }
}

TEST(CompoundFile, RootEntryWithSiblingsIsRefused)
{
    TempDir dir;
    CompoundStorage tree;
    tree.streams["Contents"] = {1, 2, 3};
    tree.streams["\005SummaryInformation"] = {4, 5, 6};
    WriteCompoundFile(dir.File("a.orvg"), tree);
    const std::vector<uint8_t> file = ReadBytes(dir.File("a.orvg"));
    const size_t root = RootEntry(file);
    ASSERT_EQ(file.at(root + 0x42), 5) << "the root storage's entry type";
    struct Case {
        const char* legend;
        size_t field;
    } cases[] = {
        {"left sibling is entry 1", 0x44},
        {"right sibling is entry 1", 0x48},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> damaged = file;
        PutU32(damaged, root + c.field, 1);
        WriteBytes(dir.File("sibling.orvg"), damaged);
        EXPECT_EQ(ReadErrorKind(dir.File("sibling.orvg")), ArchiveException::BadFormat) << c.legend;
    }
}

// What is written to file descriptor 2 while `run` runs.
std::string StandardErrorOf(const std::function<void()>& run)
{
    std::FILE* sink = std::tmpfile();
    if (!sink) {
        ADD_FAILURE() << "no temporary file";
        return {};
    }
    std::fflush(stderr);
    int saved = dup(STDERR_FILENO);
    dup2(fileno(sink), STDERR_FILENO);
    run();
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    std::string text;
    std::rewind(sink);
    for (int c = std::fgetc(sink); c != EOF; c = std::fgetc(sink)) {
        text += static_cast<char>(c);
    }
    std::fclose(sink);
    return text;
}

TEST(CompoundFile, StreamThatCannotBeOpenedIsRefusedWithoutAWordOnStandardError)
{
    TempDir dir;
    WriteCompoundFile(dir.File("a.orvg"), SampleTree());
    std::vector<uint8_t> file = ReadBytes(dir.File("a.orvg"));
    // The small streams live in the root's stream; cut to nothing, none of them can be read,
    // and libgsf warns about the child it cannot open (in GLib's default log domain).
    PutU32(file, RootEntry(file) + 120, 0);
    WriteBytes(dir.File("cut.orvg"), file);
    std::string printed = StandardErrorOf([&] {
        try {
            ReadCompoundFile(dir.File("cut.orvg"));
            ADD_FAILURE() << "read";
        } catch (const ArchiveException& e) {
            EXPECT_EQ(e.kind(), ArchiveException::BadFormat);
            EXPECT_NE(std::string(e.what()).find("a directory entry cannot be opened"),
                      std::string::npos)
                << e.what();
        }
    });
    EXPECT_EQ(printed, "");
}

}  // namespace
