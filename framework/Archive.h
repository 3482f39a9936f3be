#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "framework/ArchiveException.h"
#include "framework/ByteStream.h"

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

private:
    InputStream* in_ = nullptr;
    OutputStream* out_ = nullptr;
};
