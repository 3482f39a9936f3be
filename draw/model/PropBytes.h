#pragma once

#include <cstdint>
#include <vector>

// Little-endian integers in property-set streams. The readers take a pointer to at least as
// many bytes as they decode; their callers check the bounds.

inline uint16_t PropU16At(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline uint32_t PropU32At(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline void AppendPropU16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

inline void AppendPropU32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<uint8_t>(v >> shift));
    }
}

// Overwrites the four bytes at `pos` of `out`, which must exist.
inline void PutPropU32(std::vector<uint8_t>& out, size_t pos, uint32_t v)
{
    for (int i = 0; i < 4; ++i) {
        out[pos + i] = static_cast<uint8_t>(v >> (8 * i));
    }
}
