#include "link/SharedPort.h"

#include <cerrno>

#include "link/PosixSerialPort.h"

SharedPort& SharedPort::Instance()
{
    static SharedPort instance;
    return instance;
}

void SharedPort::SetOpener(Opener opener)
{
    std::lock_guard lock(mutex);
    opener_ = std::move(opener);
}

std::unique_ptr<SerialPort> SharedPort::OpenPort(const std::string& name, int& error)
{
    Opener opener;
    {
        std::lock_guard lock(mutex);
        opener = opener_;
    }
    if (opener) {
        return opener(name, error);
    }
    std::string path = DevicePathForPort(name);
    if (path.empty()) {
        error = ENOENT;
        return nullptr;
    }
    auto port = PosixSerialPort::Open(path);
    error = port ? 0 : errno;
    return port;
}
