#pragma once

#include <memory>

#include "gps/GpsDocumentLink.h"
#include "link/CGpsLink.h"

// Owns one CGpsLink for its own lifetime: constructing a connection opens the link (and
// with it the shared port) unless it is made with DeferredOpen, destroying it closes the
// link. Every GPS command reaches the link through a connection, which first opens the port
// again when the device went away. The record transfers give the numbers of their
// TransferResult, as the document's side of the link takes them.
class CGpsConnection : public GpsDocumentLink {
public:
    explicit CGpsConnection(ProgressCallback progress = {},
                            StartupRead startup = StartupRead::Full);
    CGpsConnection(ProgressCallback progress, DeferredOpen);
    ~CGpsConnection() override;

    // The opening of a connection made with DeferredOpen (CGpsLink::Open).
    void Open() { link_->Open(); }

    int RequestProduct(int flags) override;
    int DownloadWaypoints() override;
    int DownloadTrackpoints() override;
    int UploadWaypoints() override;
    int UploadTrackpoints() override;
    std::vector<WaypointRecord> CopyWaypoints() const override;
    std::vector<TrackpointRecord> CopyTrackpoints() const override;
    void SetWaypoints(const WaypointRecord* records, int count) override;
    void SetTrackpoints(const TrackpointRecord* records, int count) override;
    int DownloadRoutes() override;
    int UploadRoutes() override;
    GpsRecords CopyRecords() const override { return link_->Records(); }
    void SetRecords(const GpsRecords& records) override { link_->SetRecords(records); }
    std::string ReceiverId() const override;
    void AddTypeLosses(UnitUpload& upload) const override;
    PacketResult PowerOff();
    int ReadGpsTime(GpsTime& time);
    int SetClockFromGps();

    // Stops a running record transfer or the opening; may be called from any thread.
    void Cancel() override { link_->Cancel(); }
    CGpsLink& link() { return *link_; }

private:
    std::unique_ptr<CGpsLink> link_;
};
