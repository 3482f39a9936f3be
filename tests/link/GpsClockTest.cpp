#include <clocale>

#include <gtest/gtest.h>

#include "link/CGpsLink.h"
#include "link/GpsTimeConversion.h"
#include "link/SystemClock.h"
#include "tests/link/ScriptedPort.h"

namespace {

class FakeClock : public SystemClock {
public:
    int64_t now = 0;
    std::vector<int64_t> sets;
    bool refuse = false;
    int64_t NowUtc() override { return now; }
    bool SetUtc(int64_t seconds) override
    {
        sets.push_back(seconds);
        return !refuse;
    }
};

Bytes TimePacket(int year, int month, int day, int hour, int minute, int second)
{
    return FrameBytes(14, {uint8_t(month), uint8_t(day), uint8_t(year), uint8_t(year >> 8),
                           uint8_t(hour), uint8_t(hour >> 8), uint8_t(minute), uint8_t(second)});
}

class Clock : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::setlocale(LC_ALL, "C");
        previous = SystemClock::SetCurrent(&clock);
        env.ScriptOpening();
        link = std::make_unique<CGpsLink>();
        env.ClearWritten();
        // The receiver's and the computer's times lie a day after the build date.
        receiverNow = BuildDateUtc() + 86400 + 12 * 3600;
        clock.now = receiverNow - 3 * 3600;
    }
    void TearDown() override { SystemClock::SetCurrent(previous); }

    void ScriptTime(int year, int month, int day, int hour, int minute, int second)
    {
        env.script->Reply(Ack(10));
        env.script->Reply(TimePacket(year, month, day, hour, minute, second));
    }

    // The receiver reports `seconds` (UTC) in its fields.
    void ScriptTime(int64_t seconds)
    {
        time_t t = static_cast<time_t>(seconds);
        struct tm f {};
        gmtime_r(&t, &f);
        ScriptTime(f.tm_year + 1900, f.tm_mon + 1, f.tm_mday, f.tm_hour, f.tm_min, f.tm_sec);
    }

    int64_t receiverNow = 0;

    ScriptedLinkEnvironment env;
    FakeClock clock;
    SystemClock* previous = nullptr;
    std::unique_ptr<CGpsLink> link;
};

TEST_F(Clock, TheTimePacketReadsFieldByField)
{
    env.script->Reply(Ack(10));
    env.script->Reply(FrameBytes(14, {0x0C, 0x07, 0xD1, 0x07, 0x0E, 0x00, 0x1E, 0x2D}));
    GpsTime t;
    ASSERT_EQ(link->ReadGpsTime(t), 0);
    EXPECT_EQ(t.year, 2001);
    EXPECT_EQ(t.month, 12);
    EXPECT_EQ(t.day, 7);
    EXPECT_EQ(t.hour, 14);
    EXPECT_EQ(t.minute, 30);
    EXPECT_EQ(t.second, 45);
    EXPECT_EQ(env.script->written, FrameBytes(10, {5, 0}) + Ack(14));
}

TEST_F(Clock, NoChangesNothing)
{
    ScriptTime(receiverNow);
    EXPECT_EQ(link->SetClockFromGps(), 0);
    ASSERT_EQ(env.prompts.questions.size(), 1u);
    EXPECT_EQ(env.prompts.questions[0], "Zeit des GPS-Empfängers:\t" +
                                            FormatUtcFields(receiverNow) +
                                            "\naktuelle Systemzeit:\t" +
                                            FormatUtcFields(clock.now) + "\n\nSystemzeit stellen?");
    EXPECT_TRUE(clock.sets.empty());
}

TEST_F(Clock, YesSetsTheTimeOfASecondReading)
{
    ScriptTime(receiverNow);
    ScriptTime(receiverNow + 9);
    env.prompts.answers = {true};
    clock.refuse = true;  // a refusal is not reported
    EXPECT_EQ(link->SetClockFromGps(), 0);
    EXPECT_EQ(clock.sets, std::vector<int64_t>{receiverNow + 9});
    EXPECT_TRUE(env.prompts.messages.empty());
}

TEST_F(Clock, AReceiverThatFailsAfterTheQuestionLeavesTheClockAlone)
{
    ScriptTime(receiverNow);
    env.prompts.answers = {true};
    EXPECT_EQ(link->SetClockFromGps(), -1);
    EXPECT_TRUE(clock.sets.empty());
    EXPECT_FALSE(env.prompts.messages.empty());
}

TEST_F(Clock, ASilentReceiverAsksNothing)
{
    EXPECT_EQ(link->SetClockFromGps(), -1);
    EXPECT_TRUE(env.prompts.questions.empty());
    EXPECT_FALSE(env.prompts.messages.empty());
}

TEST_F(Clock, DatesFromBeforeTheWeekRolloverAreMovedOn)
{
    // Receivers of this family report the time 1024 weeks early.
    ScriptTime(receiverNow - GPS_WEEK_ROLLOVER_SECONDS);
    ScriptTime(receiverNow - GPS_WEEK_ROLLOVER_SECONDS + 1);
    env.prompts.answers = {true};
    EXPECT_EQ(link->SetClockFromGps(), 0);
    EXPECT_NE(env.prompts.questions[0].find(FormatUtcFields(receiverNow)), std::string::npos)
        << env.prompts.questions[0];
    EXPECT_EQ(clock.sets, std::vector<int64_t>{receiverNow + 1});
}

TEST(GpsTimeConversion, RolloverAndInvalidFields)
{
    EXPECT_EQ(ReceiverTimeUtc({2001, 12, 7, 14, 30, 45}, 0), 1007735445);
    EXPECT_EQ(ReceiverTimeUtc({2001, 12, 7, 14, 30, 45}, 1007735446),
              1007735445 + GPS_WEEK_ROLLOVER_SECONDS);
    EXPECT_EQ(ReceiverTimeUtc({1990, 1, 1, 0, 0, 0}, 1796000000),
              631152000 + 2 * GPS_WEEK_ROLLOVER_SECONDS);
    EXPECT_EQ(ReceiverTimeUtc({2001, 13, 7, 14, 30, 45}, 0), std::nullopt);
    EXPECT_EQ(ReceiverTimeUtc({2001, 2, 29, 14, 30, 45}, 0), std::nullopt);
    EXPECT_EQ(ReceiverTimeUtc({2001, 2, 28, 24, 0, 0}, 0), std::nullopt);
}

TEST(GpsTimeConversion, TheFieldsAreShownInTheLocaleFormat)
{
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(FormatUtcFields(1007735445), "Fri Dec  7 14:30:45 2001");
    if (std::setlocale(LC_ALL, "de_DE.UTF-8")) {
        EXPECT_EQ(FormatUtcFields(1007735445), "Fr 07 Dez 2001 14:30:45 GMT");
    }
    std::setlocale(LC_ALL, "C");
}

}  // namespace
