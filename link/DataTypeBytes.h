#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The fields of a data type's bytes, for the encoders and decoders of link/DataTypes.h.
// Multi-byte fields are little-endian, floats copied bit for bit.

// Throws DataTypeError with "D<type>: <what>".
[[noreturn]] void FailDataType(int type, const std::string& what);

// Reads a packet's data front to back; every read is bounds-checked and throws
// DataTypeError where the data ends too soon.
class DataTypeReader {
public:
    DataTypeReader(int type, const uint8_t* data, size_t size);

    uint8_t U8();
    uint16_t U16();
    uint32_t U32();
    int32_t S32();
    float F32();
    double F64();
    void Bytes(void* out, size_t count);
    // A zero-terminated text, without its zero; the zero must lie within the data.
    std::string_view Text();
    // Throws unless every byte was read.
    void End() const;

private:
    const uint8_t* Take(size_t count);

    int type_;
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// A fixed-layout type takes exactly `expected` bytes.
void RequireSize(int type, size_t size, size_t expected);
// A type with texts takes the `head` bytes before its texts, and at most a packet.
void RequireTextTypeSize(int type, size_t size, size_t head);

class DataTypeWriter {
public:
    void U8(uint8_t value) { bytes_.push_back(value); }
    void U16(uint16_t value);
    void U32(uint32_t value);
    void S32(int32_t value) { U32(static_cast<uint32_t>(value)); }
    void F32(float value);
    void F64(double value);
    void Bytes(const void* data, size_t count);
    // The text and its terminating zero.
    void Text(std::string_view text);

    std::vector<uint8_t> Take() { return std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
};

// The text of a model field, cut to `limit` bytes when limit > 0.
std::string_view CutText(std::string_view text, int limit);
