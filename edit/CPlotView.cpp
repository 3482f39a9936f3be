#include "edit/CPlotView.h"

#include "edit/LiveSession.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "edit/CDataView.h"
#include "edit/PointListModel.h"
#include "edit/SymbolImages.h"
#include "framework/Cp1252.h"
#include "gps/CDataDoc.h"

namespace {

constexpr int kFitMargin = 30;
constexpr double kDotSpacing = 8;  // track points this far apart on average show as dots
constexpr int kCell = 12;          // waypoint symbols closer than this across cover each other
// Beyond this many changed records a change repaints the whole plot.
constexpr size_t kMostPartialChanges = 2000;
// Names longer than this many characters are elided on the plot.
constexpr size_t kLongestLabel = 24;

// The name (Windows-1252) and full-table symbol waypoint `i` of `doc` shows.
std::pair<std::string_view, uint16_t> FaceOf(const CDataDoc& doc, size_t i)
{
    const WaypointRecord& record = doc.Waypoints()[i];
    const WaypointDetails& details = doc.WaypointDetailsAt(static_cast<int32_t>(i));
    return {WaypointName(record, details), WaypointFullSymbol(record, details)};
}

QRect ToQRect(const PixelRect& r)
{
    return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

}  // namespace

std::function<void(const QString&)>& CPlotView::MousePositionSink()
{
    static std::function<void(const QString&)> sink;
    return sink;
}

CPlotView::CPlotView(CDataView* list, QWidget* parent) : QWidget(parent), list_(list)
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(80, 80);
    // The right button drags the plane; its click without a drag opens the menu.
    setContextMenuPolicy(Qt::PreventContextMenu);
    markSize_.labelWidth = LabelWidthForNames();
    markSize_.labelHeight = fontMetrics().height();
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { SelectionChanged(); });
    connect(list_->ListModel(), &QAbstractItemModel::modelReset, this,
            [this] { SelectionChanged(); });
    // The live position, from now on and where it is already.
    LiveSession& live = LiveSession::Instance();
    connect(&live, &LiveSession::fixShown, this,
            [this](const LiveFix& fix, qint64 arrived) { ShowLiveFix(fix, arrived); });
    connect(&live, &LiveSession::receivingChanged, this, &CPlotView::SetLiveReceiving);
    connect(&live, &LiveSession::cleared, this, &CPlotView::ClearLive);
    if (live.Path().HasPosition()) {
        ShowLiveFix(live.Path().LastPosition(), LiveSession::Clock()());
        liveReceiving_ = live.Receiving();
    }
}

CPlotView::~CPlotView()
{
    AttachDocument(nullptr);
}

CDataDoc* CPlotView::Doc() const
{
    return dynamic_cast<CDataDoc*>(GetDocument());
}

void CPlotView::OnInitialUpdate()
{
    Rebuild();
}

void CPlotView::OnUpdate(View*, long, const std::any&)
{
    ApplyChange();
}

void CPlotView::SetViewport(const PlotViewport& viewport)
{
    viewport_ = viewport;
    viewport_.Resize(width(), height());
    fitted_ = true;
    LayOut();
    update();
}

PixelPoint CPlotView::WaypointPixel(int index) const
{
    return viewport_.ToPixel(waypointPoints_.at(static_cast<size_t>(index)));
}

PixelPoint CPlotView::TrackpointPixel(int index) const
{
    return viewport_.ToPixel(trackpointPoints_.at(static_cast<size_t>(index)));
}

