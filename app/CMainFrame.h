#pragma once

#include <QHash>
#include <QMainWindow>
#include <map>

#include "framework/CommandTarget.h"

class CEditorApp;
class PositionSource;
class DocManager;
class DocTemplate;
class Document;
class MdiChildFrame;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QToolBar;

// The main window: the multi-document area, the menus and keys of the active window's
// kind, the tool bar and the status bar, and the GPS commands no open document takes.
// It is the program's command router: commands go to the active view, its document, its
// window, this frame and the application, in that order, and run only when their update
// handler enables them at that moment, whether they come from a menu, a key, a tool-bar
// button or a context menu.
class CMainFrame : public QMainWindow, public CommandTarget, public CommandRouter {
    Q_OBJECT

public:
    CMainFrame(CEditorApp* app, DocManager* documents);
    ~CMainFrame() override;

    // Sets a status-bar pane (ID_INDICATOR_MOUSEPOS, ...); from any thread.
    void SetStatusPaneText(int paneId, const QString& text);
    QString StatusPaneText(int paneId) const;

    // Whether closing the frame asks about unsaved documents (it does unless told not to);
    // without asking they close unsaved.
    void SetAskToSave(bool ask) { askToSave_ = ask; }

    // Runs a command through the chain; false when nobody handles it, it is disabled or a
    // task with the receiver is running.
    bool Execute(int commandId) override;
    CommandUI Update(int commandId) override;
    // Brings the tool-bar buttons up to date once the current event has been handled.
    void CommandStateChanged() override;

    MdiChildFrame* ActiveChild() const;
    QMdiArea* mdiArea() const { return mdi_; }
    QToolBar* toolBar() const { return toolBar_; }
    // The kind of the active window (IDR_MAINFRAME without one): its menus and keys are in
    // force.
    int MenuResource() const { return kind_; }
    // The action of a command in the active kind, or null.
    QAction* Action(int commandId) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void InstallKind(int resourceId);
    void FillMenu(QMenu* menu, const std::vector<int>& commands);
    void FillRecentFiles(QMenu* menu);
    void FillWindowList(QMenu* menu);
    void CreateToolBar();
    void CreateStatusBar();
    void RefreshToolBar();
    void RefreshForKey(int key);
    void UpdateLockPanes();
    void OnSubWindowActivated(QMdiSubWindow* window);
    // The frame's title for the active window (null: none).
    void ShowTitle(MdiChildFrame* active);
    void AddWindow(Document* document, DocTemplate* docTemplate);
    void RemoveWindows(Document* document);
    void UpdateTitles(Document* document);
    void RegisterCommands();
    void RegisterGpsCommands();
    // Live-Position: starts the source the options name and hands its fixes to the live
    // session; false (with a message) when it cannot be made. Stopping ends a recording.
    bool StartLive();
    void StopLive();

    CEditorApp* app_;
    DocManager* documents_;
    QMdiArea* mdi_;
    QToolBar* toolBar_ = nullptr;
    // One action per command and kind of window, and the menus of each kind.
    std::map<int, QHash<int, QAction*>> actions_;
    std::map<int, QList<QMenu*>> menus_;
    QHash<int, QLabel*> panes_;
    int kind_ = 0;
    bool refreshPending_ = false;
    bool askToSave_ = true;
    CommandRouter* previousRouter_ = nullptr;
    std::unique_ptr<PositionSource> liveSource_;
    bool liveOnPort_ = false;  // the source reads the link's port
    bool livePaused_ = false;
};
