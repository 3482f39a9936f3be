#include "link/FaultDice.h"

void FaultDice::Reset(const RandomFaults& faults)
{
    faults_ = faults;
    random_.seed(faults.seed);
    thrown_ = 0;
}

bool FaultDice::Hit(double chance)
{
    if (faults_.seed == 0 || chance <= 0) {
        return false;
    }
    if (std::uniform_real_distribution<double>(0, 1)(random_) >= chance) {
        return false;
    }
    ++thrown_;
    return true;
}

FrameFault FaultDice::Frame(int maxPauseMs, int minBurst, int maxBurst)
{
    FrameFault fault;
    // At most one of these spoils a frame.
    if (Hit(faults_.lose)) {
        fault.lost = true;
    } else if (Hit(faults_.corrupt)) {
        fault.corrupt = true;
    } else if (Hit(faults_.noise)) {
        fault.stray = {0x00, 0x55};
    }
    if (Hit(faults_.pause)) {
        fault.pauseMs = std::uniform_int_distribution<int>(1, maxPauseMs)(random_);
    }
    if (Hit(faults_.burst)) {
        fault.burstBytes = std::uniform_int_distribution<int>(minBurst, maxBurst)(random_);
    }
    return fault;
}

FrameFault FaultDice::Packet()
{
    return Frame(400, 8, 32);
}

FrameFault FaultDice::Acknowledgement()
{
    return Frame(60, 4, 4);
}

bool FaultDice::RefuseRecord()
{
    return Hit(faults_.refuseRecord);
}