void CPlotView::Rebuild()
{
    CDataDoc* doc = Doc();
    const PlotProjection previous = projection_;
    const bool hadPoints = HasPoints();
    waypoints_ = doc ? doc->Waypoints() : std::vector<WaypointRecord>{};
    trackpoints_ = doc ? doc->Trackpoints() : std::vector<TrackpointRecord>{};
    routes_ = doc ? doc->Routes() : std::vector<Route>{};
    const bool hasPoints = HasPoints();
    // Small changes keep the projection, so that nothing moves but what changed; points of
    // another region get their own projection and are shown whole. Route points count as
    // waypoints do.
    std::vector<WaypointRecord> everyWaypoint = waypoints_;
    for (const Route& route : routes_) {
        for (const RoutePoint& point : route.points) {
            everyWaypoint.push_back(point.record);
        }
    }
    if (everyWaypoint.empty() && trackpoints_.empty() && live_.HasPosition()) {
        // Only the live position shows: the plane is laid out around it.
        WaypointRecord here{};
        here.latitude = DegreesToSemicircles(live_.LastPosition().latitude);
        here.longitude = DegreesToSemicircles(live_.LastPosition().longitude);
        everyWaypoint.push_back(here);
    }
    const PlotProjection fresh = PlotProjection::For(everyWaypoint, trackpoints_);
    const bool elsewhere = !hadPoints ||
                           std::fabs(SemicirclesToDegrees(fresh.CentralLongitude()) -
                                     SemicirclesToDegrees(previous.CentralLongitude())) > 1 ||
                           std::fabs(fresh.EastWestScale() - previous.EastWestScale()) > 0.01;
    if (elsewhere) {
        projection_ = fresh;
        fitted_ = false;
    }
    waypointPoints_.resize(waypoints_.size());
    waypointNames_.assign(waypoints_.size(), {});
    waypointSymbols_.assign(waypoints_.size(), SYMBOL_NONE);
    for (size_t i = 0; i < waypoints_.size(); ++i) {
        waypointPoints_[i] = projection_.Project(PositionOf(waypoints_[i]));
        TakeWaypointFace(*doc, i);
    }
    markSize_.labelWidth = LabelWidthForNames();
    trackpointPoints_.resize(trackpoints_.size());
    for (size_t i = 0; i < trackpoints_.size(); ++i) {
        trackpointPoints_[i] = projection_.Project(PositionOf(trackpoints_[i]));
    }
    routePoints_.assign(routes_.size(), {});
    for (size_t r = 0; r < routes_.size(); ++r) {
        for (const RoutePoint& point : routes_[r].points) {
            routePoints_[r].push_back(projection_.Project(PositionOf(point.record)));
        }
    }
    selectedWaypoints_.assign(waypoints_.size(), 0);
    selectedTrackpoints_.assign(trackpoints_.size(), 0);
    lastChangeArea_ = {};
    if (!fitted_ && hasPoints) {
        FitAll();  // lays the plot out anew
    } else {
        LayOut();
        update();
    }
    SelectionChanged();
}

void CPlotView::ApplyChange()
{
    CDataDoc* doc = Doc();
    if (!doc || doc->Waypoints().size() != waypoints_.size() ||
        doc->Trackpoints().size() != trackpoints_.size() || !SameRoutes(doc->Routes(), routes_)) {
        Rebuild();
        return;
    }
    std::vector<int> waypointsChanged = ChangedWaypoints(waypoints_, doc->Waypoints());
    // A waypoint whose record stayed may still have been given another name or symbol.
    std::vector<int> facesChanged;
    for (size_t i = 0; i < waypoints_.size(); ++i) {
        if (FaceOf(*doc, i) !=
            std::pair<std::string_view, uint16_t>(waypointNames_[i], waypointSymbols_[i])) {
            facesChanged.push_back(static_cast<int>(i));
        }
    }
    std::vector<int> merged;
    std::set_union(waypointsChanged.begin(), waypointsChanged.end(), facesChanged.begin(),
                   facesChanged.end(), std::back_inserter(merged));
    waypointsChanged = std::move(merged);
    const std::vector<int> trackpointsChanged =
        ChangedTrackpoints(trackpoints_, doc->Trackpoints());
    if (waypointsChanged.size() + trackpointsChanged.size() > kMostPartialChanges) {
        Rebuild();
        return;
    }
    PixelRect area;
    for (int i : waypointsChanged) {
        auto k = static_cast<size_t>(i);
        area = area.United(WaypointRepaintArea(i));
        waypoints_[k] = doc->Waypoints()[k];
        waypointPoints_[k] = projection_.Project(PositionOf(waypoints_[k]));
        TakeWaypointFace(*doc, k);
        area = area.United(WaypointRepaintArea(i));
    }
    if (LabelWidthForNames() != markSize_.labelWidth) {
        Rebuild();  // every name's room changes
        return;
    }
    for (int i : trackpointsChanged) {
        auto k = static_cast<size_t>(i);
        area = area.United(TrackpointRepaintArea(i));
        trackpoints_[k] = doc->Trackpoints()[k];
        trackpointPoints_[k] = projection_.Project(PositionOf(trackpoints_[k]));
        area = area.United(TrackpointRepaintArea(i));
    }
    const bool dotsBefore = trackDots_;
    if (!waypointsChanged.empty() || !trackpointsChanged.empty()) {
        // A moved symbol may uncover another one, or cover it.
        const std::vector<Mark> before = marks_;
        LayOut();
        for (size_t i = 0; i < marks_.size(); ++i) {
            if (marks_[i] != before[i]) {
                area = area.United(WaypointRepaintArea(static_cast<int>(i)));
            }
        }
    }
    if (trackDots_ != dotsBefore) {
        area = {0, 0, width(), height()};
    }
    lastChangeArea_ = OnWidget(area);
    RepaintArea(area);
    SelectionChanged();
}

