#pragma once

#include <QSocketNotifier>
#include <QTimer>
#include <memory>
#include <string>

#include "live/NmeaReader.h"
#include "live/PositionSource.h"

class PosixSerialPort;

// The device of `port` ("COMn:" or a device path; anything else as it stands, so that
// opening it says what is wrong).
std::string ReceiverDevice(const std::string& port);
// Opens `device` raw, 8N1, without flow control, at `baud`; null with the system's reason in
// `reason` when it cannot.
std::unique_ptr<PosixSerialPort> OpenReceiverLine(const std::string& device, int baud,
                                                  QString& reason);

// NMEA 0183 from a receiver on a serial line (NmeaReader reads the sentences). The line is
// raw, 8N1, without flow control, at 4800 baud unless told otherwise.
//
// States: WAITING once the line is open; RECEIVING while fixes with a position come,
// WAITING again for fixes without. When the device cannot be opened or goes away (a
// USB-serial adapter pulled: the read fails or the line hangs up) LINK_LOST, with the
// reason, and the device is opened again every kReopenMs until it is back.
class NmeaSource : public PositionSource {
    Q_OBJECT

public:
    static constexpr int kDefaultBaud = 4800;
    static constexpr int kReopenMs = 1000;

    // `port` is "COMn:" or a device path (DevicePathForPort); `baud` one of the rates of
    // PosixSerialPort (4800 to 115200).
    explicit NmeaSource(std::string port, int baud = kDefaultBaud, QObject* parent = nullptr);
    ~NmeaSource() override;

    void Start() override;
    void Stop() override;

private:
    void Open();
    void ReadLine();
    void Lose(const QString& reason);
    void Close();

    std::string device_;
    int baud_;
    std::unique_ptr<PosixSerialPort> port_;
    std::unique_ptr<QSocketNotifier> notifier_;
    NmeaReader reader_;
    QTimer reopen_;
};
