// The receiver's live position on the plot: the trail of the last minutes, the error circle,
// the marker with its heading, and the view following it.

#include <QPainter>
#include <cmath>

#include "edit/CPlotView.h"
#include "framework/PositionMarker.h"

namespace {

const QColor kTrailColour(240, 140, 20);

PlotPoint ProjectDegrees(const PlotProjection& projection, const GeoPosition& position)
{
    return projection.Project(
        {DegreesToSemicircles(position.latitude), DegreesToSemicircles(position.longitude)});
}

}  // namespace

void CPlotView::ShowLiveFix(const LiveFix& fix, int64_t arrivedMillis)
{
    const bool first = !live_.HasPosition();
    const PixelRect before = LiveArea();
    const size_t dropped = live_.Take(fix, arrivedMillis);
    if (!fix.HasPosition()) {
        return;
    }
    liveReceiving_ = true;
    if (first && !HasPoints()) {
        // Nothing else to show: the plot is laid out around the position.
        Rebuild();
        PlotBounds here;
        here.Add(LivePlotPoint());
        viewport_.Fit(here, 0);
        fitted_ = false;
        lastChangeArea_ = {};
        update();
        return;
    }
    if (FollowPosition(viewport_, LivePlotPoint(), follow_)) {
        LayOut();
        lastChangeArea_ = {};
        update();
        return;
    }
    PixelRect area = before.United(LiveArea());
    const std::deque<TrailPoint>& trail = live_.Trail();
    if (trail.size() >= 2) {
        area = area.United(SegmentArea(LivePixel(trail[trail.size() - 2].position),
                                       LivePixel(trail.back().position)));
    }
    if (dropped > 0) {
        lastChangeArea_ = {};
        update();  // the tail of the trail moved; it may lie anywhere
        return;
    }
    lastChangeArea_ = OnWidget(area);
    RepaintArea(area);
}

void CPlotView::SetLiveReceiving(bool receiving)
{
    if (receiving != liveReceiving_) {
        liveReceiving_ = receiving;
        lastChangeArea_ = OnWidget(LiveArea());
        RepaintArea(LiveArea());
    }
}

void CPlotView::SetFollowMode(FollowMode mode)
{
    follow_ = mode;
    if (live_.HasPosition() && FollowPosition(viewport_, LivePlotPoint(), follow_)) {
        LayOut();
        update();
    }
}

void CPlotView::ClearLive()
{
    const PixelRect area = LiveArea();
    live_.Clear();
    liveReceiving_ = false;
    RepaintArea(area);
}

PlotPoint CPlotView::LivePlotPoint() const
{
    const LiveFix& fix = live_.LastPosition();
    return ProjectDegrees(projection_, {fix.latitude, fix.longitude});
}

PixelPoint CPlotView::LivePixel(const GeoPosition& position) const
{
    return viewport_.ToPixel(ProjectDegrees(projection_, position));
}

PixelRect CPlotView::LiveArea() const
{
    if (!live_.HasPosition()) {
        return {};
    }
    const LiveFix& fix = live_.LastPosition();
    const double error =
        HasValue(fix.horizontalError) ? fix.horizontalError * viewport_.PixelsPerMetre() : 0;
    return LiveMarkerArea(viewport_.ToPixel(LivePlotPoint()), error);
}

void CPlotView::PaintLive(QPainter& painter)
{
    if (!live_.HasPosition()) {
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    const std::deque<TrailPoint>& trail = live_.Trail();
    if (trail.size() >= 2) {
        QPolygonF line;
        for (const TrailPoint& point : trail) {
            const PixelPoint p = LivePixel(point.position);
            line << QPointF(p.x, p.y);
        }
        painter.setPen(QPen(kTrailColour, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPolyline(line);
    }
    const LiveFix& fix = live_.LastPosition();
    const PixelPoint at = viewport_.ToPixel(LivePlotPoint());
    const double error =
        HasValue(fix.horizontalError) ? fix.horizontalError * viewport_.PixelsPerMetre() : 0;
    // The heading: north is up on the plot.
    std::optional<QPointF> heading;
    if (HasValue(fix.course) && HasValue(fix.speed) && fix.speed >= 0.5f) {
        const double angle = fix.course * M_PI / 180;
        heading = QPointF(std::sin(angle), -std::cos(angle));
    }
    PaintPositionMarker(painter, QPointF(at.x, at.y), error, heading, liveReceiving_);
}
