// The main window's document windows: adding and closing them, their titles and the
// frame's title for the active one.

#include <algorithm>

#include <QMdiArea>

#include "app/CMainFrame.h"
#include "framework/CView.h"
#include "framework/DocManager.h"
#include "framework/DocTemplate.h"
#include "framework/MdiChildFrame.h"
#include "res/CommandIds.h"

void CMainFrame::OnSubWindowActivated(QMdiSubWindow* window)
{
    auto* child = qobject_cast<MdiChildFrame*>(window);
    if (window && !child) {
        return;
    }
    InstallKind(child ? child->docTemplate()->resourceId() : IDR_MAINFRAME);
    ShowTitle(child);
    CommandStateChanged();
}

void CMainFrame::ShowTitle(MdiChildFrame* active)
{
    // The document's name beside the program's; a maximized window's own title is added by
    // Qt (" - [map1.orvg]", with its modified mark), so the name stands there alone.
    QString title = QStringLiteral("OrviEdit GPS data Editor");
    if (active && !active->isMaximized()) {
        title += QStringLiteral(" - ") + documents_->Title(active->document());
    }
    setWindowTitle(title);
}

void CMainFrame::AddWindow(Document* document, DocTemplate* docTemplate)
{
    MdiChildFrame* child = docTemplate->CreateFrame(documents_, document);
    if (!child) {
        return;
    }
    child->setWindowIcon(QIcon(docTemplate->resourceId() == IDR_GPSDATA
                                   ? QStringLiteral(":/icons/orvd-document.svg")
                                   : QStringLiteral(":/icons/orvg-document.svg")));
    mdi_->addSubWindow(child);
    connect(child, &QMdiSubWindow::windowStateChanged, this,
            [this, child](Qt::WindowStates before, Qt::WindowStates now) {
                if (((before ^ now) & Qt::WindowMaximized) && child == ActiveChild()) {
                    ShowTitle(child);
                }
            });
    document->onModifiedChanged = [this, document] {
        UpdateTitles(document);
        CommandStateChanged();
    };
    UpdateTitles(document);
    // New windows take most of the area, each a little below and right of the last.
    int offset = 24 * (static_cast<int>(mdi_->subWindowList().size()) - 1) % 240;
    QSize area = mdi_->viewport()->size();
    child->resize(std::max(480, area.width() * 5 / 6), std::max(320, area.height() * 5 / 6));
    child->move(offset, offset);
    child->show();
    mdi_->setActiveSubWindow(child);
    child->InitialUpdate();
    // Keys go to the new window at once (also after the dialog that chose its kind).
    if (isVisible()) {
        activateWindow();
    }
    // The view that gets the commands gets the keys; a window of several widgets has one.
    if (auto* content = dynamic_cast<QWidget*>(child->view());
        content || (content = child->widget())) {
        content->setFocus(Qt::OtherFocusReason);
    }
}

void CMainFrame::RemoveWindows(Document* document)
{
    for (QMdiSubWindow* window : mdi_->subWindowList()) {
        auto* child = qobject_cast<MdiChildFrame*>(window);
        if (child && child->document() == document) {
            child->CloseForDocument();
        }
    }
}

void CMainFrame::UpdateTitles(Document* document)
{
    QList<MdiChildFrame*> children;
    for (QMdiSubWindow* window : mdi_->subWindowList(QMdiArea::CreationOrder)) {
        auto* child = qobject_cast<MdiChildFrame*>(window);
        if (child && child->document() == document) {
            children << child;
        }
    }
    for (int i = 0; i < children.size(); ++i) {
        children[i]->UpdateTitle(i + 1, static_cast<int>(children.size()));
    }
    OnSubWindowActivated(mdi_->activeSubWindow());
}
