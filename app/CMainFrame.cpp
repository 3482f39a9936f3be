#include "app/CMainFrame.h"

#include "edit/LiveSession.h"
#include "live/PositionSource.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

#include "app/CEditorApp.h"
#include "app/CommandTables.h"
#include "app/KeyboardLocks.h"
#include "framework/CView.h"
#include "framework/CommandActions.h"
#include "framework/DocManager.h"
#include "framework/MdiChildFrame.h"
#include "framework/TaskRunner.h"
#include "res/CommandIds.h"
#include "res/StringTable.h"

namespace {

const char* const kIdleMessage = "Bereit";

// The desktop's icon of that name; else ours, else the style's.
QIcon IconFor(const char* name, const QStyle* style)
{
    QString theme = QString::fromUtf8(name);
    if (QIcon::hasThemeIcon(theme)) {
        return QIcon::fromTheme(theme);
    }
    QString own = QStringLiteral(":/icons/%1.svg").arg(theme.section('-', -1));
    if (QFile::exists(own)) {
        return QIcon(own);
    }
    static const std::map<QString, QStyle::StandardPixmap> kStandard = {
        {QStringLiteral("document-new"), QStyle::SP_FileIcon},
        {QStringLiteral("document-open"), QStyle::SP_DialogOpenButton},
        {QStringLiteral("document-save"), QStyle::SP_DialogSaveButton},
        {QStringLiteral("help-about"), QStyle::SP_MessageBoxInformation},
    };
    auto it = kStandard.find(theme);
    return it != kStandard.end() ? style->standardIcon(it->second) : QIcon();
}

bool IsLockKey(int key)
{
    return key == Qt::Key_CapsLock || key == Qt::Key_NumLock || key == Qt::Key_ScrollLock;
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
    previousRouter_ = CommandRouter::SetCurrent(this);
    CommandActions::SetPrompts(CommandPrompt);
    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    InstallKind(IDR_MAINFRAME);
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
    // What the update handlers look at: the focus, the clipboard and the active window
    // (selections and documents tell the router themselves).
    connect(qApp, &QApplication::focusChanged, this, &CMainFrame::CommandStateChanged);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &CMainFrame::CommandStateChanged);
    qApp->installEventFilter(this);
    resize(900, 640);
}

CMainFrame::~CMainFrame()
{
    StopLive();
    LiveSession::Starter() = [] { return false; };
    LiveSession::Pauser() = [](bool) {};
    qApp->removeEventFilter(this);
    // The windows go with the frame; their going must not reach a half-destroyed frame.
    mdi_->disconnect(this);
    documents_->disconnect(this);
    qApp->disconnect(this);
    QGuiApplication::clipboard()->disconnect(this);
    for (Document* document : documents_->Documents()) {
        document->onModifiedChanged = nullptr;
    }
    CommandRouter::SetCurrent(previousRouter_);
}

void CMainFrame::CreateActions()
{
    for (int kind : WindowKinds()) {
        QHash<int, QAction*>& actions = actions_[kind];
        for (const CommandTableEntry& entry : CommandsOf(kind).commands) {
            QAction* action = CommandActions::CreateAction(
                entry.id, entry.text ? QString::fromUtf8(entry.text) : QString(), this);
            QList<QKeySequence> keys;
            for (const char* key : entry.keys) {
                keys << QKeySequence(QString::fromUtf8(key));
            }
            action->setShortcuts(keys);
            if (entry.icon) {
                action->setIcon(IconFor(entry.icon, style()));
            }
            actions.insert(entry.id, action);
        }
    }
}

void CMainFrame::CreateMenus()
{
    for (int kind : WindowKinds()) {
        for (const MenuPopup& popup : CommandsOf(kind).menus) {
            auto* menu = new QMenu(QString::fromUtf8(popup.title), this);
            std::vector<int> commands = popup.commands;
            // Rebuilt whenever it opens: the recent files and the windows change.
            connect(menu, &QMenu::aboutToShow, this, [this, menu, commands] {
                FillMenu(menu, commands);
                CommandActions::Refresh(menu->actions());
            });
            menus_[kind] << menu;
        }
    }
}

void CMainFrame::FillMenu(QMenu* menu, const std::vector<int>& commands)
{
    menu->clear();
    bool separator = false;
    auto separate = [&] {
        if (separator) {
            menu->addSeparator();
            separator = false;
        }
    };
    for (int id : commands) {
        if (id == 0) {
            separator = !menu->actions().isEmpty();
        } else if (id == ID_FILE_MRU_FIRST) {
            if (!documents_->RecentFiles().isEmpty()) {
                separate();
                FillRecentFiles(menu);
            }
        } else if (id == ID_WINDOW_LIST) {
            if (!mdi_->subWindowList().isEmpty()) {
                separate();
                FillWindowList(menu);
            }
        } else if (QAction* action = actions_[kind_].value(id)) {
            separate();
            menu->addAction(action);
        }
    }
}

