#include "framework/QtTaskRunner.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QKeyEvent>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <atomic>
#include <exception>
#include <limits>
#include <thread>

#include "framework/ArchiveException.h"
#include "framework/Prompts.h"
#include "framework/QtPrompts.h"

namespace {

QtTaskRunner* g_running = nullptr;

// Runs `task`; an exception becomes `failure`, a text for the user.
int Guarded(const std::function<int()>& task, std::string& failure)
{
    try {
        return task();
    } catch (const ArchiveException& e) {
        failure = e.UserMessage();
    } catch (const std::bad_alloc&) {
        failure = "Nicht genügend Arbeitsspeicher.";
    } catch (const std::exception& e) {
        failure = e.what();
    } catch (...) {
        failure = "Unbekannter Fehler.";
    }
    return TASK_FAILED;
}

// Input a running task keeps from every window but its own.
bool IsInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::InputMethod:
        return true;
    default:
        return false;
    }
}

void ShowDialog(QProgressDialog* dialog)
{
    // The dialog's own slot, so that it counts as shown and stays.
    QMetaObject::invokeMethod(dialog, "forceShow");
}

}  // namespace

int QtTaskRunner::Run(const std::function<int()>& task, const std::function<void()>& cancel)
{
    std::string failure;
    if (QThread::currentThread() != qApp->thread()) {
        // A task that starts another one runs the inner one itself.
        int result = Guarded(task, failure);
        if (!failure.empty()) {
            Prompts::Current().Message(failure);
        }
        return result;
    }
    if (running_) {
        return TASK_REFUSED;
    }
    running_ = true;
    g_running = this;
    qApp->installEventFilter(this);

    QWidget* parent = dialogParent_ ? dialogParent_.data() : QApplication::activeWindow();
    QProgressDialog dialog(QStringLiteral("Verbindung zum GPS ..."),
                           cancel ? QStringLiteral("Abbrechen") : QString(), 0, 0, parent);
    dialog.setWindowTitle(QtPrompts::Title());
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    // The dialog shows when this runner says so, not by its own estimate.
    dialog.setMinimumDuration(std::numeric_limits<int>::max());
    if (!cancel) {
        dialog.setCancelButton(nullptr);
    }
    connect(&dialog, &QProgressDialog::canceled, &dialog, [&dialog, &cancel] {
        if (cancel) {
            dialog.setLabelText(QStringLiteral("Wird abgebrochen ..."));
            cancel();
        }
    });
    dialog_ = &dialog;
    QTimer::singleShot(kDialogDelayMs, &dialog, [&dialog] { ShowDialog(&dialog); });

    QEventLoop loop;
    int result = 0;
    std::atomic<bool> ended{false};
    std::thread worker([&] {
        result = Guarded(task, failure);
        ended = true;
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    // The event loops end before the task when the program is told to end at once
    // (QCoreApplication::exit); the task may still need this thread for its prompts.
    if (!ended) {
        CancelForQuit();
    }
    while (!ended) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    worker.join();

    dialog_ = nullptr;
    dialog.hide();
    qApp->removeEventFilter(this);
    running_ = false;
    if (!failure.empty()) {
        Prompts::Current().Message(failure);
    }
    g_running = nullptr;
    quitting_ = false;
    // The quit goes on once the task's caller has returned to the event loop.
    if (quitAfterTask_) {
        QMetaObject::invokeMethod(
            qApp, [] { QCoreApplication::quit(); }, Qt::QueuedConnection);
    }
    if (QWidget* window = dialogParent_; closeAfterTask_ && window) {
        QMetaObject::invokeMethod(
            window, [window] { window->close(); }, Qt::QueuedConnection);
    }
    quitAfterTask_ = closeAfterTask_ = false;
    return result;
}

void QtTaskRunner::CancelForQuit()
{
    if (quitting_) {
        return;
    }
    quitting_ = true;
    if (dialog_) {
        emit dialog_->canceled();
    }
    // The boxes and dialogs open above the progress dialog.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* open = qobject_cast<QDialog*>(window);
        if (open && open != dialog_ && open->isVisible() && BelongsToTask(open)) {
            open->reject();
        }
    }
}

bool QtTaskRunner::PromptsCancelled()
{
    return g_running && g_running->quitting_;
}

void QtTaskRunner::Progress(const QString& text)
{
    QMetaObject::invokeMethod(this, [this, text] {
        if (!dialog_) {
            return;
        }
        static const QRegularExpression kCounts(QStringLiteral("^(\\d+) / (\\d+)$"));
        QRegularExpressionMatch m = kCounts.match(text);
        if (m.hasMatch()) {
            dialog_->setMaximum(m.captured(2).toInt());
            dialog_->setValue(m.captured(1).toInt());
        }
        dialog_->setLabelText(text);
    });
}

QWidget* QtTaskRunner::PromptOwner()
{
    if (!g_running || !g_running->dialog_) {
        return nullptr;
    }
    QProgressDialog* dialog = g_running->dialog_;
    if (!dialog->isVisible()) {
        ShowDialog(dialog);
    }
    return dialog;
}

QWidget* QtTaskRunner::WindowOf(QObject* receiver)
{
    if (receiver->isWindowType()) {
        // Input arrives at the window system's window first: judged there, a click does
        // not even move the focus.
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->windowHandle() == receiver) {
                return top;
            }
        }
        return nullptr;
    }
    QObject* object = receiver;
    while (object && !object->isWidgetType()) {
        object = object->parent();
    }
    return object ? static_cast<QWidget*>(object)->window() : nullptr;
}

bool QtTaskRunner::BelongsToTask(QObject* receiver) const
{
    QWidget* widget = WindowOf(receiver);
    if (!widget) {
        return true;
    }
    // The progress dialog, and the boxes and dialogs shown above it.
    for (QWidget* window = widget; window;
         window = window->parentWidget() ? window->parentWidget()->window() : nullptr) {
        if (window == dialog_) {
            return true;
        }
    }
    return false;
}

bool QtTaskRunner::eventFilter(QObject* watched, QEvent* event)
{
    QEvent::Type type = event->type();
    if (type == QEvent::ShortcutOverride) {
        if (BelongsToTask(watched)) {
            return false;
        }
        // Taken here, so that no shortcut of a blocked window fires.
        event->accept();
        return true;
    }
    if (type == QEvent::Quit && watched == qApp) {
        quitAfterTask_ = true;
        CancelForQuit();
        event->ignore();
        return true;
    }
    if (type == QEvent::Close && event->spontaneous() && !BelongsToTask(watched)) {
        // Other windows stay while the task runs; the main window closes after it.
        if (dialogParent_ && WindowOf(watched) == dialogParent_) {
            closeAfterTask_ = true;
            CancelForQuit();
        }
        event->ignore();
        return true;
    }
    if (IsInput(type) && !BelongsToTask(watched)) {
        return true;
    }
    if (type == QEvent::KeyPress && dialog_ &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == dialog_) {
        // Esc is Abbrechen (and does not close the dialog by itself).
        emit dialog_->canceled();
        return true;
    }
    return false;
}
