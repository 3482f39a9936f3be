#pragma once

#include <cstdint>
#include <random>

#include "link/SimulatorLine.h"

// Faults a simulated receiver shows at random, each with its chance per frame (0 to 1),
// drawn from a seeded generator so that a run can be repeated as far as the host's timing
// lets it. They are the faults the protocol is built to survive: every one of them shows
// on the host's side as a damaged, missing or refused packet, never as a wrong one. So a
// pause never comes near the host's time-outs, and nothing the host sends is dropped.
struct RandomFaults {
    uint32_t seed = 0;        // 0: none of them
    double refuseRecord = 0;  // an uploaded record is refused with PKT_NAK
    double corrupt = 0;       // a frame goes out with a wrong checksum
    double noise = 0;         // two stray bytes come before a frame
    double lose = 0;          // a frame never arrives: the host hears silence in its place
    double burst = 0;         // a frame comes in bursts, 12 to 16 ms apart
    double pause = 0;         // the line is quiet for a while before a frame
};

// Throws the dice of RandomFaults for each frame. Used by one thread.
class FaultDice {
public:
    void Reset(const RandomFaults& faults);

    // A packet that waits for the host's acknowledgement: pauses up to 400 ms, bursts of 8
    // to 32 bytes, so that a whole frame stays well within the host's 1224 ms.
    FrameFault Packet();
    // An acknowledgement: pauses up to 60 ms, bursts of 4 bytes, within the host's 216 ms.
    FrameFault Acknowledgement();
    bool RefuseRecord();

    int thrown() const { return thrown_; }

private:
    FrameFault Frame(int maxPauseMs, int minBurst, int maxBurst);
    bool Hit(double chance);

    RandomFaults faults_;
    std::mt19937 random_;
    int thrown_ = 0;  // faults shown since Reset
};
