#include "live/NmeaSource.h"

NmeaSource::NmeaSource(std::string port, int baud, QObject* parent)
    : PositionSource(parent), line_(std::move(port), baud)
{
    connect(&reader_, &NmeaReader::fixRead, this, &NmeaSource::Deliver);
    connect(&line_, &SharedLine::opened, this,
            [this] { SetState(LiveState::WAITING, QString::fromStdString(line_.Device())); });
    connect(&line_, &SharedLine::bytesRead, this,
            [this](const QByteArray& bytes) { reader_.Read(bytes.constData(), bytes.size()); });
    connect(&line_, &SharedLine::lost, this, [this](const QString& reason) {
        // What the line gave up to here ends with it; a sentence cut short is dropped.
        reader_.Finish();
        reader_.Stop();
        reader_.Start();
        SetState(LiveState::LINK_LOST, reason);
    });
}

void NmeaSource::Start()
{
    if (State() != LiveState::STOPPED) {
        return;
    }
    reader_.Start();
    SetState(LiveState::WAITING, QString::fromStdString(line_.Device()));
    line_.Start();
}

void NmeaSource::Stop()
{
    if (State() == LiveState::STOPPED) {
        return;
    }
    line_.Stop();
    reader_.Stop();
    SetState(LiveState::STOPPED, {});
}
