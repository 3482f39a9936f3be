#pragma once

#include <QHash>
#include <QMainWindow>

#include "framework/CommandTarget.h"

class CEditorApp;
class DocManager;
class DocTemplate;
class Document;
class MdiChildFrame;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QToolBar;

// The main window: the multi-document area, the menus of the active window's document
// type, the tool bar and the status bar, and the GPS commands no open document takes.
// Commands go to the active view, its document, its window, this frame and the
// application, in that order; menus and buttons follow the update handlers of that chain.
class CMainFrame : public QMainWindow, public CommandTarget {
    Q_OBJECT

public:
    CMainFrame(CEditorApp* app, DocManager* documents);
    ~CMainFrame() override;

    // Sets a status-bar pane (ID_INDICATOR_MOUSEPOS, ...); from any thread.
    void SetStatusPaneText(int paneId, const QString& text);
    QString StatusPaneText(int paneId) const;

    // Runs a command through the chain; false when nobody handles it or it is disabled.
    bool Execute(int commandId);
    CommandUI Update(int commandId);
    MdiChildFrame* ActiveChild() const;
    QMdiArea* mdiArea() const { return mdi_; }
    // The menu bar of the active window's type (resource 2 without one).
    int MenuResource() const { return menuResource_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateActions();
    void ShowMenus(int resourceId);
    void FillRecentFiles(QMenu* menu);
    void FillWindowList(QMenu* menu);
    void CreateToolBar();
    void CreateStatusBar();
    void UpdateActions(const QList<QAction*>& actions);
    void UpdateLockPanes();
    void OnSubWindowActivated(QMdiSubWindow* window);
    void AddWindow(Document* document, DocTemplate* docTemplate);
    void RemoveWindows(Document* document);
    void UpdateTitles(Document* document);
    void RegisterCommands();
    void RegisterGpsCommands();

    CEditorApp* app_;
    DocManager* documents_;
    QMdiArea* mdi_;
    QToolBar* toolBar_ = nullptr;
    QHash<int, QAction*> actions_;
    QHash<int, QLabel*> panes_;
    int menuResource_ = 0;
};
