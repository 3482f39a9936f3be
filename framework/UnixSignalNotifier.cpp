#include "framework/UnixSignalNotifier.h"

#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>

#include <QSocketNotifier>

namespace {

// [0] written by the handler, [1] read on the user-interface thread; both non-blocking.
int g_sockets[2] = {-1, -1};

void Handle(int number)
{
    int saved = errno;
    auto byte = static_cast<unsigned char>(number);
    // A full socket already holds a signal to be handled: this one may go.
    [[maybe_unused]] ssize_t written = write(g_sockets[0], &byte, 1);
    errno = saved;
}

}  // namespace

UnixSignalNotifier::UnixSignalNotifier(std::initializer_list<int> numbers, QObject* parent)
    : QObject(parent)
{
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, g_sockets) != 0) {
        return;
    }
    auto* notifier = new QSocketNotifier(g_sockets[1], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &UnixSignalNotifier::Read);
    for (int number : numbers) {
        struct sigaction action = {};
        action.sa_handler = Handle;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        struct sigaction previous = {};
        if (sigaction(number, &action, &previous) == 0) {
            replaced_.emplace_back(number, previous);
        }
    }
}

UnixSignalNotifier::~UnixSignalNotifier()
{
    for (const auto& [number, previous] : replaced_) {
        sigaction(number, &previous, nullptr);
    }
    if (g_sockets[0] >= 0) {
        close(g_sockets[0]);
        close(g_sockets[1]);
        g_sockets[0] = g_sockets[1] = -1;
    }
}

void UnixSignalNotifier::Read()
{
    unsigned char numbers[16];
    ssize_t n;
    while ((n = read(g_sockets[1], numbers, sizeof numbers)) > 0) {
        for (ssize_t i = 0; i < n; ++i) {
            emit received(numbers[i]);
        }
    }
}
