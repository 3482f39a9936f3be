// The plot's mouse and keyboard input: zoom, pan, selection, moving waypoints, the menu.

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QRubberBand>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "edit/CDataView.h"
#include "edit/CPlotView.h"
#include "framework/CommandActions.h"
#include "gps/CDataDoc.h"
#include "res/CommandIds.h"

namespace {

constexpr double kPickRadius = 6;    // pixels from a point that a click still hits it
constexpr double kWheelStep = 1.25;  // zoom per notch of the wheel

}  // namespace

void CPlotView::wheelEvent(QWheelEvent* event)
{
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0) {
        return;
    }
    const QPointF at = event->position();
    viewport_.ZoomAt({at.x(), at.y()}, std::pow(kWheelStep, notches));
    LayOut();
    update();
    event->accept();
}

void CPlotView::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    pressPosition_ = lastPosition_ = event->position();
    dragging_ = false;
    if (event->button() == Qt::RightButton || event->button() == Qt::MiddleButton) {
        gesture_ = Gesture::Pan;
        return;
    }
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const PixelPoint p{event->position().x(), event->position().y()};
    const int hit = NearestPoint(waypointPoints_, viewport_, p, kPickRadius);
    if (hit >= 0 && list_->Mode() == LIST_WAYPOINTS &&
        selectedWaypoints_[static_cast<size_t>(hit)] &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier))) {
        gesture_ = Gesture::Move;
        return;
    }
    gesture_ = Gesture::Band;
}

void CPlotView::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF position = event->position();
    ShowMousePosition(position);
    if (gesture_ == Gesture::None) {
        return;
    }
    if (!dragging_ &&
        (position - pressPosition_).manhattanLength() >= QApplication::startDragDistance()) {
        dragging_ = true;
    }
    if (!dragging_) {
        return;
    }
    switch (gesture_) {
    case Gesture::Pan:
        viewport_.Pan(position.x() - lastPosition_.x(), position.y() - lastPosition_.y());
        LayOut();
        update();
        break;
    case Gesture::Band:
        if (!band_) {
            band_ = new QRubberBand(QRubberBand::Rectangle, this);
            band_->show();
        }
        band_->setGeometry(QRect(pressPosition_.toPoint(), position.toPoint()).normalized());
        break;
    case Gesture::Move:
        update();
        break;
    case Gesture::None:
        break;
    }
    lastPosition_ = position;
}

void CPlotView::mouseReleaseEvent(QMouseEvent* event)
{
    const Gesture gesture = gesture_;
    gesture_ = Gesture::None;
    lastPosition_ = event->position();
    if (band_) {  // there only while a band is dragged
        const QRect band = band_->geometry();
        delete band_;
        SelectInBand(band, event->modifiers());
        return;
    }
    if (gesture == Gesture::Pan && !dragging_ && event->button() == Qt::RightButton) {
        ShowContextMenu(event->globalPosition().toPoint());
        return;
    }
    if (gesture == Gesture::Move && dragging_) {
        FinishMove(event->position());
        return;
    }
    if ((gesture == Gesture::Band || gesture == Gesture::Move) && !dragging_) {
        ClickAt(event->position(), event->modifiers());
    }
}

void CPlotView::ClickAt(QPointF position, Qt::KeyboardModifiers modifiers)
{
    const PixelPoint p{position.x(), position.y()};
    // The plot shows no routes: beside the route list its points are the waypoints.
    ListMode mode = list_->Mode() == LIST_TRACKPOINTS ? LIST_TRACKPOINTS : LIST_WAYPOINTS;
    const std::vector<PlotPoint>& own =
        mode == LIST_TRACKPOINTS ? trackpointPoints_ : waypointPoints_;
    const std::vector<PlotPoint>& other =
        mode == LIST_TRACKPOINTS ? waypointPoints_ : trackpointPoints_;
    int hit = NearestPoint(own, viewport_, p, kPickRadius);
    if (hit < 0) {
        hit = NearestPoint(other, viewport_, p, kPickRadius);
        if (hit >= 0) {
            mode = mode == LIST_TRACKPOINTS ? LIST_WAYPOINTS : LIST_TRACKPOINTS;
            modifiers = Qt::NoModifier;  // the list's selection goes with its kind
        }
    }
    if (hit < 0 && list_->Mode() == LIST_ROUTES) {
        return;  // the route list stays
    }
    const bool extend = modifiers & (Qt::ControlModifier | Qt::ShiftModifier);
    std::vector<int> selection;
    if (extend) {
        list_->GetSelectedIndices(selection, mode);
    }
    if (hit >= 0) {
        auto found = std::find(selection.begin(), selection.end(), hit);
        if (found != selection.end() && (modifiers & Qt::ControlModifier)) {
            selection.erase(found);
        } else if (found == selection.end()) {
            selection.push_back(hit);
        }
    }
    list_->SelectRecords(mode, selection);
}

