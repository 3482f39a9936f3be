#include "gps/RichRecordBytes.h"

#include <string>

#include "framework/Archive.h"
#include "framework/ByteStream.h"

namespace {

[[noreturn]] void Malformed(const std::string& detail)
{
    throw ArchiveException(ArchiveException::BadFormat, detail);
}

// Entries of `entrySize` bytes, of which this program knows sizeof(Entry).
template <class Entry>
void ReadEntries(Archive& archive, Entry* entries, size_t count, uint32_t entrySize,
                 const char* what)
{
    if (entrySize < sizeof(Entry)) {
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
std::vector<uint8_t> Encode(const std::vector<Entry>& details)
{
    MemoryOutputStream bytes;
    Archive archive(bytes);
    archive.WriteU32(static_cast<uint32_t>(details.size()));
    archive.WriteU32(sizeof(Entry));
    archive.Write(details.data(), details.size() * sizeof(Entry));
    return bytes.TakeBytes();
}

template <class Entry>
std::vector<Entry> Decode(const std::vector<uint8_t>& bytes, const char* what)
{
    MemoryInputStream in(bytes);
    Archive archive(in);
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
    return Encode(details);
}

std::vector<uint8_t> EncodeDetails(const std::vector<TrackpointDetails>& details)
{
    return Encode(details);
}

std::vector<WaypointDetails> DecodeWaypointDetails(const std::vector<uint8_t>& bytes)
{
    return Decode<WaypointDetails>(bytes, "waypoint details");
}

std::vector<TrackpointDetails> DecodeTrackpointDetails(const std::vector<uint8_t>& bytes)
{
    return Decode<TrackpointDetails>(bytes, "track point details");
}

std::vector<uint8_t> EncodeRoutes(const std::vector<Route>& routes)
{
    MemoryOutputStream bytes;
    Archive archive(bytes);
    archive.WriteU32(static_cast<uint32_t>(routes.size()));
    archive.WriteU32(sizeof(RouteHeader));
    archive.WriteU32(sizeof(RoutePoint));
    for (const Route& route : routes) {
        archive.Write(&route.header, sizeof route.header);
        archive.WriteU32(static_cast<uint32_t>(route.points.size()));
        archive.Write(route.points.data(), route.points.size() * sizeof(RoutePoint));
    }
    return bytes.TakeBytes();
}

std::vector<Route> DecodeRoutes(const std::vector<uint8_t>& bytes)
{
    MemoryInputStream in(bytes);
    Archive archive(in);
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
