#include "draw/model/CPropValue.h"

#include <cstring>
#include <stdexcept>

#include "draw/model/PropBytes.h"
#include "framework/ArchiveException.h"

namespace {

constexpr size_t kBad = SIZE_MAX;

std::vector<uint8_t> LittleEndian(uint64_t v, int bytes)
{
    std::vector<uint8_t> out;
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
    return out;
}

uint64_t FromLittleEndian(const std::vector<uint8_t>& data)
{
    uint64_t v = 0;
    for (size_t i = data.size(); i-- > 0;) {
        v = (v << 8) | data[i];
    }
    return v;
}

// Length of a single (non-vector) value of `type`; kBad when unknown or cut short.
size_t ScalarLength(uint32_t type, const uint8_t* data, size_t size)
{
    size_t fixed = kBad;
    uint64_t unit = 0;  // bytes per counted unit, for counted types
    switch (type) {
    case 0:
        fixed = 0;
        break;
    case 2:
    case 11:
        fixed = 2;
        break;
    case 3:
    case 4:
        fixed = 4;
        break;
    case 5:
    case 6:
    case 7:
    case 20:
    case 64:
        fixed = 8;
        break;
    case 72:
        fixed = 16;
        break;
    case 8:
    case 30:
    case 65:
    case 66:
    case 67:
    case 68:
    case 69:
    case 70:
    case 71:
    case 73:
    case 74:
    case 75:
        unit = 1;
        break;
    case 31:
        unit = 2;
        break;
    default:
        return kBad;
    }
    if (unit == 0) {
        return fixed <= size ? fixed : kBad;
    }
    if (size < 4) {
        return kBad;
    }
    uint64_t length = 4 + unit * PropU32At(data);
    return length <= size ? static_cast<size_t>(length) : kBad;
}

}  // namespace

size_t CPropValue::DataLength(uint32_t type, const uint8_t* data, size_t size)
{
    if ((type & PROP_VECTOR) == 0) {
        return ScalarLength(type, data, size);
    }
    uint32_t element = type & ~static_cast<uint32_t>(PROP_VECTOR);
    // Every known element takes at least 2 bytes, so the loop below runs at most size / 2
    // times whatever the count says. A vector of nothing has no such bound.
    if (element == PROP_EMPTY || size < 4) {
        return kBad;
    }
    uint32_t count = PropU32At(data);
    size_t pos = 4;
    for (uint32_t i = 0; i < count; ++i) {
        size_t length;
        if (element == PROP_VARIANT) {
            if (size - pos < 4) {
                return kBad;
            }
            uint32_t inner = PropU32At(data + pos);
            if (inner == PROP_VARIANT || (inner & PROP_VECTOR) != 0) {
                return kBad;
            }
            length = ScalarLength(inner, data + pos + 4, size - pos - 4);
            if (length == kBad) {
                return kBad;
            }
            length += 4;
        } else {
            length = ScalarLength(element, data + pos, size - pos);
            if (length == kBad) {
                return kBad;
            }
        }
        pos += length;
    }
    return pos;
}

CPropValue::CPropValue(uint32_t id, uint32_t type, std::vector<uint8_t> data) : id_(id)
{
    Set(type, std::move(data));
}

void CPropValue::Set(uint32_t type, std::vector<uint8_t> data)
{
    if (DataLength(type, data.data(), data.size()) != data.size()) {
        throw std::invalid_argument("property " + std::to_string(id_) +
                                    ": data is not one value of type " + std::to_string(type));
    }
    type_ = type;
    data_ = std::move(data);
}

CPropValue CPropValue::I2(uint32_t id, int16_t value)
{
    return CPropValue(id, PROP_I2, LittleEndian(static_cast<uint16_t>(value), 2));
}

CPropValue CPropValue::I4(uint32_t id, int32_t value)
{
    return CPropValue(id, PROP_I4, LittleEndian(static_cast<uint32_t>(value), 4));
}

CPropValue CPropValue::FileTime(uint32_t id, uint64_t value)
{
    return CPropValue(id, PROP_FILETIME, LittleEndian(value, 8));
}

CPropValue CPropValue::String(uint32_t id, std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    std::vector<uint8_t> data;
    data.reserve(text.size() + 5);
    AppendPropU32(data, static_cast<uint32_t>(text.size() + 1));
    data.insert(data.end(), text.begin(), text.end());
    data.push_back(0);
    return CPropValue(id, PROP_LPSTR, std::move(data));
}

bool CPropValue::GetI2(int16_t& value) const
{
    if (type_ != PROP_I2) {
        return false;
    }
    value = static_cast<int16_t>(FromLittleEndian(data_));
    return true;
}

bool CPropValue::GetI4(int32_t& value) const
{
    if (type_ != PROP_I4) {
        return false;
    }
    value = static_cast<int32_t>(FromLittleEndian(data_));
    return true;
}

bool CPropValue::GetFileTime(uint64_t& value) const
{
    if (type_ != PROP_FILETIME) {
        return false;
    }
    value = FromLittleEndian(data_);
    return true;
}

bool CPropValue::GetString(std::string& text) const
{
    if (type_ != PROP_LPSTR) {
        return false;
    }
    const char* chars = reinterpret_cast<const char*>(data_.data()) + 4;
    size_t count = data_.size() - 4;
    text.assign(chars, strnlen(chars, count));
    return true;
}

void CPropValue::AppendTo(std::vector<uint8_t>& out) const
{
    AppendPropU32(out, type_);
    out.insert(out.end(), data_.begin(), data_.end());
    out.resize(out.size() + (4 - data_.size() % 4) % 4, 0);
}

CPropValue CPropValue::Read(uint32_t id, const uint8_t* bytes, size_t size)
{
    if (size < 4) {
        throw ArchiveException(ArchiveException::BadFormat,
                               "property " + std::to_string(id) + ": type field cut short");
    }
    uint32_t type = PropU32At(bytes);
    size_t length = DataLength(type, bytes + 4, size - 4);
    if (length == kBad) {
        throw ArchiveException(ArchiveException::BadFormat,
                               "property " + std::to_string(id) + " of type " +
                                   std::to_string(type) +
                                   ": unknown type or data that does not fit in its section");
    }
    return CPropValue(id, type, std::vector<uint8_t>(bytes + 4, bytes + 4 + length));
}
