#include "gps/LiveRecording.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "tests/TempDir.h"

namespace {

// A fix `seconds` after 2026-12-09 10:00 UTC, `metres` north of Zug.
LiveFix RecordingFix(int seconds, double metres)
{
    LiveFix fix;
    fix.kind = FixKind::THREE_D;
    fix.utcMillis = (1796810400LL + seconds) * 1000;
    fix.latitude = 47.17 + metres / 111195.0;
    fix.longitude = 8.51;
    fix.altitude = 420.5f;
    return fix;
}

}  // namespace

TEST(LiveRecording, TheIntervalChoosesTheFixesAndTheDocumentsRoomEndsTheRecording)
{
    TempDir dir;
    struct Case {
        RecordingInterval interval;
        int room;
        std::vector<LiveRecording::Took> took;  // for fixes at 0, 1, 2, 5 s and 0, 3, 6, 20 m
    };
    using T = LiveRecording::Took;
    const Case cases[] = {
        {{RecordingInterval::Kind::TIME, 2, 0}, 100, {T::TAKEN, T::SKIPPED, T::TAKEN, T::TAKEN}},
        {{RecordingInterval::Kind::DISTANCE, 1, 5},
         100,
         {T::TAKEN, T::SKIPPED, T::TAKEN, T::TAKEN}},
        {{RecordingInterval::Kind::TIME, 1, 0}, 2, {T::TAKEN, T::FULL, T::FULL, T::FULL}},
    };
    const int seconds[] = {0, 1, 2, 5};
    const double metres[] = {0, 3, 6, 20};
    for (const Case& c : cases) {
        std::string error;
        auto recording = LiveRecording::Start(dir.File("journal"), c.interval, c.room, error);
        ASSERT_TRUE(recording) << error;
        for (size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(recording->Take(RecordingFix(seconds[i], metres[i])), c.took[i]) << i;
        }
        EXPECT_EQ(recording->Track().points.size(), std::min<size_t>(c.room, 3));
        recording->Finish();
        EXPECT_FALSE(ReadJournal(dir.File("journal")));
    }
    LiveFix none = RecordingFix(0, 0);
    none.kind = FixKind::NONE;
    std::string error;
    auto recording = LiveRecording::Start(dir.File("journal"), {}, 10, error);
    EXPECT_EQ(recording->Take(none), LiveRecording::Took::SKIPPED);
    EXPECT_FALSE(LiveRecording::Start(dir.File("no/such/folder/journal"), {}, 10, error));
    EXPECT_NE(error.find("no/such/folder/journal"), std::string::npos);
}

TEST(LiveRecording, AKilledRecordingsJournalGivesBackEveryFlushedPoint)
{
    TempDir dir;
    const std::string path = dir.File("journal");
    pid_t child = ::fork();
    if (child == 0) {
        std::string error;
        auto recording = LiveRecording::Start(path, {}, 100, error);
        for (int s = 0; s < 5; ++s) {
            recording->Take(RecordingFix(s, s * 3.0));
        }
        recording->Flush();
        ::raise(SIGKILL);  // no destructor, no Finish: as a crash leaves it
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    {
        std::ofstream torn(path, std::ios::binary | std::ios::app);
        torn.write("\x01\x02\x03", 3);  // a write the crash cut
    }
    std::optional<RecordedTrack> track = ReadJournal(path);
    ASSERT_TRUE(track);
    ASSERT_EQ(track->points.size(), 5u);
    EXPECT_EQ(track->points[0].newTrack, 1);
    EXPECT_EQ(track->points[4].time, track->points[0].time + 4);
    EXPECT_EQ(track->details[4].altitude, 420.5f);
    EXPECT_STREQ(track->details[0].trackName, "Aufzeichnung 2026-12-09T10:00:00Z");
}
