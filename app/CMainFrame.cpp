#include "app/CMainFrame.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

#include "app/CEditorApp.h"
#include "app/KeyboardLocks.h"
#include "app/MenuLayout.h"
#include "framework/CView.h"
#include "framework/CommandActions.h"
#include "framework/DocManager.h"
#include "framework/MdiChildFrame.h"
#include "res/CommandIds.h"
#include "res/StringTable.h"

namespace {

constexpr int kUpdateIntervalMs = 250;

QString Prompt(int id)
{
    return QString::fromUtf8(CommandPrompt(id)).section('\n', 0, 0);
}

QString ToolTip(int id)
{
    return QString::fromUtf8(CommandPrompt(id)).section('\n', 1, 1);
}

}  // namespace

CMainFrame::CMainFrame(CEditorApp* app, DocManager* documents)
    : app_(app), documents_(documents), mdi_(new QMdiArea(this))
{
    setWindowTitle(QStringLiteral("OrviEdit GPS data Editor"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/orviedit.svg")));
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);
    CreateActions();
    CreateToolBar();
    CreateStatusBar();
    ShowMenus(IDR_MAINFRAME);
    RegisterCommands();
    RegisterGpsCommands();

    connect(mdi_, &QMdiArea::subWindowActivated, this, &CMainFrame::OnSubWindowActivated);
    connect(documents_, &DocManager::documentOpened, this, &CMainFrame::AddWindow);
    connect(documents_, &DocManager::documentClosing, this, &CMainFrame::RemoveWindows);
    connect(documents_, &DocManager::titleChanged, this, &CMainFrame::UpdateTitles);
    connect(documents_, &DocManager::documentActivated, this, [this](Document* document) {
        for (QMdiSubWindow* w : mdi_->subWindowList()) {
            if (auto* child = qobject_cast<MdiChildFrame*>(w);
                child && child->document() == document) {
                mdi_->setActiveSubWindow(w);
                return;
            }
        }
    });

    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this] {
        if (toolBar_) {
            UpdateActions(toolBar_->actions());
        }
        UpdateLockPanes();
    });
    timer->start(kUpdateIntervalMs);
    resize(900, 640);
}

CMainFrame::~CMainFrame()
{
    // The windows go with the frame; their going must not reach a half-destroyed frame.
    mdi_->disconnect(this);
    documents_->disconnect(this);
    for (auto it = actions_.begin(); it != actions_.end(); ++it) {
        CommandActions::Unregister(it.key());
    }
}

