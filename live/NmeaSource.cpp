#include "live/NmeaSource.h"

#include <cerrno>
#include <cstring>

#include "link/PosixSerialPort.h"
#include "link/SerialPort.h"

namespace {

QString SystemReason(const std::string& device)
{
    return QString::fromStdString(device + ": " + std::strerror(errno));
}

}  // namespace

std::string ReceiverDevice(const std::string& port)
{
    std::string device = DevicePathForPort(port);
    return device.empty() ? port : device;
}

std::unique_ptr<PosixSerialPort> OpenReceiverLine(const std::string& device, int baud,
                                                  QString& reason)
{
    std::unique_ptr<PosixSerialPort> port = PosixSerialPort::Open(device);
    if (!port || !port->ApplyLineSettings() || !port->SetBaudRate(baud)) {
        reason = SystemReason(device);
        return nullptr;
    }
    return port;
}

NmeaSource::NmeaSource(std::string port, int baud, QObject* parent)
    : PositionSource(parent), device_(ReceiverDevice(port)), baud_(baud)
{
    reopen_.setInterval(kReopenMs);
    connect(&reopen_, &QTimer::timeout, this, &NmeaSource::Open);
    connect(&reader_, &NmeaReader::fixRead, this, &NmeaSource::Deliver);
}

NmeaSource::~NmeaSource()
{
    notifier_.reset();
    port_.reset();
}

void NmeaSource::Start()
{
    if (State() != LiveState::STOPPED) {
        return;
    }
    reader_.Start();
    Open();
}

void NmeaSource::Stop()
{
    if (State() == LiveState::STOPPED) {
        return;
    }
    reopen_.stop();
    Close();
    reader_.Stop();
    SetState(LiveState::STOPPED, {});
}

void NmeaSource::Open()
{
    QString reason;
    std::unique_ptr<PosixSerialPort> port = OpenReceiverLine(device_, baud_, reason);
    if (!port) {
        Lose(reason);
        return;
    }
    reopen_.stop();
    port_ = std::move(port);
    notifier_ = std::make_unique<QSocketNotifier>(port_->fd(), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &NmeaSource::ReadLine);
    SetState(LiveState::WAITING, QString::fromStdString(device_));
}

void NmeaSource::ReadLine()
{
    char buffer[4096];
    int n = port_->ReadAvailable(reinterpret_cast<uint8_t*>(buffer), sizeof buffer, 0);
    if (n < 0) {
        Lose(SystemReason(device_));
        return;
    }
    reader_.Read(buffer, n);
}

void NmeaSource::Lose(const QString& reason)
{
    Close();
    reader_.Finish();
    reader_.Stop();
    reader_.Start();
    SetState(LiveState::LINK_LOST, reason);
    reopen_.start();
}

void NmeaSource::Close()
{
    if (notifier_) {
        // The notifier may be the one whose signal is being handled.
        notifier_->setEnabled(false);
        notifier_.release()->deleteLater();
    }
    port_.reset();
}
