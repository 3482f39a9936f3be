#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

// The five flow-control settings of a port, as numbers; all 0 on a port without flow
// control. On a termios port: dtrControl is HUPCL (the driver drives DTR), dsrSensitivity
// is a cleared CLOCAL (modem status lines honoured), rtsControl is 2 for CRTSCTS (RTS
// handshake), outxCtsFlow is 1 for CRTSCTS, outxDsrFlow is 1 for IXON (output held by
// the other side, the nearest termios has to DSR output flow control).
struct FlowControlFlags {
    int dtrControl = 0;
    int dsrSensitivity = 0;
    int rtsControl = 0;
    int outxCtsFlow = 0;
    int outxDsrFlow = 0;

    bool Any() const
    {
        return dtrControl || dsrSensitivity || rtsControl || outxCtsFlow || outxDsrFlow;
    }
};

// Bytes and timing of a serial line. Implementations: the POSIX device, the simulator's
// pseudo-terminal end, and scripted ports in tests. Used by one thread at a time.
class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Writes all `size` bytes. Returns `size`, or -1 with errno set.
    virtual int Write(const uint8_t* data, int size) = 0;

    // Waits at most `timeoutMs` for input, then returns what is there, at most `size`
    // bytes. Returns the number of bytes, 0 when none came in time, or -1 with errno set
    // (EIO, ENXIO or ENODEV when the device has gone).
    virtual int ReadAvailable(uint8_t* buffer, int size, int timeoutMs) = 0;

    // The line settings. Ports that have none (pseudo-terminal ends, test ports) report
    // no flow control and accept everything.
    virtual bool ReadFlowControl(FlowControlFlags& found)
    {
        found = {};
        return true;
    }
    // The clock that read time-outs are measured with; ports in tests run one of their own.
    virtual std::chrono::steady_clock::time_point Now() const
    {
        return std::chrono::steady_clock::now();
    }

    // Raw bytes, 9600 baud, 8 data bits, no parity, one stop bit, no flow control.
    virtual bool ApplyLineSettings() { return true; }
    // Sets the line's speed once what was written has left. Ports without a speed of their
    // own (test ports) take any. False with errno set when the device refuses it.
    virtual bool SetBaudRate(int baud)
    {
        (void)baud;
        return true;
    }
    // The speed the other end of the line has set, where this end can see it (the
    // receiver's end of a pseudo-terminal); 0 when it cannot.
    virtual int PeerBaudRate() const { return 0; }
    // The bytes written that the other end has not read yet, where this end can see them
    // (the receiver's end of a pseudo-terminal); -1 when it cannot.
    virtual int UnreadOutput() const { return -1; }
    // Reads take their timing from ReadWithTimeouts; a port may still refuse the settings:
    // 0 done, 1 the current ones cannot be read, 2 the new ones cannot be set.
    virtual int ApplyReadTimeouts() { return 0; }
};

// A read with the port time-outs of the link: it ends when `size` bytes arrived, or 10 ms
// after the last byte, or 200 ms + 2 ms per requested byte after it began.
// With `frames` set, the bytes are watched as one protocol frame: the read ends as soon as
// a whole frame is in, and while a frame is incomplete a silence does not end it (only the
// overall time-out does); bytes that cannot be a frame end with the 10 ms silence.
// Returns the number of bytes read, or -1 with errno set.
int ReadWithTimeouts(SerialPort& port, uint8_t* buffer, int size, bool frames);

// The read of one frame with ReadWithTimeouts' time-outs (`frames` set) that loses nothing
// of what comes after it, however the bytes arrive: `carry` holds what an earlier read took
// beyond its frame, which this read starts with (reading no more when that is a whole frame
// already), and afterwards what this read took beyond the first whole frame it returns.
// Bytes that are no whole frame are returned as they came, none carried. The overall
// time-out is that of a read of `expected` bytes (8 for an acknowledgement), however many
// `size` allows.
int ReadFrameCarrying(SerialPort& port, std::vector<uint8_t>& carry, uint8_t* buffer, int size,
                      int expected);

// The start-up read of a link that does not wait out a quiet line: it ends when `size` bytes
// arrived, `quietMs` after the last byte (after its start while none came), or 200 ms + 2 ms
// per requested byte after it began. Returns the number of bytes read, or -1 with errno set.
int ReadUntilQuiet(SerialPort& port, uint8_t* buffer, int size, int quietMs);

// The device of a port name: "COMn:" (any case, the colon optional) is /dev/ttyS(n-1); an
// absolute path is taken as it is. Empty for anything else.
std::string DevicePathForPort(const std::string& name);
