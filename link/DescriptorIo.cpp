#include "link/DescriptorIo.h"

#include <poll.h>
#include <unistd.h>
#include <cerrno>

int WriteAllBytes(int fd, const uint8_t* data, int size, int waitMs)
{
    int done = 0;
    while (done < size) {
        ssize_t n = ::write(fd, data + done, static_cast<size_t>(size - done));
        if (n > 0) {
            done += static_cast<int>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && errno != EAGAIN) {
            return -1;
        }
        struct pollfd p {
            fd, POLLOUT, 0
        };
        int ready = ::poll(&p, 1, waitMs);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready < 0) {
            return -1;
        }
        if (ready == 0) {
            errno = EAGAIN;
            return -1;
        }
        if (p.revents & (POLLERR | POLLHUP | POLLNVAL)) {
            errno = EIO;
            return -1;
        }
    }
    return size;
}

int ReadAvailableBytes(int fd, uint8_t* buffer, int size, int timeoutMs)
{
    struct pollfd p {
        fd, POLLIN, 0
    };
    int ready;
    do {
        ready = ::poll(&p, 1, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    if (ready <= 0) {
        return ready;
    }
    ssize_t n = ::read(fd, buffer, static_cast<size_t>(size));
    if (n > 0) {
        return static_cast<int>(n);
    }
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
        return 0;
    }
    if (n == 0) {
        errno = EIO;
    }
    return -1;
}
