// What a unit speaks: the protocol array a later unit sends after its product data, or the
// table of units that send none.

#include "framework/Settings.h"
#include "link/CGpsLink.h"
#include "link/LinkMessages.h"

namespace {

// A unit sends its extended product data (any number of strings) and its protocol array
// right after its product data; more than this many packets is not a unit talking.
constexpr int kMostUnaskedPackets = 8;

}  // namespace

void CGpsLink::LearnProtocols()
{
    struct NoteUnit {
        CGpsLink& link;
        ~NoteUnit()
        {
            // The options show the unit last seen on the port.
            Settings::Current().SetString("Settings", "LastUnit", link.description_);
            Settings::Current().SetString("Settings", "LastUnitProtocols",
                                          DescribeProtocols(link.protocols_));
        }
    } note{*this};
    protocolsNote_.clear();
    if (std::optional<UnitProtocols> known = ProtocolsOfProduct(productId_, softwareVersion_)) {
        protocols_ = *known;
        return;
    }
    uint8_t packet[255] = {};
    for (int i = 0; i < kMostUnaskedPackets; ++i) {
        // No refusal of what does not come: the unit would send its product data again.
        const PacketResult read =
            ReadFrame(PKT_PROTOCOL_ARRAY, packet, sizeof packet, LF_QUIET | LF_ANYID);
        if (read != PacketResult::Ok) {
            if (read != PacketResult::NothingReceived) {
                DropRestOfFrame();
            }
            break;
        }
        if (LastPacketId() != PKT_PROTOCOL_ARRAY) {
            continue;  // extended product data and the like
        }
        try {
            protocols_ = ParseProtocolArray(packet, LastPacketSize());
        } catch (const ProtocolArrayError& e) {
            // Nothing of a damaged array is trusted: the unit speaks nothing we know.
            protocols_ = {};
            protocols_.fromArray = true;
            protocolsNote_ = e.what();
        }
        return;
    }
    // A unit of neither kind: what the program has always spoken, a GPS 12's protocols.
    protocols_ = ProtocolsOfProduct(77, 460).value_or(UnitProtocols{});
}
