#pragma once

#include <cstdint>
#include <string>

#include "link/SerialPort.h"

// The texts the link shows, made here from the codes and numbers the link code hands over.
// The German ones come from the string table; the port's diagnostics are English.

// The string-table id of the message for the link's state (ReportLinkError).
int LinkStateMessageId(int state);

std::string PortOpenFailedText(int error, const std::string& port);
std::string FlowControlText(const FlowControlFlags& found);
// `failure`: 1 the time-outs cannot be read, 2 they cannot be set (ApplyReadTimeouts).
std::string TimeoutsFailedText(int failure);
std::string StartupBytesText(int count);
std::string SystemErrorText(int error);
// The question of the clock dialogue (string 2000), given the two times as they show.
std::string SetClockQuestionText(const std::string& receiverTime, const std::string& systemTime);
// The faster line: the receiver did not switch to `baud`, named a rate the port cannot run
// at, or did not confirm `baud` at it. Each ends "weiter mit 9600 Baud".
std::string FastLineRefusedText(int baud);
std::string FastLineUnusableText(int64_t named);
std::string FastLineUnconfirmedText(int baud);
// A kind of data (`kind`: "Wegpunkte", "Tracks", "Routen") the unit does not transfer, or
// transfers in a data type (`type`: "D155") the program does not know.
std::string NoProtocolText(const char* kind);
std::string UnknownTypeText(const char* kind, const std::string& type);
// The progress of a record transfer: "%d / %d".
std::string ProgressText(int number, int count);
