#include "live/PortSource.h"

#include "live/NmeaSource.h"
#include "live/PvtSource.h"

PortSource::PortSource(std::string port, int nmeaBaud, QObject* parent)
    : PositionSource(parent), port_(port), nmeaBaud_(nmeaBaud), line_(std::move(port), nmeaBaud)
{
    listened_.setSingleShot(true);
    listened_.setInterval(kListenMs);
    connect(&listened_, &QTimer::timeout, this, [this] { Use(LineSpeech::BINARY); });
    silent_.setSingleShot(true);
    silent_.setInterval(kSilentMs);
    connect(&silent_, &QTimer::timeout, this, &PortSource::ListenAgain);
    connect(&line_, &SharedLine::opened, this, [this] { listened_.start(); });
    connect(&line_, &SharedLine::bytesRead, this, &PortSource::Hear);
    connect(&line_, &SharedLine::lost, this, [this](const QString& reason) {
        listened_.stop();
        SetState(LiveState::LINK_LOST, reason);
    });
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
                                         .arg(QString::fromStdString(line_.Device())));
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
    silent_.stop();
    line_.Stop();
    Drop();
    SetState(LiveState::STOPPED, {});
}

void PortSource::Listen()
{
    recogniser_.Reset();
    line_.Start();
}

void PortSource::Hear(const QByteArray& bytes)
{
    const LineSpeech speech = recogniser_.Take(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                               static_cast<size_t>(bytes.size()));
    if (speech != LineSpeech::UNKNOWN) {
        listened_.stop();
        Use(speech);
    }
}

void PortSource::Use(LineSpeech speech)
{
    line_.Stop();
    speech_ = speech;
    if (speech == LineSpeech::NMEA) {
        source_ = std::make_unique<NmeaSource>(port_, nmeaBaud_);
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
