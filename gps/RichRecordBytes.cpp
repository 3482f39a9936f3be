#include "gps/RichRecordBytes.h"

#include <string>
#include <type_traits>

#include "framework/Archive.h"
#include "framework/ByteStream.h"

namespace {

constexpr uint32_t kMaxEntrySize = 1 << 16;

[[noreturn]] void Malformed(const std::string& detail)
{
    throw ArchiveException(ArchiveException::BadFormat, detail);
}

// Entries of `entrySize` bytes, of which this program knows sizeof(Entry).
template <class Entry>
void ReadEntries(Archive& archive, Entry* entries, size_t count, uint32_t entrySize,
                 const char* what)
{
    // A later program may widen an entry, but never beyond this.
    if (entrySize < sizeof(Entry) || entrySize > kMaxEntrySize) {
        Malformed(std::string(what) + ": entries of " + std::to_string(entrySize) + " bytes");
    }
    archive.RequireEntries(count, entrySize, what);
    if (entrySize == sizeof(Entry)) {
        archive.Read(entries, count * sizeof(Entry));
        return;
    }
    std::vector<uint8_t> rest(entrySize - sizeof(Entry));
    for (size_t i = 0; i < count; ++i) {
        archive.Read(&entries[i], sizeof(Entry));
        archive.Read(rest.data(), rest.size());
    }
}

template <class Entry>
void WriteEntries(Archive& archive, const std::vector<Entry>& details)
{
    archive.WriteU32(static_cast<uint32_t>(details.size()));
    archive.WriteU32(sizeof(Entry));
    archive.Write(details.data(), details.size() * sizeof(Entry));
}

template <class Entry>
uint64_t EntriesSize(const std::vector<Entry>& details)
{
    return 8 + uint64_t{details.size()} * sizeof(Entry);
}

template <class Value>
std::vector<uint8_t> EncodeValue(const Value& value)
{
    MemoryOutputStream bytes;
    Archive archive(bytes);
    if constexpr (std::is_same_v<Value, std::vector<Route>>) {
        WriteRoutes(archive, value);
    } else {
        WriteEntries(archive, value);
    }
    return bytes.TakeBytes();
}

template <class Entry>
std::vector<Entry> ReadEntriesOf(Archive& archive, const char* what)
{
    uint32_t count = archive.ReadU32();
    uint32_t entrySize = archive.ReadU32();
    if (count > static_cast<uint32_t>(MAX_DOC_RECORDS)) {
        Malformed(std::string(what) + ": " + std::to_string(count) + " entries");
    }
    std::vector<Entry> details(count);
    ReadEntries(archive, details.data(), count, entrySize, what);
    return details;
}

}  // namespace

std::vector<uint8_t> EncodeDetails(const std::vector<WaypointDetails>& details)
{
    return EncodeValue(details);
}

std::vector<uint8_t> EncodeDetails(const std::vector<TrackpointDetails>& details)
{
    return EncodeValue(details);
}

std::vector<WaypointDetails> ReadWaypointDetails(Archive& archive)
{
    return ReadEntriesOf<WaypointDetails>(archive, "waypoint details");
}

std::vector<TrackpointDetails> ReadTrackpointDetails(Archive& archive)
{
    return ReadEntriesOf<TrackpointDetails>(archive, "track point details");
}

std::vector<WaypointDetails> DecodeWaypointDetails(const std::vector<uint8_t>& bytes)
{
    MemoryInputStream in(bytes);
    Archive archive(in);
    return ReadWaypointDetails(archive);
}

std::vector<TrackpointDetails> DecodeTrackpointDetails(const std::vector<uint8_t>& bytes)
{
    MemoryInputStream in(bytes);
    Archive archive(in);
    return ReadTrackpointDetails(archive);
}

void WriteDetails(Archive& archive, const std::vector<WaypointDetails>& details)
{
    WriteEntries(archive, details);
}

void WriteDetails(Archive& archive, const std::vector<TrackpointDetails>& details)
{
    WriteEntries(archive, details);
}

uint64_t DetailsSize(const std::vector<WaypointDetails>& details)
{
    return EntriesSize(details);
}

uint64_t DetailsSize(const std::vector<TrackpointDetails>& details)
{
    return EntriesSize(details);
}

uint64_t RoutesSize(const std::vector<Route>& routes)
{
    uint64_t size = 12;
    for (const Route& route : routes) {
        size += sizeof(RouteHeader) + 4 + uint64_t{route.points.size()} * sizeof(RoutePoint);
    }
    return size;
}

std::vector<uint8_t> EncodeRoutes(const std::vector<Route>& routes)
{
    return EncodeValue(routes);
}

void WriteRoutes(Archive& archive, const std::vector<Route>& routes)
{
    archive.WriteU32(static_cast<uint32_t>(routes.size()));
    archive.WriteU32(sizeof(RouteHeader));
    archive.WriteU32(sizeof(RoutePoint));
    for (const Route& route : routes) {
        archive.Write(&route.header, sizeof route.header);
        archive.WriteU32(static_cast<uint32_t>(route.points.size()));
        archive.Write(route.points.data(), route.points.size() * sizeof(RoutePoint));
    }
}

std::vector<Route> DecodeRoutes(const std::vector<uint8_t>& bytes)
{
    MemoryInputStream in(bytes);
    Archive archive(in);
    return ReadRoutes(archive);
}

std::vector<Route> ReadRoutes(Archive& archive)
{
    uint32_t count = archive.ReadU32();
    uint32_t headerSize = archive.ReadU32();
    uint32_t pointSize = archive.ReadU32();
    if (count > static_cast<uint32_t>(MAX_DOC_ROUTES)) {
        Malformed("routes: " + std::to_string(count) + " routes");
    }
    std::vector<Route> routes(count);
    uint64_t points = 0;
    for (Route& route : routes) {
        ReadEntries(archive, &route.header, 1, headerSize, "route header");
        uint32_t n = archive.ReadU32();
        points += n;
        if (points > static_cast<uint64_t>(MAX_DOC_ROUTE_POINTS)) {
            Malformed("routes: more than " + std::to_string(MAX_DOC_ROUTE_POINTS) + " points");
        }
        archive.RequireEntries(n, pointSize, "route points");
        route.points.resize(n);
        ReadEntries(archive, route.points.data(), n, pointSize, "route points");
    }
    return routes;
}
