#pragma once

#include <string>
#include <vector>

#include "gps/GpsRecords.h"
#include "gps/Records.h"
#include "gps/UnitUpload.h"

// What a GPS data document needs of its connection to the receiver. The receiver link
// implements it; the document only moves records through it. Results are the transfer
// results of the link (0 done, negative failed; failures have been reported by the link).
class GpsDocumentLink {
public:
    virtual ~GpsDocumentLink() = default;

    // Product exchange; flag bit 0 shows the receiver's description.
    virtual int RequestProduct(int flags) = 0;
    virtual int DownloadWaypoints() = 0;
    virtual int DownloadTrackpoints() = 0;
    virtual int UploadWaypoints() = 0;
    virtual int UploadTrackpoints() = 0;
    // The records of the last transfer.
    virtual std::vector<WaypointRecord> CopyWaypoints() const = 0;
    virtual std::vector<TrackpointRecord> CopyTrackpoints() const = 0;
    // The records the next upload sends.
    virtual void SetWaypoints(const WaypointRecord* records, int count) = 0;
    virtual void SetTrackpoints(const TrackpointRecord* records, int count) = 0;
    // Routes, as the unit speaks them; -1 where the link has none.
    virtual int DownloadRoutes() { return -1; }
    virtual int UploadRoutes() { return -1; }
    // Everything the last downloads brought: the records, what the unit's data types carry
    // beside them, the routes.
    virtual GpsRecords CopyRecords() const
    {
        GpsRecords records;
        records.waypoints = CopyWaypoints();
        records.trackpoints = CopyTrackpoints();
        return records;
    }
    // What the next uploads send, details and routes included.
    virtual void SetRecords(const GpsRecords& records)
    {
        SetWaypoints(records.waypoints.data(), static_cast<int>(records.waypoints.size()));
        SetTrackpoints(records.trackpoints.data(), static_cast<int>(records.trackpoints.size()));
    }
    // The receiver profile (gps/ReceiverProfile.h) whose rules the unit of the last product
    // exchange follows; empty when no unit has answered.
    virtual std::string ReceiverId() const { return {}; }
    // Adds to `upload`'s losses what the unit's data types do not keep of its records (a
    // field they have no place for, a symbol they hold only approximately); nothing where
    // the link does not know the unit's types.
    virtual void AddTypeLosses(UnitUpload& upload) const { (void)upload; }
    // Stops a running record transfer; may be called from any thread.
    virtual void Cancel() = 0;
};
