#include "gps/LiveRecording.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>

#include "gps/Geodesy.h"
#include "gps/TrackTime.h"

namespace {

// The journal: these 8 bytes, then one entry of kEntrySize bytes per point taken: latitude
// and longitude s32 semicircles, time u32 (the track points' epoch), altitude f32, the
// new-track byte, a reserved byte and a 16-bit sum of the 18 bytes before it, little-endian.
constexpr char kJournalMagic[8] = {'O', 'R', 'V', 'J', 'R', 'N', 'L', '1'};
constexpr size_t kEntrySize = 20;

void PutLe(uint8_t* out, uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

uint32_t GetLe(const uint8_t* in)
{
    return in[0] | (in[1] << 8) | (in[2] << 16) | (static_cast<uint32_t>(in[3]) << 24);
}

uint16_t EntrySum(const uint8_t* entry)
{
    uint16_t sum = 0;
    for (size_t i = 0; i < kEntrySize - 2; ++i) {
        sum = static_cast<uint16_t>(sum * 31 + entry[i]);
    }
    return sum;
}

void EncodeEntry(const TrackpointRecord& point, float altitude, uint8_t* entry)
{
    PutLe(entry, static_cast<uint32_t>(point.latitude));
    PutLe(entry + 4, static_cast<uint32_t>(point.longitude));
    PutLe(entry + 8, point.time);
    uint32_t bits;
    std::memcpy(&bits, &altitude, 4);
    PutLe(entry + 12, bits);
    entry[16] = point.newTrack;
    entry[17] = 0;
    const uint16_t sum = EntrySum(entry);
    entry[18] = static_cast<uint8_t>(sum);
    entry[19] = static_cast<uint8_t>(sum >> 8);
}

bool WriteAll(int fd, const uint8_t* data, size_t size)
{
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// The new track's name: when it began, in UTC.
void NameTrack(RecordedTrack& track)
{
    if (!track.points.empty() && !track.details.empty()) {
        const std::string name =
            "Aufzeichnung " + FormatIso8601Utc(TrackTimeToUnix(track.points[0].time));
        SetFieldText(track.details[0].trackName, TRACK_NAME_SIZE, name);
    }
}

}  // namespace

std::unique_ptr<LiveRecording> LiveRecording::Start(const std::string& journalPath,
                                                    RecordingInterval interval, int room,
                                                    std::string& error)
{
    int fd = ::open(journalPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0 ||
        !WriteAll(fd, reinterpret_cast<const uint8_t*>(kJournalMagic), sizeof kJournalMagic) ||
        ::fdatasync(fd) != 0) {
        error = std::string("Das Aufzeichnungsjournal ") + journalPath +
                " kann nicht geschrieben werden: " + std::strerror(errno);
        if (fd >= 0) {
            ::close(fd);
        }
        return nullptr;
    }
    return std::unique_ptr<LiveRecording>(
        new LiveRecording(fd, journalPath, interval, std::max(room, 0)));
}

LiveRecording::LiveRecording(int fd, std::string path, RecordingInterval interval, int room)
    : fd_(fd), path_(std::move(path)), interval_(interval), room_(room)
{
}

LiveRecording::~LiveRecording()
{
    if (fd_ >= 0) {
        Flush();
        ::close(fd_);
    }
}

LiveRecording::Took LiveRecording::Take(const LiveFix& fix)
{
    std::optional<uint32_t> time =
        fix.utcMillis > 0 ? UnixToTrackTime(fix.utcMillis / 1000) : std::nullopt;
    if (!fix.HasPosition() || !time) {
        return Took::SKIPPED;
    }
    TrackpointRecord point{DegreesToSemicircles(fix.latitude), DegreesToSemicircles(fix.longitude),
                           *time, static_cast<uint8_t>(track_.points.empty())};
    if (!track_.points.empty()) {
        const TrackpointRecord& last = track_.points.back();
        if (interval_.kind == RecordingInterval::Kind::TIME) {
            if (point.time < last.time + static_cast<uint32_t>(std::max(interval_.seconds, 1))) {
                return Took::SKIPPED;
            }
        } else {
            PolarOffset moved{};
            CourseDistanceSemi({last.latitude, last.longitude}, {point.latitude, point.longitude},
                               moved);
            if (moved.distance * 1000 < interval_.metres) {
                return Took::SKIPPED;
            }
        }
    }
    if (static_cast<int>(track_.points.size()) >= room_) {
        return Took::FULL;
    }
    TrackpointDetails details = NoTrackpointDetails();
    if (fix.kind == FixKind::THREE_D && HasValue(fix.altitude)) {
        details.altitude = fix.altitude;
    }
    track_.points.push_back(point);
    track_.details.push_back(details);
    uint8_t entry[kEntrySize];
    EncodeEntry(point, details.altitude, entry);
    pending_.insert(pending_.end(), entry, entry + kEntrySize);
    if (track_.points.size() == 1) {
        NameTrack(track_);
    }
    return static_cast<int>(track_.points.size()) >= room_ ? Took::FULL : Took::TAKEN;
}

bool LiveRecording::Flush()
{
    if (pending_.empty()) {
        return true;
    }
    if (fd_ < 0 || !WriteAll(fd_, pending_.data(), pending_.size()) || ::fdatasync(fd_) != 0) {
        return false;
    }
    pending_.clear();
    return true;
}

void LiveRecording::Finish()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    ::unlink(path_.c_str());
}

std::optional<RecordedTrack> ReadJournal(const std::string& journalPath)
{
    int fd = ::open(journalPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    std::vector<uint8_t> bytes;
    uint8_t buffer[65536];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 || bytes.size() > kEntrySize * 40000) {
            break;  // no recording holds more than a document
        }
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    ::close(fd);
    if (bytes.size() < sizeof kJournalMagic ||
        std::memcmp(bytes.data(), kJournalMagic, sizeof kJournalMagic) != 0) {
        return std::nullopt;
    }
    RecordedTrack track;
    for (size_t at = sizeof kJournalMagic;
         at + kEntrySize <= bytes.size() && track.points.size() < 32767; at += kEntrySize) {
        const uint8_t* entry = bytes.data() + at;
        if (EntrySum(entry) != (entry[18] | (entry[19] << 8))) {
            break;  // damaged from here on
        }
        TrackpointRecord point{static_cast<int32_t>(GetLe(entry)),
                               static_cast<int32_t>(GetLe(entry + 4)), GetLe(entry + 8),
                               static_cast<uint8_t>(track.points.empty() ? 1 : entry[16] != 0)};
        TrackpointDetails details = NoTrackpointDetails();
        const uint32_t bits = GetLe(entry + 12);
        std::memcpy(&details.altitude, &bits, 4);
        if (!HasValue(details.altitude)) {
            details.altitude = VALUE_NONE;
        }
        track.points.push_back(point);
        track.details.push_back(details);
    }
    if (track.points.empty()) {
        return std::nullopt;
    }
    NameTrack(track);
    return track;
}
