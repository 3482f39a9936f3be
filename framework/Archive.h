#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "framework/ArchiveException.h"
#include "framework/ByteStream.h"

class ClassRegistry;
class CObject;
struct CRuntimeClass;
class Document;

// A little-endian binary archive over a byte stream, either loading or storing.
// Loading throws ArchiveException: EndOfFile when the data ends inside a value,
// BadFormat when a count cannot fit in what is left of the data.
class Archive {
public:
    explicit Archive(InputStream& in) : in_(&in) {}
    explicit Archive(OutputStream& out) : out_(&out) {}
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    bool IsStoring() const { return out_ != nullptr; }
    bool IsLoading() const { return in_ != nullptr; }

    void Write(const void* data, size_t size) { out_->Write(data, size); }
    // Reads exactly `size` bytes or throws EndOfFile.
    void Read(void* buffer, size_t size);
    // Reads up to `size` bytes and returns how many arrived.
    size_t ReadSome(void* buffer, size_t size) { return in_->Read(buffer, size); }
    uint64_t Remaining() const { return in_->Remaining(); }
    void Flush() { out_->Flush(); }

    void WriteU8(uint8_t v) { Write(&v, 1); }
    void WriteU16(uint16_t v);
    void WriteU32(uint32_t v);
    void WriteI16(int16_t v) { WriteU16(static_cast<uint16_t>(v)); }
    void WriteI32(int32_t v) { WriteU32(static_cast<uint32_t>(v)); }
    void WriteDouble(double v);

    uint8_t ReadU8();
    uint16_t ReadU16();
    uint32_t ReadU32();
    int16_t ReadI16() { return static_cast<int16_t>(ReadU16()); }
    int32_t ReadI32() { return static_cast<int32_t>(ReadU32()); }
    double ReadDouble();

    // The count of a collection: below 65535 as unsigned 16-bit, otherwise the 16-bit value
    // 65535 followed by the count as unsigned 32-bit.
    void WriteCount(uint32_t count);
    uint32_t ReadCount();

    // Throws BadFormat unless `count` entries of `entrySize` bytes can still follow.
    // `what` names the data in the error's detail.
    void RequireEntries(uint64_t count, size_t entrySize, const char* what) const;

    // A counted string: a length below 255 as one byte; a length up to 0xFFFD as the byte
    // 0xFF and a uint16; a longer one as 0xFF, the uint16 0xFFFF and a uint32; then the bytes
    // as they are, without terminator. Reading throws BadFormat for a length beyond the rest
    // of the data and for the wide-string marker (0xFF, 0xFFFE), which this program never
    // writes.
    void WriteString(std::string_view text);
    std::string ReadString();

    // The tagged object form. Classes and objects are numbered together from 1 in the order
    // they first appear. A null reference is the uint16 0; an object written before, its
    // number (uint16, or 0x7FFF and a uint32 above 32766); a new object, its class and then
    // its Serialize data. A class written before is 0x8000 | its number (or 0x7FFF and the
    // uint32 0x80000000 | number above 32766); a new class is 0xFFFF, its uint16 schema, the
    // uint16 length of its name and the name.
    void WriteObject(const CObject* object);

    // The result of ReadObject. `created` says the object was made by this read, and the
    // caller then owns it; otherwise `object` is a back-reference to an object read earlier
    // by this archive (or null), owned by whoever took it then, which must keep it alive
    // while this archive reads.
    struct ObjectRef {
        CObject* object = nullptr;
        bool created = false;
    };
    // Reads a tagged object reference whose class must be `required` or derive from it.
    // Throws BadFormat for an unknown class name, a schema other than the registered one, a
    // class of the wrong kind, or a number that was never assigned (or names a class where
    // an object is due); an object made by this call is destroyed when its own data throws.
    ObjectRef ReadObject(const CRuntimeClass* required);

    // The classes ReadObject may create (not owned; without one every class is unknown).
    void SetClassRegistry(const ClassRegistry* classes) { classes_ = classes; }
    // The document that objects read belong to (not owned; may be null).
    void SetDocument(Document* document) { document_ = document; }
    Document* GetDocument() const { return document_; }

private:
    const CRuntimeClass* ReadClass(uint32_t tag, bool newClass);
    uint32_t NextNumber();

    InputStream* in_ = nullptr;
    OutputStream* out_ = nullptr;

    // Tagged objects: the numbers given while storing, and what each number stands for
    // while loading (index 0 unused).
    struct Numbered {
        const CRuntimeClass* cls = nullptr;
        CObject* object = nullptr;
    };
    const ClassRegistry* classes_ = nullptr;
    Document* document_ = nullptr;
    uint32_t nextNumber_ = 1;
    std::unordered_map<const void*, uint32_t> stored_;
    std::vector<Numbered> loaded_{1};
};
