#include "framework/MdiChildFrame.h"

#include <QCloseEvent>

#include "framework/CView.h"
#include "framework/DocManager.h"
#include "framework/Document.h"
#include "framework/StandardCommands.h"
#include "framework/TaskRunner.h"

MdiChildFrame::MdiChildFrame(DocManager* manager, Document* document, DocTemplate* docTemplate,
                             CView* view)
    : MdiChildFrame(manager, document, docTemplate)
{
    view_ = view;
    setWidget(dynamic_cast<QWidget*>(view));
}

MdiChildFrame::MdiChildFrame(DocManager* manager, Document* document, DocTemplate* docTemplate)
    : manager_(manager), document_(document), docTemplate_(docTemplate)
{
    setAttribute(Qt::WA_DeleteOnClose);
    OnCommand(ID_FILE_CLOSE, [this] { manager_->CloseDocument(document_); });
    OnCommand(ID_FILE_SAVE, [this] { manager_->SaveDocument(document_, false); });
    OnCommand(ID_FILE_SAVE_AS, [this] { manager_->SaveDocument(document_, true); });
}

void MdiChildFrame::UpdateTitle(int number, int count)
{
    QString title = manager_->Title(document_);
    if (count > 1) {
        title += QStringLiteral(":%1").arg(number);
    }
    setWindowTitle(title + QStringLiteral("[*]"));
    setWindowModified(document_->IsModified());
}

void MdiChildFrame::InitialUpdate()
{
    for (CView* view : Views()) {
        view->OnInitialUpdate();
    }
}

void MdiChildFrame::DetachViews()
{
    for (CView* view : Views()) {
        view->AttachDocument(nullptr);
    }
}

void MdiChildFrame::CloseForDocument()
{
    if (documentGone_) {
        return;
    }
    documentGone_ = true;
    DetachViews();
    close();
}

void MdiChildFrame::closeEvent(QCloseEvent* event)
{
    if (documentGone_) {
        QMdiSubWindow::closeEvent(event);
        return;
    }
    // A running task may be using the document's connection.
    if (TaskRunner::Current().Busy()) {
        event->ignore();
        return;
    }
    if (document_->GetViews().size() > Views().size()) {
        // Another window shows the document.
        DetachViews();
        QMdiSubWindow::closeEvent(event);
        return;
    }
    // The last window of the document: the document closes with it, after asking.
    if (!manager_->SaveModified(document_)) {
        event->ignore();
        return;
    }
    documentGone_ = true;
    DetachViews();
    QMdiSubWindow::closeEvent(event);
    document_->SetModifiedFlag(false);
    manager_->CloseDocument(document_);
}
