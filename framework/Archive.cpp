#include "framework/Archive.h"

#include <cstring>
#include <memory>

#include "framework/CObject.h"
#include "framework/ClassRegistry.h"

namespace {

constexpr uint8_t kLongString = 0xFF;
constexpr uint16_t kLongerString = 0xFFFF;
constexpr uint16_t kWideStringMarker = 0xFFFE;

constexpr uint16_t kNullTag = 0;
constexpr uint16_t kNewClassTag = 0xFFFF;
constexpr uint16_t kClassTag = 0x8000;
constexpr uint16_t kBigObjectTag = 0x7FFF;
constexpr uint32_t kBigClassTag = 0x80000000;
constexpr uint32_t kMaxShortNumber = 0x7FFE;
constexpr uint32_t kMaxNumber = 0x3FFFFFFE;

[[noreturn]] void BadFormat(const std::string& detail)
{
    throw ArchiveException(ArchiveException::BadFormat, detail);
}

// A name from a file, fit for an error message.
std::string Printable(const std::string& name)
{
    std::string text;
    for (char c : name.substr(0, 40)) {
        text += (c >= 0x20 && c < 0x7F) ? c : '?';
    }
    return text;
}

}  // namespace

void Archive::Read(void* buffer, size_t size)
{
    if (in_->Read(buffer, size) != size) {
        throw ArchiveException(ArchiveException::EndOfFile, "unexpected end of file");
    }
}

void Archive::WriteU16(uint16_t v)
{
    uint8_t b[2] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
    Write(b, 2);
}

void Archive::WriteU32(uint32_t v)
{
    uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                    static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)};
    Write(b, 4);
}

void Archive::WriteDouble(double v)
{
    uint64_t bits;
    std::memcpy(&bits, &v, 8);
    WriteU32(static_cast<uint32_t>(bits));
    WriteU32(static_cast<uint32_t>(bits >> 32));
}

uint8_t Archive::ReadU8()
{
    uint8_t v;
    Read(&v, 1);
    return v;
}

uint16_t Archive::ReadU16()
{
    uint8_t b[2];
    Read(b, 2);
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
}

