#include "live/SharedLine.h"

#include <cerrno>
#include <chrono>
#include <cstring>

#include "link/SerialDevices.h"
#include "link/SharedPort.h"

namespace {

constexpr int kReadWaitMs = 100;

void PauseUnlessStopped(const std::atomic<bool>& stop, int ms)
{
    for (int waited = 0; waited < ms && !stop; waited += 50) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

}  // namespace

SharedLine::SharedLine(std::string port, int baud, QObject* parent)
    : QObject(parent), port_(std::move(port)), baud_(baud)
{
    device_ = DevicePathForPort(port_);
    if (device_.empty()) {
        device_ = port_;
    }
}

SharedLine::~SharedLine() = default;

void SharedLine::Start()
{
    worker_.Start(
        [this](const std::atomic<bool>& stop, const WorkerThread::Post& post) { Run(stop, post); });
}

void SharedLine::Stop()
{
    worker_.Stop();
}

void SharedLine::Run(const std::atomic<bool>& stop, const WorkerThread::Post& post)
{
    SharedPort& shared = SharedPort::Instance();
    shared.Join();
    auto lose = [&](int error) {
        QString reason =
            QString::fromStdString(device_ + (error == EIO || error == ENXIO || error == ENODEV
                                                  ? std::string(" ist nicht mehr da")
                                                  : ": " + std::string(std::strerror(error))));
        post([this, reason] { emit lost(reason); });
        PauseUnlessStopped(stop, kReopenMs);
    };
    bool ready = false;
    while (!stop) {
        if (!ready) {
            int error = 0;
            if (!shared.IsOpen() && !shared.Open(port_, error)) {
                lose(error);
                continue;
            }
            {
                SharedPort::Lease line = shared.Borrow();
                if (!line || !line->ApplyLineSettings() || !line->SetBaudRate(baud_)) {
                    error = !line ? ENODEV : errno != 0 ? errno : EINVAL;
                    line.Failed(error);
                }
            }
            if (error != 0) {
                lose(error);
                continue;
            }
            ready = true;
            post([this] { emit opened(); });
        }
        char buffer[512];
        int n;
        int error = 0;
        {
            SharedPort::Lease line = shared.Borrow();
            if (!line) {
                n = -1;
                error = ENODEV;
            } else {
                n = line->ReadAvailable(reinterpret_cast<uint8_t*>(buffer), sizeof buffer,
                                        kReadWaitMs);
                if (n < 0) {
                    error = errno;
                    line.Failed(error);
                }
            }
        }
        if (n < 0) {
            ready = false;
            lose(error);
        } else if (n > 0) {
            post([this, bytes = QByteArray(buffer, n)] { emit bytesRead(bytes); });
        }
    }
    if (ready) {
        // Back to the rate of the links, which set it only when they open the port.
        if (SharedPort::Lease line = shared.Borrow()) {
            line->ApplyLineSettings();
        }
    }
    shared.Leave();
}
