#pragma once

#include <atomic>
#include <functional>
#include <string>

#include "gps/LiveFix.h"

// The receiver's live position over the link, for a thread of its own: opens a link on the
// port of the settings (sharing it with the documents' links), asks the receiver for PVT
// packets and hands on each fix, until `stop` is set; then asks it to stop. A port that
// cannot be opened or goes away, or a receiver that does not answer, is LINK_LOST with the
// reason, and the stream tries again every second. A unit without the PVT protocol (A800)
// says so and is asked again every few seconds (another may be plugged in). Messages of the
// link go to the state's detail, never to a message box. PVT packets that cannot be what
// they say are passed over: no wrong position is handed on.
struct PvtStreamCallbacks {
    std::function<void(const LiveFix&)> fix;
    std::function<void(LiveState, const std::string& detail)> state;
};

void RunPvtStream(const std::atomic<bool>& stop, const PvtStreamCallbacks& callbacks);
