#pragma once

// The bytes of a map's "Contents" stream, pieced together by tests.

#include <initializer_list>
#include <string>
#include <vector>

#include "framework/Archive.h"
#include "framework/ByteStream.h"
#include "framework/CObject.h"

inline std::vector<uint8_t> Cat(std::initializer_list<std::vector<uint8_t>> parts)
{
    std::vector<uint8_t> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

inline std::vector<uint8_t> NewClass(const std::string& name)
{
    std::vector<uint8_t> bytes = {0xFF, 0xFF, 0, 0, static_cast<uint8_t>(name.size()), 0};
    for (char c : name) {
        bytes.push_back(static_cast<uint8_t>(c));
    }
    return bytes;
}

inline std::vector<uint8_t> Record(CObject& object)
{
    MemoryOutputStream out;
    Archive ar(out);
    object.Serialize(ar);
    return out.bytes();
}

inline const std::vector<uint8_t> kWhite = {0xFF, 0xFF, 0xFF, 0};
inline const std::vector<uint8_t> kNoItems = {0, 0, 0, 0};
