#include "link/DataTypeBytes.h"

#include <cstring>

#include "link/DataTypes.h"

void FailDataType(int type, const std::string& what)
{
    throw DataTypeError("D" + std::to_string(type) + ": " + what);
}

DataTypeReader::DataTypeReader(int type, const uint8_t* data, size_t size)
    : type_(type), data_(data), size_(size)
{
}

const uint8_t* DataTypeReader::Take(size_t count)
{
    if (count > size_ - pos_) {
        FailDataType(type_, "Daten enden nach " + std::to_string(size_) + " Bytes");
    }
    const uint8_t* at = data_ + pos_;
    pos_ += count;
    return at;
}

uint8_t DataTypeReader::U8()
{
    return *Take(1);
}

uint16_t DataTypeReader::U16()
{
    const uint8_t* p = Take(2);
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t DataTypeReader::U32()
{
    const uint8_t* p = Take(4);
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

int32_t DataTypeReader::S32()
{
    return static_cast<int32_t>(U32());
}

float DataTypeReader::F32()
{
    uint32_t bits = U32();
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

double DataTypeReader::F64()
{
    uint64_t bits = U32();
    bits |= uint64_t{U32()} << 32;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void DataTypeReader::Bytes(void* out, size_t count)
{
    std::memcpy(out, Take(count), count);
}

std::string_view DataTypeReader::Text()
{
    if (pos_ >= size_) {
        FailDataType(type_, "Daten enden vor einem Text");
    }
    const void* zero = std::memchr(data_ + pos_, 0, size_ - pos_);
    if (!zero) {
        FailDataType(type_, "Text ohne abschließendes Nullbyte");
    }
    size_t length = static_cast<size_t>(static_cast<const uint8_t*>(zero) - (data_ + pos_));
    std::string_view text(reinterpret_cast<const char*>(data_ + pos_), length);
    pos_ += length + 1;
    return text;
}

void DataTypeReader::End() const
{
    if (pos_ != size_) {
        FailDataType(type_, std::to_string(size_ - pos_) + " Bytes nach dem letzten Feld");
    }
}

void RequireSize(int type, size_t size, size_t expected)
{
    if (size != expected) {
        FailDataType(type, std::to_string(size) + " Bytes statt " + std::to_string(expected));
    }
}

void RequireTextTypeSize(int type, size_t size, size_t head)
{
    if (size < head) {
        FailDataType(type, std::to_string(size) + " Bytes, weniger als die " +
                               std::to_string(head) + " vor den Texten");
    }
    if (size > DATA_TYPE_MAX_SIZE) {
        FailDataType(type, std::to_string(size) + " Bytes, mehr als ein Paket fasst");
    }
}

void DataTypeWriter::U16(uint16_t value)
{
    U8(static_cast<uint8_t>(value));
    U8(static_cast<uint8_t>(value >> 8));
}

void DataTypeWriter::U32(uint32_t value)
{
    U16(static_cast<uint16_t>(value));
    U16(static_cast<uint16_t>(value >> 16));
}

void DataTypeWriter::F32(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    U32(bits);
}

void DataTypeWriter::F64(double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    U32(static_cast<uint32_t>(bits));
    U32(static_cast<uint32_t>(bits >> 32));
}

void DataTypeWriter::Bytes(const void* data, size_t count)
{
    const auto* p = static_cast<const uint8_t*>(data);
    bytes_.insert(bytes_.end(), p, p + count);
}

void DataTypeWriter::Text(std::string_view text)
{
    Bytes(text.data(), text.size());
    U8(0);
}

std::string_view CutText(std::string_view text, int limit)
{
    return limit > 0 ? text.substr(0, static_cast<size_t>(limit)) : text;
}