void CPlotView::TakeWaypointFace(const CDataDoc& doc, size_t i)
{
    const auto [name, symbol] = FaceOf(doc, i);
    waypointNames_[i] = std::string(name);
    waypointSymbols_[i] = symbol;
}

int CPlotView::LabelWidthForNames() const
{
    size_t longest = 6;  // the GPS 12's idents
    for (const std::string& name : waypointNames_) {
        longest = std::max(longest, std::min(name.size(), kLongestLabel));
    }
    // The widest of the longest names sets the room; a few are measured, not all.
    const QFontMetrics metrics = fontMetrics();
    int widest = metrics.horizontalAdvance(QStringLiteral("WWWWWW"));
    int measured = 0;
    for (size_t i = 0; i < waypointNames_.size() && measured < 64; ++i) {
        const std::string& name = waypointNames_[i];
        if (name.size() + 2 >= longest) {
            const std::string shown = name.substr(0, kLongestLabel);
            widest = std::max(
                widest, metrics.horizontalAdvance(QString::fromStdString(Cp1252ToUtf8(shown))));
            ++measured;
        }
    }
    return widest + 4;
}

void CPlotView::RepaintArea(const PixelRect& area)
{
    const PixelRect shown = OnWidget(area);
    if (!shown.Empty()) {
        update(ToQRect(shown));
    }
}

PixelRect CPlotView::OnWidget(const PixelRect& area) const
{
    // Areas of far-away points reach a billion pixels; the widget is what counts.
    return {std::max(area.left, 0), std::max(area.top, 0), std::min(area.right, width()),
            std::min(area.bottom, height())};
}

PixelRect CPlotView::WaypointRepaintArea(int index) const
{
    return WaypointArea(WaypointPixel(index), markSize_);
}

PixelRect CPlotView::TrackpointRepaintArea(int index) const
{
    auto i = static_cast<size_t>(index);
    const PixelPoint p = TrackpointPixel(index);
    PixelRect area = SegmentArea(p, p);
    if (!StartsTrack(trackpoints_, i)) {
        area = area.United(SegmentArea(TrackpointPixel(index - 1), p));
    }
    if (i + 1 < trackpoints_.size() && !StartsTrack(trackpoints_, i + 1)) {
        area = area.United(SegmentArea(p, TrackpointPixel(index + 1)));
    }
    return area;
}

void CPlotView::SelectionChanged()
{
    std::vector<int> indices;
    std::vector<char> waypoints(waypoints_.size(), 0);
    std::vector<char> trackpoints(trackpoints_.size(), 0);
    std::vector<char>& ofList = list_->Mode() == LIST_TRACKPOINTS ? trackpoints : waypoints;
    if (list_->GetSelectedIndices(indices, list_->Mode())) {
        for (int i : indices) {
            if (i >= 0 && static_cast<size_t>(i) < ofList.size()) {
                ofList[static_cast<size_t>(i)] = 1;
            }
        }
    }
    PixelRect area;
    size_t changes = 0;
    for (size_t i = 0; i < waypoints.size(); ++i) {
        if (waypoints[i] != selectedWaypoints_[i] && ++changes <= kMostPartialChanges) {
            area = area.United(WaypointRepaintArea(static_cast<int>(i)));
        }
    }
    for (size_t i = 0; i < trackpoints.size(); ++i) {
        if (trackpoints[i] != selectedTrackpoints_[i] && ++changes <= kMostPartialChanges) {
            area = area.United(TrackpointRepaintArea(static_cast<int>(i)));
        }
    }
    selectedWaypoints_ = std::move(waypoints);
    selectedTrackpoints_ = std::move(trackpoints);
    if (changes > kMostPartialChanges) {
        update();
    } else {
        RepaintArea(area);
    }
}

