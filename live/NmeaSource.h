#pragma once

#include <string>

#include "live/NmeaReader.h"
#include "live/PositionSource.h"
#include "live/SharedLine.h"

// NMEA 0183 from a receiver on the serial port (NmeaReader reads the sentences), read as a
// share of the process's port (SharedLine): raw, 8N1, at 4800 baud unless told otherwise.
//
// States: WAITING once the line is open; RECEIVING while fixes with a position come,
// WAITING again for fixes without. When the device cannot be opened or goes away (a
// USB-serial adapter pulled) LINK_LOST, with the reason, and the device is opened again
// every kReopenMs until it is back.
class NmeaSource : public PositionSource {
    Q_OBJECT

public:
    static constexpr int kDefaultBaud = 4800;
    static constexpr int kReopenMs = SharedLine::kReopenMs;

    // `port` is "COMn:" or a device path (DevicePathForPort); `baud` one of the rates of
    // PosixSerialPort (4800 to 115200).
    explicit NmeaSource(std::string port, int baud = kDefaultBaud, QObject* parent = nullptr);

    void Start() override;
    void Stop() override;

private:
    SharedLine line_;
    NmeaReader reader_;
};
