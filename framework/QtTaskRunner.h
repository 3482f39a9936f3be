#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include "framework/TaskRunner.h"

class QProgressDialog;
class QWidget;

// Runs a task on a worker thread while a modal progress dialog (shown when the task takes
// longer than a moment) keeps the windows painted; its Cancel button calls the task's
// cancel function. Message boxes the task shows appear on the user-interface thread.
class QtTaskRunner : public QObject, public TaskRunner {
    Q_OBJECT

public:
    explicit QtTaskRunner(QWidget* parent = nullptr) : parent_(parent) {}

    int Run(const std::function<int()>& task, const std::function<void()>& cancel) override;
    // Shows a progress text ("%d / %d" moves the bar) in the running dialog; from any thread.
    void Progress(const QString& text);
    bool running() const { return running_; }

private:
    QWidget* parent_;
    QPointer<QProgressDialog> dialog_;
    bool running_ = false;
};
