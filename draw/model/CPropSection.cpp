#include "draw/model/CPropSection.h"

#include <cstring>
#include <set>
#include <stdexcept>

#include "draw/model/PropBytes.h"
#include "framework/ArchiveException.h"

namespace {

constexpr size_t kMaxNameBytes = 255;  // a dictionary name with its terminator

[[noreturn]] void FailSection(const std::string& detail)
{
    throw ArchiveException(ArchiveException::BadFormat, "property section: " + detail);
}

bool IsDictionary(const CPropValue& value)
{
    return value.Id() == 0;
}

}  // namespace

const CPropValue* CPropSection::Get(uint32_t id) const
{
    if (id == 0) {
        return nullptr;
    }
    for (const CPropValue& value : properties_) {
        if (value.Id() == id) {
            return &value;
        }
    }
    return nullptr;
}

void CPropSection::Set(CPropValue value)
{
    if (value.Id() == 0) {
        throw std::invalid_argument("property id 0 is the dictionary");
    }
    for (CPropValue& existing : properties_) {
        if (existing.Id() == value.Id()) {
            existing = std::move(value);
            return;
        }
    }
    auto at = properties_.end();
    if (!properties_.empty() && IsDictionary(properties_.back())) {
        --at;
    }
    properties_.insert(at, std::move(value));
}

void CPropSection::AppendTo(std::vector<uint8_t>& out)
{
    bool hasDictionary = false;
    for (const CPropValue& value : properties_) {
        hasDictionary = hasDictionary || IsDictionary(value);
    }
    if (!hasDictionary) {
        properties_.emplace_back(0, PROP_EMPTY, std::vector<uint8_t>());
    }

    // The values first, to learn their offsets.
    std::vector<uint8_t> values;
    std::vector<uint32_t> offsets;
    const uint32_t tableEnd = 8 + 8 * static_cast<uint32_t>(properties_.size());
    for (size_t i = 0; i < properties_.size(); ++i) {
        offsets.push_back(tableEnd + static_cast<uint32_t>(values.size()));
        if (IsDictionary(properties_[i])) {
            AppendDictionary(values);
            if (i + 1 < properties_.size()) {
                values.resize(values.size() + (4 - values.size() % 4) % 4, 0);
            }
        } else {
            properties_[i].AppendTo(values);
        }
    }

    count_ = static_cast<uint32_t>(properties_.size());
    size_ = tableEnd + static_cast<uint32_t>(values.size());
    AppendPropU32(out, size_);
    AppendPropU32(out, count_);
    for (size_t i = 0; i < properties_.size(); ++i) {
        AppendPropU32(out, properties_[i].Id());
        AppendPropU32(out, offsets[i]);
    }
    out.insert(out.end(), values.begin(), values.end());
}

void CPropSection::AppendDictionary(std::vector<uint8_t>& out) const
{
    auto appendEntry = [&out](uint32_t id, const std::string& name) {
        size_t length = std::min(name.size(), kMaxNameBytes - 1);
        AppendPropU32(out, id);
        AppendPropU32(out, static_cast<uint32_t>(length + 1));
        out.insert(out.end(), name.begin(), name.begin() + length);
        out.push_back(0);
    };
    AppendPropU32(out, static_cast<uint32_t>(names_.size() + 1));
    appendEntry(0, name_);
    for (const PropName& entry : names_) {
        appendEntry(entry.id, entry.name);
    }
}

CPropSection CPropSection::Read(const Fmtid& fmtid, const uint8_t* bytes, size_t size)
{
    if (size < 8) {
        FailSection("section header cut short");
    }
    CPropSection section(fmtid);
    section.size_ = PropU32At(bytes);
    section.count_ = PropU32At(bytes + 4);
    if (section.size_ < 8 || section.size_ > size) {
        FailSection("section size " + std::to_string(section.size_) + " does not fit in the " +
                    std::to_string(size) + " bytes after its start");
    }
    const uint32_t end = section.size_;
    if (section.count_ > (end - 8) / 8) {
        FailSection(std::to_string(section.count_) + " properties do not fit in a section of " +
                    std::to_string(end) + " bytes");
    }
    const uint32_t tableEnd = 8 + 8 * section.count_;

    std::set<uint32_t> seen;
    section.properties_.reserve(section.count_);
    for (uint32_t i = 0; i < section.count_; ++i) {
        uint32_t id = PropU32At(bytes + 8 + 8 * i);
        uint32_t offset = PropU32At(bytes + 12 + 8 * i);
        if (offset < tableEnd || offset >= end) {
            FailSection("property " + std::to_string(id) + " at offset " + std::to_string(offset) +
                        " lies outside the values of its section (" + std::to_string(tableEnd) +
                        " to " + std::to_string(end) + ")");
        }
        if (!seen.insert(id).second) {
            FailSection("property " + std::to_string(id) + " appears twice");
        }
        if (id == 0) {
            section.ReadDictionary(bytes + offset, end - offset);
            section.properties_.emplace_back(0, PROP_EMPTY, std::vector<uint8_t>());
        } else {
            section.properties_.push_back(CPropValue::Read(id, bytes + offset, end - offset));
        }
    }
    return section;
}

void CPropSection::ReadDictionary(const uint8_t* bytes, size_t size)
{
    if (size < 4) {
        FailSection("dictionary cut short");
    }
    uint32_t entries = PropU32At(bytes);
    if (entries > (size - 4) / 8) {
        FailSection("dictionary of " + std::to_string(entries) +
                    " entries does not fit in its section");
    }
    size_t pos = 4;
    for (uint32_t i = 0; i < entries; ++i) {
        if (size - pos < 8) {
            FailSection("dictionary entry " + std::to_string(i) + " cut short");
        }
        uint32_t id = PropU32At(bytes + pos);
        uint32_t length = PropU32At(bytes + pos + 4);
        pos += 8;
        if (length > size - pos) {
            FailSection("dictionary name of " + std::to_string(length) + " bytes does not fit");
        }
        const char* chars = reinterpret_cast<const char*>(bytes + pos);
        std::string name(chars, strnlen(chars, length));
        pos += length;
        if (id == 0) {
            name_ = std::move(name);
        } else {
            names_.push_back({id, std::move(name)});
        }
    }
}
