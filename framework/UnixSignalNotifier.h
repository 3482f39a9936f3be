#pragma once

#include <QObject>
#include <csignal>
#include <initializer_list>
#include <utility>
#include <vector>

// Hands POSIX signals (SIGTERM, SIGINT, ...) to the user-interface thread as a Qt signal.
// The handler only writes the signal's number to one end of a socket pair; a
// QSocketNotifier on the other end reads it in the event loop, nested loops included,
// where anything may be done. One instance at a time; the handlers it replaced come back
// when it goes. Without a socket pair (the system refused one) the signals keep their
// handlers.
class UnixSignalNotifier : public QObject {
    Q_OBJECT

public:
    explicit UnixSignalNotifier(std::initializer_list<int> numbers, QObject* parent = nullptr);
    ~UnixSignalNotifier() override;

signals:
    void received(int number);

private:
    void Read();

    std::vector<std::pair<int, struct sigaction>> replaced_;
};
