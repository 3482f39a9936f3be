#include "link/CGpsConnection.h"

#include "link/TypeLosses.h"

CGpsConnection::CGpsConnection(ProgressCallback progress, StartupRead startup)
    : link_(std::make_unique<CGpsLink>(std::move(progress), startup))
{
}

CGpsConnection::CGpsConnection(ProgressCallback progress, DeferredOpen deferred)
    : link_(std::make_unique<CGpsLink>(std::move(progress), deferred))
{
}

CGpsConnection::~CGpsConnection()
{
    link_->Close();
}

int CGpsConnection::RequestProduct(int flags)
{
    link_->ReopenIfVanished();
    return link_->RequestProduct(flags);
}

int CGpsConnection::DownloadWaypoints()
{
    link_->ReopenIfVanished();
    return static_cast<int>(link_->DownloadWaypoints());
}

int CGpsConnection::DownloadTrackpoints()
{
    link_->ReopenIfVanished();
    return static_cast<int>(link_->DownloadTrackpoints());
}

int CGpsConnection::UploadWaypoints()
{
    link_->ReopenIfVanished();
    return static_cast<int>(link_->UploadWaypoints());
}

int CGpsConnection::UploadTrackpoints()
{
    link_->ReopenIfVanished();
    return static_cast<int>(link_->UploadTrackpoints());
}

std::vector<WaypointRecord> CGpsConnection::CopyWaypoints() const
{
    return link_->CopyWaypoints();
}

std::vector<TrackpointRecord> CGpsConnection::CopyTrackpoints() const
{
    return link_->CopyTrackpoints();
}

void CGpsConnection::SetWaypoints(const WaypointRecord* records, int count)
{
    link_->SetWaypoints(records, count);
}

void CGpsConnection::SetTrackpoints(const TrackpointRecord* records, int count)
{
    link_->SetTrackpoints(records, count);
}

PacketResult CGpsConnection::PowerOff()
{
    link_->ReopenIfVanished();
    return link_->PowerOff();
}

int CGpsConnection::ReadGpsTime(GpsTime& time)
{
    link_->ReopenIfVanished();
    return link_->ReadGpsTime(time);
}

int CGpsConnection::SetClockFromGps()
{
    link_->ReopenIfVanished();
    return link_->SetClockFromGps();
}

int CGpsConnection::DownloadRoutes()
{
    link_->ReopenIfVanished();
    return static_cast<int>(link_->DownloadRoutes());
}

int CGpsConnection::UploadRoutes()
{
    link_->ReopenIfVanished();
    return static_cast<int>(link_->UploadRoutes());
}

std::string CGpsConnection::ReceiverId() const
{
    return link_->productId() == 0 ? std::string()
                                   : ReceiverIdOf(link_->protocols(), link_->productId());
}

void CGpsConnection::AddTypeLosses(UnitUpload& upload) const
{
    if (link_->productId() == 0) {
        return;  // no unit has told its types
    }
    TypeLosses losses = LossesOfTypes(link_->protocols(), upload.records);
    AppendLoss(upload.waypointLosses, losses.waypoints);
    AppendLoss(upload.trackLosses, losses.track);
    AppendLoss(upload.routeLosses, losses.routes);
}
