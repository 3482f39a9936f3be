#include "live/PortSource.h"

#include "link/PosixSerialPort.h"
#include "live/NmeaSource.h"
#include "live/PvtSource.h"

PortSource::PortSource(std::string port, int nmeaBaud, QObject* parent)
    : PositionSource(parent), device_(ReceiverDevice(port)), nmeaBaud_(nmeaBaud)
{
    listened_.setSingleShot(true);
    listened_.setInterval(kListenMs);
    connect(&listened_, &QTimer::timeout, this, [this] { Use(LineSpeech::BINARY); });
    reopen_.setSingleShot(true);
    reopen_.setInterval(kReopenMs);
    connect(&reopen_, &QTimer::timeout, this, &PortSource::Listen);
    silent_.setSingleShot(true);
    silent_.setInterval(kSilentMs);
    connect(&silent_, &QTimer::timeout, this, &PortSource::ListenAgain);
}

PortSource::~PortSource()
{
    Stop();
}

void PortSource::Start()
{
    if (running_) {
        return;
    }
    running_ = true;
    if (speech_ == LineSpeech::UNKNOWN) {
        SetState(LiveState::WAITING, QStringLiteral("erkenne NMEA oder Garmin-Protokoll an %1")
                                         .arg(QString::fromStdString(device_)));
        Listen();
    } else {
        Use(speech_);
    }
}

void PortSource::Stop()
{
    if (!running_) {
        return;
    }
    running_ = false;
    listened_.stop();
    reopen_.stop();
    silent_.stop();
    CloseLine();
    Drop();
    SetState(LiveState::STOPPED, {});
}

void PortSource::Listen()
{
    QString reason;
    line_ = OpenReceiverLine(device_, nmeaBaud_, reason);
    if (!line_) {
        SetState(LiveState::LINK_LOST, reason);
        reopen_.start();
        return;
    }
    recogniser_.Reset();
    notifier_ = std::make_unique<QSocketNotifier>(line_->fd(), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &PortSource::ReadLine);
    listened_.start();
}

void PortSource::ReadLine()
{
    uint8_t buffer[512];
    const int n = line_->ReadAvailable(buffer, sizeof buffer, 0);
    if (n < 0) {  // the adapter pulled while listening
        CloseLine();
        listened_.stop();
        SetState(LiveState::LINK_LOST,
                 QStringLiteral("%1 ist nicht mehr da").arg(QString::fromStdString(device_)));
        reopen_.start();
        return;
    }
    const LineSpeech speech = recogniser_.Take(buffer, static_cast<size_t>(n));
    if (speech != LineSpeech::UNKNOWN) {
        listened_.stop();
        Use(speech);
    }
}

void PortSource::CloseLine()
{
    if (notifier_) {
        // The notifier may be the one whose signal is being handled.
        notifier_->setEnabled(false);
        notifier_.release()->deleteLater();
    }
    line_.reset();
}

void PortSource::Use(LineSpeech speech)
{
    CloseLine();
    speech_ = speech;
    if (speech == LineSpeech::NMEA) {
        source_ = std::make_unique<NmeaSource>(device_, nmeaBaud_);
    } else {
        source_ = std::make_unique<PvtSource>();
    }
    connect(source_.get(), &PositionSource::fixArrived, this, [this](const LiveFix& fix) {
        silent_.start();
        Deliver(fix);
    });
    connect(source_.get(), &PositionSource::stateChanged, this,
            [this](LiveState state, const QString& detail) {
                if (state == LiveState::STOPPED) {
                    return;
                }
                SetState(state, detail);
                if (state == LiveState::LINK_LOST) {
                    // Not from within the source's own signal.
                    QTimer::singleShot(0, this, &PortSource::ListenAgain);
                }
            });
    silent_.start();
    source_->Start();
}

void PortSource::Drop()
{
    if (source_) {
        source_->disconnect(this);
        source_->Stop();
        source_.release()->deleteLater();
    }
}

void PortSource::ListenAgain()
{
    if (!running_ || !source_) {
        return;
    }
    silent_.stop();
    Drop();
    speech_ = LineSpeech::UNKNOWN;
    Listen();
}
