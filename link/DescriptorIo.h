#pragma once

#include <cstdint>

// Reading and writing the non-blocking descriptor of a terminal (a serial device or either
// end of a pseudo-terminal).

// Writes all `size` bytes, waiting up to `waitMs` each time the output buffer is full.
// Returns `size`, or -1 with errno set: EAGAIN when the other side took nothing in time,
// EIO when it hung up.
int WriteAllBytes(int fd, const uint8_t* data, int size, int waitMs);

// Waits at most `timeoutMs` for input, then reads what is there (at most `size` bytes).
// Returns the number of bytes, 0 when none came, or -1 with errno set; the end of the data
// (the other side has gone) is EIO.
int ReadAvailableBytes(int fd, uint8_t* buffer, int size, int timeoutMs);
