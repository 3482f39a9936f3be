#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include "framework/TaskRunner.h"

#include <QProgressDialog>
#include <QWidget>

// Runs a task on a worker thread while the windows keep painting. From the task's first
// moment every window but the task's own dialogs is closed to input (keys, mouse, window
// closing); a modal progress dialog shows when the task takes longer than a moment, and
// its Abbrechen calls the task's cancel function. Message boxes the task raises show above
// the progress dialog and take keys and clicks; the task waits for them and goes on.
// One task at a time: Run on the user-interface thread while a task runs refuses
// (TASK_REFUSED); a task that starts another runs it itself. A task that throws ends with
// its error shown (TASK_FAILED).
//
// Quitting while a task runs (QCoreApplication::quit or exit, or closing the main window,
// the dialog parent) ends the task first: it is cancelled as by Abbrechen, its open message
// boxes and dialogs are answered as cancelled and later ones at once (PromptsCancelled),
// and Run waits for it with the events still flowing. Then the quit goes on: quit runs
// again, the main window closes again, exit lets the event loops end.
class QtTaskRunner : public QObject, public TaskRunner {
    Q_OBJECT

public:
    // How long a task runs before its progress dialog shows.
    static constexpr int kDialogDelayMs = 400;

    explicit QtTaskRunner(QWidget* dialogParent = nullptr) : dialogParent_(dialogParent) {}

    // The window the progress dialog is centred on (by default the active window): the
    // program's main window.
    void SetDialogParent(QWidget* parent) { dialogParent_ = parent; }

    int Run(const std::function<int()>& task, const std::function<void()>& cancel) override;
    bool Busy() const override { return running_; }
    // Shows a progress text ("%d / %d" moves the bar) in the running dialog; from any thread.
    void Progress(const QString& text);

    // The owner of a message box raised while a task runs: the progress dialog, shown at
    // once if it was still waiting. Null when no task runs. User-interface thread only.
    static QWidget* PromptOwner();
    // Whether the prompts of the running task are to be answered as cancelled without
    // showing, because the program quits. User-interface thread only.
    static bool PromptsCancelled();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool BelongsToTask(QObject* receiver) const;
    // The top-level widget `receiver` is or lies in, null for none.
    static QWidget* WindowOf(QObject* receiver);
    // Cancels the running task because the program quits; see above.
    void CancelForQuit();

    QPointer<QWidget> dialogParent_;
    QPointer<QProgressDialog> dialog_;
    bool running_ = false;
    bool quitting_ = false;
    // What the quit does once the task has ended.
    bool quitAfterTask_ = false;
    bool closeAfterTask_ = false;
};