void CMainFrame::InstallKind(int resourceId)
{
    if (resourceId == kind_) {
        return;
    }
    // The keys of a kind are in force only while a window of that kind is active.
    if (kind_ != 0) {
        for (QAction* action : actions_[kind_]) {
            removeAction(action);
        }
    }
    kind_ = resourceId;
    for (QAction* action : actions_[kind_]) {
        addAction(action);
    }
    menuBar()->clear();
    for (QMenu* menu : menus_[kind_]) {
        menuBar()->addMenu(menu);
        // The entries exist from the start, so that keyboard navigation finds them.
        emit menu->aboutToShow();
    }
    toolBar_->clear();
    for (int id : ToolBarLayout()) {
        if (id == 0) {
            toolBar_->addSeparator();
        } else if (QAction* action = actions_[kind_].value(id)) {
            toolBar_->addAction(action);
        }
    }
    RefreshToolBar();
}

QAction* CMainFrame::Action(int commandId) const
{
    auto it = actions_.find(kind_);
    return it == actions_.end() ? nullptr : it->second.value(commandId);
}

void CMainFrame::FillRecentFiles(QMenu* menu)
{
    const QStringList files = documents_->RecentFiles();
    for (int i = 0; i < files.size(); ++i) {
        QString name = QFileInfo(files[i]).fileName();
        QAction* entry = menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(name));
        entry->setStatusTip(files[i]);
        QString path = files[i];
        connect(entry, &QAction::triggered, this, [this, path] {
            if (!TaskRunner::Current().Busy()) {
                documents_->OpenDocumentFile(path);
            }
        });
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
    // The live position's fix, while a source runs.
    addPane(ID_INDICATOR_LIVE, QString());
    QLabel* live = panes_[ID_INDICATOR_LIVE];
    live->setObjectName(QStringLiteral("livePane"));
    live->hide();
    connect(&LiveSession::Instance(), &LiveSession::statusChanged, live,
            [live](const QString& text) {
                live->setText(text);
                live->setVisible(!text.isEmpty());
            });
    // The message pane shows a menu entry's prompt while it is highlighted, and the idle
    // message whenever nothing else.
    connect(bar, &QStatusBar::messageChanged, bar, [bar](const QString& message) {
        if (message.isEmpty()) {
            bar->showMessage(QString::fromUtf8(kIdleMessage));
        }
    });
    bar->showMessage(QString::fromUtf8(kIdleMessage));
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
    // One thing at a time: while a task holds the receiver, no command runs.
    if (TaskRunner::Current().Busy() || !Update(commandId).enabled) {
        return false;
    }
    MdiChildFrame* child = ActiveChild();
    CView* view = child ? child->view() : nullptr;
    Document* document = view ? view->GetDocument() : nullptr;
    if (document) {
        document->CommandBegins(commandId);
    }
    bool done = RouteCommand({view, document, child, this, app_}, commandId);
    // The command may have closed the document.
    const std::vector<Document*> open = documents_->Documents();
    if (document && std::find(open.begin(), open.end(), document) != open.end()) {
        document->CommandEnds();
    }
    CommandStateChanged();
    return done;
}

CommandUI CMainFrame::Update(int commandId)
{
    MdiChildFrame* child = ActiveChild();
    CView* view = child ? child->view() : nullptr;
    Document* document = view ? view->GetDocument() : nullptr;
    return RouteUpdate({view, document, child, this, app_}, commandId);
}

void CMainFrame::CommandStateChanged()
{
    if (refreshPending_) {
        return;
    }
    refreshPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            refreshPending_ = false;
            RefreshToolBar();
        },
        Qt::QueuedConnection);
}

void CMainFrame::RefreshToolBar()
{
    CommandActions::Refresh(toolBar_->actions());
}

void CMainFrame::RefreshForKey(int key)
{
    // As a menu is brought up to date when it opens, the commands of a key are brought up
    // to date before the key is matched: a disabled action would ignore its key.
    QList<QAction*> matching;
    for (QAction* action : actions_[kind_]) {
        for (const QKeySequence& sequence : action->shortcuts()) {
            if (sequence.count() > 0 && sequence[0].key() == key) {
                matching << action;
                break;
            }
        }
    }
    CommandActions::Refresh(matching);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        RefreshForKey(static_cast<QKeyEvent*>(event)->key());
        break;
    case QEvent::KeyRelease:
        if (IsLockKey(static_cast<QKeyEvent*>(event)->key())) {
            UpdateLockPanes();
        }
        break;
    case QEvent::ApplicationActivate:
        UpdateLockPanes();
        break;
    case QEvent::Hide:
        if (auto* window = qobject_cast<QWidget*>(watched);
            window && window != this && window->isWindow() && window->windowType() != Qt::Popup &&
            window->windowType() != Qt::ToolTip) {
            // A closed dialog hands the keys back to the main window. Window managers do
            // this; without one (a bare X server) no window would have the keys.
            QTimer::singleShot(0, this, [this] {
                QWidget* active = QApplication::activeWindow();
                if (isVisible() && (!active || !active->isVisible())) {
                    activateWindow();
                }
            });
        }
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (TaskRunner::Current().Busy() || (askToSave_ && !documents_->SaveAllModified())) {
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
