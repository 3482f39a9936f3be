// The simulated receiver's side of uploads: it takes the host's records and keeps them once
// the transfer completes.

#include <utility>

#include "link/DataTypes.h"
#include "link/GarminSimulator.h"

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
    if (std::exchange(upload_.repeatComing, false) && !upload_.packets.empty()) {
        upload_.packets.pop_back();
    }
    int number = static_cast<int>(upload_.packets.size()) + 1;
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
    UnitPacket packet{static_cast<uint8_t>(frame.id),
                      std::vector<uint8_t>(frame.data, frame.data + frame.size)};
    if (!refuse) {
        try {
            CheckUnitPacket(Unit(), packet);
        } catch (const DataTypeError&) {
            refuse = true;  // not a record of the unit's type
        }
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
    upload_.packets.push_back(std::move(packet));
}

void GarminSimulator::CompleteUpload(const HostFrame& frame)
{
    if (!upload_.active) {
        return;
    }
    // The records say what was uploaded; without any, the transfer-complete packet does.
    {
        std::lock_guard lock(mutex_);
        GpsRecords records = records_;
        try {
            if (StoreUnitUpload(unit_, upload_.packets, frame.Word(), records)) {
                records_ = std::move(records);
                ++stats_.uploadsStored;
            }
        } catch (const DataTypeError&) {
            // Records taken as another unit's types (SetUnit came during the upload): the
            // upload changes nothing.
        }
    }
    upload_ = {};
}
