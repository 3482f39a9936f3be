#include "link/PvtStream.h"

#include <chrono>
#include <thread>

#include "framework/Prompts.h"
#include "framework/Settings.h"
#include "link/CGpsLink.h"
#include "link/Pvt.h"

namespace {

// The link's messages, kept for the state's detail.
class LastMessage : public Prompts {
public:
    std::string text;
    void Message(const std::string& message) override { text = message; }
    bool Question(const std::string& question) override
    {
        text = question;
        return false;
    }
};

constexpr int kRetryMs = 1000;
constexpr int kNoPvtRetryMs = 5000;
// Without a packet for this long the receiver is asked again (it may have been switched off
// and on, which ends its PVT stream).
constexpr auto kAskAgainAfter = std::chrono::seconds(5);

void Pause(const std::atomic<bool>& stop, int ms)
{
    for (int waited = 0; waited < ms && !stop; waited += 50) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

}  // namespace

void RunPvtStream(const std::atomic<bool>& stop, const PvtStreamCallbacks& callbacks)
{
    LastMessage messages;
    Prompts::ForThisThread quiet(messages);
    const std::string port = Settings::Current().GetString("Settings", "Port", "COM1:");
    while (!stop) {
        messages.text.clear();
        CGpsLink link({}, DeferredOpen{}, StartupRead::UntilQuiet);
        link.Open();
        if (link.state() < LINK_READY || link.productId() == 0) {
            callbacks.state(LiveState::LINK_LOST, messages.text.empty()
                                                      ? "keine Antwort vom Empfänger an " + port
                                                      : messages.text);
            Pause(stop, kRetryMs);
            continue;
        }
        if (link.protocols().pvt == 0) {
            callbacks.state(LiveState::LINK_LOST,
                            link.productDescription() + " sendet keine Positionen");
            Pause(stop, kNoPvtRetryMs);
            continue;
        }
        callbacks.state(LiveState::WAITING, link.productDescription());
        auto lastPacket = std::chrono::steady_clock::now() - kAskAgainAfter;
        uint8_t packet[255];
        bool lost = false;
        while (!stop && !lost) {
            const auto now = std::chrono::steady_clock::now();
            if (now - lastPacket >= kAskAgainAfter) {
                link.SendCommand(CMD_START_PVT_DATA, LF_QUIET);
                lastPacket = now;
            }
            const PacketResult read =
                link.ReadFrame(PKT_PVT, packet, sizeof packet, LF_QUIET | LF_ANYID);
            if (read == PacketResult::Ok && link.LastPacketId() == PKT_PVT) {
                lastPacket = std::chrono::steady_clock::now();
                try {
                    callbacks.fix(DecodePvt(packet, link.LastPacketSize()));
                } catch (const DataTypeError&) {
                    // Not a position: passed over.
                }
            } else if (read == PacketResult::PortFailed || read == PacketResult::PortNotOpen) {
                lost = !link.ReopenIfVanished();
            }
        }
        if (lost) {
            callbacks.state(LiveState::LINK_LOST,
                            messages.text.empty() ? port + " ist nicht mehr da" : messages.text);
            Pause(stop, kRetryMs);
            continue;
        }
        link.SendCommand(CMD_STOP_PVT_DATA, LF_QUIET);
    }
    callbacks.state(LiveState::STOPPED, {});
}
