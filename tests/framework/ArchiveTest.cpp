#include "framework/Archive.h"

#include <functional>

#include <gtest/gtest.h>

namespace {

std::vector<uint8_t> Stored(const std::function<void(Archive&)>& write)
{
    MemoryOutputStream out;
    Archive archive(out);
    write(archive);
    return out.bytes();
}

TEST(Archive, NumbersAreLittleEndian)
{
    auto bytes = Stored([](Archive& a) {
        a.WriteU16(0x1234);
        a.WriteI32(-2);
        a.WriteDouble(1.0);
    });
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0,
                                           0xF0, 0x3F}));
    MemoryInputStream in(bytes);
    Archive archive(in);
    EXPECT_EQ(archive.ReadU16(), 0x1234);
    EXPECT_EQ(archive.ReadI32(), -2);
    EXPECT_EQ(archive.ReadDouble(), 1.0);
}

TEST(Archive, CountBelow65535TakesTwoBytesAndLargerOnesSix)
{
    struct Case {
        const char* legend;
        uint32_t count;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"zero", 0, {0, 0}},
        {"largest short count", 65534, {0xFE, 0xFF}},
        {"65535 escapes", 65535, {0xFF, 0xFF, 0xFF, 0xFF, 0, 0}},
        {"above 16 bits", 0x12345, {0xFF, 0xFF, 0x45, 0x23, 0x01, 0}},
    };
    for (const Case& c : cases) {
        auto bytes = Stored([&](Archive& a) { a.WriteCount(c.count); });
        EXPECT_EQ(bytes, c.bytes) << c.legend;
        MemoryInputStream in(bytes);
        Archive archive(in);
        EXPECT_EQ(archive.ReadCount(), c.count) << c.legend;
    }
}

TEST(Archive, ReadingPastTheEndIsAnEndOfFileError)
{
    std::vector<uint8_t> bytes = {0xFF, 0xFF, 0x01};  // escaped count cut short
    MemoryInputStream in(bytes);
    Archive archive(in);
    try {
        archive.ReadCount();
        FAIL() << "no error";
    } catch (const ArchiveException& e) {
        EXPECT_EQ(e.kind(), ArchiveException::EndOfFile);
        EXPECT_STREQ(e.UserMessage(), "Unexpected file format.");
    }
}

TEST(Archive, RequireEntriesRefusesCountsLargerThanTheRest)
{
    std::vector<uint8_t> bytes(100);
    MemoryInputStream in(bytes);
    Archive archive(in);
    EXPECT_NO_THROW(archive.RequireEntries(10, 10, "x"));
    EXPECT_THROW(archive.RequireEntries(11, 10, "x"), ArchiveException);
    EXPECT_THROW(archive.RequireEntries(0xFFFFFFFFull, 57, "x"), ArchiveException);
}

TEST(ArchiveException, UserMessagesFollowTheKind)
{
    EXPECT_STREQ(ArchiveException(ArchiveException::BadFormat, "").UserMessage(),
                 "Unexpected file format.");
    EXPECT_STREQ(ArchiveException(ArchiveException::OutOfMemory, "").UserMessage(),
                 "Failed to open document.");
    EXPECT_STREQ(ArchiveException(ArchiveException::FileError, "").UserMessage(true),
                 "Failed to save document.");
}

}  // namespace
