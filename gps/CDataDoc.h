#pragma once

#include <cstdint>
#include <vector>

#include <memory>

#include "framework/Document.h"
#include "gps/GpsDocumentLink.h"
#include "gps/GpsRecords.h"
#include "gps/ReceiverProfile.h"
#include "gps/RecordCollection.h"
#include "gps/RecordHistory.h"
#include "gps/Records.h"

// Results of the record operations.
enum DataDocResult {
    DOC_OK = 0,
    DOC_BAD_INDEX = -1,  // index or position outside the records, or nothing to remove
    DOC_NO_MEMORY = -2,  // the enlarged array could not be allocated
    DOC_TOO_MANY = -3,   // the insertion would pass MAX_DOC_RECORDS
};

// A document holds at most this many records of each kind: the file stores the counts as
// signed 16-bit numbers.
constexpr int32_t MAX_DOC_RECORDS = 32767;

// A GPS data document (".orvd"): the waypoints and the track log as arrays of records with
// the details richer receivers give beside them, the routes, and the map correction sets and
// grid scale presets the user has kept with them.
class CDataDoc : public Document {
public:
    // The commands that change or use a document (undo, redo, the transfers and the check of
    // the connection) are its views'; the document only holds and stores the records.
    CDataDoc();

    // Stores the sections "WayPts", "TrkPts", "MapCorr" and "MapGrid", each only when not
    // empty, then the details, routes and receiver in a section "Extra" when there is any.
    // Loading replaces the whole content, and only when the file was read whole.
    void Serialize(Archive& archive) override;
    void DeleteContents() override;
    // Clearing the flag (a save, say) makes the records as they are the saved state.
    void SetModifiedFlag(bool modified = true) override;

    int32_t waypointCount() const { return static_cast<int32_t>(records_.waypoints.size()); }
    int32_t trackpointCount() const { return static_cast<int32_t>(records_.trackpoints.size()); }

    int GetWaypoint(int32_t i, WaypointRecord& record) const;
    // Sets the record and keeps its details, less what the record now contradicts (a long
    // name the new ident does not derive from, say).
    int SetWaypoint(int32_t i, const WaypointRecord& record);
    int SetWaypoint(int32_t i, const WaypointRecord& record, const WaypointDetails& details);
    // Inserts n records (with their details, when given) before position p (0 ... count).
    int InsertWaypoints(int32_t p, int32_t n, const WaypointRecord* records,
                        const WaypointDetails* details = nullptr);
    // Removes records p ... p+n-1.
    int DeleteWaypoints(int32_t p, int32_t n);

    int GetTrackpoint(int32_t i, TrackpointRecord& record) const;
    int InsertTrackpoints(int32_t p, int32_t n, const TrackpointRecord* records,
                          const TrackpointDetails* details = nullptr);
    int DeleteTrackpoints(int32_t p, int32_t n);

    // Replace all records of a kind, as a download does; details empty or one per record.
    // DOC_TOO_MANY (nothing changed) when there are more than MAX_DOC_RECORDS, DOC_BAD_INDEX
    // when the details do not match the records.
    int ReplaceWaypoints(std::vector<WaypointRecord> records,
                         std::vector<WaypointDetails> details = {});
    int ReplaceTrackpoints(std::vector<TrackpointRecord> records,
                           std::vector<TrackpointDetails> details = {});

    const std::vector<WaypointRecord>& Waypoints() const { return records_.waypoints; }
    const std::vector<TrackpointRecord>& Trackpoints() const { return records_.trackpoints; }
    // The details of record i; NoWaypointDetails() when it has none (or i is no index).
    const WaypointDetails& WaypointDetailsAt(int32_t i) const;
    const TrackpointDetails& TrackpointDetailsAt(int32_t i) const;
    // Empty, or one entry per record.
    const std::vector<WaypointDetails>& WaypointDetailsList() const
    {
        return records_.waypointDetails;
    }
    const std::vector<TrackpointDetails>& TrackpointDetailsList() const
    {
        return records_.trackpointDetails;
    }
    // Everything above and the routes at once, for the writers of other formats.
    const GpsRecords& Records() const { return records_; }
    // True when some record of the kind has details.
    bool HasWaypointDetails() const;
    bool HasTrackpointDetails() const;

