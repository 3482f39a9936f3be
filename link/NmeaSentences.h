#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gps/LiveFix.h"

// NMEA 0183 sentences of a receiver in NMEA mode, as Garmin's units send them (version 2.3).

// The rate receivers send NMEA at.
constexpr int NMEA_BAUD = 4800;

// What one unit of HDOP stands for, in metres of horizontal error (the range error of a good
// receiver): the sentences below write HDOP as the error over it, and the NMEA reader takes
// HDOP times it where a receiver sends no error of its own.
constexpr double NMEA_RANGE_ERROR_METRES = 5.0;

// The exclusive or of the characters between '$' and '*': the body of a sentence.
uint8_t NmeaChecksum(std::string_view body);

// "$" body "*" checksum (two upper-case hex digits) CR LF.
std::string NmeaLine(std::string_view body);

// The sentences of one fix, in the order receivers send them: GPRMC (time, date, status A or
// V, position, speed in knots, course, mode A or N), GPGGA (time, position, quality 1 or 0,
// satellites, HDOP, altitude above sea level, geoid separation 0), GPGSA (automatic, mode 1
// no fix, 2 or 3; the satellites used, as PRNs 1, 3, 5, ...; PDOP, HDOP, VDOP). A fix
// without a position leaves the position fields empty; unknown values are empty fields.
// HDOP is the horizontal error over NMEA_RANGE_ERROR_METRES, at least 0.5; VDOP is taken as
// HDOP, PDOP as their root sum square. A fix with a position and a horizontal error has
// Garmin's PGRME after the GGA (horizontal, vertical and overall error in metres): the
// vertical error taken as the horizontal one, the overall one as their root sum square.
// Where the fix says how many satellites it uses, GPGSV sentences follow, four satellites
// a sentence: those in use, at made-up elevations, azimuths and signal strengths.
// Positions to 1/10000 of a minute. A fix without a time (utcMillis 0) has empty time and
// date fields.
std::vector<std::string> NmeaFixSentences(const LiveFix& fix);
