#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "draw/model/CPropSet.h"
#include "framework/ArchiveException.h"

namespace {

using Bytes = std::vector<uint8_t>;

void PutU32(Bytes& b, uint32_t v)
{
    for (int i = 0; i < 4; ++i) {
        b.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
}

Bytes Written(const CPropValue& value)
{
    Bytes out;
    value.AppendTo(out);
    return out;
}

TEST(CPropValue, StreamFormsCarryTheTypeAndArePaddedToFourBytes)
{
    struct Case {
        const char* legend;
        CPropValue value;
        Bytes bytes;
    } cases[] = {
        {"2-byte integer", CPropValue::I2(1, -2), {2, 0, 0, 0, 0xFE, 0xFF, 0, 0}},
        {"4-byte integer", CPropValue::I4(1, 0x01020304), {3, 0, 0, 0, 4, 3, 2, 1}},
        {"FILETIME",
         CPropValue::FileTime(1, 0x0102030405060708),
         {64, 0, 0, 0, 8, 7, 6, 5, 4, 3, 2, 1}},
        {"empty string: count 1, the zero, 3 bytes padding",
         CPropValue::String(1, ""),
         {30, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}},
        {"3 characters fill the word",
         CPropValue::String(1, "abc"),
         {30, 0, 0, 0, 4, 0, 0, 0, 'a', 'b', 'c', 0}},
        {"4 characters need 3 bytes padding",
         CPropValue::String(1, "abcd"),
         {30, 0, 0, 0, 5, 0, 0, 0, 'a', 'b', 'c', 'd', 0, 0, 0, 0}},
        {"a string ends at its first zero",
         CPropValue::String(1, std::string("ab\0cd", 5)),
         {30, 0, 0, 0, 3, 0, 0, 0, 'a', 'b', 0, 0}},
        {"wide string: characters counted",
         CPropValue(1, 31, {2, 0, 0, 0, 'A', 0, 0, 0}),
         {31, 0, 0, 0, 2, 0, 0, 0, 'A', 0, 0, 0}},
        {"vector of 2-byte integers",
         CPropValue(1, 0x1002, {3, 0, 0, 0, 1, 0, 2, 0, 3, 0}),
         {2, 0x10, 0, 0, 3, 0, 0, 0, 1, 0, 2, 0, 3, 0, 0, 0}},
        {"vector of variants",
         CPropValue(1, 0x100C, {1, 0, 0, 0, 2, 0, 0, 0, 9, 0}),
         {12, 0x10, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 9, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Written(c.value), c.bytes) << c.legend;
        CPropValue read = CPropValue::Read(7, c.bytes.data(), c.bytes.size());
        EXPECT_EQ(read.Type(), c.value.Type()) << c.legend;
        EXPECT_EQ(read.Data(), c.value.Data()) << c.legend;
    }
}

TEST(CPropValue, DataThatIsNotOneValueOfItsTypeIsRefused)
{
    struct Case {
        const char* legend;
        uint32_t type;
        Bytes data;
    } cases[] = {
        {"4-byte integer of 3 bytes", 3, {1, 2, 3}},
        {"string count beyond the data", 30, {5, 0, 0, 0, 'a', 0}},
        {"a byte after the string", 30, {1, 0, 0, 0, 0, 0}},
        {"wide string of an odd byte count", 31, {1, 0, 0, 0, 'A'}},
        {"type 1 is unknown", 1, {}},
        {"a lone variant", 12, {2, 0, 0, 0, 1, 0}},
        {"a vector of nothing", 0x1000, {0, 0, 0, 0}},
        {"a variant inside a variant", 0x100C, {1, 0, 0, 0, 12, 0, 0, 0, 2, 0, 0, 0, 1, 0}},
        {"a vector inside a variant", 0x100C, {1, 0, 0, 0, 2, 0x10, 0, 0, 0, 0, 0, 0}},
        {"array flag", 0x2003, {1, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_THROW(CPropValue(1, c.type, c.data), std::invalid_argument) << c.legend;
    }
}

TEST(CPropValue, TypedGettersAnswerOnlyForTheirType)
{
    CPropValue text = CPropValue::String(1, "Kärtchen");
    std::string s;
    int32_t n = 0;
    EXPECT_TRUE(text.GetString(s));
    EXPECT_EQ(s, "Kärtchen");
    EXPECT_FALSE(text.GetI4(n));
    EXPECT_EQ(n, 0);
    // A counted string without its terminator still reads all its characters.
    CPropValue unterminated(1, 30, {2, 0, 0, 0, 'o', 'k'});
    EXPECT_TRUE(unterminated.GetString(s));
    EXPECT_EQ(s, "ok");
}

TEST(CPropValue, HugeCountsAreRefusedWithoutReadingPastTheData)
{
    // Each buffer is exactly as long as the vector, so a read past it shows under ASan.
    const Bytes cases[] = {
        {30, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 'a'},
        {31, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F, 'a', 0},
        {2, 0x10, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 2, 0},
        {30, 0x10, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF},
        {12, 0x10, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 3, 0, 0, 0},
        {64, 0, 0, 0, 1, 2, 3},
        {30, 0},
    };
    for (const Bytes& bytes : cases) {
        EXPECT_THROW(CPropValue::Read(1, bytes.data(), bytes.size()), ArchiveException);
    }
}

TEST(CPropSection, SettingKeepsPlacesAndAddsNewIdsAheadOfAFinalDictionary)
{
    CPropSection section(Fmtid{});
    section.Set(CPropValue::I4(5, 1));
    section.Set(CPropValue::I4(3, 1));
    Bytes first;
    section.AppendTo(first);  // adds the dictionary last
    section.Set(CPropValue::String(5, "x"));
    section.Set(CPropValue::I4(9, 2));

    std::vector<uint32_t> ids;
    for (const CPropValue& v : section.Properties()) {
        ids.push_back(v.Id());
    }
    EXPECT_EQ(ids, (std::vector<uint32_t>{5, 3, 9, 0}));
    EXPECT_EQ(section.Get(5)->Type(), 30u);
    EXPECT_EQ(section.Get(0), nullptr);
    EXPECT_THROW(section.Set(CPropValue::I4(0, 1)), std::invalid_argument);

    Bytes out;
    section.AppendTo(out);
    EXPECT_EQ(section.Count(), 4u);
    EXPECT_EQ(section.Size(), out.size());
    EXPECT_EQ(out.size() % 4, 1u);  // the 13-byte dictionary ends the section unpadded
}

TEST(CPropSection, DictionaryKeepsItsNamesAndCutsLongOnesTo255Bytes)
{
    const std::string longName(300, 'x');
    Bytes dictionary;
    PutU32(dictionary, 2);
    PutU32(dictionary, 0);
    PutU32(dictionary, 300);
    dictionary.insert(dictionary.end(), longName.begin(), longName.end());
    PutU32(dictionary, 7);
    PutU32(dictionary, 5);
    dictionary.insert(dictionary.end(), {'O', 'r', 't', 0, 0});
    Bytes section;
    PutU32(section, static_cast<uint32_t>(16 + dictionary.size()));
    PutU32(section, 1);
    PutU32(section, 0);
    PutU32(section, 16);
    section.insert(section.end(), dictionary.begin(), dictionary.end());

    CPropSection read = CPropSection::Read(Fmtid{}, section.data(), section.size());
    EXPECT_EQ(read.Name(), longName);
    ASSERT_EQ(read.Names().size(), 1u);
    EXPECT_EQ(read.Names()[0].id, 7u);
    EXPECT_EQ(read.Names()[0].name, "Ort");

    Bytes out;
    read.AppendTo(out);
    Bytes expected;
    PutU32(expected, 2);
    PutU32(expected, 0);
    PutU32(expected, 255);
    expected.insert(expected.end(), 254, 'x');
    expected.push_back(0);
    PutU32(expected, 7);
    PutU32(expected, 4);
    expected.insert(expected.end(), {'O', 'r', 't', 0});
    EXPECT_EQ(Bytes(out.begin() + 16, out.end()), expected);
}

TEST(CPropSet, ReadingReplacesEverythingOnlyWhenTheStreamIsWhole)
{
    CPropSet set;
    set.SetOsVersion(0x1234);
    set.AddSection(Fmtid{1}).Set(CPropValue::I4(2, 3));
    set.AddSection(Fmtid{2}).Set(CPropValue::I2(2, 3));
    Bytes stream = set.Write();
    // The first section ends on its 13-byte dictionary; the second starts on a multiple of 4.
    EXPECT_EQ(stream[28 + 20 + 16] % 4, 0);

    CPropSet read;
    read.Read(stream);
    EXPECT_EQ(read.OsVersion(), 0x1234u);
    ASSERT_EQ(read.Sections().size(), 2u);
    EXPECT_EQ(read.Write(), stream);

    Bytes cut(stream.begin(), stream.end() - 1);
    EXPECT_THROW(read.Read(cut), ArchiveException);
    EXPECT_EQ(read.Write(), stream);
}

}  // namespace
