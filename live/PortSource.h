#pragma once

#include <QTimer>
#include <memory>
#include <string>

#include "link/LineRecognition.h"
#include "live/PositionSource.h"
#include "live/SharedLine.h"

// The receiver on a port, whichever way it speaks. It listens to the line (a share of the
// links' port, SharedLine) at the NMEA rate first: NMEA sentences make it read them
// (NmeaSource); frames of the binary protocol, or silence for kListenMs (a unit in its own
// protocol speaks only when asked), make it ask the receiver for its PVT packets (PvtSource,
// on the link's port of the settings).
//
// The way found is kept: a later Start() takes it at once. When that source loses the
// receiver (LINK_LOST), or no report comes for kSilentMs (the unit was switched to the other
// protocol), it listens again. The state is the source's; while listening it stays what it
// was, WAITING with "erkenne NMEA oder Garmin-Protokoll an DEVICE" at first.
class PortSource : public PositionSource {
    Q_OBJECT

public:
    static constexpr int kListenMs = 2500;
    static constexpr int kSilentMs = 8000;

    PortSource(std::string port, int nmeaBaud, QObject* parent = nullptr);
    ~PortSource() override;

    void Start() override;
    void Stop() override;

    // The way the receiver was found to speak; UNKNOWN while listening and before.
    LineSpeech Speech() const { return speech_; }

private:
    void Listen();
    void Hear(const QByteArray& bytes);
    void Use(LineSpeech speech);
    void Drop();
    void ListenAgain();

    std::string port_;
    int nmeaBaud_;
    bool running_ = false;
    LineSpeech speech_ = LineSpeech::UNKNOWN;
    SharedLine line_;  // while listening
    LineRecogniser recogniser_;
    std::unique_ptr<PositionSource> source_;
    QTimer listened_;  // the listening is over: the receiver speaks only when asked
    QTimer silent_;    // no report from the source for kSilentMs
};
