#include "framework/Archive.h"

#include <cstring>

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
