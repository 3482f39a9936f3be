#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Variant type codes of the property values this program reads and writes.
enum PropType : uint32_t {
    PROP_EMPTY = 0,
    PROP_I2 = 2,
    PROP_I4 = 3,
    PROP_VARIANT = 12,  // only as the elements of a vector, each a type code and its data
    PROP_LPSTR = 30,    // 8-bit string in the section's code page
    PROP_LPWSTR = 31,   // UTF-16LE string
    PROP_FILETIME = 64,
    PROP_VECTOR = 0x1000,  // flag: a uint32 element count, then the elements
};

// One property of a property-set section: its id, its variant type code and its data in the
// stream form (little-endian; counted types include their uint32 count; strings include
// their terminating zero). The data never includes the type field nor the padding to a
// multiple of 4 that follows it in a stream.
//
// Invariant: the data is exactly one well-formed value of the type. Types whose size is not
// known (anything outside the list in DataLength, and a variant inside a variant) cannot be
// held, so writing a value never fails.
class CPropValue {
public:
    // Throws std::invalid_argument unless `data` is exactly one value of `type`.
    CPropValue(uint32_t id, uint32_t type, std::vector<uint8_t> data);

    static CPropValue I2(uint32_t id, int16_t value);
    static CPropValue I4(uint32_t id, int32_t value);
    static CPropValue FileTime(uint32_t id, uint64_t value);
    // An 8-bit string (type 30), stored up to its first zero byte.
    static CPropValue String(uint32_t id, std::string_view text);

    uint32_t Id() const { return id_; }
    uint32_t Type() const { return type_; }
    const std::vector<uint8_t>& Data() const { return data_; }

    // Replaces type and data; same contract as the constructor.
    void Set(uint32_t type, std::vector<uint8_t> data);

    // The value read as the given type; false when the property has another type.
    bool GetI2(int16_t& value) const;
    bool GetI4(int32_t& value) const;
    bool GetFileTime(uint64_t& value) const;
    // Type 30: the characters up to the first zero byte (or all counted bytes).
    bool GetString(std::string& text) const;

    // Type field, data and zero padding to a multiple of 4, appended to `out`.
    void AppendTo(std::vector<uint8_t>& out) const;

    // Reads the value of property `id` from the start of `bytes` (type field first) without
    // reading past `size`. Throws ArchiveException(BadFormat) naming the property when the
    // type is not one this program knows or the data does not fit. The padding after the
    // data need not be present.
    static CPropValue Read(uint32_t id, const uint8_t* bytes, size_t size);

    // The length in bytes of one value of `type` at the start of `data`, or SIZE_MAX when
    // the type is unknown or the value does not fit in `size`. Never reads past `size`.
    static size_t DataLength(uint32_t type, const uint8_t* data, size_t size);

private:
    uint32_t id_;
    uint32_t type_;
    std::vector<uint8_t> data_;
};
