#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "draw/model/CSummaryInfo.h"
#include "framework/ArchiveException.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Places in summary-new.bin (see summary-new.txt): the section starts at 48, its
// (id, offset) table at 56, the code page's value at 208, the title's at 216, the
// dictionary at 408; the stream is 421 bytes long, the section 373.
constexpr size_t kSectionCount = 24;
constexpr size_t kSectionOffset = 44;
constexpr size_t kSectionSize = 48;
constexpr size_t kPropertyCount = 52;
constexpr size_t kTitleId = 64;
constexpr size_t kTitleOffset = 68;
constexpr size_t kSubjectId = 72;
constexpr size_t kCodePageValue = 208;
constexpr size_t kTitleValue = 216;
constexpr size_t kDictionary = 408;

Bytes Golden()
{
    std::ifstream in(std::string(ORVI_TEST_DATA) + "/orvg/summary-new.bin", std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::function<void(Bytes&)> Put32(size_t pos, uint32_t v)
{
    return [=](Bytes& b) {
        for (int i = 0; i < 4; ++i) {
            b[pos + i] = static_cast<uint8_t>(v >> (8 * i));
        }
    };
}

std::function<void(Bytes&)> Cut(size_t size)
{
    return [=](Bytes& b) { b.resize(size); };
}

std::function<void(Bytes&)> Both(std::function<void(Bytes&)> a, std::function<void(Bytes&)> b)
{
    return [=](Bytes& bytes) {
        a(bytes);
        b(bytes);
    };
}

TEST(SummaryStream, DamageIsRefusedWithAClearMessageAndLeavesTheSummaryAsItWas)
{
    struct Case {
        const char* legend;
        std::function<void(Bytes&)> damage;
        const char* detail;  // part of the exception's text
    } cases[] = {
        {"empty stream", Cut(0), "header cut short"},
        {"header cut short", Cut(27), "header cut short"},
        {"big-endian byte order", [](Bytes& b) { b[0] = 0xFF, b[1] = 0xFE; }, "byte order"},
        {"no sections", Put32(kSectionCount, 0), "no section with the summary"},
        {"section count beyond the stream", Put32(kSectionCount, 0xFFFFFFFF),
         "sections do not fit"},
        {"one section entry more than the stream holds", Put32(kSectionCount, 20),
         "sections do not fit"},
        {"only a section of another kind", [](Bytes& b) { b[28] ^= 1; },
         "no section with the summary"},
        {"section offset past the end", Put32(kSectionOffset, 0x10000), "lies outside the stream"},
        {"section offset at the end", Put32(kSectionOffset, 421), "lies outside the stream"},
        {"section offset inside the header", Put32(kSectionOffset, 8), "lies outside the stream"},
        {"section size beyond the stream", Put32(kSectionSize, 374), "section size 374"},
        {"section size below its own header", Put32(kSectionSize, 7), "section size 7"},
        {"stream cut inside the last value", Cut(415), "section size 373"},
        {"property count beyond the stream", Put32(kPropertyCount, 0x20000000),
         "properties do not fit"},
        {"one property more than the section holds", Put32(kPropertyCount, 46),
         "properties do not fit"},
        {"property offset at the section end", Put32(kTitleOffset, 373), "outside the values"},
        {"property offset inside the table", Put32(kTitleOffset, 100), "outside the values"},
        {"repeated property id", Put32(kSubjectId, 2), "property 2 appears twice"},
        {"string count beyond the section", Put32(kTitleValue + 4, 0xFFFFFFF0),
         "property 2 of type 30"},
        {"unknown type", Put32(kCodePageValue, 1), "unknown type"},
        {"lone variant", Put32(kCodePageValue, 12), "unknown type"},
        {"vector count beyond the section",
         Both(Put32(kCodePageValue, 0x1002), Put32(kCodePageValue + 4, 0x7FFFFFFF)),
         "property 1 of type 4098"},
        {"dictionary entry count beyond the section", Put32(kDictionary, 0x10000000),
         "dictionary of 268435456 entries"},
        {"dictionary name beyond the section", Put32(kDictionary + 8, 100),
         "dictionary name of 100 bytes"},
        {"dictionary cut by the section size", Put32(kSectionSize, 365), "dictionary of 1 entries"},
        {"a string taken for the dictionary", Put32(kTitleId, 0), "dictionary of 30 entries"},
    };
    const Bytes golden = Golden();
    ASSERT_EQ(golden.size(), 421u);
    for (const Case& c : cases) {
        CSummaryInfo summary([] { return uint64_t{1}; });
        summary.SetTitle("vorher");
        const Bytes before = summary.WriteStream();
        Bytes damaged = golden;
        c.damage(damaged);
        damaged.shrink_to_fit();  // so that a read past the end shows under ASan
        try {
            summary.ReadStream(damaged);
            ADD_FAILURE() << c.legend << ": accepted";
        } catch (const ArchiveException& e) {
            std::string what = e.what();
            EXPECT_EQ(what.rfind("summary information: ", 0), 0u) << c.legend << ": " << what;
            EXPECT_NE(what.find(c.detail), std::string::npos) << c.legend << ": " << what;
            EXPECT_STREQ(e.UserMessage(), "Unexpected file format.") << c.legend;
        }
        EXPECT_EQ(summary.GetTitle(), "vorher") << c.legend;
        EXPECT_EQ(summary.WriteStream(), before) << c.legend;
    }
}

}  // namespace
