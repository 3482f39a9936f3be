#include "link/PseudoTerminal.h"

#include "link/DescriptorIo.h"
#include "link/PosixSerialPort.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kWriteWaitMs = 2000;

std::string SystemError(const char* what)
{
    return std::string(what) + ": " + std::strerror(errno);
}

}  // namespace

std::unique_ptr<PseudoTerminal> PseudoTerminal::Create(std::string& error)
{
    int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0) {
        error = SystemError("no pseudo-terminal");
        return nullptr;
    }
    char name[128];
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0 ||
        ::ptsname_r(master, name, sizeof name) != 0) {
        error = SystemError("pseudo-terminal not usable");
        ::close(master);
        return nullptr;
    }
    int device = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (device < 0) {
        error = SystemError("pseudo-terminal device cannot be opened");
        ::close(master);
        return nullptr;
    }
    // The line settings live with the device; without raw mode its echo would send our
    // own bytes back to us.
    struct termios t {};
    if (::tcgetattr(device, &t) == 0) {
        ::cfmakeraw(&t);
        t.c_cflag |= CLOCAL | CREAD;
        t.c_cflag &= ~(CRTSCTS | HUPCL);
        ::cfsetispeed(&t, B9600);
        ::cfsetospeed(&t, B9600);
        ::tcsetattr(device, TCSANOW, &t);
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    return std::unique_ptr<PseudoTerminal>(new PseudoTerminal(master, device, name));
}

PseudoTerminal::PseudoTerminal(int master, int device, std::string path)
    : master_(master), deviceFd_(device), device_(std::move(path))
{
}

PseudoTerminal::~PseudoTerminal()
{
    if (!link_.empty()) {
        char target[256];
        ssize_t n = ::readlink(link_.c_str(), target, sizeof target - 1);
        if (n > 0 && device_ == std::string(target, static_cast<size_t>(n))) {
            ::unlink(link_.c_str());
        }
    }
    ::close(master_);
    ::close(deviceFd_);
}

bool PseudoTerminal::LinkAs(const std::string& path, std::string& error)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) {
        error = path + " exists and is not a symbolic link";
        return false;
    }
    std::string temporary = path + ".new-" + std::to_string(::getpid());
    ::unlink(temporary.c_str());
    if (::symlink(device_.c_str(), temporary.c_str()) != 0) {
        error = SystemError(("cannot create " + path).c_str());
        return false;
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        error = SystemError(("cannot create " + path).c_str());
        ::unlink(temporary.c_str());
        return false;
    }
    link_ = path;
    return true;
}

int PseudoTerminal::Write(const uint8_t* data, int size)
{
    return WriteAllBytes(master_, data, size, kWriteWaitMs);
}

int PseudoTerminal::ReadAvailable(uint8_t* buffer, int size, int timeoutMs)
{
    // The host marks the device for exclusive use when it opens it. A serial device forgets
    // that when its last user closes it; a pseudo-terminal outlives its users and would
    // refuse the host's next open (EBUSY, for users without CAP_SYS_ADMIN). So the mark is
    // taken off whenever we listen.
    ::ioctl(deviceFd_, TIOCNXCL);
    return ReadAvailableBytes(master_, buffer, size, timeoutMs);
}

int PseudoTerminal::PeerBaudRate() const
{
    // The master end reads the device's settings: the pair has one set of them.
    struct termios t {};
    if (::tcgetattr(master_, &t) != 0) {
        return 0;
    }
    return BaudOfSpeed(::cfgetospeed(&t));
}

int PseudoTerminal::UnreadOutput() const
{
    int count = 0;
    return ::ioctl(deviceFd_, FIONREAD, &count) == 0 ? count : -1;
}
