#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gps/LiveFix.h"
#include "gps/Records.h"
#include "gps/RichRecords.h"

// Recording the live position into a new track of the document's track log. The fixes taken
// go into a journal file first, which Flush() puts on the disk (the owner calls it every
// second), so that a crash or a pulled plug loses at most the last second: the next start
// reads the journal back (ReadJournal). The document takes the points when the recording
// ends (one change), and then the journal goes.

// Which fixes a recording takes: one every `seconds`, or one every `metres` moved.
struct RecordingInterval {
    enum class Kind : uint8_t { TIME, DISTANCE };
    Kind kind = Kind::TIME;
    int seconds = 1;
    double metres = 10;
};

// The points of a recording: records and their details (the altitude of each; the first
// point starts a track named after the recording's start).
struct RecordedTrack {
    std::vector<TrackpointRecord> points;
    std::vector<TrackpointDetails> details;
};

class LiveRecording {
public:
    // Starts a recording into a journal at `journalPath` (created, or replaced); `room`: how
    // many points the document can still take. Nothing, and `error` says why, when the
    // journal cannot be written.
    static std::unique_ptr<LiveRecording> Start(const std::string& journalPath,
                                                RecordingInterval interval, int room,
                                                std::string& error);
    ~LiveRecording();

    enum class Took : uint8_t {
        SKIPPED,  // no position, no time, or within the interval of the last point
        TAKEN,
        FULL,  // the document can take no more: the recording must end; nothing was lost
    };
    Took Take(const LiveFix& fix);
    // Puts what was taken on the disk; false (and the recording goes on in memory) when the
    // journal cannot be written any more.
    bool Flush();
    const RecordedTrack& Track() const { return track_; }
    // After the document took the points: the journal is removed.
    void Finish();

private:
    LiveRecording(int fd, std::string path, RecordingInterval interval, int room);

    int fd_;
    std::string path_;
    RecordingInterval interval_;
    int room_;
    RecordedTrack track_;
    std::vector<uint8_t> pending_;  // entries not yet written
};

// The points of a journal that a recording left behind; nothing when there is no journal
// or it holds no whole entry. A torn last entry (the crash came in its middle) is left out.
std::optional<RecordedTrack> ReadJournal(const std::string& journalPath);
