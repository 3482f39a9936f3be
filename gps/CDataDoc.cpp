#include "gps/CDataDoc.h"

#include "framework/Prompts.h"

#include <array>
#include <cstring>
#include <new>

#include "framework/Archive.h"
#include "gps/UnitUpload.h"

namespace {

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

// Details beside records: inserting records with details into a kind that has none yet
// gives every record of the kind empty details first.
template <class Record, class Details>
int InsertWithDetails(std::vector<Record>& records, std::vector<Details>& details, int32_t p,
                      int32_t n, const Record* added, const Details* addedDetails,
                      const Details& none)
{
    try {
        bool withDetails = addedDetails || !details.empty();
        if (addedDetails && details.empty()) {
            details.assign(records.size(), none);
        }
        if (withDetails) {
            if (addedDetails) {
                details.insert(details.begin() + p, addedDetails, addedDetails + n);
            } else {
                details.insert(details.begin() + p, static_cast<size_t>(n), none);
            }
        }
        records.insert(records.begin() + p, added, added + n);
    } catch (const std::bad_alloc&) {
        details.resize(records.size(), none);
        return DOC_NO_MEMORY;
    }
    return DOC_OK;
}

template <class Record, class Details>
void DeleteWithDetails(std::vector<Record>& records, std::vector<Details>& details, int32_t p,
                       int32_t n)
{
    records.erase(records.begin() + p, records.begin() + p + n);
    if (!details.empty()) {
        details.erase(details.begin() + p, details.begin() + p + n);
    }
}

template <class Details>
bool AnyDetails(const std::vector<Details>& details)
{
    for (const Details& d : details) {
        if (!IsEmpty(d)) {
            return true;
        }
    }
    return false;
}

}  // namespace

void CDataDoc::DeleteContents()
{
    history_.Clear();
    records_ = GpsRecords();
    receiver_.clear();
    correctionSets.Clear();
    gridPresets.Clear();
}

int CDataDoc::GetWaypoint(int32_t i, WaypointRecord& record) const
{
    return GetRecord(records_.waypoints, i, record);
}

int CDataDoc::SetWaypoint(int32_t i, const WaypointRecord& record)
{
    WaypointDetails details = WaypointDetailsAt(i);
    DropDetailsTheRecordContradicts(record, details);
    return SetWaypoint(i, record, details);
}

int CDataDoc::SetWaypoint(int32_t i, const WaypointRecord& record, const WaypointDetails& details)
{
    if (i < 0 || i >= waypointCount()) {
        return DOC_BAD_INDEX;
    }
    BeforeChange(RecordHistory::WAYPOINTS);
    records_.waypoints[static_cast<size_t>(i)] = record;
    if (records_.waypointDetails.empty() && !IsEmpty(details)) {
        records_.waypointDetails.assign(records_.waypoints.size(), NoWaypointDetails());
    }
    if (!records_.waypointDetails.empty()) {
        records_.waypointDetails[static_cast<size_t>(i)] = details;
    }
    AfterChange();
    return DOC_OK;
}

int CDataDoc::InsertWaypoints(int32_t p, int32_t n, const WaypointRecord* records,
                              const WaypointDetails* details)
{
    int result = CheckInsert(waypointCount(), p, n, records);
    if (result == DOC_OK && n > 0) {
        BeforeChange(RecordHistory::WAYPOINTS);
        result = InsertWithDetails(records_.waypoints, records_.waypointDetails, p, n, records,
                                   details, NoWaypointDetails());
        AfterChange();
    }
    return result;
}

int CDataDoc::DeleteWaypoints(int32_t p, int32_t n)
{
    int result = CheckDelete(waypointCount(), p, n);
    if (result == DOC_OK) {
        BeforeChange(RecordHistory::WAYPOINTS);
        DeleteWithDetails(records_.waypoints, records_.waypointDetails, p, n);
        AfterChange();
    }
    return result;
}

int CDataDoc::GetTrackpoint(int32_t i, TrackpointRecord& record) const
{
    return GetRecord(records_.trackpoints, i, record);
}

