#include "convert/PointMap.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <memory>
#include <string>
#include <utility>

#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawPoly.h"
#include "draw/model/CDrawRect.h"
#include "draw/model/CDrawText.h"
#include "gps/PlotProjection.h"

namespace {

constexpr COLORREF kTrackColour = RGB(0, 70, 200);
constexpr int kTrackWidth = 2;
constexpr COLORREF kRouteColour = RGB(140, 0, 160);
constexpr COLORREF kMarkColour = RGB(220, 30, 30);
constexpr int kMarkRadius = 3;  // the mark spans the point's unit and 3 more on every side
constexpr int kLabelGap = 3;    // between the mark and its label
constexpr int kLabelHeight = 16;
constexpr int kLabelPixels = 11;    // character height of the labels' font
constexpr int kLabelCharWidth = 9;  // room per byte of an ident, wider than any letter

// From plot metres to page units: the page less its margin shows the points whole.
class PageFit {
public:
    PageFit(const PlotBounds& bounds, CSize page) : view_({}, 1, page.cx, page.cy), page_(page)
    {
        view_.Fit(bounds, POINT_MAP_MARGIN);
    }

    CPoint ToPage(PlotPoint p) const
    {
        const PixelPoint pixel = view_.ToPixel(p);
        return {Within(pixel.x, page_.cx), Within(pixel.y, page_.cy)};
    }

    const PlotViewport& View() const { return view_; }

private:
    // Rounded and held within the margin (NaN too, although the projection gives none).
    static int32_t Within(double v, int32_t extent)
    {
        const double low = POINT_MAP_MARGIN;
        const double high = extent - POINT_MAP_MARGIN;
        if (!(v >= low)) {
            v = low;
        } else if (v > high) {
            v = high;
        }
        return static_cast<int32_t>(std::lround(v));
    }

    PlotViewport view_;
    CSize page_;
};

// One segment of the track, its repeated page points left out, as polylines: each full one
// hands its last vertex on to the next.
void AddSegment(std::vector<CPoint> vertices, CDrawDoc& map,
                const LogPen& pen = LogPen{PS_SOLID, {kTrackWidth, kTrackWidth}, kTrackColour})
{
    if (vertices.size() == 1) {
        // A point, as a dot: a small square drawn with the track's pen.
        const CPoint p = vertices[0];
        vertices = {{p.x - 1, p.y - 1},
                    {p.x + 1, p.y - 1},
                    {p.x + 1, p.y + 1},
                    {p.x - 1, p.y + 1},
                    {p.x - 1, p.y - 1}};
    }
    size_t start = 0;
    do {
        const size_t end = std::min(vertices.size(), start + MAX_POLY_VERTICES);
        auto line = std::make_unique<CDrawPoly>(CRect{}, CDrawPoly::polyline);
        line->SetPen(pen);
        line->AppendVertices(std::vector<CPoint>(vertices.begin() + static_cast<ptrdiff_t>(start),
                                                 vertices.begin() + static_cast<ptrdiff_t>(end)));
        map.Add(std::move(line));
        start = end - 1;
    } while (start + 1 < vertices.size());
}

void AddTrack(const std::vector<CPoint>& points, const std::vector<TrackpointRecord>& trackpoints,
              CDrawDoc& map)
{
    std::vector<CPoint> segment;
    for (size_t i = 0; i < points.size(); ++i) {
        if (i > 0 && trackpoints[i].newTrack) {
            AddSegment(std::move(segment), map);
            segment.clear();
        }
        if (segment.empty() || segment.back() != points[i]) {
            segment.push_back(points[i]);
        }
    }
    if (!segment.empty()) {
        AddSegment(std::move(segment), map);
    }
}

LogFontA LabelFont()
{
    LogFontA font;
    font.SetHeight(-kLabelPixels);
    font.SetWeight(400);
    font.SetPitchAndFamily(0x22);  // variable pitch, swiss
    font.SetFaceName("Arial");
    return font;
}

void AddWaypoint(CPoint p, std::string_view ident, CSize page, CDrawDoc& map)
{
    auto mark = std::make_unique<CDrawRect>(
        RectAround(p, kMarkRadius, kMarkRadius, kMarkRadius + 1, kMarkRadius + 1));
    mark->SetShape(CDrawRect::ellipse);
    mark->SetBrush(LogBrush{BS_SOLID, kMarkColour, 0});
    const CRect markPosition = map.Add(std::move(mark))->GetPosition();
    if (ident.empty()) {
        return;
    }
    const int width = static_cast<int>(ident.size()) * kLabelCharWidth + 4;
    const int top = p.y - kLabelHeight / 2;
    int left = markPosition.right + kLabelGap;
    if (left + width > page.cx) {
        left = markPosition.left - kLabelGap - width;
    }
    auto label = std::make_unique<CDrawText>(CRect{left, top, left + width, top + kLabelHeight});
    label->SetFontFlag(1);
    label->SetFont(LabelFont());
    label->SetTransparent(1);
    label->SetText(std::string(ident));
    map.Add(std::move(label));
}

}  // namespace

std::optional<MapGeoReference> AddPointsToMap(const std::vector<WaypointRecord>& waypoints,
                                              const std::vector<TrackpointRecord>& trackpoints,
                                              CDrawDoc& map, const std::vector<Route>& routes)
{
    // Route points count for the projection as waypoints do.
    std::vector<WaypointRecord> everyWaypoint = waypoints;
    for (const Route& route : routes) {
        for (const RoutePoint& point : route.points) {
            everyWaypoint.push_back(point.record);
        }
    }
    const PlotProjection projection = PlotProjection::For(everyWaypoint, trackpoints);
    std::vector<PlotPoint> waypointPlot;
    std::vector<PlotPoint> trackPlot;
    PlotBounds bounds;
    for (const WaypointRecord& w : waypoints) {
        waypointPlot.push_back(projection.Project(PositionOf(w)));
        bounds.Add(waypointPlot.back());
    }
    for (const TrackpointRecord& t : trackpoints) {
        trackPlot.push_back(projection.Project(PositionOf(t)));
        bounds.Add(trackPlot.back());
    }
    for (size_t i = waypoints.size(); i < everyWaypoint.size(); ++i) {
        bounds.Add(projection.Project(PositionOf(everyWaypoint[i])));
    }
    const CSize page = map.GetPageSize();
    const PageFit fit(bounds, page);

    std::vector<CPoint> trackPage;
    trackPage.reserve(trackPlot.size());
    for (PlotPoint p : trackPlot) {
        trackPage.push_back(fit.ToPage(p));
    }
    AddTrack(trackPage, trackpoints, map);
    for (const Route& route : routes) {
        std::vector<CPoint> line;
        for (const RoutePoint& point : route.points) {
            CPoint p = fit.ToPage(projection.Project(PositionOf(point.record)));
            if (line.empty() || line.back() != p) {
                line.push_back(p);
            }
        }
        if (!line.empty()) {
            AddSegment(std::move(line), map, LogPen{PS_DASH, {1, 1}, kRouteColour});
        }
    }
    for (size_t i = 0; i < waypoints.size(); ++i) {
        AddWaypoint(fit.ToPage(waypointPlot[i]), WaypointIdent(waypoints[i]), page, map);
    }
    if (everyWaypoint.empty() && trackpoints.empty()) {
        return std::nullopt;
    }
    const PlotViewport& view = fit.View();
    return MapGeoReference::OfProjection({projection.CentralLongitude(), projection.EastWestScale(),
                                          view.Centre().x, view.Centre().y, view.PixelsPerMetre(),
                                          view.Width(), view.Height()});
}
