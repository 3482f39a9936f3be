#include "link/PosixSerialPort.h"

#include "link/DescriptorIo.h"

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
    // The driver sends 960 bytes a second: a full output buffer empties within moments.
    return WriteAllBytes(fd_, data, size, 5000);
}

int PosixSerialPort::ReadAvailable(uint8_t* buffer, int size, int timeoutMs)
{
    return ReadAvailableBytes(fd_, buffer, size, timeoutMs);
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

namespace {

struct SpeedOfRate {
    int baud;
    speed_t speed;
};
constexpr SpeedOfRate kSpeeds[] = {{4800, B4800},     {9600, B9600},   {19200, B19200},
                                   {38400, B38400},   {57600, B57600}, {115200, B115200}};

}  // namespace

int BaudOfSpeed(speed_t speed)
{
    for (const SpeedOfRate& s : kSpeeds) {
        if (s.speed == speed) {
            return s.baud;
        }
    }
    return 0;
}

bool IsSerialBaudRate(int baud)
{
    for (const SpeedOfRate& s : kSpeeds) {
        if (s.baud == baud) {
            return true;
        }
    }
    return false;
}

bool PosixSerialPort::SetBaudRate(int baud)
{
    const SpeedOfRate* found = nullptr;
    for (const SpeedOfRate& s : kSpeeds) {
        found = s.baud == baud ? &s : found;
    }
    struct termios t {};
    if (!found) {
        errno = EINVAL;
        return false;
    }
    ::tcdrain(fd_);
    return ::tcgetattr(fd_, &t) == 0 && ::cfsetispeed(&t, found->speed) == 0 &&
           ::cfsetospeed(&t, found->speed) == 0 && ::tcsetattr(fd_, TCSANOW, &t) == 0;
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
