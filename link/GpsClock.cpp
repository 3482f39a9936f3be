// The receiver's clock and the dialogue that sets the computer's clock from it.

#include <chrono>
#include <ctime>

#include "framework/Prompts.h"
#include "link/CGpsLink.h"
#include "link/GpsTimeConversion.h"
#include "link/LinkMessages.h"
#include "link/SystemClock.h"
#include "res/StringTable.h"

int CGpsLink::ReadGpsTime(GpsTime& time)
{
    DiscardInput();
    if (SendCommand(CMD_SEND_TIME, 0) != PacketResult::Ok) {
        return -1;
    }
    uint8_t packet[8] = {};
    if (Failed(ReceivePacket(PKT_DATE_TIME, packet, 8, 0))) {
        return -2;
    }
    time.month = packet[0];
    time.day = packet[1];
    time.year = static_cast<uint16_t>(packet[2] | (packet[3] << 8));
    time.hour = static_cast<uint16_t>(packet[4] | (packet[5] << 8));
    time.minute = packet[6];
    time.second = packet[7];
    return 0;
}

int CGpsLink::SetClockFromGps()
{
    GpsTime gps;
    if (ReadGpsTime(gps) != 0) {
        return -1;
    }
    std::optional<int64_t> receiver = ReceiverTimeUtc(gps, BuildDateUtc());
    if (!receiver) {
        ShowLinkMessage(false, IDS_GPS_FORMAT);
        return -1;
    }
    int64_t system = SystemClock::Current().NowUtc();
    std::string receiverText = FormatUtcFields(*receiver);
    std::string systemText = FormatUtcFields(system);
    if (!Prompts::Current().Question(SetClockQuestionText(receiverText, systemText))) {
        return 0;
    }
    // The user may have taken a while to answer: set the clock from a fresh reading.
    if (ReadGpsTime(gps) != 0) {
        return -1;
    }
    receiver = ReceiverTimeUtc(gps, BuildDateUtc());
    if (!receiver) {
        ShowLinkMessage(false, IDS_GPS_FORMAT);
        return -1;
    }
    SystemClock::Current().SetUtc(*receiver);  // a refusal is not reported
    return 0;
}
