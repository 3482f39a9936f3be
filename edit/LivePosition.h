#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "edit/PointPlot.h"
#include "gps/Geodesy.h"
#include "gps/LiveFix.h"
#include "gps/LiveRecording.h"

// The receiver's live position as the windows show it: the last fix, the trail of the last
// minutes behind it, whether fixes still come, and how a view follows it.

// A fix older than this is no reception: the marker greys and the status says so.
constexpr int64_t kNoReceptionMillis = 3000;
// The trail holds the positions of the last ten minutes, at most kTrailMost of them.
constexpr int64_t kTrailMillis = 10 * 60 * 1000;
constexpr size_t kTrailMost = 6000;

enum class FollowMode : uint8_t {
    OFF,      // the view stays where the user put it
    CENTRED,  // the position stays at the centre
    IN_VIEW,  // the view moves only when the position comes near its edge
};

struct TrailPoint {
    GeoPosition position;
    int64_t arrivedMillis;
};

class LivePath {
public:
    // A fix that arrived at `arrivedMillis` (a steady clock of the caller). Fixes without a
    // position count as reports but add nothing to the trail. Returns how many of the oldest
    // trail points fell off.
    size_t Take(const LiveFix& fix, int64_t arrivedMillis);
    void Clear();

    // The last fix with a position; HasPosition() false before the first.
    const LiveFix& LastPosition() const { return lastPosition_; }
    bool HasPosition() const { return lastPosition_.HasPosition(); }
    // Whether a fix with a position came within kNoReceptionMillis before `nowMillis`.
    bool Receiving(int64_t nowMillis) const;
    // Oldest first; the last is the last position.
    const std::deque<TrailPoint>& Trail() const { return trail_; }

private:
    LiveFix lastPosition_;
    int64_t lastPositionMillis_ = 0;
    std::deque<TrailPoint> trail_;
};

// The status bar's text for the live position: "3D  7 Sat.  12,3 km/h  245°  432 m" in the
// process locale's numbers, leaving out what the fix does not say; "kein Empfang" when no
// fix has come for kNoReceptionMillis (`receiving` false).
std::string LiveStatusText(const LiveFix& fix, bool receiving);

// Moves `viewport` so that `at` shows as `mode` wants it; whether it moved. IN_VIEW keeps
// the position within the middle of the view (an eighth of its size from each edge) and
// centres it again once it leaves that.
bool FollowPosition(PlotViewport& viewport, PlotPoint at, FollowMode mode);

// The pixels the marker at `at` covers with its error circle of `errorPixels` radius and
// its heading arrow.
PixelRect LiveMarkerArea(PixelPoint at, double errorPixels);

// How a recording takes fixes, as the options keep it ("RecordBy": 0 seconds, 1 metres;
// "RecordEvery": 1 to 3600, in the group "Settings"); out of range reads as the default.
RecordingInterval ReadRecordingInterval();
void StoreRecordingInterval(const RecordingInterval& interval);