void CMainFrame::CreateActions()
{
    static const int kCommands[] = {
        ID_FILE_NEW,
        ID_FILE_OPEN,
        ID_FILE_CLOSE,
        ID_FILE_SAVE,
        ID_FILE_SAVE_AS,
        ID_FILE_PRINT_SETUP,
        ID_APP_EXIT,
        ID_APP_ABOUT,
        ID_VIEW_TOOLBAR,
        ID_VIEW_STATUS_BAR,
        ID_EDIT_CLEAR,
        ID_VIEW_WAYPOINTS,
        ID_VIEW_TRACKPOINTS,
        ID_GPS_CONNECT,
        ID_GPS_TIME,
        ID_GPS_WPT_DOWNLOAD,
        ID_GPS_TRK_DOWNLOAD,
        ID_GPS_WPT_UPLOAD,
        ID_GPS_TRK_UPLOAD,
        ID_GPS_POWER_OFF,
        ID_OPTIONS_FORMAT,
        ID_WINDOW_NEW,
        ID_WINDOW_CASCADE,
        ID_WINDOW_TILE_HORZ,
        ID_EDIT_UNDO,
        ID_EDIT_REDO,
        ID_EDIT_CUT,
        ID_EDIT_COPY,
        ID_EDIT_PASTE,
        ID_EDIT_NEW_WAYPOINT,
        ID_EDIT_MOVE_WAYPOINTS,
        ID_FILE_IMPORT_GPX,
        ID_FILE_EXPORT_GPX,
        ID_WINDOW_ARRANGE,
    };
    for (int id : kCommands) {
        auto* action = new QAction(this);
        action->setStatusTip(Prompt(id));
        action->setToolTip(ToolTip(id));
        // Shortcuts work in every window, whatever menu bar is shown.
        addAction(action);
        connect(action, &QAction::triggered, this, [this, id] { Execute(id); });
        actions_.insert(id, action);
        CommandActions::Register(id, action);
    }
    actions_[ID_FILE_NEW]->setShortcut(QKeySequence(QStringLiteral("Ctrl+N")));
    actions_[ID_FILE_OPEN]->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl+F")), QKeySequence(QKeySequence::Open)});
    actions_[ID_FILE_SAVE]->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    actions_[ID_EDIT_CLEAR]->setShortcut(QKeySequence(QKeySequence::Delete));
    actions_[ID_EDIT_CUT]->setShortcut(QKeySequence(QKeySequence::Cut));
    actions_[ID_EDIT_COPY]->setShortcut(QKeySequence(QKeySequence::Copy));
    actions_[ID_EDIT_PASTE]->setShortcut(QKeySequence(QKeySequence::Paste));
    actions_[ID_EDIT_CUT]->setIcon(
        QIcon::fromTheme(QStringLiteral("edit-cut"), QIcon(QStringLiteral(":/icons/cut.svg"))));
    actions_[ID_EDIT_COPY]->setIcon(
        QIcon::fromTheme(QStringLiteral("edit-copy"), QIcon(QStringLiteral(":/icons/copy.svg"))));
    actions_[ID_EDIT_PASTE]->setIcon(
        QIcon::fromTheme(QStringLiteral("edit-paste"), QIcon(QStringLiteral(":/icons/paste.svg"))));
    actions_[ID_EDIT_UNDO]->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    actions_[ID_EDIT_REDO]->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))});
    actions_[ID_FILE_NEW]->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    actions_[ID_FILE_OPEN]->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    actions_[ID_FILE_SAVE]->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    actions_[ID_APP_ABOUT]->setIcon(style()->standardIcon(QStyle::SP_MessageBoxInformation));
}

void CMainFrame::ShowMenus(int resourceId)
{
    if (resourceId == menuResource_) {
        return;
    }
    menuResource_ = resourceId;
    menuBar()->clear();
    for (const MenuPopup& popup : MenuLayout(resourceId)) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(popup.title));
        std::vector<int> commands = popup.commands;
        connect(menu, &QMenu::aboutToShow, this, [this, menu, commands] {
            menu->clear();
            bool separator = false;
            for (int id : commands) {
                if (id == 0) {
                    separator = !menu->actions().isEmpty();
                } else if (id == ID_FILE_MRU_FIRST) {
                    FillRecentFiles(menu);
                } else if (id == ID_WINDOW_LIST) {
                    FillWindowList(menu);
                } else if (QAction* action = actions_.value(id)) {
                    if (separator) {
                        menu->addSeparator();
                        separator = false;
                    }
                    menu->addAction(action);
                }
            }
            UpdateActions(menu->actions());
        });
        // The menu's own entries exist from the start, so keyboard navigation finds them.
        emit menu->aboutToShow();
    }
    // Ctrl+N makes a new waypoint where the menu offers one, a new document elsewhere.
    bool newWaypoint = resourceId == IDR_GPSDATA;
    actions_[ID_FILE_NEW]->setShortcut(newWaypoint ? QKeySequence()
                                                   : QKeySequence(QStringLiteral("Ctrl+N")));
    actions_[ID_EDIT_NEW_WAYPOINT]->setShortcut(newWaypoint ? QKeySequence(QStringLiteral("Ctrl+N"))
                                                            : QKeySequence());
    for (auto it = actions_.begin(); it != actions_.end(); ++it) {
        if (const char* text = MenuText(resourceId, it.key())) {
            QString label = QString::fromUtf8(text);
            it.value()->setText(label.section('\t', 0, 0));
        }
    }
}

