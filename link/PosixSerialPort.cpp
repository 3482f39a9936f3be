#include "link/PosixSerialPort.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#include <cerrno>

std::unique_ptr<PosixSerialPort> PosixSerialPort::Open(const std::string& path)
{
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    if (!::isatty(fd)) {
        ::close(fd);
        errno = ENOTTY;
        return nullptr;
    }
    // Nobody else may open the device while we hold it.
    ::ioctl(fd, TIOCEXCL);
    // USB-serial adapters otherwise hold bytes back for up to 16 ms; drivers without the
    // flag simply refuse it.
    struct serial_struct serial {};
    if (::ioctl(fd, TIOCGSERIAL, &serial) == 0) {
        serial.flags |= ASYNC_LOW_LATENCY;
        ::ioctl(fd, TIOCSSERIAL, &serial);
    }
    errno = 0;
    return std::make_unique<PosixSerialPort>(fd);
}

PosixSerialPort::~PosixSerialPort()
{
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

int PosixSerialPort::Write(const uint8_t* data, int size)
{
    int done = 0;
    while (done < size) {
        ssize_t n = ::write(fd_, data + done, static_cast<size_t>(size - done));
        if (n > 0) {
            done += static_cast<int>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && errno == EAGAIN) {
            // The output buffer is full: wait until the driver has sent some of it.
            struct pollfd p {
                fd_, POLLOUT, 0
            };
            if (::poll(&p, 1, 5000) <= 0) {
                if (errno != EINTR) {
                    errno = EIO;
                    return -1;
                }
            } else if (p.revents & (POLLERR | POLLHUP | POLLNVAL)) {
                errno = EIO;
                return -1;
            }
            continue;
        }
        return -1;
    }
    return size;
}

int PosixSerialPort::ReadAvailable(uint8_t* buffer, int size, int timeoutMs)
{
    struct pollfd p {
        fd_, POLLIN, 0
    };
    int ready;
    do {
        ready = ::poll(&p, 1, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    if (ready < 0) {
        return -1;
    }
    if (ready == 0) {
        return 0;
    }
    ssize_t n = ::read(fd_, buffer, static_cast<size_t>(size));
    if (n > 0) {
        return static_cast<int>(n);
    }
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
        return 0;
    }
    // End of file on a terminal, or a hang-up: the other end or the device has gone.
    if (n == 0 || (p.revents & (POLLHUP | POLLERR))) {
        errno = n == 0 ? EIO : errno;
        return -1;
    }
    return -1;
}

bool PosixSerialPort::ReadFlowControl(FlowControlFlags& found)
{
    struct termios t {};
    if (::tcgetattr(fd_, &t) != 0) {
        return false;
    }
    found.dtrControl = (t.c_cflag & HUPCL) ? 1 : 0;
    found.dsrSensitivity = (t.c_cflag & CLOCAL) ? 0 : 1;
    found.rtsControl = (t.c_cflag & CRTSCTS) ? 2 : 0;
    found.outxCtsFlow = (t.c_cflag & CRTSCTS) ? 1 : 0;
    found.outxDsrFlow = (t.c_iflag & IXON) ? 1 : 0;
    return true;
}

bool PosixSerialPort::ApplyLineSettings()
{
    struct termios t {};
    if (::tcgetattr(fd_, &t) != 0) {
        return false;
    }
    ::cfmakeraw(&t);
    t.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS | HUPCL);
    t.c_cflag |= CS8 | CREAD | CLOCAL;
    t.c_iflag &= ~(IXON | IXOFF | IXANY);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (::cfsetispeed(&t, B9600) != 0 || ::cfsetospeed(&t, B9600) != 0) {
        return false;
    }
    return ::tcsetattr(fd_, TCSANOW, &t) == 0;
}
