#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <atomic>
#include <string>

#include "live/WorkerThread.h"

// The process's one serial port (link/SharedPort.h), read for a live source on a thread of
// its own. It takes a share of the port as a link does: the documents' links keep theirs
// meanwhile, and nobody opens the device a second time (the port is opened exclusively). It
// opens the port when no link holds it, sets it raw, 8N1, at `baud`, and hands on what comes.
// Stop() sets the line back to the links' 9600 baud: a transfer stops the live source for
// its time. A port that cannot be opened or goes away is reported (lost) and opened again
// every kReopenMs until it is back.
//
// Signals come on the thread that owns the reader; none after Stop() has returned.
class SharedLine : public QObject {
    Q_OBJECT

public:
    static constexpr int kReopenMs = 1000;

    // `port`: "COMn:" or a device path.
    SharedLine(std::string port, int baud, QObject* parent = nullptr);
    ~SharedLine() override;

    void Start();
    void Stop();
    const std::string& Device() const { return device_; }

signals:
    void opened();
    void bytesRead(const QByteArray& bytes);
    void lost(const QString& reason);

private:
    void Run(const std::atomic<bool>& stop, const WorkerThread::Post& post);

    std::string port_;
    std::string device_;
    int baud_;
    WorkerThread worker_{this};
};
