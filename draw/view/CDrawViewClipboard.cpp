// The clipboard commands of a map view and what it takes by drag and drop: files and
// pictures dropped on the page become embedded objects where the dragged rectangle stood.

#include <QClipboard>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>

#include "draw/model/CDrawDoc.h"
#include "draw/model/UpdateHint.h"
#include "draw/model/ViewGeometry.h"
#include "draw/view/CDrawView.h"
#include "draw/view/InsertObject.h"
#include "draw/view/MapClipboard.h"
#include "draw/view/SummaryDialog.h"
#include "framework/CommandActions.h"
#include "framework/Prompts.h"
#include "res/CommandIds.h"

void CDrawView::RegisterClipboardCommands()
{
    auto selected = [this](CommandUI& ui) { ui.enabled = !selection_.empty(); };
    OnCommand(ID_EDIT_COPY, [this] {
        QGuiApplication::clipboard()->setMimeData(MapClipboard::Copy(selection_));
    });
    OnUpdateCommand(ID_EDIT_COPY, selected);
    OnCommand(ID_EDIT_CUT, [this] {
        QGuiApplication::clipboard()->setMimeData(MapClipboard::Copy(selection_));
        DeleteSelection();
    });
    OnUpdateCommand(ID_EDIT_CUT, selected);
    OnCommand(ID_EDIT_PASTE, [this] {
        if (const QMimeData* data = QGuiApplication::clipboard()->mimeData()) {
            CRect at = DefaultInsertRect();
            Paste(*data, {at.left, at.top}, false);
        }
    });
    OnUpdateCommand(ID_EDIT_PASTE, [](CommandUI& ui) {
        ui.enabled = MapClipboard::CanPaste(QGuiApplication::clipboard()->mimeData());
    });
    // The inserted object is not selected.
    OnCommand(ID_OLE_INSERT_NEW, [this] {
        if (CDrawDoc* doc = GetDocument()) {
            InsertNewObject(*doc, DefaultInsertRect(), window());
        }
    });
    OnCommand(ID_FILE_SUMMARYINFO, [this] {
        if (CDrawDoc* doc = GetDocument()) {
            EditSummaryInfo(*doc, window());
        }
    });
}

void CDrawView::Paste(const QMimeData& data, CPoint topLeft, bool embedOnly)
{
    CDrawDoc* doc = GetDocument();
    if (!doc) {
        return;
    }
    std::string error;
    std::vector<CDrawObj*> added = embedOnly ? MapClipboard::Embed(*doc, data, topLeft, error)
                                             : MapClipboard::Paste(*doc, data, topLeft, error);
    if (added.empty()) {
        // The map and the selection stay as they were.
        if (!error.empty()) {
            Prompts::Current().Message(error);
        }
        return;
    }
    Select(nullptr, false);
    selection_ = added;
    doc->SetModifiedFlag(true);
    doc->UpdateAllViews(nullptr, HINT_REPAINT_SELECTION, MapUpdate{.objects = selection_});
    CommandActions::StateChanged();
}

// Drag and drop

void CDrawView::ShowDropRect(const QRect& rect)
{
    if (!dropRect_.isNull()) {
        InvalidateClient(dropRect_.adjusted(-1, -1, 1, 1));
    }
    dropRect_ = rect;
    if (!dropRect_.isNull()) {
        InvalidateClient(dropRect_.adjusted(-1, -1, 1, 1));
    }
}

void CDrawView::dragEnterEvent(QDragEnterEvent* event)
{
    dropAcceptable_ = GetDocument() && MapClipboard::CanEmbed(event->mimeData());
    if (!dropAcceptable_) {
        event->ignore();
        return;
    }
    dragSize_ = MapClipboard::EmbedSize(event->mimeData());
    dragMoveEvent(event);
}

void CDrawView::dragMoveEvent(QDragMoveEvent* event)
{
    if (!dropAcceptable_) {
        event->ignore();
        return;
    }
    QPoint point = event->position().toPoint();
    ViewTransform scale{zoom_, {}};
    QRect item(point, QSize(scale.Pixels(dragSize_.cx), scale.Pixels(dragSize_.cy)));
    CRect page = DocToView(CRect{0, 0, pageSize_.cx, pageSize_.cy});
    QRect pageClient(QPoint(page.left, page.top), QPoint(page.right - 1, page.bottom - 1));
    // Ctrl and Shift together refuse; Ctrl copies; otherwise the drop counts as a move (it
    // never takes anything away from where it came from: the drop embeds a copy).
    Qt::KeyboardModifiers keys = event->modifiers();
    bool refused = (keys & Qt::ControlModifier) && (keys & Qt::ShiftModifier);
    bool onPage = pageClient.intersects(item.isEmpty() ? QRect(point, QSize(1, 1)) : item);
    if (refused || !onPage) {
        ShowDropRect(QRect());
        event->ignore();
        return;
    }
    ShowDropRect(item.isEmpty() ? QRect(point, QSize(1, 1)) : item);
    event->setDropAction((keys & Qt::ControlModifier) ? Qt::CopyAction : Qt::MoveAction);
    event->accept();
}

void CDrawView::dragLeaveEvent(QDragLeaveEvent* event)
{
    ShowDropRect(QRect());
    event->accept();
}

void CDrawView::dropEvent(QDropEvent* event)
{
    ShowDropRect(QRect());
    CDrawDoc* doc = GetDocument();
    if (!doc || !dropAcceptable_) {
        event->ignore();
        return;
    }
    QPoint point = event->position().toPoint();
    {
        CDrawDoc::UndoStep step(*doc, "Ablegen");
        Paste(*event->mimeData(), ViewToDoc(CPoint{point.x(), point.y()}), true);
        doc->UpdateAllViews(nullptr, HINT_REPAINT_ALL);
    }
    // A copy, whatever was asked: the source keeps its file.
    event->setDropAction(Qt::CopyAction);
    event->accept();
}
