#include "gps/CDataDoc.h"

#include <array>
#include <cstring>
#include <new>

#include "framework/Archive.h"

namespace {

using Tag = std::array<char, 8>;

constexpr Tag kWaypointTag = {'W', 'a', 'y', 'P', 't', 's', 0, 0};
constexpr Tag kTrackpointTag = {'T', 'r', 'k', 'P', 't', 's', 0, 0};
constexpr Tag kCorrectionTag = {'M', 'a', 'p', 'C', 'o', 'r', 'r', 0};
constexpr Tag kGridTag = {'M', 'a', 'p', 'G', 'r', 'i', 'd', 0};

// A file holds at most four sections; bytes after the fourth are never read.
constexpr int kLoadPasses = 4;

template <class Record>
int GetRecord(const std::vector<Record>& records, int32_t i, Record& out)
{
    if (i < 0 || i >= static_cast<int32_t>(records.size())) {
        return DOC_BAD_INDEX;
    }
    out = records[static_cast<size_t>(i)];
    return DOC_OK;
}

int CheckInsert(int32_t count, int32_t p, int32_t n, const void* added)
{
    if (p < 0 || p > count || n < 0 || (n > 0 && added == nullptr)) {
        return DOC_BAD_INDEX;
    }
    return n > MAX_DOC_RECORDS - count ? DOC_TOO_MANY : DOC_OK;
}

int CheckDelete(int32_t count, int32_t p, int32_t n)
{
    return p < 0 || p >= count || n <= 0 || n > count - p ? DOC_BAD_INDEX : DOC_OK;
}

template <class Record>
int InsertRecords(std::vector<Record>& records, int32_t p, int32_t n, const Record* added)
{
    try {
        records.insert(records.begin() + p, added, added + n);
    } catch (const std::bad_alloc&) {
        return DOC_NO_MEMORY;
    }
    return DOC_OK;
}

template <class Record>
void DeleteRecords(std::vector<Record>& records, int32_t p, int32_t n)
{
    records.erase(records.begin() + p, records.begin() + p + n);
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

}  // namespace

void CDataDoc::DeleteContents()
{
    history_.Clear();
    waypoints.clear();
    trackpoints.clear();
    correctionSets.Clear();
    gridPresets.Clear();
}

void CDataDoc::Serialize(Archive& archive)
{
    if (archive.IsStoring()) {
        StoreSection(archive, kWaypointTag, waypoints);
        StoreSection(archive, kTrackpointTag, trackpoints);
        if (correctionSets.Count() > 0) {
            archive.Write(kCorrectionTag.data(), kCorrectionTag.size());
            correctionSets.Serialize(archive, "map correction sets");
        }
        if (gridPresets.Count() > 0) {
            archive.Write(kGridTag.data(), kGridTag.size());
            gridPresets.Serialize(archive, "grid presets");
        }
        return;
    }

    // Everything is read into new containers first, so that a damaged file leaves the
    // document as it was.
    std::vector<WaypointRecord> newWaypoints;
    std::vector<TrackpointRecord> newTrackpoints;
    MapCorrectionSets newCorrections;
    GridScalePresets newGrids;
    bool anySection = false;
    bool anyBytes = false;
    for (int pass = 0; pass < kLoadPasses; ++pass) {
        Tag tag;
        size_t got = archive.ReadSome(tag.data(), tag.size());
        anyBytes = anyBytes || got > 0;
        if (got < tag.size()) {
            break;
        }
        anySection = anySection || tag == kWaypointTag || tag == kTrackpointTag ||
                     tag == kCorrectionTag || tag == kGridTag;
        if (tag == kWaypointTag) {
            newWaypoints = LoadSection<WaypointRecord>(archive, "waypoints");
        } else if (tag == kTrackpointTag) {
            newTrackpoints = LoadSection<TrackpointRecord>(archive, "trackpoints");
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
    history_.Clear();
    waypoints = std::move(newWaypoints);
    trackpoints = std::move(newTrackpoints);
    correctionSets = std::move(newCorrections);
    gridPresets = std::move(newGrids);
}

int CDataDoc::GetWaypoint(int32_t i, WaypointRecord& record) const
{
    return GetRecord(waypoints, i, record);
}

int CDataDoc::SetWaypoint(int32_t i, const WaypointRecord& record)
{
    if (i < 0 || i >= waypointCount()) {
        return DOC_BAD_INDEX;
    }
    BeforeChange(RecordHistory::WAYPOINTS);
    waypoints[static_cast<size_t>(i)] = record;
    AfterChange();
    return DOC_OK;
}

int CDataDoc::InsertWaypoints(int32_t p, int32_t n, const WaypointRecord* records)
{
    int result = CheckInsert(waypointCount(), p, n, records);
    if (result == DOC_OK && n > 0) {
        BeforeChange(RecordHistory::WAYPOINTS);
        result = InsertRecords(waypoints, p, n, records);
        AfterChange();
    }
    return result;
}

int CDataDoc::DeleteWaypoints(int32_t p, int32_t n)
{
    int result = CheckDelete(waypointCount(), p, n);
    if (result == DOC_OK) {
        BeforeChange(RecordHistory::WAYPOINTS);
        DeleteRecords(waypoints, p, n);
        AfterChange();
    }
    return result;
}

int CDataDoc::GetTrackpoint(int32_t i, TrackpointRecord& record) const
{
    return GetRecord(trackpoints, i, record);
}

int CDataDoc::InsertTrackpoints(int32_t p, int32_t n, const TrackpointRecord* records)
{
    int result = CheckInsert(trackpointCount(), p, n, records);
    if (result == DOC_OK && n > 0) {
        BeforeChange(RecordHistory::TRACKPOINTS);
        result = InsertRecords(trackpoints, p, n, records);
        AfterChange();
    }
    return result;
}

int CDataDoc::DeleteTrackpoints(int32_t p, int32_t n)
{
    int result = CheckDelete(trackpointCount(), p, n);
    if (result == DOC_OK) {
        BeforeChange(RecordHistory::TRACKPOINTS);
        DeleteRecords(trackpoints, p, n);
        AfterChange();
    }
    return result;
}

int CDataDoc::ReplaceWaypoints(std::vector<WaypointRecord> records)
{
    if (records.size() > static_cast<size_t>(MAX_DOC_RECORDS)) {
        return DOC_TOO_MANY;
    }
    BeforeChange(RecordHistory::WAYPOINTS);
    waypoints = std::move(records);
    AfterChange();
    return DOC_OK;
}

int CDataDoc::ReplaceTrackpoints(std::vector<TrackpointRecord> records)
{
    if (records.size() > static_cast<size_t>(MAX_DOC_RECORDS)) {
        return DOC_TOO_MANY;
    }
    BeforeChange(RecordHistory::TRACKPOINTS);
    trackpoints = std::move(records);
    AfterChange();
    return DOC_OK;
}

void CDataDoc::Undo()
{
    if (history_.CanUndo()) {
        history_.Undo();
        AfterChange();
        UpdateAllViews(nullptr);
    }
}

void CDataDoc::Redo()
{
    if (history_.CanRedo()) {
        history_.Redo();
        AfterChange();
        UpdateAllViews(nullptr);
    }
}

void CDataDoc::MarkChangedOutsideRecords()
{
    history_.ForgetSavedState();
    SetModifiedFlag(true);
}

void CDataDoc::SetModifiedFlag(bool modified)
{
    if (!modified) {
        history_.MarkSaved();
    }
    Document::SetModifiedFlag(modified);
}

namespace {

template <class Record>
bool SameRecords(const std::vector<Record>& a, const std::vector<Record>& b)
{
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(Record)) == 0);
}

}  // namespace

CDataDoc::CDataDoc() = default;

int CDataDoc::DownloadWaypointsIntoDoc()
{
    return gpsConnection ? ApplyWaypointDownload(gpsConnection->DownloadWaypoints()) : -1;
}

int CDataDoc::DownloadTrackpointsIntoDoc()
{
    return gpsConnection ? ApplyTrackpointDownload(gpsConnection->DownloadTrackpoints()) : -1;
}

int CDataDoc::ApplyWaypointDownload(int result)
{
    if (result == 0 && gpsConnection) {
        std::vector<WaypointRecord> records = gpsConnection->CopyWaypoints();
        if (!SameRecords(records, waypoints)) {
            ReplaceWaypoints(std::move(records));
        }
    }
    return result;
}

int CDataDoc::ApplyTrackpointDownload(int result)
{
    if (result == 0 && gpsConnection) {
        std::vector<TrackpointRecord> records = gpsConnection->CopyTrackpoints();
        if (!SameRecords(records, trackpoints)) {
            ReplaceTrackpoints(std::move(records));
        }
    }
    return result;
}

void CDataDoc::PrepareWaypointUpload()
{
    if (gpsConnection) {
        gpsConnection->SetWaypoints(waypoints.data(), waypointCount());
    }
}

void CDataDoc::PrepareTrackpointUpload()
{
    if (gpsConnection) {
        gpsConnection->SetTrackpoints(trackpoints.data(), trackpointCount());
    }
}

int CDataDoc::UploadWaypointsFromDoc()
{
    if (!gpsConnection) {
        return -1;
    }
    PrepareWaypointUpload();
    return gpsConnection->UploadWaypoints();
}

int CDataDoc::UploadTrackpointsFromDoc()
{
    if (!gpsConnection) {
        return -1;
    }
    PrepareTrackpointUpload();
    return gpsConnection->UploadTrackpoints();
}

int CDataDoc::CheckConnection()
{
    return gpsConnection ? gpsConnection->RequestProduct(1) : -1;
}
