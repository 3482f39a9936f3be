// The receivers' data types (link/DataTypes.h) over arbitrary bytes, the first picking the
// type (modulo their number), the rest the packet. What decodes encodes into at most a
// packet, and that decodes to the same model.

#include <string>

#include "tests/fuzz/FuzzTarget.h"
#include "tests/link/AnyDataType.h"

namespace {

int FuzzDataTypes(const uint8_t* data, size_t size)
{
    if (size == 0) {
        return 0;
    }
    const int type = kAllDataTypes[data[0] % std::size(kAllDataTypes)];
    const std::string what = "D" + std::to_string(type) + ": ";
    DataTypeModel first;
    try {
        first = DecodeAnyDataType(type, data + 1, size - 1);
    } catch (const DataTypeError&) {
        return 0;
    }
    std::vector<uint8_t> bytes = EncodeAnyDataType(type, first);
    FUZZ_CHECK(bytes.size() <= DATA_TYPE_MAX_SIZE, what + "encoded into more than a packet");
    DataTypeModel again;
    try {
        again = DecodeAnyDataType(type, bytes.data(), bytes.size());
    } catch (const DataTypeError& e) {
        FuzzFailure("datatypes", what + "what it encoded does not decode: " + e.what());
    }
    FUZZ_CHECK(std::memcmp(&first, &again, sizeof first) == 0,
               what + "the model changed through encoding and decoding");
    return 0;
}

}  // namespace

ORVI_FUZZ_TARGET("datatypes", FuzzDataTypes)
