#include "framework/TaskRunner.h"

#include <atomic>

namespace {

class DirectRunner : public TaskRunner {
public:
    int Run(const std::function<int()>& task, const std::function<void()>&) override
    {
        return task();
    }
};

DirectRunner g_direct;
std::atomic<TaskRunner*> g_runner{nullptr};

}  // namespace

TaskRunner& TaskRunner::Current()
{
    TaskRunner* r = g_runner.load();
    return r ? *r : g_direct;
}

TaskRunner* TaskRunner::SetCurrent(TaskRunner* runner)
{
    return g_runner.exchange(runner);
}
