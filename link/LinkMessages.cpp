#include "link/LinkMessages.h"

#include <cstdio>

#include "link/LinkTypes.h"
#include "res/StringTable.h"

namespace {

std::string Format(const char* format, auto... args)
{
    char text[512];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

}  // namespace

int LinkStateMessageId(int state)
{
    switch (state) {
    case LINK_CLOSED:
        return IDS_GPS_OPEN_FAILED;
    case LINK_PORT_OPEN:
    case LINK_READY:
    case LINK_READING:
        return IDS_GPS_DISTURBED;
    case LINK_FRAMING:
        return IDS_GPS_FORMAT;
    case LINK_BAD_CHECKSUM:
        return IDS_GPS_CHECKSUM;
    case LINK_NAK:
        return IDS_GPS_ERROR_REPORT;
    default:
        return IDS_GPS_READY;
    }
}

std::string PortOpenFailedText(int error, const std::string& port)
{
    return Format("Error No %d while opening Port %s", error, port.c_str());
}

std::string FlowControlText(const FlowControlFlags& found)
{
    return Format(
        "fDtrControl: %d, fDsrSensitivity: %d, fRtsControl: %d, \nfOutxCtsFlow: %d, "
        "fOutxDsrFlow: %d",
        found.dtrControl, found.dsrSensitivity, found.rtsControl, found.outxCtsFlow,
        found.outxDsrFlow);
}

std::string TimeoutsFailedText(int failure)
{
    return failure == 1 ? "!GetCommTimeouts " : "!SetCommTimeouts ";
}

std::string StartupBytesText(int count)
{
    return Format("Received %d Byte(s) at startup", count);
}

std::string SystemErrorText(int error)
{
    return Format("Error No %d", error);
}

std::string SetClockQuestionText(const std::string& receiverTime, const std::string& systemTime)
{
    char text[1024];
    std::snprintf(text, sizeof text, LoadString(IDS_GPS_SET_CLOCK), receiverTime.c_str(),
                  systemTime.c_str());
    return text;
}

std::string ProgressText(int number, int count)
{
    return Format("%d / %d", number, count);
}

std::string FastLineRefusedText(int baud)
{
    return Format("Der Empfänger wechselt nicht auf %d Baud; weiter mit 9600 Baud.", baud);
}

std::string FastLineUnusableText(int64_t named)
{
    return Format("Der Empfänger nennt %lld Baud, eine Rate, die die Schnittstelle nicht "
                  "einstellen kann; weiter mit 9600 Baud.",
                  static_cast<long long>(named));
}

std::string FastLineUnconfirmedText(int baud)
{
    return Format("Der Empfänger hat %d Baud nicht bestätigt; weiter mit 9600 Baud.", baud);
}

std::string NoProtocolText(const char* kind)
{
    return Format("Der Empfänger überträgt keine %s.", kind);
}

std::string UnknownTypeText(const char* kind, const std::string& type)
{
    return Format("Der Empfänger überträgt %s als %s, einen Datentyp, den das Programm nicht "
                  "kennt; die Übertragung unterbleibt.",
                  kind, type.c_str());
}