void CMainFrame::FillRecentFiles(QMenu* menu)
{
    const QStringList files = documents_->RecentFiles();
    for (int i = 0; i < files.size(); ++i) {
        QString name = QFileInfo(files[i]).fileName();
        QAction* entry = menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(name));
        entry->setStatusTip(files[i]);
        QString path = files[i];
        connect(entry, &QAction::triggered, this,
                [this, path] { documents_->OpenDocumentFile(path); });
    }
}

void CMainFrame::FillWindowList(QMenu* menu)
{
    const QList<QMdiSubWindow*> windows = mdi_->subWindowList();
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* window = windows[i];
        QString title = window->windowTitle().remove(QStringLiteral("[*]"));
        QAction* entry = menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(title));
        entry->setCheckable(true);
        entry->setChecked(window == mdi_->activeSubWindow());
        connect(entry, &QAction::triggered, this,
                [this, window] { mdi_->setActiveSubWindow(window); });
    }
}

void CMainFrame::CreateToolBar()
{
    toolBar_ = addToolBar(QStringLiteral("Werkzeugleiste"));
    toolBar_->setObjectName(QStringLiteral("toolbar59392"));
    toolBar_->setIconSize(QSize(16, 16));
    for (int id :
         std::initializer_list<int>{ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0, ID_APP_ABOUT}) {
        if (id == 0) {
            toolBar_->addSeparator();
        } else {
            toolBar_->addAction(actions_[id]);
        }
    }
}

void CMainFrame::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    auto addPane = [this, bar](int id, const QString& sizing) {
        auto* pane = new QLabel(this);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(sizing) + 8);
        pane->setAlignment(Qt::AlignCenter);
        bar->addPermanentWidget(pane);
        panes_.insert(id, pane);
    };
    addPane(ID_INDICATOR_CAPS, QStringLiteral("CAP"));
    addPane(ID_INDICATOR_NUM, QStringLiteral("NUM"));
    addPane(ID_INDICATOR_SCRL, QStringLiteral("SCRL"));
    addPane(ID_INDICATOR_MOUSEPOS, QStringLiteral("Maus - Position"));
    bar->showMessage(QStringLiteral("Bereit"));
    UpdateLockPanes();
}

void CMainFrame::UpdateLockPanes()
{
    KeyboardLocks locks = ReadKeyboardLocks();
    panes_[ID_INDICATOR_CAPS]->setText(locks.caps ? QStringLiteral("CAP") : QString());
    panes_[ID_INDICATOR_NUM]->setText(locks.num ? QStringLiteral("NUM") : QString());
    panes_[ID_INDICATOR_SCRL]->setText(locks.scroll ? QStringLiteral("SCRL") : QString());
}

void CMainFrame::SetStatusPaneText(int paneId, const QString& text)
{
    QMetaObject::invokeMethod(this, [this, paneId, text] {
        if (QLabel* pane = panes_.value(paneId)) {
            pane->setText(text);
            pane->repaint();
        }
    });
}

QString CMainFrame::StatusPaneText(int paneId) const
{
    QLabel* pane = panes_.value(paneId);
    return pane ? pane->text() : QString();
}

MdiChildFrame* CMainFrame::ActiveChild() const
{
    return qobject_cast<MdiChildFrame*>(mdi_->activeSubWindow());
}

bool CMainFrame::Execute(int commandId)
{
    if (!Update(commandId).enabled) {
        return false;
    }
    MdiChildFrame* child = ActiveChild();
    CView* view = child ? child->view() : nullptr;
    Document* document = view ? view->GetDocument() : nullptr;
    bool done = RouteCommand({view, document, child, this, app_}, commandId);
    if (toolBar_) {
        UpdateActions(toolBar_->actions());
    }
    return done;
}

