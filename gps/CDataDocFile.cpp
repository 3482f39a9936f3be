// The ".orvd" file: the four sections of the GPS 12's data ("WayPts", "TrkPts", "MapCorr",
// "MapGrid"), then, only when the document holds more than those carry, one section "Extra"
// with the details, routes and receiver.
//
// A reader of the four sections makes four passes of an 8-byte tag each and passes over any
// 8 bytes it does not know. "Extra" is laid out so that such a reader takes nothing from it:
// its tag, then its length as 64 bits (never a tag: its upper bytes are zero, where every
// tag has letters), then parts of the same form (tag, 64-bit length, body). However few
// sections come before it, the four passes end inside it on bytes that are no tag.
//
// Parts of "Extra" (their bodies as gps/RichRecordBytes.h lays them out):
//   "WptDetl"  the WaypointDetails, one per waypoint
//   "TrkDetl"  the TrackpointDetails, one per track point
//   "Routes"   the routes
//   "Receivr"  the receiver profile's id
// A part this program does not know is passed over by its length.

#include <algorithm>
#include <array>
#include <cstring>

#include "framework/Archive.h"
#include "framework/ByteStream.h"
#include "gps/CDataDoc.h"
#include "gps/RichRecordBytes.h"

namespace {

using Tag = std::array<char, 8>;

constexpr Tag kWaypointTag = {'W', 'a', 'y', 'P', 't', 's', 0, 0};
constexpr Tag kTrackpointTag = {'T', 'r', 'k', 'P', 't', 's', 0, 0};
constexpr Tag kCorrectionTag = {'M', 'a', 'p', 'C', 'o', 'r', 'r', 0};
constexpr Tag kGridTag = {'M', 'a', 'p', 'G', 'r', 'i', 'd', 0};
constexpr Tag kExtraTag = {'E', 'x', 't', 'r', 'a', 0, 0, 0};
constexpr Tag kWaypointDetailsTag = {'W', 'p', 't', 'D', 'e', 't', 'l', 0};
constexpr Tag kTrackpointDetailsTag = {'T', 'r', 'k', 'D', 'e', 't', 'l', 0};
constexpr Tag kRoutesTag = {'R', 'o', 'u', 't', 'e', 's', 0, 0};
constexpr Tag kReceiverTag = {'R', 'e', 'c', 'e', 'i', 'v', 'r', 0};

// The four sections are read in four passes; "Extra" may follow them.
constexpr int kLoadPasses = 4;
constexpr size_t kMaxReceiverId = 64;

[[noreturn]] void Damaged(const std::string& detail)
{
    throw ArchiveException(ArchiveException::BadFormat, detail);
}

template <class Record>
void StoreSection(Archive& archive, const Tag& tag, const std::vector<Record>& records)
{
    if (records.empty()) {
        return;
    }
    archive.Write(tag.data(), tag.size());
    archive.WriteI16(static_cast<int16_t>(records.size()));
    archive.Write(records.data(), records.size() * sizeof(Record));
}

template <class Record>
std::vector<Record> LoadSection(Archive& archive, const char* what)
{
    int16_t count = archive.ReadI16();
    if (count < 0) {
        throw ArchiveException(
            ArchiveException::OutOfMemory,
            std::string(what) + ": negative record count " + std::to_string(count));
    }
    archive.RequireEntries(static_cast<uint64_t>(count), sizeof(Record), what);
    std::vector<Record> records(static_cast<size_t>(count));
    if (count > 0) {
        archive.Read(records.data(), records.size() * sizeof(Record));
    }
    return records;
}

void WriteLength(Archive& archive, uint64_t length)
{
    archive.WriteU32(static_cast<uint32_t>(length));
    archive.WriteU32(static_cast<uint32_t>(length >> 32));
}

uint64_t ReadLength(Archive& archive, const char* what)
{
    uint64_t length = archive.ReadU32();
    length |= static_cast<uint64_t>(archive.ReadU32()) << 32;
    if (length > archive.Remaining()) {
        Damaged(std::string(what) + ": longer than the rest of the file");
    }
    return length;
}

void WritePartHead(Archive& archive, const Tag& tag, uint64_t length)
{
    archive.Write(tag.data(), tag.size());
    WriteLength(archive, length);
}

// What the "Extra" section adds to the four sections.
struct Extra {
    std::vector<WaypointDetails> waypointDetails;
    std::vector<TrackpointDetails> trackpointDetails;
    std::vector<Route> routes;
    std::string receiver;
};

// The parts of "Extra" are written straight from the document, each after its length.
void WriteExtra(Archive& archive, const GpsRecords& records, const std::string& receiver,
                bool waypointDetails, bool trackpointDetails)
{
    constexpr uint64_t kHead = 16;  // a part's tag and length
    uint64_t length = 0;
    if (waypointDetails) {
        length += kHead + DetailsSize(records.waypointDetails);
    }
    if (trackpointDetails) {
        length += kHead + DetailsSize(records.trackpointDetails);
    }
    if (!records.routes.empty()) {
        length += kHead + RoutesSize(records.routes);
    }
    if (!receiver.empty()) {
        length += kHead + receiver.size();
    }
    WritePartHead(archive, kExtraTag, length);
    if (waypointDetails) {
        WritePartHead(archive, kWaypointDetailsTag, DetailsSize(records.waypointDetails));
        WriteDetails(archive, records.waypointDetails);
    }
    if (trackpointDetails) {
        WritePartHead(archive, kTrackpointDetailsTag, DetailsSize(records.trackpointDetails));
        WriteDetails(archive, records.trackpointDetails);
    }
    if (!records.routes.empty()) {
        WritePartHead(archive, kRoutesTag, RoutesSize(records.routes));
        WriteRoutes(archive, records.routes);
    }
    if (!receiver.empty()) {
        WritePartHead(archive, kReceiverTag, receiver.size());
        archive.Write(receiver.data(), receiver.size());
    }
}

// The next `length` bytes of an archive as a stream of their own.
class ArchiveSlice : public InputStream {
public:
    ArchiveSlice(Archive& archive, uint64_t length) : archive_(archive), left_(length) {}

