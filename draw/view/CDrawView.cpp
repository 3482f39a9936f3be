#include "draw/view/CDrawView.h"

#include <QColorDialog>
#include <QContextMenuEvent>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawObj.h"
#include "draw/model/CDrawOleObj.h"
#include "draw/model/MapTools.h"
#include "draw/model/UpdateHint.h"
#include "draw/model/ViewGeometry.h"
#include "draw/paint/QtGdiPainter.h"
#include "draw/view/MapCursors.h"
#include "framework/CommandActions.h"
#include "res/CommandIds.h"

namespace {

bool g_offscreen = true;

QRect ToQRect(const CRect& r)
{
    return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

}  // namespace

std::function<void(const CDrawDoc&, CPoint)>& CDrawView::MousePositionSink()
{
    static std::function<void(const CDrawDoc&, CPoint)> sink;
    return sink;
}

CDrawView::CDrawView(QWidget* parent) : QAbstractScrollArea(parent), pageSize_(MAP_PAGE_SIZE)
{
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setFocusPolicy(Qt::NoFocus);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(1, 1);
    chooseColour = [this](QColor& colour) {
        QColor chosen = QColorDialog::getColor(colour, this);
        if (!chosen.isValid()) {
            return false;
        }
        colour = chosen;
        return true;
    };
    RegisterCommands();
    RegisterObjectCommands();
    RegisterClipboardCommands();
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
}

CDrawView::~CDrawView()
{
    AttachDocument(nullptr);
}

void CDrawView::OnDetaching()
{
    EndToolGesture();
    capture_ = false;
    EndGesture();
    selection_.clear();
}

void CDrawView::BeginGesture()
{
    if (CDrawDoc* doc = GetDocument(); doc && !gesture_) {
        gesture_ = true;
        doc->BeginStep("");
    }
}

void CDrawView::EndGesture()
{
    if (!gesture_) {
        return;
    }
    gesture_ = false;
    if (CDrawDoc* doc = GetDocument()) {
        doc->EndStep();
    }
}

void CDrawView::CancelTool()
{
    ReleaseCapture();
    HideRubberBand();
    if (tools_) {
        tools_->Cancel();
    }
    EndGesture();
}

void CDrawView::EndToolGesture()
{
    // Only the view that holds the mouse has a gesture in progress.
    if (!capture_) {
        return;
    }
    ToolKind kind = tools_ ? tools_->Current() : ToolKind::selection;
    CancelTool();
    if (tools_) {
        tools_->SetCurrent(kind);
    }
}

CDrawDoc* CDrawView::GetDocument() const
{
    return dynamic_cast<CDrawDoc*>(CView::GetDocument());
}

bool CDrawView::OffscreenDrawing()
{
    return g_offscreen;
}

void CDrawView::SetOffscreenDrawing(bool offscreen)
{
    g_offscreen = offscreen;
}

void CDrawView::OnInitialUpdate()
{
    if (CDrawDoc* doc = GetDocument()) {
        pageSize_ = doc->GetPageSize();
    }
    UpdateScrollBars();
    viewport()->update();
}

void CDrawView::OnUpdate(View*, long hint, const std::any& payload)
{
    const auto* update = std::any_cast<MapUpdate>(&payload);
    switch (hint) {
    case HINT_REPAINT_ALL:
        viewport()->update();
        break;
    case HINT_REPAINT_OBJECT:
        if (update) {
            InvalidateObject(update->object);
        }
        break;
    case HINT_REPAINT_SELECTION:
        for (CDrawObj* o : update ? update->objects : selection_) {
            InvalidateObject(o);
        }
        break;
    case HINT_SELECTION_DELETED:
        if (update) {
            for (CDrawObj* o : update->objects) {
                InvalidateObject(o);
                RemoveFromSelection(o);
            }
        }
        break;
    case HINT_REPAINT_OLE_ITEMS:
        if (CDrawDoc* doc = GetDocument()) {
            for (CDrawObj* o : doc->ObjectList()) {
                if (dynamic_cast<CDrawOleObj*>(o)) {
                    InvalidateObject(o);
                }
            }
        }
        break;
    default:
        break;
    }
}

void CDrawView::SetActive(bool active)
{
    if (active == active_) {
        return;
    }
    if (active) {
        active_ = true;
    }
    // The handles come and go with the activation.
    OnUpdate(nullptr, HINT_REPAINT_SELECTION, {});
    active_ = active;
    CommandActions::StateChanged();
}

// Selection

void CDrawView::Select(CDrawObj* object, bool add)
{
    if (!add) {
        OnUpdate(nullptr, HINT_REPAINT_SELECTION, {});
        selection_.clear();
    }
    if (object && !IsSelected(object)) {
        selection_.push_back(object);
        InvalidateObject(object);
    }
    CommandActions::StateChanged();
}

void CDrawView::Deselect(CDrawObj* object)
{
    auto it = std::find(selection_.begin(), selection_.end(), object);
    if (it != selection_.end()) {
        InvalidateObject(object);
        selection_.erase(it);
        CommandActions::StateChanged();
    }
}

void CDrawView::RemoveFromSelection(CDrawObj* object)
{
    auto it = std::find(selection_.begin(), selection_.end(), object);
    if (it != selection_.end()) {
        selection_.erase(it);
        CommandActions::StateChanged();
    }
}

bool CDrawView::IsSelected(const CDrawObj* object) const
{
    return std::find(selection_.begin(), selection_.end(), object) != selection_.end();
}

void CDrawView::SelectInRect(const CRect& clientRect, bool add)
{
    if (!add) {
        Select(nullptr, false);
    }
    CDrawDoc* doc = GetDocument();
    if (!doc) {
        return;
    }
    CRect r = ViewToDoc(clientRect);
    for (CDrawObj* object : doc->ObjectList()) {
        if (object->TouchesRect(r)) {
            Select(object, true);
        }
    }
}

void CDrawView::DuplicateSelection()
{
    CDrawDoc* doc = GetDocument();
    if (!doc) {
        return;
    }
    std::vector<CDrawObj*> originals = selection_;
    for (CDrawObj* object : originals) {
        doc->Add(object->Clone(doc));
    }
}

void CDrawView::InvalidateObject(CDrawObj* object)
{
    if (!object) {
        return;
    }
    // All the object may paint: a wide pen of a polygon or a centred outline reaches beyond
    // the position. One more pixel to the right and below: a zoomed unit's last pixel rounds
    // up. Cut to the client area before Qt sees it: an object far off the page lies near the
    // int range's ends, where QRect's arithmetic would overflow.
    CRect area = RepaintArea(DocToView(object->PaintedArea()), active_ && IsSelected(object));
    QSize client = viewport()->size();
    CRect near{-1, -1, client.width() + 1, client.height() + 1};
    InvalidateClient(ToQRect(CRect::Intersection(InflateRect(area, 0, 0, 1, 1), near)));
}

void CDrawView::InvalidateClient(const QRect& rect)
{
    viewport()->update(rect.intersected(viewport()->rect().adjusted(-1, -1, 1, 1)));
}

// Coordinates

QPoint CDrawView::ScrollOffset() const
{
    return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

ViewTransform CDrawView::Transform() const
{
    QPoint s = ScrollOffset();
    return ViewTransform{zoom_, {s.x(), s.y()}};
}

CPoint CDrawView::DocToView(CPoint p) const
{
    return Transform().DocToView(p);
}

CRect CDrawView::DocToView(const CRect& r) const
{
    CPoint a = DocToView(CPoint{r.left, r.top});
    CPoint b = DocToView(CPoint{r.right, r.bottom});
    return CRect{a.x, a.y, b.x, b.y}.Normalized();
}

CPoint CDrawView::ViewToDoc(CPoint client) const
{
    return Transform().ViewToDoc(client);
}

CRect CDrawView::ViewToDoc(const CRect& r) const
{
    CPoint a = ViewToDoc(CPoint{r.left, r.top});
    CPoint b = ViewToDoc(CPoint{r.right, r.bottom});
    return CRect{a.x, a.y, b.x, b.y};
}

CRect CDrawView::DefaultInsertRect() const
{
    CPoint p = ViewToDoc(CPoint{10, 10});
    return CRect{p.x, p.y, p.x, p.y};
}

void CDrawView::ApplyPageSize(CSize size)
{
    pageSize_ = size;
    UpdateScrollBars();
    if (CDrawDoc* doc = GetDocument()) {
        doc->UpdateAllViews(nullptr, HINT_REPAINT_ALL);
    }
}

void CDrawView::UpdateScrollBars()
{
    ViewTransform t{zoom_, {}};
    int factor = ScaleFactor(0);  // screens are larger than 400 pixels
    QSize area(t.Pixels(int64_t{pageSize_.cx} * factor), t.Pixels(int64_t{pageSize_.cy} * factor));
    QSize visible = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, area.width() - visible.width()));
    verticalScrollBar()->setRange(0, std::max(0, area.height() - visible.height()));
    // Steps as the framework's: a tenth of the area, and a tenth of that.
    horizontalScrollBar()->setPageStep(std::max(1, visible.width()));
    verticalScrollBar()->setPageStep(std::max(1, visible.height()));
    horizontalScrollBar()->setSingleStep(std::max(1, area.width() / 100));
    verticalScrollBar()->setSingleStep(std::max(1, area.height() / 100));
}