CommandUI CMainFrame::Update(int commandId)
{
    MdiChildFrame* child = ActiveChild();
    CView* view = child ? child->view() : nullptr;
    Document* document = view ? view->GetDocument() : nullptr;
    return RouteUpdate({view, document, child, this, app_}, commandId);
}

void CMainFrame::UpdateActions(const QList<QAction*>& actions)
{
    for (auto it = actions_.begin(); it != actions_.end(); ++it) {
        if (!actions.contains(it.value())) {
            continue;
        }
        CommandUI ui = Update(it.key());
        QAction* action = it.value();
        action->setEnabled(ui.enabled);
        action->setCheckable(ui.checked || ui.radio || action->isCheckable());
        if (ui.radio && !action->actionGroup()) {
            // An action in an exclusive group shows a radio mark instead of a check mark.
            auto* group = new QActionGroup(action);
            group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
            group->addAction(action);
        }
        action->setChecked(ui.checked);
    }
}

void CMainFrame::OnSubWindowActivated(QMdiSubWindow* window)
{
    auto* child = qobject_cast<MdiChildFrame*>(window);
    if (window && !child) {
        return;
    }
    ShowMenus(child ? child->docTemplate()->resourceId() : IDR_MAINFRAME);
    setWindowTitle(child ? QStringLiteral("OrviEdit GPS data Editor - %1")
                               .arg(documents_->Title(child->document()))
                         : QStringLiteral("OrviEdit GPS data Editor"));
}

void CMainFrame::AddWindow(Document* document, DocTemplate* docTemplate)
{
    CView* view = docTemplate->CreateView(nullptr, document);
    if (!view) {
        return;
    }
    view->AttachDocument(document);
    auto* child = new MdiChildFrame(documents_, document, docTemplate, view);
    child->setWindowIcon(QIcon(QStringLiteral(":/icons/orvd-document.svg")));
    mdi_->addSubWindow(child);
    document->onModifiedChanged = [this, document] { UpdateTitles(document); };
    UpdateTitles(document);
    // New windows take most of the area, each a little below and right of the last.
    int offset = 24 * (static_cast<int>(mdi_->subWindowList().size()) - 1) % 240;
    QSize area = mdi_->viewport()->size();
    child->resize(std::max(480, area.width() * 5 / 6), std::max(320, area.height() * 5 / 6));
    child->move(offset, offset);
    child->show();
    mdi_->setActiveSubWindow(child);
    view->OnInitialUpdate();
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

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!documents_->SaveAllModified()) {
        event->ignore();
        return;
    }
    documents_->CloseAllDocuments();
    event->accept();
}

void CMainFrame::RegisterCommands()
{
    OnCommand(ID_APP_EXIT, [this] { close(); });
    OnCommand(ID_VIEW_TOOLBAR, [this] { toolBar_->setVisible(!toolBar_->isVisible()); });
    OnUpdateCommand(ID_VIEW_TOOLBAR, [this](CommandUI& ui) { ui.checked = toolBar_->isVisible(); });
    OnCommand(ID_VIEW_STATUS_BAR, [this] { statusBar()->setVisible(!statusBar()->isVisible()); });
    OnUpdateCommand(ID_VIEW_STATUS_BAR,
                    [this](CommandUI& ui) { ui.checked = statusBar()->isVisible(); });
    OnCommand(ID_WINDOW_NEW, [this] {
        if (MdiChildFrame* child = ActiveChild()) {
            AddWindow(child->document(), child->docTemplate());
        }
    });
    OnUpdateCommand(ID_WINDOW_NEW,
                    [this](CommandUI& ui) { ui.enabled = ActiveChild() != nullptr; });
    OnCommand(ID_WINDOW_CASCADE, [this] { mdi_->cascadeSubWindows(); });
    OnCommand(ID_WINDOW_TILE_HORZ, [this] { mdi_->tileSubWindows(); });
    OnCommand(ID_WINDOW_ARRANGE, [this] { mdi_->tileSubWindows(); });
}