int CDataDoc::InsertTrackpoints(int32_t p, int32_t n, const TrackpointRecord* records,
                                const TrackpointDetails* details)
{
    int result = CheckInsert(trackpointCount(), p, n, records);
    if (result == DOC_OK && n > 0) {
        BeforeChange(RecordHistory::TRACKPOINTS);
        result = InsertWithDetails(records_.trackpoints, records_.trackpointDetails, p, n, records,
                                   details, NoTrackpointDetails());
        AfterChange();
    }
    return result;
}

int CDataDoc::DeleteTrackpoints(int32_t p, int32_t n)
{
    int result = CheckDelete(trackpointCount(), p, n);
    if (result == DOC_OK) {
        BeforeChange(RecordHistory::TRACKPOINTS);
        DeleteWithDetails(records_.trackpoints, records_.trackpointDetails, p, n);
        AfterChange();
    }
    return result;
}

int CDataDoc::ReplaceWaypoints(std::vector<WaypointRecord> records,
                               std::vector<WaypointDetails> details)
{
    if (records.size() > static_cast<size_t>(MAX_DOC_RECORDS)) {
        return DOC_TOO_MANY;
    }
    if (!details.empty() && details.size() != records.size()) {
        return DOC_BAD_INDEX;
    }
    BeforeChange(RecordHistory::WAYPOINTS);
    records_.waypoints = std::move(records);
    records_.waypointDetails = std::move(details);
    AfterChange();
    return DOC_OK;
}

int CDataDoc::ReplaceTrackpoints(std::vector<TrackpointRecord> records,
                                 std::vector<TrackpointDetails> details)
{
    if (records.size() > static_cast<size_t>(MAX_DOC_RECORDS)) {
        return DOC_TOO_MANY;
    }
    if (!details.empty() && details.size() != records.size()) {
        return DOC_BAD_INDEX;
    }
    BeforeChange(RecordHistory::TRACKPOINTS);
    records_.trackpoints = std::move(records);
    records_.trackpointDetails = std::move(details);
    AfterChange();
    return DOC_OK;
}

const WaypointDetails& CDataDoc::WaypointDetailsAt(int32_t i) const
{
    const auto& details = records_.waypointDetails;
    return i >= 0 && static_cast<size_t>(i) < details.size() ? details[static_cast<size_t>(i)]
                                                             : NoWaypointDetails();
}

const TrackpointDetails& CDataDoc::TrackpointDetailsAt(int32_t i) const
{
    const auto& details = records_.trackpointDetails;
    return i >= 0 && static_cast<size_t>(i) < details.size() ? details[static_cast<size_t>(i)]
                                                             : NoTrackpointDetails();
}

bool CDataDoc::HasWaypointDetails() const
{
    return AnyDetails(records_.waypointDetails);
}

bool CDataDoc::HasTrackpointDetails() const
{
    return AnyDetails(records_.trackpointDetails);
}

int CDataDoc::ReplaceRoutes(std::vector<Route> routes)
{
    if (!RoutesFit(routes)) {
        return DOC_TOO_MANY;
    }
    BeforeChange(RecordHistory::ROUTES);
    records_.routes = std::move(routes);
    AfterChange();
    return DOC_OK;
}