uint32_t Archive::ReadU32()
{
    uint8_t b[4];
    Read(b, 4);
    return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
           (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

double Archive::ReadDouble()
{
    uint64_t low = ReadU32();
    uint64_t bits = low | (static_cast<uint64_t>(ReadU32()) << 32);
    double v;
    std::memcpy(&v, &bits, 8);
    return v;
}

void Archive::WriteCount(uint32_t count)
{
    if (count < 0xFFFF) {
        WriteU16(static_cast<uint16_t>(count));
    } else {
        WriteU16(0xFFFF);
        WriteU32(count);
    }
}

uint32_t Archive::ReadCount()
{
    uint16_t count = ReadU16();
    return count == 0xFFFF ? ReadU32() : count;
}

void Archive::RequireEntries(uint64_t count, size_t entrySize, const char* what) const
{
    if (entrySize != 0 && count > Remaining() / entrySize) {
        throw ArchiveException(ArchiveException::BadFormat,
                               std::string(what) + ": " + std::to_string(count) +
                                   " entries do not fit in the rest of the file");
    }
}

void Archive::WriteString(std::string_view text)
{
    size_t length = text.size();
    if (length < kLongString) {
        WriteU8(static_cast<uint8_t>(length));
    } else if (length < kWideStringMarker) {
        WriteU8(kLongString);
        WriteU16(static_cast<uint16_t>(length));
    } else {
        WriteU8(kLongString);
        WriteU16(kLongerString);
        WriteU32(static_cast<uint32_t>(length));
    }
    Write(text.data(), length);
}

std::string Archive::ReadString()
{
    uint32_t length = ReadU8();
    if (length == kLongString) {
        length = ReadU16();
        if (length == kWideStringMarker) {
            BadFormat("string: wide strings are not supported");
        }
        if (length == kLongerString) {
            length = ReadU32();
        }
    }
    RequireEntries(length, 1, "string");
    std::string text(length, '\0');
    Read(text.data(), length);
    return text;
}

uint32_t Archive::NextNumber()
{
    if (nextNumber_ > kMaxNumber) {
        BadFormat("too many objects in one archive");
    }
    return nextNumber_++;
}

void Archive::WriteObject(const CObject* object)
{
    auto writeNumber = [this](uint32_t number, bool isClass) {
        if (number <= kMaxShortNumber) {
            WriteU16(static_cast<uint16_t>(isClass ? (kClassTag | number) : number));
        } else {
            WriteU16(kBigObjectTag);
            WriteU32(isClass ? (kBigClassTag | number) : number);
        }
    };
    if (!object) {
        WriteU16(kNullTag);
        return;
    }
    if (auto known = stored_.find(object); known != stored_.end()) {
        writeNumber(known->second, false);
        return;
    }
    const CRuntimeClass* cls = object->GetRuntimeClass();
    if (auto known = stored_.find(cls); known != stored_.end()) {
        writeNumber(known->second, true);
    } else {
        std::string_view name = cls->name;
        WriteU16(kNewClassTag);
        WriteU16(cls->schema);
        WriteU16(static_cast<uint16_t>(name.size()));
        Write(name.data(), name.size());
        stored_[cls] = NextNumber();
    }
    stored_[object] = NextNumber();
    // Storing leaves the object as it is; Serialize serves both directions.
    const_cast<CObject*>(object)->Serialize(*this);
}

const CRuntimeClass* Archive::ReadClass(uint32_t number, bool newClass)
{
    if (!newClass) {
        if (number >= loaded_.size() || !loaded_[number].cls) {
            BadFormat("class reference to number " + std::to_string(number) +
                      ", which names no class");
        }
        return loaded_[number].cls;
    }
    uint16_t schema = ReadU16();
    uint16_t length = ReadU16();
    RequireEntries(length, 1, "class name");
    std::string name(length, '\0');
    Read(name.data(), length);
    const CRuntimeClass* cls = classes_ ? classes_->Find(name) : nullptr;
    if (!cls) {
        BadFormat("unknown class \"" + Printable(name) + "\"");
    }
    if (schema != cls->schema) {
        BadFormat("class " + name + " with schema " + std::to_string(schema) + ", expected " +
                  std::to_string(cls->schema));
    }
    NextNumber();
    loaded_.push_back({cls, nullptr});
    return cls;
}

Archive::ObjectRef Archive::ReadObject(const CRuntimeClass* required)
{
    uint16_t tag = ReadU16();
    bool isClass = false;
    bool newClass = false;
    uint32_t number = 0;
    if (tag == kNewClassTag) {
        isClass = newClass = true;
    } else if (tag == kBigObjectTag) {
        uint32_t big = ReadU32();
        isClass = (big & kBigClassTag) != 0;
        number = big & ~kBigClassTag;
    } else {
        isClass = (tag & kClassTag) != 0;
        number = tag & ~kClassTag;
    }

    if (!isClass) {
        if (number == 0) {
            return {};
        }
        if (number >= loaded_.size() || !loaded_[number].object) {
            BadFormat("reference to number " + std::to_string(number) +
                      ", which names no object read before");
        }
        CObject* object = loaded_[number].object;
        if (!object->IsKindOf(required)) {
            BadFormat(std::string("reference to a ") + object->GetRuntimeClass()->name +
                      " where a " + required->name + " is required");
        }
        return {object, false};
    }

    const CRuntimeClass* cls = ReadClass(number, newClass);
    if (!cls->IsDerivedFrom(required)) {
        BadFormat(std::string("a ") + cls->name + " where a " + required->name + " is required");
    }
    NextNumber();
    std::unique_ptr<CObject> object(cls->create());
    size_t index = loaded_.size();
    loaded_.push_back({nullptr, object.get()});
    try {
        object->Serialize(*this);
    } catch (...) {
        loaded_[index].object = nullptr;
        throw;
    }
    return {object.release(), true};
}
