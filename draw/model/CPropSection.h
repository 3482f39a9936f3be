#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "draw/model/CPropValue.h"

// A format or class identifier (GUID) in its stream byte order: Data1 (uint32), Data2 and
// Data3 (uint16) little-endian, then the eight bytes of Data4.
using Fmtid = std::array<uint8_t, 16>;

// An entry of a section's dictionary: a property id and its name (8-bit, no terminator).
struct PropName {
    uint32_t id;
    std::string name;
};

// One section of a property set: its format identifier and its properties in list order.
//
// The list may hold one entry with id 0, the dictionary, which carries no value: its bytes
// come from the section name and the name list. Stream layout, offsets from the section
// start, integers little-endian:
//   uint32 section size (from the section start to the end of its last value)
//   uint32 number of properties, the dictionary included
//   (uint32 id, uint32 offset) per property, in list order
//   the values in list order: uint32 type, data, zero padding to a multiple of 4
// The dictionary is uint32 entry count, then per entry uint32 id, uint32 length and that many
// bytes (the name and its terminating zero); it has no type field and, as the last value, no
// padding.
class CPropSection {
public:
    explicit CPropSection(const Fmtid& fmtid) : fmtid_(fmtid) {}

    const Fmtid& GetFmtid() const { return fmtid_; }

    // The property `id`, or null when the section has none. Id 0 (the dictionary) has no
    // value and gives null.
    const CPropValue* Get(uint32_t id) const;
    // Replaces the value of an existing id in place. A new id goes after the last property,
    // ahead of a dictionary that ends the list, so that the dictionary stays last. Throws
    // std::invalid_argument for id 0.
    void Set(CPropValue value);

    // Every entry in list order, the dictionary included.
    const std::vector<CPropValue>& Properties() const { return properties_; }
    // The dictionary's entry for id 0; empty in this program's sections.
    const std::string& Name() const { return name_; }
    // The dictionary's other entries, in the order they were read.
    const std::vector<PropName>& Names() const { return names_; }

    // Section size and property count of the last read or write (0 before either).
    uint32_t Size() const { return size_; }
    uint32_t Count() const { return count_; }

    // Appends the section's bytes to `out` and records their size and count. First adds a
    // dictionary at the end of the list if there is none. Names are cut to 254 bytes and
    // their terminator. A dictionary that is not last is padded like a value.
    void AppendTo(std::vector<uint8_t>& out);

    // Reads a section from `bytes`, of which `size` bytes lie between the section start and
    // the end of the stream. Throws ArchiveException(BadFormat) when the section size, the
    // property count, an offset or a value does not fit, on a repeated id and on a value of
    // unknown type; never reads past `size` bytes.
    static CPropSection Read(const Fmtid& fmtid, const uint8_t* bytes, size_t size);

private:
    void AppendDictionary(std::vector<uint8_t>& out) const;
    void ReadDictionary(const uint8_t* bytes, size_t size);

    Fmtid fmtid_;
    std::vector<CPropValue> properties_;
    std::string name_;
    std::vector<PropName> names_;
    uint32_t size_ = 0;
    uint32_t count_ = 0;
};
