#pragma once

#include <QObject>
#include <atomic>
#include <functional>
#include <thread>

// A thread that works for an object living on another thread (a live source on the
// user-interface thread). Start() runs the work on it until Stop(), which sets the flag the
// work watches and waits for it. What the work posts runs on the owner's thread, in order;
// nothing posted by a run arrives after Stop() has returned.
class WorkerThread {
public:
    // Hands what the work posts to the owner's thread.
    using Post = std::function<void(std::function<void()> deliver)>;
    using Work = std::function<void(const std::atomic<bool>& stop, const Post& post)>;

    explicit WorkerThread(QObject* owner) : owner_(owner) {}
    ~WorkerThread() { Stop(); }
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Does nothing while running.
    void Start(Work work);
    void Stop();
    bool Running() const { return running_; }

private:
    QObject* owner_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    // Counts starts, so that what a run posted before a Stop() is dropped after it.
    std::atomic<int> run_{0};
    bool running_ = false;
};