    size_t Read(void* buffer, size_t size) override
    {
        size_t got = archive_.ReadSome(buffer, static_cast<size_t>(std::min<uint64_t>(size, left_)));
        left_ -= got;
        return got;
    }
    uint64_t Remaining() const override { return std::min(left_, archive_.Remaining()); }

    // Reads over what is left of the slice.
    void Skip()
    {
        std::vector<uint8_t> scratch(static_cast<size_t>(std::min<uint64_t>(left_, 1 << 16)));
        while (left_ > 0 && Read(scratch.data(), scratch.size()) > 0) {
        }
    }

private:
    Archive& archive_;
    uint64_t left_;
};

// Reads "Extra" from the file as it goes, each part within its length.
Extra ReadExtra(Archive& file)
{
    ArchiveSlice extraIn(file, ReadLength(file, "extra section"));
    Archive archive(extraIn);
    Extra extra;
    while (archive.Remaining() > 0) {
        Tag tag;
        archive.Read(tag.data(), tag.size());
        ArchiveSlice partIn(archive, ReadLength(archive, "extra part"));
        Archive part(partIn);
        if (tag == kWaypointDetailsTag) {
            extra.waypointDetails = ReadWaypointDetails(part);
        } else if (tag == kTrackpointDetailsTag) {
            extra.trackpointDetails = ReadTrackpointDetails(part);
        } else if (tag == kRoutesTag) {
            extra.routes = ReadRoutes(part);
        } else if (tag == kReceiverTag) {
            if (part.Remaining() > kMaxReceiverId) {
                Damaged("receiver: an id of " + std::to_string(part.Remaining()) + " bytes");
            }
            extra.receiver.resize(static_cast<size_t>(part.Remaining()));
            part.Read(extra.receiver.data(), extra.receiver.size());
        }
        // A part of another kind, and what a part holds beyond what is known, is passed over.
        partIn.Skip();
    }
    return extra;
}

}  // namespace

void CDataDoc::Serialize(Archive& archive)
{
    if (archive.IsStoring()) {
        StoreSection(archive, kWaypointTag, records_.waypoints);
        StoreSection(archive, kTrackpointTag, records_.trackpoints);
        if (correctionSets.Count() > 0) {
            archive.Write(kCorrectionTag.data(), kCorrectionTag.size());
            correctionSets.Serialize(archive, "map correction sets");
        }
        if (gridPresets.Count() > 0) {
            archive.Write(kGridTag.data(), kGridTag.size());
            gridPresets.Serialize(archive, "grid presets");
        }
        bool waypointDetails = HasWaypointDetails();
        bool trackpointDetails = HasTrackpointDetails();
        if (waypointDetails || trackpointDetails || !records_.routes.empty() ||
            !receiver_.empty()) {
            WriteExtra(archive, records_, receiver_, waypointDetails, trackpointDetails);
        }
        return;
    }

    // Everything is read into new containers first, so that a damaged file leaves the
    // document as it was.
    GpsRecords read;
    MapCorrectionSets newCorrections;
    GridScalePresets newGrids;
    Extra extra;
    bool anySection = false;
    bool anyBytes = false;
    bool extraRead = false;
    for (int pass = 0; pass <= kLoadPasses && !extraRead; ++pass) {
        Tag tag;
        size_t got = archive.ReadSome(tag.data(), tag.size());
        anyBytes = anyBytes || got > 0;
        if (got < tag.size()) {
            break;
        }
        if (tag == kExtraTag) {
            extra = ReadExtra(archive);
            extraRead = anySection = true;
            break;
        }
        if (pass == kLoadPasses) {
            break;  // after four sections only "Extra" is read
        }
        anySection = anySection || tag == kWaypointTag || tag == kTrackpointTag ||
                     tag == kCorrectionTag || tag == kGridTag;
        if (tag == kWaypointTag) {
            read.waypoints = LoadSection<WaypointRecord>(archive, "waypoints");
        } else if (tag == kTrackpointTag) {
            read.trackpoints = LoadSection<TrackpointRecord>(archive, "trackpoints");
        } else if (tag == kCorrectionTag) {
            newCorrections.Serialize(archive, "map correction sets");
        } else if (tag == kGridTag) {
            newGrids.Serialize(archive, "grid presets");
        }
        // Any other 8 bytes are passed over; the bytes after them are the next tag.
    }
    // Bytes without a single section are some other kind of file: loading it as an empty
    // document would let a later save replace it.
    if (anyBytes && !anySection) {
        throw ArchiveException(ArchiveException::BadFormat, "no GPS data section in the file");
    }
    if (!extra.waypointDetails.empty() &&
        extra.waypointDetails.size() != read.waypoints.size()) {
        Damaged("waypoint details for another number of waypoints");
    }
    if (!extra.trackpointDetails.empty() &&
        extra.trackpointDetails.size() != read.trackpoints.size()) {
        Damaged("track point details for another number of track points");
    }
    read.waypointDetails = std::move(extra.waypointDetails);
    read.trackpointDetails = std::move(extra.trackpointDetails);
    read.routes = std::move(extra.routes);
    history_.Clear();
    records_ = std::move(read);
    receiver_ = std::move(extra.receiver);
    correctionSets = std::move(newCorrections);
    gridPresets = std::move(newGrids);
}
