#pragma once

#include <memory>
#include <string>

#include "link/SerialPort.h"

#include <termios.h>

// The baud rate of a termios speed (B9600, ...); 0 for speeds the link does not use.
int BaudOfSpeed(speed_t speed);
// Whether SetBaudRate takes `baud` (4800, 9600, 19200, 38400, 57600, 115200).
bool IsSerialBaudRate(int baud);

// A serial device opened by path (or an already open descriptor, such as a
// pseudo-terminal's master end), read with poll().
class PosixSerialPort : public SerialPort {
public:
    // Opens an existing device for reading and writing, exclusively, without making it the
    // controlling terminal. Returns null with errno set on failure.
    static std::unique_ptr<PosixSerialPort> Open(const std::string& path);
    // Takes ownership of `fd`.
    explicit PosixSerialPort(int fd) : fd_(fd) {}
    ~PosixSerialPort() override;
    PosixSerialPort(const PosixSerialPort&) = delete;
    PosixSerialPort& operator=(const PosixSerialPort&) = delete;

    int Write(const uint8_t* data, int size) override;
    int ReadAvailable(uint8_t* buffer, int size, int timeoutMs) override;
    bool ReadFlowControl(FlowControlFlags& found) override;
    bool ApplyLineSettings() override;
    bool SetBaudRate(int baud) override;

    int fd() const { return fd_; }

private:
    int fd_;
};