void CDrawView::SetZoom(int percent)
{
    SetZoom(percent, viewport()->rect().center());
}

void CDrawView::SetZoom(int percent, QPoint anchor)
{
    percent = std::clamp(percent, MIN_ZOOM, MAX_ZOOM);
    if (percent == zoom_) {
        return;
    }
    // The document point under the anchor stays where it is.
    CPoint fixed = ViewToDoc(CPoint{anchor.x(), anchor.y()});
    zoom_ = percent;
    UpdateScrollBars();
    CPoint now = DocToView(fixed);
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + now.x - anchor.x());
    verticalScrollBar()->setValue(verticalScrollBar()->value() + now.y - anchor.y());
    viewport()->update();
    CommandActions::StateChanged();
}

void CDrawView::SetGridShown(bool shown)
{
    grid_ = shown;
    viewport()->update();
}

// Mouse capture, cursor, rubber band

void CDrawView::SetCapture()
{
    capture_ = true;
}

void CDrawView::ReleaseCapture()
{
    capture_ = false;
}

void CDrawView::SetCursor(ToolCursor cursor)
{
    viewport()->setCursor(CursorFor(cursor));
}

void CDrawView::ShowRubberBand(const CRect& clientRect)
{
    HideRubberBand();
    rubberBand_ =
        QRect(QPoint(clientRect.left, clientRect.top), QPoint(clientRect.right, clientRect.bottom));
    InvalidateClient(rubberBand_.adjusted(-1, -1, 1, 1));
}

void CDrawView::HideRubberBand()
{
    if (!rubberBand_.isNull()) {
        InvalidateClient(rubberBand_.adjusted(-1, -1, 1, 1));
        rubberBand_ = QRect();
    }
}

// Painting

void CDrawView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void CDrawView::scrollContentsBy(int dx, int dy)
{
    // What stays in the window moves along; only the strip that comes in is painted.
    viewport()->scroll(dx, dy);
}

// Mouse