    // The routes; replacing them is one change (a route command builds the new list).
    // DOC_TOO_MANY (nothing changed) beyond MAX_DOC_ROUTES or MAX_DOC_ROUTE_POINTS.
    const std::vector<Route>& Routes() const { return records_.routes; }
    int ReplaceRoutes(std::vector<Route> routes);

    // The receiver whose rules renaming and the waypoint dialog follow; the GPS 12's unless
    // set. Kept in the file; setting it is a change outside the records.
    const ReceiverProfile& Receiver() const { return ProfileOf(receiver_); }
    void SetReceiver(const std::string& id);

    // GPS operations through gpsConnection; results are the link's (0 done, negative failed,
    // already reported), -1 without a connection. A download that succeeds replaces the
    // records of its kind and marks the document modified when they changed; one that fails
    // leaves the document as it was.
    int DownloadWaypointsIntoDoc();
    int DownloadTrackpointsIntoDoc();
    int UploadWaypointsFromDoc();
    int UploadTrackpointsFromDoc();
    int DownloadRoutesIntoDoc();
    int UploadRoutesFromDoc();
    // Product exchange with the receiver's description shown.
    int CheckConnection();

    // The same operations in two halves, for running the transfer on another thread: the
    // transfer itself touches only the connection; these touch only the document.
    // Apply: takes the link's records of a download whose `result` is 0. Prepare: hands
    // the records to the link before an upload.
    int ApplyWaypointDownload(int result);
    int ApplyTrackpointDownload(int result);
    int ApplyRouteDownload(int result);
    // Hands everything to the link, adapted to the unit on the line (gps/UnitUpload.h); the
    // waypoint and track point halves are the same.
    void PrepareUpload();
    // Why an upload of `kinds` (UploadKinds) may not be sent to that unit; empty: it may.
    std::string UploadRefusal(int kinds) const;
    void PrepareWaypointUpload();
    void PrepareTrackpointUpload();
    // What an upload of the kind leaves behind of the document (a GPS 12 takes the records
    // only; other units what their data types hold), in one sentence for the user; empty
    // when it takes everything.
    std::string WaypointUploadLosses() const;
    std::string TrackpointUploadLosses() const;
    std::string RouteUploadLosses() const;

    // The document's link to the receiver, attached by whoever creates the document for the
    // document's whole life (the editor does so for every GPS data document).
    std::unique_ptr<GpsDocumentLink> gpsConnection;

    // Undo and redo of the record changes, one step per command. The modified flag follows
    // the records back to the state last saved.
    bool CanUndo() const { return history_.CanUndo(); }
    bool CanRedo() const { return history_.CanRedo(); }
    void Undo();
    void Redo();

    // Makes the record changes of one command one undo step, for the scope's life.
    class UndoStep {
    public:
        UndoStep(CDataDoc& doc, const std::string& label) : doc_(doc)
        {
            doc_.history_.Begin(label);
        }
        ~UndoStep() { doc_.history_.End(); }
        UndoStep(const UndoStep&) = delete;
        UndoStep& operator=(const UndoStep&) = delete;

    private:
        CDataDoc& doc_;
    };

    // Saved with the document, but outside the undo history: whoever stores or removes an
    // entry calls MarkChangedOutsideRecords.
    MapCorrectionSets correctionSets;
    GridScalePresets gridPresets;

    // A change that undo does not cover (a correction set or grid preset stored or
    // removed): the document is modified, and neither undo nor redo of the records brings
    // it back to unmodified; only saving (SetModifiedFlag(false)) does.
    void MarkChangedOutsideRecords();

private:
    // After a download: the document follows the rules of the unit it came from.
    void TakeReceiverOfDownload();
    // The receiver an upload goes to.
    const ReceiverProfile& UploadTarget() const;
    // What an upload of `kinds` sends to it, with what it loses.
    UnitUpload Upload(int kinds) const;
    // Shows UploadRefusal(kinds) and gives -1 when there is one, else 0.
    int RefuseUpload(int kinds) const;
    // Keeps the records of `kind` for undo before they change.
    void BeforeChange(int kind) { history_.BeforeChange(kind); }
    // After a change: the document is modified unless it is back at its saved state.
    void AfterChange() { SetModifiedFlag(!history_.AtSavedState()); }

    GpsRecords records_;
    std::string receiver_;  // a ReceiverProfile id; empty: the GPS 12
    RecordHistory history_{records_};
};
