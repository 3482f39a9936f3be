#pragma once

#include <string>
#include <vector>

#include "gps/GpsDocumentLink.h"

// A receiver link that answers every transfer with `result` and keeps what passes through.
class FakeDocumentLink : public GpsDocumentLink {
public:
    int result = 0;
    std::vector<WaypointRecord> waypoints;      // what a download brings
    std::vector<TrackpointRecord> trackpoints;  // what a download brings
    std::vector<WaypointRecord> sentWaypoints;
    std::vector<TrackpointRecord> sentTrackpoints;
    std::vector<std::string> calls;
    int cancels = 0;

    int RequestProduct(int) override { return Call("product"); }
    int DownloadWaypoints() override { return Call("download waypoints"); }
    int DownloadTrackpoints() override { return Call("download trackpoints"); }
    int UploadWaypoints() override { return Call("upload waypoints"); }
    int UploadTrackpoints() override { return Call("upload trackpoints"); }
    std::vector<WaypointRecord> CopyWaypoints() const override { return waypoints; }
    std::vector<TrackpointRecord> CopyTrackpoints() const override { return trackpoints; }
    void SetWaypoints(const WaypointRecord* records, int count) override
    {
        sentWaypoints.assign(records, records + count);
    }
    void SetTrackpoints(const TrackpointRecord* records, int count) override
    {
        sentTrackpoints.assign(records, records + count);
    }
    std::vector<Route> routes;  // what a route download brings
    std::vector<Route> sentRoutes;
    int DownloadRoutes() override { return Call("download routes"); }
    int UploadRoutes() override { return Call("upload routes"); }
    GpsRecords CopyRecords() const override
    {
        GpsRecords records = GpsDocumentLink::CopyRecords();
        records.routes = routes;
        return records;
    }
    void SetRecords(const GpsRecords& records) override
    {
        GpsDocumentLink::SetRecords(records);
        sentRoutes = records.routes;
    }
    void Cancel() override { ++cancels; }

private:
    int Call(const char* name)
    {
        calls.push_back(name);
        return result;
    }
};
