#include "link/SharedPort.h"

#include <cerrno>

#include "link/PosixSerialPort.h"

namespace {

bool DeviceGone(int error)
{
    return error == EIO || error == ENXIO || error == ENODEV;
}

}  // namespace

SharedPort& SharedPort::Instance()
{
    static SharedPort instance;
    return instance;
}

void SharedPort::SetOpener(Opener opener)
{
    std::lock_guard lock(mutex_);
    opener_ = std::move(opener);
}

bool SharedPort::Join()
{
    std::lock_guard lock(mutex_);
    return users_++ == 0 || vanished_;
}

void SharedPort::Leave()
{
    std::lock_guard lock(mutex_);
    if (--users_ > 0) {
        return;
    }
    port_.reset();
    carry_.clear();
    users_ = 0;
    vanished_ = false;
}

bool SharedPort::Open(const std::string& name, int& error)
{
    Opener opener;
    {
        std::lock_guard lock(mutex_);
        opener = opener_;
    }
    // Opening a device may take a while; the lock is not held meanwhile.
    std::unique_ptr<SerialPort> opened;
    if (opener) {
        opened = opener(name, error);
    } else if (std::string path = DevicePathForPort(name); path.empty()) {
        error = ENOENT;
    } else {
        opened = PosixSerialPort::Open(path);
        error = opened ? 0 : errno;
    }
    if (!opened) {
        return false;
    }
    std::lock_guard lock(mutex_);
    port_ = std::move(opened);
    carry_.clear();
    vanished_ = false;
    return true;
}

SharedPort::Lease::Lease(SharedPort& owner, std::unique_lock<std::mutex> lock)
    : owner_(owner), lock_(std::move(lock)), port_(owner.port_.get())
{
}

bool SharedPort::Lease::Failed(int error)
{
    if (!port_ || !DeviceGone(error)) {
        return false;
    }
    owner_.port_.reset();
    owner_.carry_.clear();
    owner_.vanished_ = true;
    port_ = nullptr;
    return true;
}

SharedPort::Lease SharedPort::Borrow()
{
    return Lease(*this, std::unique_lock(mutex_));
}

int SharedPort::Users() const
{
    std::lock_guard lock(mutex_);
    return users_;
}

bool SharedPort::IsOpen() const
{
    std::lock_guard lock(mutex_);
    return port_ != nullptr;
}

bool SharedPort::Vanished() const
{
    std::lock_guard lock(mutex_);
    return vanished_;
}
