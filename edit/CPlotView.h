#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

#include "edit/LivePosition.h"
#include "edit/PointPlot.h"
#include "framework/CView.h"
#include "gps/Records.h"
#include "gps/RichRecords.h"

class CDataDoc;
class CDataView;
class QRubberBand;

// The plot of a GPS data document beside its list: the track log as lines (a point with
// the "new track" flag starts a new line, points show as dots when zoomed in far enough)
// and the waypoints as their symbols with their names, over an equirectangular projection
// (PointPlot.h), with a scale bar and a north arrow.
//
// The selection is the list's: the plot shows the selected records of the list's kind
// highlighted, and a click or a rubber band selects rows. A click on a point of the other
// kind switches the list to it. Selected waypoints are moved by dragging them (one undo
// step). The wheel zooms at the mouse, the right or middle button drags the plane, the
// arrow keys pan, + and - zoom, Home shows everything.
//
// Changes of the document repaint only the areas of the records that changed when their
// number stayed; everything else starts the plot afresh (and fits it when it showed
// nothing before).
class CPlotView : public QWidget, public CView {
    Q_OBJECT

public:
    // `list`: the list of the same window, whose selection the plot shares.
    CPlotView(CDataView* list, QWidget* parent = nullptr);
    ~CPlotView() override;

    void OnUpdate(View* sender, long hint, const std::any& payload) override;
    void OnInitialUpdate() override;

    // Shows every point, or the selected ones (everything when nothing is selected).
    void FitAll();
    void FitSelection();

    const PlotViewport& Viewport() const { return viewport_; }
    void SetViewport(const PlotViewport& viewport);
    const PlotProjection& Projection() const { return projection_; }
    // Where a record shows on the widget.
    PixelPoint WaypointPixel(int index) const;
    PixelPoint TrackpointPixel(int index) const;

    // The area of the widget the last document change or live fix repainted (empty after a
    // full repaint, or when nothing that changed shows).
    const PixelRect& LastChangeArea() const { return lastChangeArea_; }

    // The receiver's live position: a marker with its heading and error circle, and the
    // trail of the last minutes behind it. A fix repaints only the marker's area and the
    // trail's newest piece, unless the view follows it and moves. `arrivedMillis`: when it
    // came, on a steady clock.
    void ShowLiveFix(const LiveFix& fix, int64_t arrivedMillis);
    // Whether fixes still come: the marker greys while they do not.
    void SetLiveReceiving(bool receiving);
    void SetFollowMode(FollowMode mode);
    FollowMode GetFollowMode() const { return follow_; }
    void ClearLive();
    const LivePath& Live() const { return live_; }
    // The pixels the live marker covers; empty without a position.
    PixelRect LiveArea() const;

    // Paints the plot, as the widget shows it, into `painter` over `clip` (widget pixels).
    void PaintPlot(QPainter& painter, const QRect& clip);

    // Receives the mouse position over the plot ("N 47.37690  E 8.54170" in the number
    // format of the options), or an empty text when the mouse leaves.
    static std::function<void(const QString&)>& MousePositionSink();
    // "N 47.37690  E 8.54170", numbers in the process locale.
    static QString PositionText(const GeoPosition& position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    // Whether the document holds anything the plot shows: waypoints, track or route points.
    bool HasPoints() const;
    // Where the live position lies on the plane, and a position on the widget.
    PlotPoint LivePlotPoint() const;
    PixelPoint LivePixel(const GeoPosition& position) const;
    void PaintLive(QPainter& painter);
    enum class Gesture { None, Pan, Band, Move };
    // How a waypoint shows at the current zoom: where symbols would cover each other, only
    // the first one keeps its symbol and name, the others show as dots.
    enum class Mark : unsigned char { Hidden, Dot, Symbol, Labelled };

    CDataDoc* Doc() const;
    void Rebuild();
    void ApplyChange();
    // Where the waypoints show (marks_) and whether track points show as dots, for the
    // current view.
    void LayOut();
    void FitBounds(const PlotBounds& bounds);
    void SelectionChanged();
    void ShowMousePosition(QPointF position);
    void ClickAt(QPointF position, Qt::KeyboardModifiers modifiers);
    void SelectInBand(const QRect& band, Qt::KeyboardModifiers modifiers);
    void FinishMove(QPointF position);
    void ShowContextMenu(QPoint global);
    PixelRect WaypointRepaintArea(int index) const;
    PixelRect TrackpointRepaintArea(int index) const;
    void PaintTrack(QPainter& painter, const PixelRect& clip);
    // The routes as dashed lines through their points.
    void PaintRoutes(QPainter& painter);
    // The covered waypoints' dots, or (`symbols`) the symbols and names of the others.
    void PaintWaypoints(QPainter& painter, const PixelRect& clip, bool symbols);
    void PaintOverlays(QPainter& painter);
    // Takes waypoint `i`'s whole name and full-table symbol from the document.
    void TakeWaypointFace(const CDataDoc& doc, size_t i);
    // Room for the longest name (at most kLongestLabel characters; longer ones are elided).
    int LabelWidthForNames() const;
    void RepaintArea(const PixelRect& area);
    PixelRect OnWidget(const PixelRect& area) const;

    CDataView* list_;
    PlotProjection projection_;
    PlotViewport viewport_;
    bool fitted_ = false;

    // Copies of the records the plot shows, and where they lie on the plane.
    std::vector<WaypointRecord> waypoints_;
    std::vector<TrackpointRecord> trackpoints_;
    // Per waypoint: the name it shows (its whole name, Windows-1252) and its symbol.
    std::vector<std::string> waypointNames_;
    std::vector<uint16_t> waypointSymbols_;
    std::vector<PlotPoint> waypointPoints_;
    std::vector<PlotPoint> trackpointPoints_;
    std::vector<Route> routes_;
    std::vector<std::vector<PlotPoint>> routePoints_;  // per route
    // Per record of the list's kind: selected in the list.
    std::vector<char> selectedWaypoints_;
    std::vector<char> selectedTrackpoints_;
    // Where the points lie on the widget, for the current view.
    std::vector<PixelPoint> waypointPixels_;
    std::vector<PixelPoint> trackPixels_;
    std::vector<Mark> marks_;
    bool trackDots_ = false;
    WaypointMarkSize markSize_;
    PixelRect lastChangeArea_;
    LivePath live_;
    bool liveReceiving_ = false;
    FollowMode follow_ = FollowMode::OFF;

    Gesture gesture_ = Gesture::None;
    QPointF pressPosition_;
    QPointF lastPosition_;
    bool dragging_ = false;
    QPointer<QRubberBand> band_;
};
