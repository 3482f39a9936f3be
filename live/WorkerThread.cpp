#include "live/WorkerThread.h"

void WorkerThread::Start(Work work)
{
    if (running_) {
        return;
    }
    running_ = true;
    stop_ = false;
    const int run = ++run_;
    Post post = [this, run](std::function<void()> deliver) {
        QMetaObject::invokeMethod(
            owner_,
            [this, run, deliver = std::move(deliver)] {
                if (run == run_ && running_) {
                    deliver();
                }
            },
            Qt::QueuedConnection);
    };
    thread_ =
        std::thread([this, work = std::move(work), post = std::move(post)] { work(stop_, post); });
}

void WorkerThread::Stop()
{
    if (!running_) {
        return;
    }
    stop_ = true;
    thread_.join();
    running_ = false;
    ++run_;
}