void CDataDoc::SetReceiver(const std::string& id)
{
    std::string stored = id == Gps12Profile().id ? std::string() : id;
    if (stored != receiver_) {
        receiver_ = stored;
        MarkChangedOutsideRecords();
    }
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

int CDataDoc::DownloadRoutesIntoDoc()
{
    return gpsConnection ? ApplyRouteDownload(gpsConnection->DownloadRoutes()) : -1;
}

void CDataDoc::TakeReceiverOfDownload()
{
    // What came from a unit follows its rules from now on.
    if (std::string id = gpsConnection->ReceiverId(); !id.empty()) {
        SetReceiver(id);
    }
}

int CDataDoc::ApplyWaypointDownload(int result)
{
    if (result == 0 && gpsConnection) {
        GpsRecords got = gpsConnection->CopyRecords();
        if (!SameRecords(got.waypoints, records_.waypoints) ||
            !SameRecords(got.waypointDetails, records_.waypointDetails)) {
            ReplaceWaypoints(std::move(got.waypoints), std::move(got.waypointDetails));
        }
        TakeReceiverOfDownload();
    }
    return result;
}

int CDataDoc::ApplyTrackpointDownload(int result)
{
    if (result == 0 && gpsConnection) {
        GpsRecords got = gpsConnection->CopyRecords();
        if (!SameRecords(got.trackpoints, records_.trackpoints) ||
            !SameRecords(got.trackpointDetails, records_.trackpointDetails)) {
            ReplaceTrackpoints(std::move(got.trackpoints), std::move(got.trackpointDetails));
        }
        TakeReceiverOfDownload();
    }
    return result;
}

int CDataDoc::ApplyRouteDownload(int result)
{
    if (result == 0 && gpsConnection) {
        GpsRecords got = gpsConnection->CopyRecords();
        if (!SameRoutes(got.routes, records_.routes)) {
            ReplaceRoutes(std::move(got.routes));
        }
        TakeReceiverOfDownload();
    }
    return result;
}

const ReceiverProfile& CDataDoc::UploadTarget() const
{
    // The unit on the line when it is known, else the one the document follows.
    std::string unit = gpsConnection ? gpsConnection->ReceiverId() : std::string();
    return unit.empty() ? Receiver() : ProfileOf(unit);
}

UnitUpload CDataDoc::Upload(int kinds) const
{
    const ReceiverProfile& target = UploadTarget();
    UnitUpload upload = UploadFor(records_, target, kinds);
    // A GPS 12's losses are its own (gps/Gps12Upload.h).
    if (gpsConnection && &target != &Gps12Profile()) {
        gpsConnection->AddTypeLosses(upload);
    }
    return upload;
}

void CDataDoc::PrepareUpload()
{
    if (gpsConnection) {
        gpsConnection->SetRecords(UploadFor(records_, UploadTarget(), 0).records);
    }
}

std::string CDataDoc::UploadRefusal(int kinds) const
{
    return UploadFor(records_, UploadTarget(), kinds).refusal;
}

void CDataDoc::PrepareWaypointUpload()
{
    PrepareUpload();
}

void CDataDoc::PrepareTrackpointUpload()
{
    PrepareUpload();
}

int CDataDoc::UploadRoutesFromDoc()
{
    if (!gpsConnection || RefuseUpload(UPLOAD_ROUTES) != 0) {
        return -1;
    }
    PrepareUpload();
    return gpsConnection->UploadRoutes();
}

std::string CDataDoc::WaypointUploadLosses() const
{
    return Upload(UPLOAD_WAYPOINTS).waypointLosses;
}

std::string CDataDoc::TrackpointUploadLosses() const
{
    return Upload(UPLOAD_TRACK).trackLosses;
}

std::string CDataDoc::RouteUploadLosses() const
{
    return Upload(UPLOAD_ROUTES).routeLosses;
}

int CDataDoc::RefuseUpload(int kinds) const
{
    if (std::string refusal = UploadRefusal(kinds); !refusal.empty()) {
        Prompts::Current().Message(refusal);
        return -1;
    }
    return 0;
}

int CDataDoc::UploadWaypointsFromDoc()
{
    if (!gpsConnection || RefuseUpload(UPLOAD_WAYPOINTS) != 0) {
        return -1;
    }
    PrepareWaypointUpload();
    return gpsConnection->UploadWaypoints();
}

int CDataDoc::UploadTrackpointsFromDoc()
{
    if (!gpsConnection || RefuseUpload(UPLOAD_TRACK) != 0) {
        return -1;
    }
    PrepareTrackpointUpload();
    return gpsConnection->UploadTrackpoints();
}

int CDataDoc::CheckConnection()
{
    return gpsConnection ? gpsConnection->RequestProduct(1) : -1;
}
