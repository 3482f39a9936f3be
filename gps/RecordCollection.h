#pragma once

#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "framework/Archive.h"
#include "gps/GridScalePreset.h"
#include "gps/MapCorrectionSet.h"
#include "gps/Records.h"

// Reserved bytes are not significant: they are ignored when read and written as zero.
inline void ClearReserved(MapCorrectionSet& e)
{
    std::memset(e.reserved1, 0, sizeof e.reserved1);
    std::memset(e.reserved2, 0, sizeof e.reserved2);
}
inline void ClearReserved(GridScalePreset& e)
{
    std::memset(e.reserved1, 0, sizeof e.reserved1);
    std::memset(e.reserved2, 0, sizeof e.reserved2);
}

// A growable array of fixed-size byte entries with a `name` field, addressed by index
// (the identity that combo boxes keep). Stored as a collection count followed by the
// entries byte for byte.
template <class Entry>
class RecordCollection {
    static_assert(std::is_trivially_copyable_v<Entry>);

public:
    int Count() const { return static_cast<int>(entries_.size()); }
    const Entry& At(int i) const { return entries_.at(static_cast<size_t>(i)); }
    Entry& At(int i) { return entries_.at(static_cast<size_t>(i)); }

    void Append(const Entry& entry) { entries_.push_back(entry); }

    // Returns false (and changes nothing) when i is not an index of an entry.
    bool RemoveAt(int i)
    {
        if (i < 0 || i >= Count()) {
            return false;
        }
        entries_.erase(entries_.begin() + i);
        return true;
    }

    void Clear() { entries_.clear(); }

    // The entries' names in index order, read up to their first zero byte (raw 8-bit text).
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        names.reserve(entries_.size());
        for (const Entry& e : entries_) {
            names.emplace_back(FieldText(e.name, sizeof e.name));
        }
        return names;
    }

    // Loading replaces the whole collection, and only when all its entries were read.
    void Serialize(Archive& archive, const char* what)
    {
        if (archive.IsStoring()) {
            archive.WriteCount(static_cast<uint32_t>(entries_.size()));
            if (!entries_.empty()) {
                archive.Write(entries_.data(), entries_.size() * sizeof(Entry));
            }
            return;
        }
        uint32_t count = archive.ReadCount();
        archive.RequireEntries(count, sizeof(Entry), what);
        std::vector<Entry> loaded(count);
        if (count > 0) {
            archive.Read(loaded.data(), loaded.size() * sizeof(Entry));
        }
        for (Entry& e : loaded) {
            ClearReserved(e);
        }
        entries_ = std::move(loaded);
    }

private:
    std::vector<Entry> entries_;
};

using MapCorrectionSets = RecordCollection<MapCorrectionSet>;
using GridScalePresets = RecordCollection<GridScalePreset>;

// New entries are all zero bytes, then filled in.
template <class Entry>
Entry ZeroedEntry()
{
    Entry entry;
    std::memset(&entry, 0, sizeof entry);
    return entry;
}
