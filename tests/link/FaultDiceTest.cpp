#include <algorithm>

#include <gtest/gtest.h>

#include "link/FaultDice.h"

namespace {

RandomFaults EveryFault(uint32_t seed, double chance)
{
    RandomFaults faults;
    faults.seed = seed;
    faults.refuseRecord = faults.corrupt = faults.noise = faults.lose = faults.burst =
        faults.pause = chance;
    return faults;
}

// The longest a frame can take to arrive whole, paused and in bursts 16 ms apart, at 9600
// baud (10 bits a byte).
int ArrivalMs(const FrameFault& fault, int frameBytes)
{
    int bytes = frameBytes + static_cast<int>(fault.stray.size());
    int gaps = fault.burstBytes > 0 ? (bytes - 1) / fault.burstBytes : 0;
    return fault.pauseMs + 16 * gaps + (bytes * 10 * 1000 + 9599) / 9600;
}

TEST(FaultDice, FaultsStayWithinTheHostsTimeOuts)
{
    struct Case {
        const char* legend;
        FrameFault (FaultDice::*draw)();
        int frameBytes;  // the longest frame of the kind in the program's exchanges
        int hostWaitsMs;
    } cases[] = {
        {"a waypoint, every byte of it stuffed", &FaultDice::Packet, 6 + 2 * 62, 200 + 2 * 512},
        {"an acknowledgement", &FaultDice::Acknowledgement, 8, 200 + 2 * 8},
    };
    for (const Case& c : cases) {
        FaultDice dice;
        dice.Reset(EveryFault(7, 1.0));
        int longest = 0;
        for (int i = 0; i < 2000; ++i) {
            FrameFault fault = (dice.*c.draw)();
            EXPECT_TRUE(fault.lost) << c.legend << ": one spoiler, the first";
            EXPECT_FALSE(fault.corrupt || !fault.stray.empty()) << c.legend;
            longest = std::max(longest, ArrivalMs(fault, c.frameBytes));
        }
        // A third of the host's time is left for a machine that is busy.
        EXPECT_LT(longest, c.hostWaitsMs * 2 / 3) << c.legend;
    }
}

TEST(FaultDice, EachFaultShowsAtItsChanceAndTheSeedRepeatsThem)
{
    FaultDice dice, again;
    dice.Reset(EveryFault(11, 0.1));
    again.Reset(EveryFault(11, 0.1));
    int lost = 0, corrupt = 0, noisy = 0, paused = 0, bursts = 0, refused = 0;
    const int frames = 20000;
    for (int i = 0; i < frames; ++i) {
        FrameFault fault = dice.Packet();
        FrameFault repeated = again.Packet();
        ASSERT_EQ(fault.lost, repeated.lost);
        ASSERT_EQ(fault.pauseMs, repeated.pauseMs);
        ASSERT_EQ(fault.burstBytes, repeated.burstBytes);
        lost += fault.lost;
        corrupt += fault.corrupt;
        noisy += !fault.stray.empty();
        paused += fault.pauseMs > 0;
        bursts += fault.burstBytes > 0;
        refused += dice.RefuseRecord();
        again.RefuseRecord();
    }
    struct Count {
        const char* legend;
        int count;
        double chance;
    } counts[] = {
        {"lost", lost, 0.1},
        {"corrupt, when not lost", corrupt, 0.9 * 0.1},
        {"noisy, when neither", noisy, 0.9 * 0.9 * 0.1},
        {"paused", paused, 0.1},
        {"in bursts", bursts, 0.1},
        {"refused", refused, 0.1},
    };
    for (const Count& c : counts) {
        EXPECT_NEAR(c.count, c.chance * frames, 0.15 * c.chance * frames) << c.legend;
    }
    EXPECT_EQ(dice.thrown(), lost + corrupt + noisy + paused + bursts + refused);

    FaultDice off;
    off.Reset(EveryFault(0, 1.0));
    EXPECT_FALSE(off.Packet().Any()) << "seed 0 throws nothing";
}

}  // namespace