void CPlotView::SelectInBand(const QRect& band, Qt::KeyboardModifiers modifiers)
{
    const ListMode mode = list_->Mode() == LIST_TRACKPOINTS ? LIST_TRACKPOINTS : LIST_WAYPOINTS;
    const std::vector<PlotPoint>& points =
        mode == LIST_TRACKPOINTS ? trackpointPoints_ : waypointPoints_;
    // Flags per record: a band over thousands of points joins a selection of thousands.
    std::vector<char> chosen(points.size(), 0);
    std::vector<int> selection;
    if (modifiers & (Qt::ControlModifier | Qt::ShiftModifier)) {
        list_->GetSelectedIndices(selection, mode);
    }
    for (int i : selection) {
        if (i >= 0 && static_cast<size_t>(i) < chosen.size()) {
            chosen[static_cast<size_t>(i)] = 1;
        }
    }
    for (int i : PointsInside(points, viewport_,
                              {band.left(), band.top(), band.right() + 1, band.bottom() + 1})) {
        chosen[static_cast<size_t>(i)] = 1;
    }
    selection.clear();
    for (size_t i = 0; i < chosen.size(); ++i) {
        if (chosen[i]) {
            selection.push_back(static_cast<int>(i));
        }
    }
    if (selection.empty() && list_->Mode() == LIST_ROUTES) {
        return;
    }
    list_->SelectRecords(mode, selection);
}

void CPlotView::FinishMove(QPointF position)
{
    CDataDoc* doc = Doc();
    const QPointF moved = position - pressPosition_;
    if (!doc || moved.isNull()) {
        update();
        return;
    }
    const double east = moved.x() / viewport_.PixelsPerMetre();
    const double north = -moved.y() / viewport_.PixelsPerMetre();
    {
        CDataDoc::UndoStep step(*doc, "Verschieben");
        for (size_t i = 0; i < selectedWaypoints_.size(); ++i) {
            if (!selectedWaypoints_[i]) {
                continue;
            }
            const auto index = static_cast<int32_t>(i);
            WaypointRecord record;
            if (doc->GetWaypoint(index, record) != DOC_OK) {
                continue;
            }
            const WaypointRecord result = MovedWaypoint(record, projection_, east, north);
            if (!SameBytes(result, record)) {
                doc->SetWaypoint(index, result);
            }
        }
    }
    doc->UpdateAllViews(nullptr);
    update();
}

void CPlotView::keyPressEvent(QKeyEvent* event)
{
    const double stepX = width() / 8.0;
    const double stepY = height() / 8.0;
    const PixelPoint centre{width() / 2.0, height() / 2.0};
    switch (event->key()) {
    case Qt::Key_Left:
        viewport_.Pan(stepX, 0);
        break;
    case Qt::Key_Right:
        viewport_.Pan(-stepX, 0);
        break;
    case Qt::Key_Up:
        viewport_.Pan(0, stepY);
        break;
    case Qt::Key_Down:
        viewport_.Pan(0, -stepY);
        break;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        viewport_.ZoomAt(centre, kWheelStep);
        break;
    case Qt::Key_Minus:
        viewport_.ZoomAt(centre, 1 / kWheelStep);
        break;
    case Qt::Key_Home:
        FitAll();
        return;
    case Qt::Key_Menu:
        ShowContextMenu(mapToGlobal(QPoint(width() / 2, height() / 2)));
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    LayOut();
    update();
}

void CPlotView::ShowMousePosition(QPointF position)
{
    if (!MousePositionSink()) {
        return;
    }
    MousePositionSink()(
        PositionText(projection_.Unproject(viewport_.ToPlot({position.x(), position.y()}))));
}

QString CPlotView::PositionText(const GeoPosition& position)
{
    char text[64];
    std::snprintf(text, sizeof text, "%c %.5f  %c %.5f", position.latitude < 0 ? 'S' : 'N',
                  std::fabs(position.latitude), position.longitude < 0 ? 'W' : 'E',
                  std::fabs(position.longitude));
    return QString::fromUtf8(text);
}

void CPlotView::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    if (MousePositionSink()) {
        MousePositionSink()(QString());
    }
}

void CPlotView::ShowContextMenu(QPoint global)
{
    setFocus(Qt::PopupFocusReason);
    QMenu menu(this);
    CommandActions::FillMenu(&menu, {{ID_VIEW_FIT_ALL, "&Alles zeigen\tPos1"},
                                     {ID_VIEW_FIT_SELECTION, "A&uswahl zeigen"},
                                     {0, nullptr},
                                     {ID_EDIT_COPY, "&Copy selection\tCtrl+C"},
                                     {ID_EDIT_CLEAR, "&Delete\tDel"},
                                     {0, nullptr},
                                     {ID_FILE_MAP_FROM_POINTS, "Als &Karte übernehmen"}});
    menu.exec(global);
}
