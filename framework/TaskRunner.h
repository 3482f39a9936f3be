#pragma once

#include <functional>

// Results of Run besides the task's own.
enum TaskResult {
    TASK_REFUSED = -20,  // another task was running: this one did not run
    TASK_FAILED = -21,   // the task threw; the error has been shown
};

// Runs a long task, such as a transfer with the receiver. The default runs it at once on
// the calling thread; the editor installs one that runs it on a worker thread while a
// modal progress dialog keeps the window alive, and calls `cancel` (from the user-interface
// thread) when the user presses Cancel. Run returns the task's result, on the calling
// thread, after the task has ended.
class TaskRunner {
public:
    virtual ~TaskRunner() = default;
    virtual int Run(const std::function<int()>& task, const std::function<void()>& cancel) = 0;
    // Whether a task is running (commands and closing windows wait for its end).
    virtual bool Busy() const { return false; }

    static TaskRunner& Current();
    // Installs `runner` (not owned; null restores the default) and returns the previous one.
    static TaskRunner* SetCurrent(TaskRunner* runner);
};
