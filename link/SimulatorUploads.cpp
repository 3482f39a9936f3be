// The simulated receiver's side of uploads: it takes the host's records and keeps them once
// the transfer completes.

#include <utility>

#include "link/GarminSimulator.h"
#include "link/WaypointPacket.h"

void GarminSimulator::NoteHostRefusal(const HostFrame& frame)
{
    Count(&SimulatorStats::naksReceived);
    // A host that missed our acknowledgement of a record refuses it (naming the record's id)
    // and sends the record again: the copy takes the place of the one we kept.
    if (upload_.active && upload_.acknowledged && frame.size >= 1 &&
        frame.data[0] == upload_.recordId) {
        upload_.acknowledged = false;
        upload_.repeatComing = true;
    }
}

void GarminSimulator::ReceiveRecord(const HostFrame& frame)
{
    if (!upload_.active) {
        upload_ = {};  // records without a count before them
        upload_.active = true;
    }
    if (std::exchange(upload_.repeatComing, false)) {
        if (!upload_.waypoints.empty()) {
            upload_.waypoints.pop_back();
        } else if (!upload_.trackpoints.empty()) {
            upload_.trackpoints.pop_back();
        }
    }
    int number = static_cast<int>(upload_.waypoints.size() + upload_.trackpoints.size()) + 1;
    SimulatorFaults faults = Faults();
    if (faults.hangUpAtRecord == number) {
        HangUp();
        return;
    }
    bool refuse = faults.nakUpload.Hits(number, ++upload_.tries);
    if (!refuse) {
        std::lock_guard lock(mutex_);
        refuse = dice_.RefuseRecord();
    }
    if (refuse) {
        Count(&SimulatorStats::naksSent);
        Answer(PKT_NAK, static_cast<uint8_t>(frame.id));
        return;
    }
    Answer(PKT_ACK, static_cast<uint8_t>(frame.id));
    upload_.tries = 0;
    upload_.acknowledged = true;
    upload_.recordId = frame.id;
    if (frame.id == PKT_WAYPOINT) {
        upload_.waypoints.push_back(PacketToWaypoint(frame.data, frame.size));
    } else {
        upload_.trackpoints.push_back(PacketToTrackpoint(frame.data, frame.size));
    }
}

void GarminSimulator::CompleteUpload(const HostFrame& frame)
{
    if (!upload_.active) {
        return;
    }
    // The records say what was uploaded; without any, the transfer-complete packet does.
    uint16_t command = frame.Word();
    bool none = upload_.waypoints.empty() && upload_.trackpoints.empty();
    bool waypoints = !upload_.waypoints.empty() || (none && command == CMD_SEND_WAYPOINTS);
    bool track = !upload_.trackpoints.empty() || (none && command == CMD_SEND_TRACK);
    {
        std::lock_guard lock(mutex_);
        if (waypoints) {
            waypoints_ = std::move(upload_.waypoints);
        }
        if (track) {
            trackpoints_ = std::move(upload_.trackpoints);
        }
        if (waypoints || track) {
            ++stats_.uploadsStored;
        }
    }
    upload_ = {};
}
