#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "draw/model/CSummaryInfo.h"
#include "framework/ArchiveException.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint64_t kCreated = 133000000000000000;  // Sat Jun 18 04:26:40 2022 UTC
constexpr uint64_t kSecond = FILETIME_PER_SECOND;

Bytes ReadFile(const char* name)
{
    std::ifstream in(std::string(ORVI_TEST_DATA) + "/orvg/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// A summary on a clock the test sets.
struct Clocked {
    uint64_t now = kCreated;
    CSummaryInfo summary{[this] { return now; }};
};

void NewMap(CSummaryInfo& s)
{
    s.StartEditClock();
    s.StampCreateDate();
    s.SetPageCount(1);
    s.SetAppName("Skizel");
}

void Save(CSummaryInfo& s)
{
    s.StampSaveDate();
    s.IncrementRevision();
    s.SetLastAuthor(s.GetAuthor());
    s.AddEditClockToTotal();
    s.StartEditClock();
}

uint64_t StoredFileTime(const CSummaryInfo& s, uint32_t id)
{
    uint64_t t = 0;
    s.PropertySet().GetSection(FMTID_SUMMARY_INFORMATION)->Get(id)->GetFileTime(t);
    return t;
}

// Local time is UTC while it lives.
class UtcZone {
public:
    UtcZone()
    {
        if (const char* tz = std::getenv("TZ")) {
            saved_ = tz;
            hadZone_ = true;
        }
        setenv("TZ", "UTC", 1);
        tzset();
    }
    ~UtcZone()
    {
        if (hadZone_) {
            setenv("TZ", saved_.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

private:
    std::string saved_;
    bool hadZone_ = false;
};

TEST(CSummaryInfo, NewMapStreamMatchesTheGoldenBytes)
{
    Clocked c;
    NewMap(c.summary);
    Bytes golden = ReadFile("summary-new.bin");
    ASSERT_EQ(golden.size(), 421u);
    EXPECT_EQ(c.summary.WriteStream(), golden);
    EXPECT_EQ(c.summary.WriteStream(), golden) << "a second write adds no second dictionary";
}

TEST(CSummaryInfo, NewMapShowsItsStartingValues)
{
    UtcZone utc;
    Clocked c;
    NewMap(c.summary);
    c.now += 59 * kSecond;
    const CSummaryInfo& s = c.summary;
    EXPECT_EQ(s.GetRevision(), "0");
    EXPECT_EQ(s.GetEditTime(), "0 min");
    EXPECT_EQ(s.GetCreated(), "Sat Jun 18 04:26:40 2022");
    EXPECT_EQ(s.GetLastSaved(), "");
    EXPECT_EQ(s.GetLastPrinted(), "");
    EXPECT_EQ(s.GetPageCount(), "1");
    EXPECT_EQ(s.GetWordCount(), "0");
    EXPECT_EQ(s.GetCharCount(), "0");
    EXPECT_EQ(s.GetSecurity(), "0");
    EXPECT_EQ(s.GetAppName(), "Skizel");
    EXPECT_EQ(s.GetTitle() + s.GetSubject() + s.GetAuthor() + s.GetKeywords() + s.GetComments() +
                  s.GetTemplate() + s.GetLastAuthor(),
              "");
    EXPECT_EQ(s.CodePage(), 1252u);
    EXPECT_EQ(s.PropertySet().OsVersion(), SUMMARY_OS_VERSION);
}

TEST(CSummaryInfo, EachSaveRaisesTheRevisionAndStampsDateAuthorAndEditingTime)
{
    Clocked c;
    CSummaryInfo& s = c.summary;
    NewMap(s);
    s.SetAuthor("Jörg");
    c.now += 90 * kSecond;
    Save(s);
    EXPECT_EQ(s.GetRevision(), "1");
    EXPECT_EQ(s.GetLastAuthor(), "Jörg");
    EXPECT_EQ(StoredFileTime(s, PID_LASTSAVE_DTM), kCreated + 90 * kSecond);
    EXPECT_EQ(StoredFileTime(s, PID_EDITTIME), 90 * kSecond);

    s.SetAuthor("Eva");
    c.now += 60 * kSecond;
    Save(s);
    EXPECT_EQ(s.GetRevision(), "2");
    EXPECT_EQ(s.GetLastAuthor(), "Eva");
    EXPECT_EQ(StoredFileTime(s, PID_EDITTIME), 150 * kSecond);
    EXPECT_EQ(s.GetEditTime(), "2 min");
    c.now += 30 * kSecond;
    EXPECT_EQ(s.GetEditTime(), "3 min") << "the running clock counts before the next save";
    EXPECT_EQ(StoredFileTime(s, PID_CREATE_DTM), kCreated) << "saving keeps the creation date";

    s.StampPrintDate();
    EXPECT_EQ(StoredFileTime(s, PID_LASTPRINTED), c.now);
}

TEST(CSummaryInfo, EditingClockCountsFromItsStartAndNeverBackwards)
{
    Clocked c;
    CSummaryInfo& s = c.summary;
    c.now += 10 * 60 * kSecond;
    EXPECT_EQ(s.GetEditTime(), "10 min") << "the clock runs from construction";
    s.StartEditClock();
    EXPECT_EQ(s.GetEditTime(), "0 min");
    c.now -= 5 * 60 * kSecond;  // the system clock was set back
    EXPECT_EQ(s.GetEditTime(), "0 min");
    s.AddEditClockToTotal();
    EXPECT_EQ(StoredFileTime(s, PID_EDITTIME), 0u);

    // Opening: the stored total of the file plus the time since the clock was started.
    s.StartEditClock();
    s.ReadStream(ReadFile("summary-foreign.bin"));  // 12345678900 stored: 20.6 min
    EXPECT_EQ(s.GetEditTime(), "20 min");
    c.now += 30 * kSecond;
    EXPECT_EQ(s.GetEditTime(), "21 min");
}

TEST(CSummaryInfo, RevisionTextsIncrementAsUnsigned32BitDecimals)
{
    struct Case {
        const char* stored;
        const char* next;
    } cases[] = {
        {"0", "1"},          {"41", "42"},
        {" 7 Entwurf", "8"}, {"Entwurf", "1"},
        {"", "1"},           {"4294967294", "4294967295"},
        {"4294967295", "0"}, {"99999999999", "0"},
    };
    for (const Case& c : cases) {
        CSummaryInfo s([] { return kCreated; });
        // Another revision text gets in only through a stream.
        CPropSet set = s.PropertySet();
        set.GetSection(FMTID_SUMMARY_INFORMATION)->Set(CPropValue::String(PID_REVNUMBER, c.stored));
        s.ReadStream(set.Write());
        s.IncrementRevision();
        EXPECT_EQ(s.GetRevision(), c.next) << c.stored;
    }
}

TEST(CSummaryInfo, ForeignStreamReadsAndWritesBackByteForByte)
{
    UtcZone utc;
    Bytes foreign = ReadFile("summary-foreign.bin");
    ASSERT_EQ(foreign.size(), 400u);
    Clocked c;
    CSummaryInfo& s = c.summary;
    s.ReadStream(foreign);
    EXPECT_EQ(s.WriteStream(), foreign);

    EXPECT_EQ(s.PropertySet().OsVersion(), 0x0002000Au);
    EXPECT_EQ(s.PropertySet().ClassId(), Fmtid{});
    EXPECT_EQ(s.GetTitle(),
              "Karte S\xFC"
              "d");
    EXPECT_EQ(s.GetAuthor(), "Anna");
    EXPECT_EQ(s.GetAppName(), "Textprogramm 9.0");
    EXPECT_EQ(s.GetRevision(), "41");
    EXPECT_EQ(s.GetCreated(), "Sat Jun 18 04:26:40 2022");
    EXPECT_EQ(s.GetSubject(), "") << "missing";
    EXPECT_EQ(s.GetPageCount(), "") << "missing";
    EXPECT_EQ(s.GetLastSaved(), "") << "missing";

    // A save appends what is missing after the last property; the rest stays as read.
    s.SetAuthor("Ben");
    Save(s);
    Bytes saved = s.WriteStream();
    Clocked again;
    again.summary.ReadStream(saved);
    EXPECT_EQ(again.summary.GetRevision(), "42");
    EXPECT_EQ(again.summary.GetLastAuthor(), "Ben");
    EXPECT_EQ(again.summary.GetTitle(), s.GetTitle());
    std::vector<uint32_t> ids;
    for (const CPropValue& v :
         again.summary.PropertySet().GetSection(FMTID_SUMMARY_INFORMATION)->Properties()) {
        ids.push_back(v.Id());
    }
    EXPECT_EQ(ids, (std::vector<uint32_t>{1, 18, 2, 4, 0, 0x20, 9, 10, 12, 19, 17, 13, 8}));
    EXPECT_EQ(again.summary.PropertySet().Sections().size(), 2u);
}

TEST(CSummaryInfo, ProgramStreamReadsAndWritesBackByteForByte)
{
    Clocked c;
    c.summary.ReadStream(ReadFile("summary-new.bin"));
    EXPECT_EQ(c.summary.WriteStream(), ReadFile("summary-new.bin"));
}

TEST(CSummaryInfo, IntegersShowAsUnsignedAndTextsStopAtAZero)
{
    CSummaryInfo s;
    s.SetPageCount(-1);
    s.SetSecurity(2);
    s.SetTitle(std::string("Karte\0Rest", 10));
    EXPECT_EQ(s.GetPageCount(), "4294967295");
    EXPECT_EQ(s.GetSecurity(), "2");
    EXPECT_EQ(s.GetTitle(), "Karte");
}

TEST(FileTime, NowAndFormattingUseTheUnixEpochOf1970)
{
    uint64_t now = FileTimeNow();
    int64_t seconds = static_cast<int64_t>((now - FILETIME_UNIX_EPOCH) / FILETIME_PER_SECOND);
    EXPECT_LE(std::abs(seconds - static_cast<int64_t>(std::time(nullptr))), 2);
    UtcZone utc;
    EXPECT_EQ(FormatFileTimeLocal(FILETIME_UNIX_EPOCH), "Thu Jan  1 00:00:00 1970");
    EXPECT_EQ(FormatFileTimeLocal(0), "");
}

}  // namespace
