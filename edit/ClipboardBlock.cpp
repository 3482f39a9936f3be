#include "edit/ClipboardBlock.h"

#include <cstdio>
#include <cstring>

#include "edit/PointListFormat.h"
#include "framework/Cp1252.h"
#include "gps/CDataDoc.h"
#include "gps/Geodesy.h"
#include "gps/RichRecordBytes.h"
#include "framework/ArchiveException.h"

namespace {

template <class Record>
std::vector<uint8_t> Encode(const std::vector<Record>& records)
{
    auto n = static_cast<int32_t>(records.size());
    std::vector<uint8_t> block(4 + records.size() * sizeof(WaypointRecord), 0);
    auto count = static_cast<uint32_t>(n);
    for (int i = 0; i < 4; ++i) {
        block[static_cast<size_t>(i)] = static_cast<uint8_t>(count >> (8 * i));
    }
    if (!records.empty()) {
        std::memcpy(block.data() + 4, records.data(), records.size() * sizeof(Record));
    }
    return block;
}

template <class Record>
std::optional<std::vector<Record>> Decode(const std::vector<uint8_t>& block)
{
    if (block.size() < 4) {
        return std::nullopt;
    }
    uint32_t raw = block[0] | (block[1] << 8) | (block[2] << 16) | (uint32_t{block[3]} << 24);
    auto n = static_cast<int32_t>(raw);
    if (n < 0 || n > MAX_DOC_RECORDS ||
        static_cast<size_t>(n) > (block.size() - 4) / sizeof(Record)) {
        return std::nullopt;
    }
    std::vector<Record> records(static_cast<size_t>(n));
    if (n > 0) {
        std::memcpy(records.data(), block.data() + 4, records.size() * sizeof(Record));
    }
    return records;
}

std::string Degrees(int32_t semicircles)
{
    char text[32];
    std::snprintf(text, sizeof text, "%f", SemicirclesToDegrees(semicircles));
    return text;
}

// ",<metres>" when the altitude is known: a line of the GPS 12's records stays as it was.
std::string AltitudeField(float altitude)
{
    if (!HasValue(altitude)) {
        return {};
    }
    char text[32];
    std::snprintf(text, sizeof text, ",%.1f", static_cast<double>(altitude));
    return text;
}

}  // namespace

std::vector<uint8_t> EncodeClipboardBlock(const std::vector<WaypointRecord>& records)
{
    return Encode(records);
}

std::vector<uint8_t> EncodeClipboardBlock(const std::vector<TrackpointRecord>& records)
{
    return Encode(records);
}

std::optional<std::vector<WaypointRecord>> DecodeWaypointBlock(const std::vector<uint8_t>& block)
{
    return Decode<WaypointRecord>(block);
}

std::optional<std::vector<TrackpointRecord>> DecodeTrackpointBlock(
    const std::vector<uint8_t>& block)
{
    return Decode<TrackpointRecord>(block);
}

namespace {

template <class Details>
std::vector<Details> Pasted(std::vector<Details> (*decode)(const std::vector<uint8_t>&),
                            const std::vector<uint8_t>& block, size_t count)
{
    if (block.empty()) {
        return {};
    }
    try {
        std::vector<Details> details = decode(block);
        return details.size() == count ? details : std::vector<Details>();
    } catch (const ArchiveException&) {
        return {};
    }
}

}  // namespace

std::vector<WaypointDetails> PastedWaypointDetails(const std::vector<uint8_t>& block,
                                                   size_t count)
{
    return Pasted(DecodeWaypointDetails, block, count);
}

std::vector<TrackpointDetails> PastedTrackpointDetails(const std::vector<uint8_t>& block,
                                                       size_t count)
{
    return Pasted(DecodeTrackpointDetails, block, count);
}

std::string ClipboardTextHeader(int selected)
{
    return std::to_string(selected) + " items selected:\r\n";
}

std::string WaypointClipboardLine(const WaypointRecord& w, const WaypointDetails& details)
{
    return "WP,D," + Cp1252ToUtf8(WaypointName(w, details)) + "," + Degrees(w.latitude) + "," +
           Degrees(w.longitude) + "," + Cp1252ToUtf8(WaypointLongComment(w, details)) +
           AltitudeField(details.altitude);
}

std::string TrackpointClipboardLine(const TrackpointRecord& t, const TrackpointDetails& details)
{
    return "TP,D," + Degrees(t.latitude) + "," + Degrees(t.longitude) + "," + FormatTrackTime(t) +
           "," + (t.newTrack ? "1" : "0") + AltitudeField(details.altitude);
}
