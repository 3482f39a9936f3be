#include "edit/CPlotView.h"

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

const QColor kTrackColour(200, 40, 40);
const QColor kDotColour(120, 20, 20);
const QColor kWaypointDotColour(110, 140, 210);

QRect ToQRect(const PixelRect& r)
{
    return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

PixelRect ToPixelRect(const QRect& r)
{
    return {r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

// Cuts the segment a-b to `r` (Liang-Barsky); false when nothing of it lies inside. Keeps
// far-away ends out of the painter, whose fixed-point rasteriser they would overflow.
bool ClipSegment(PixelPoint& a, PixelPoint& b, const PixelRect& r)
{
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    double t0 = 0;
    double t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - r.left, r.right - a.x, a.y - r.top, r.bottom - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) {
                return false;
            }
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        if (t0 > t1) {
            return false;
        }
    }
    const PixelPoint start{a.x + t0 * dx, a.y + t0 * dy};
    b = {a.x + t1 * dx, a.y + t1 * dy};
    a = start;
    return true;
}

const QPixmap& CachedSymbol(int symbol)
{
    static const std::vector<QPixmap> symbols = [] {
        std::vector<QPixmap> all;
        for (int s = 0; s < SYMBOL_COUNT; ++s) {
            all.push_back(SymbolImage(s, 16));
        }
        return all;
    }();
    static const QPixmap none;
    return symbol >= 0 && symbol < SYMBOL_COUNT ? symbols[static_cast<size_t>(symbol)] : none;
}

bool StartsTrack(const std::vector<TrackpointRecord>& track, size_t i)
{
    return i == 0 || track[i].newTrack != 0;
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
    markSize_.labelWidth = fontMetrics().horizontalAdvance(QStringLiteral("WWWWWW")) + 4;
    markSize_.labelHeight = fontMetrics().height();
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { SelectionChanged(); });
    connect(list_->ListModel(), &QAbstractItemModel::modelReset, this,
            [this] { SelectionChanged(); });
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

void CPlotView::OnUpdate(View*, long, void*)
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
    const bool hadPoints = !waypoints_.empty() || !trackpoints_.empty();
    waypoints_ = doc ? doc->Waypoints() : std::vector<WaypointRecord>{};
    trackpoints_ = doc ? doc->Trackpoints() : std::vector<TrackpointRecord>{};
    const bool hasPoints = !waypoints_.empty() || !trackpoints_.empty();
    // Small changes keep the projection, so that nothing moves but what changed; points of
    // another region get their own projection and are shown whole.
    const PlotProjection fresh = PlotProjection::For(waypoints_, trackpoints_);
    const bool elsewhere = !hadPoints ||
                           std::fabs(SemicirclesToDegrees(fresh.CentralLongitude()) -
                                     SemicirclesToDegrees(previous.CentralLongitude())) > 1 ||
                           std::fabs(fresh.EastWestScale() - previous.EastWestScale()) > 0.01;
    if (elsewhere) {
        projection_ = fresh;
        fitted_ = false;
    }
    waypointPoints_.resize(waypoints_.size());
    for (size_t i = 0; i < waypoints_.size(); ++i) {
        waypointPoints_[i] = projection_.Project(PositionOf(waypoints_[i]));
    }
    trackpointPoints_.resize(trackpoints_.size());
    for (size_t i = 0; i < trackpoints_.size(); ++i) {
        trackpointPoints_[i] = projection_.Project(PositionOf(trackpoints_[i]));
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
        doc->Trackpoints().size() != trackpoints_.size()) {
        Rebuild();
        return;
    }
    const std::vector<int> waypointsChanged = ChangedWaypoints(waypoints_, doc->Waypoints());
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
        area = area.United(WaypointRepaintArea(i));
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

void CPlotView::FitAll()
{
    PlotBounds bounds;
    for (const PlotPoint& p : waypointPoints_) {
        bounds.Add(p);
    }
    for (const PlotPoint& p : trackpointPoints_) {
        bounds.Add(p);
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
    if (!fitted_ && (!waypoints_.empty() || !trackpoints_.empty())) {
        FitAll();
    } else {
        LayOut();
    }
}

void CPlotView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    PaintPlot(painter, event->rect());
}

void CPlotView::PaintPlot(QPainter& painter, const QRect& clip)
{
    painter.fillRect(clip, Qt::white);
    const PixelRect area = ToPixelRect(clip);
    // Waypoints covered by others are dots under the track, so that the track shows through
    // a crowd of them; symbols and names go on top.
    PaintWaypoints(painter, area, false);
    PaintTrack(painter, area);
    PaintWaypoints(painter, area, true);
    PaintOverlays(painter);
}

void CPlotView::PaintTrack(QPainter& painter, const PixelRect& clip)
{
    if (trackpoints_.empty()) {
        return;
    }
    // Lines are cut to a little more than the area, so that their pens reach its edges.
    const PixelRect bounds{clip.left - 4, clip.top - 4, clip.right + 4, clip.bottom + 4};
    const std::vector<PixelPoint>& pixels = trackPixels_;
    // Segments with both ends on one side beyond `bounds` are left out at once.
    auto outside = [&bounds](const PixelPoint& a, const PixelPoint& b) {
        return (a.x < bounds.left && b.x < bounds.left) ||
               (a.x >= bounds.right && b.x >= bounds.right) ||
               (a.y < bounds.top && b.y < bounds.top) ||
               (a.y >= bounds.bottom && b.y >= bounds.bottom);
    };
    painter.setPen(QPen(kTrackColour, 1.5));
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPolygonF run;
    auto flush = [&] {
        if (run.size() > 1) {
            painter.drawPolyline(run);
        }
        run.clear();
    };
    for (size_t i = 0; i < pixels.size(); ++i) {
        if (StartsTrack(trackpoints_, i)) {
            flush();
            continue;
        }
        PixelPoint a = pixels[i - 1];
        PixelPoint b = pixels[i];
        if (outside(a, b) || !ClipSegment(a, b, bounds)) {
            flush();
            continue;
        }
        const QPointF from(a.x, a.y);
        const QPointF to(b.x, b.y);
        if (run.isEmpty() || run.back() != from) {
            flush();
            run.append(from);
        }
        // Points that fall on the pixel of the one before add nothing to the line.
        if (std::lround(to.x()) != std::lround(run.back().x()) ||
            std::lround(to.y()) != std::lround(run.back().y()) || i + 1 == pixels.size()) {
            run.append(to);
        }
    }
    flush();

    const bool dots = trackDots_;
    const PixelRect dotArea{clip.left - 3, clip.top - 3, clip.right + 3, clip.bottom + 3};
    for (size_t i = 0; i < pixels.size(); ++i) {
        const bool selected = selectedTrackpoints_[i] != 0;
        if ((!dots && !selected) || !dotArea.Contains(pixels[i])) {
            continue;
        }
        if (selected) {
            painter.fillRect(QRectF(pixels[i].x - 3, pixels[i].y - 3, 7, 7),
                             palette().color(QPalette::Highlight));
        } else {
            painter.fillRect(QRectF(pixels[i].x - 1.5, pixels[i].y - 1.5, 3, 3), kDotColour);
        }
    }
}

void CPlotView::PaintWaypoints(QPainter& painter, const PixelRect& clip, bool symbols)
{
    const bool moving = gesture_ == Gesture::Move && dragging_;
    const QPointF offset = moving ? lastPosition_ - pressPosition_ : QPointF();
    const QColor highlight = palette().color(QPalette::Highlight);
    const QColor highlightText = palette().color(QPalette::HighlightedText);
    const int half = markSize_.symbol / 2;
    // The reach of a mark around its point, as WaypointArea has it, for a quick test.
    const PixelRect reach = WaypointArea({0, 0}, markSize_);
    const double left = clip.left - reach.right;
    const double right = clip.right - reach.left;
    const double top = clip.top - reach.bottom;
    const double bottom = clip.bottom - reach.top;
    for (size_t i = 0; i < waypoints_.size(); ++i) {
        const Mark mark = marks_[i];
        const bool selected = selectedWaypoints_[i] != 0;
        if (mark == Mark::Hidden && !selected) {
            continue;
        }
        PixelPoint p = waypointPixels_[i];
        if (moving && selected) {
            p.x += offset.x();
            p.y += offset.y();
        }
        if (p.x <= left || p.x >= right || p.y <= top || p.y >= bottom) {
            continue;
        }
        const QPointF at(std::round(p.x), std::round(p.y));
        const bool dot = mark == Mark::Dot && !selected;
        if (dot != !symbols) {
            continue;
        }
        if (dot) {
            painter.fillRect(QRectF(at.x() - 1, at.y() - 1, 2, 2), kWaypointDotColour);
            continue;
        }
        if (selected) {
            painter.fillRect(QRectF(at.x() - half - 1, at.y() - half - 1, markSize_.symbol + 2,
                                    markSize_.symbol + 2),
                             highlight);
        }
        painter.drawPixmap(QPointF(at.x() - half, at.y() - half),
                           CachedSymbol(waypoints_[i].symbol));
        if (mark != Mark::Labelled && !selected) {
            continue;
        }
        const QString name = QString::fromStdString(Cp1252ToUtf8(WaypointIdent(waypoints_[i])));
        const QRectF label(at.x() + half + 3, at.y() - markSize_.labelHeight / 2.0,
                           markSize_.labelWidth, markSize_.labelHeight);
        if (selected) {
            const double textWidth = fontMetrics().horizontalAdvance(name) + 2;
            painter.fillRect(QRectF(label.topLeft(), QSizeF(textWidth, label.height())), highlight);
            painter.setPen(highlightText);
        } else {
            painter.setPen(Qt::black);
        }
        painter.drawText(label, Qt::AlignLeft | Qt::AlignVCenter, name);
    }
}

void CPlotView::PaintOverlays(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing, true);
    // The scale bar at the bottom left.
    const ScaleBar bar = ChooseScaleBar(viewport_.PixelsPerMetre(), std::max(width() / 4, 40));
    if (bar.pixels > 0) {
        const int x = 10;
        const int y = height() - 12;
        painter.setPen(QPen(Qt::black, 2));
        painter.drawLine(x, y, x + bar.pixels, y);
        painter.drawLine(x, y - 4, x, y + 2);
        painter.drawLine(x + bar.pixels, y - 4, x + bar.pixels, y + 2);
        painter.setPen(Qt::black);
        painter.drawText(QPoint(x + 2, y - 6), QString::fromStdString(bar.label));
    }
    // The north arrow at the top right.
    const QPointF tip(width() - 20, 10);
    QPainterPath arrow;
    arrow.moveTo(tip);
    arrow.lineTo(tip + QPointF(7, 20));
    arrow.lineTo(tip + QPointF(0, 15));
    arrow.lineTo(tip + QPointF(-7, 20));
    arrow.closeSubpath();
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::black);
    painter.drawPath(arrow);
    painter.drawText(QRectF(tip.x() - 10, tip.y() + 20, 20, 16), Qt::AlignCenter,
                     QStringLiteral("N"));
    painter.setBrush(Qt::NoBrush);
    painter.setRenderHint(QPainter::Antialiasing, false);
}
