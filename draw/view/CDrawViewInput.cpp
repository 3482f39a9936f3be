// The map view's mouse and keyboard input: the current tool gets the mouse, the wheel zooms
// and scrolls, the context menu offers the selection's commands.

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include "draw/model/CDrawDoc.h"
#include "draw/model/CMapTool.h"
#include "draw/model/MapTools.h"
#include "draw/view/CDrawView.h"
#include "framework/CommandActions.h"
#include "res/CommandIds.h"

namespace {

enum MouseKind { kDown, kUp, kDoubleClick, kMove };

}  // namespace

void CDrawView::ToolEvent(QMouseEvent* event, int kind)
{
    CMapTool* tool = tools_ ? tools_->ToolForKind(tools_->Current()) : nullptr;
    if (!tool || !GetDocument()) {
        return;
    }
    MouseFlags flags;
    flags.shift = event->modifiers() & Qt::ShiftModifier;
    flags.control = event->modifiers() & Qt::ControlModifier;
    flags.leftButton = event->buttons() & Qt::LeftButton;
    QPoint p = event->position().toPoint();
    CPoint point{p.x(), p.y()};
    if (kind == kDown || kind == kDoubleClick) {
        BeginGesture();
    }
    switch (kind) {
    case kDown:
        tool->OnLButtonDown(*this, flags, point);
        break;
    case kUp:
        tool->OnLButtonUp(*this, flags, point);
        break;
    case kDoubleClick:
        tool->OnLButtonDblClk(*this, flags, point);
        break;
    default:
        tool->OnMouseMove(*this, flags, point);
        break;
    }
    // A polygon keeps the mouse between its clicks: its gesture goes on.
    if ((kind == kUp || kind == kDoubleClick) && !capture_) {
        EndGesture();
    }
    CommandActions::StateChanged();
}

void CDrawView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    // A click into a view that is not the active one makes it active, and counts.
    emit activationRequested(this);
    if (active_) {
        ToolEvent(event, kDown);
    }
}

void CDrawView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && active_) {
        ToolEvent(event, kUp);
    }
}

void CDrawView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && active_) {
        ToolEvent(event, kDoubleClick);
    }
}

void CDrawView::mouseMoveEvent(QMouseEvent* event)
{
    if (!active_) {
        return;
    }
    ToolEvent(event, kMove);
    QPoint p = event->position().toPoint();
    CPoint doc = ViewToDoc(CPoint{p.x(), p.y()});
    if (MousePositionSink() && GetDocument()) {
        MousePositionSink()(*GetDocument(), doc);
    }
}

void CDrawView::wheelEvent(QWheelEvent* event)
{
    if (event->modifiers() & Qt::ControlModifier) {
        int steps = event->angleDelta().y() / 120;
        int zoom = zoom_;
        for (int i = 0; i < std::abs(steps); ++i) {
            zoom = NextZoom(zoom, steps > 0);
        }
        SetZoom(zoom, event->position().toPoint());
        event->accept();
        return;
    }
    QAbstractScrollArea::wheelEvent(event);
}

void CDrawView::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    emit activationRequested(this);
}

void CDrawView::contextMenuEvent(QContextMenuEvent* event)
{
    emit activationRequested(this);
    CDrawDoc* doc = GetDocument();
    if (!doc) {
        return;
    }
    QPoint client = event->pos();
    QPoint global = event->globalPos();
    if (event->reason() == QContextMenuEvent::Keyboard) {
        // The menu key opens the menu of the first selected object.
        if (selection_.empty()) {
            return;
        }
        CRect r = DocToView(selection_.front()->GetPosition());
        client = QPoint(r.left, r.top);
        global = viewport()->mapToGlobal(client);
    }
    CDrawObj* object = doc->TopObjectAt(ViewToDoc(CPoint{client.x(), client.y()}));
    if (!object) {
        return;
    }
    if (!IsSelected(object)) {
        Select(object, false);
    }
    viewport()->repaint();
    QMenu menu(this);
    CommandActions::FillMenu(&menu, {{ID_EDIT_CUT, "Cu&t\tCtrl+X"},
                                     {ID_EDIT_COPY, "&Copy\tCtrl+C"},
                                     {ID_EDIT_CLEAR, "&Delete\tDel"},
                                     {ID_EDIT_PROPERTIES, "Proper&ties...\tAlt+Enter"}});
    CommandActions::Refresh(menu.actions());
    menu.exec(global);
}