void CPlotView::LayOut()
{
    // Track points show as dots where the lines on the widget have their points far enough
    // apart to tell them.
    const PixelRect widget{0, 0, width(), height()};
    double length = 0;
    int segments = 0;
    PixelPoint previous;
    trackPixels_.resize(trackpointPoints_.size());
    for (size_t i = 0; i < trackpointPoints_.size(); ++i) {
        const PixelPoint p = viewport_.ToPixel(trackpointPoints_[i]);
        trackPixels_[i] = p;
        if (!StartsTrack(trackpoints_, i) && (widget.Contains(p) || widget.Contains(previous))) {
            length += std::hypot(p.x - previous.x, p.y - previous.y);
            ++segments;
        }
        previous = p;
    }
    trackDots_ = segments > 0 && length / segments >= kDotSpacing;

    marks_.assign(waypoints_.size(), Mark::Hidden);
    // Cells as high as a name, so that names in neighbouring rows do not overlap.
    const int cellHeight = std::max(markSize_.labelHeight, kCell);
    const int columns = width() / kCell + 2;
    const int rows = height() / cellHeight + 2;
    std::vector<char> taken(static_cast<size_t>(columns) * static_cast<size_t>(rows), 0);
    const int labelCells = (markSize_.labelWidth + kCell - 1) / kCell;
    const PixelRect reach = {-markSize_.labelWidth - kCell, -cellHeight, width() + kCell,
                             height() + cellHeight};
    auto cellTaken = [&](int c, int r) -> char* {
        if (c < 0 || r < 0 || c >= columns || r >= rows) {
            return nullptr;
        }
        return &taken[static_cast<size_t>(r) * static_cast<size_t>(columns) +
                      static_cast<size_t>(c)];
    };
    waypointPixels_.resize(waypointPoints_.size());
    for (size_t i = 0; i < waypoints_.size(); ++i) {
        const PixelPoint p = viewport_.ToPixel(waypointPoints_[i]);
        waypointPixels_[i] = p;
        if (!reach.Contains(p)) {
            continue;
        }
        const int c = static_cast<int>(std::floor(p.x / kCell)) + 1;
        const int r = static_cast<int>(std::floor(p.y / cellHeight)) + 1;
        char* own = cellTaken(c, r);
        if (own && *own) {
            marks_[i] = Mark::Dot;
            continue;
        }
        if (own) {
            *own = 1;
        }
        marks_[i] = Mark::Symbol;
        bool room = true;
        for (int k = 1; k <= labelCells && room; ++k) {
            const char* cell = cellTaken(c + k, r);
            room = !cell || !*cell;
        }
        if (room) {
            marks_[i] = Mark::Labelled;
            for (int k = 1; k <= labelCells; ++k) {
                if (char* cell = cellTaken(c + k, r)) {
                    *cell = 1;
                }
            }
        }
    }
}

bool CPlotView::HasPoints() const
{
    return !waypoints_.empty() || !trackpoints_.empty() ||
           std::any_of(routes_.begin(), routes_.end(),
                       [](const Route& route) { return !route.points.empty(); });
}

void CPlotView::FitAll()
{
    PlotBounds bounds;
    for (const PlotPoint& p : waypointPoints_) {
        bounds.Add(p);
    }
    for (const PlotPoint& p : trackpointPoints_) {
        bounds.Add(p);
    }
    for (const auto& route : routePoints_) {
        for (const PlotPoint& p : route) {
            bounds.Add(p);
        }
    }
    FitBounds(bounds);
    fitted_ = !bounds.empty;
}

void CPlotView::FitBounds(const PlotBounds& bounds)
{
    // The names right of the symbols need room too.
    const int labels = waypoints_.empty() ? 0 : markSize_.labelWidth;
    viewport_.Resize(std::max(width() - labels, 1), height());
    viewport_.Fit(bounds, kFitMargin);
    const PlotPoint centre = viewport_.Centre();
    viewport_ = PlotViewport({centre.x + labels / 2.0 / viewport_.PixelsPerMetre(), centre.y},
                             viewport_.PixelsPerMetre(), width(), height());
    LayOut();
    update();
}

void CPlotView::FitSelection()
{
    PlotBounds bounds;
    for (size_t i = 0; i < selectedWaypoints_.size(); ++i) {
        if (selectedWaypoints_[i]) {
            bounds.Add(waypointPoints_[i]);
        }
    }
    for (size_t i = 0; i < selectedTrackpoints_.size(); ++i) {
        if (selectedTrackpoints_[i]) {
            bounds.Add(trackpointPoints_[i]);
        }
    }
    if (bounds.empty) {
        FitAll();
        return;
    }
    FitBounds(bounds);
}

void CPlotView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    viewport_.Resize(width(), height());
    if (!fitted_ && HasPoints()) {
        FitAll();
    } else {
        LayOut();
    }
}
