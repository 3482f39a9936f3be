// The protocol array of packet 253: ParseProtocolArray over arbitrary bytes. What it reads
// encodes into an array that reads back the same, and that array is written again byte for
// byte (the order the program writes is its own fixed point).

#include "link/UnitProfile.h"
#include "tests/fuzz/FuzzTarget.h"

namespace {

int FuzzProtocolArray(const uint8_t* data, size_t size)
{
    UnitProtocols read;
    try {
        read = ParseProtocolArray(data, size);
    } catch (const ProtocolArrayError&) {
        return 0;
    }
    FUZZ_CHECK(read.fromArray, "an array read is not marked as one");
    std::vector<uint8_t> written = EncodeProtocolArray(read);
    UnitProtocols again;
    try {
        again = ParseProtocolArray(written.data(), written.size());
    } catch (const ProtocolArrayError& e) {
        FuzzFailure("protocols", std::string("the array written does not read: ") + e.what());
    }
    FUZZ_CHECK(again == read, "the protocols changed through writing and reading");
    FUZZ_CHECK(EncodeProtocolArray(again) == written, "the array is written in another order");
    return 0;
}

}  // namespace

ORVI_FUZZ_TARGET("protocols", FuzzProtocolArray)
