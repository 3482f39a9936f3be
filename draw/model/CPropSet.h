#pragma once

#include <cstdint>
#include <vector>

#include "draw/model/CPropSection.h"

// A property set, as stored in one stream of a compound file. Stream layout, integers
// little-endian, offsets from the stream start:
//   uint16 byte order 0xFFFE, uint16 format version, uint32 OS version, 16 bytes class id,
//   uint32 section count, then per section its format id (16 bytes) and uint32 offset;
//   the sections follow, each starting on a multiple of 4.
inline constexpr uint16_t PROPSET_BYTE_ORDER = 0xFFFE;

class CPropSet {
public:
    uint16_t FormatVersion() const { return formatVersion_; }
    uint32_t OsVersion() const { return osVersion_; }
    const Fmtid& ClassId() const { return classId_; }
    void SetFormatVersion(uint16_t version) { formatVersion_ = version; }
    void SetOsVersion(uint32_t version) { osVersion_ = version; }
    void SetClassId(const Fmtid& id) { classId_ = id; }

    const std::vector<CPropSection>& Sections() const { return sections_; }
    // The first section with the format id `fmtid`, or null.
    CPropSection* GetSection(const Fmtid& fmtid);
    const CPropSection* GetSection(const Fmtid& fmtid) const;
    // Appends an empty section; the reference stays valid until the next AddSection or Read.
    CPropSection& AddSection(const Fmtid& fmtid);

    // The stream's bytes. Each section gets its dictionary if it has none (CPropSection).
    std::vector<uint8_t> Write();

    // Replaces header and sections by those of `bytes`. Throws ArchiveException when the
    // header is cut short (EndOfFile), on a byte order other than 0xFFFE, a section count or
    // offset that does not fit in the stream, or a damaged section (BadFormat); the set is
    // then left as it was. Never reads past the end of `bytes`.
    void Read(const std::vector<uint8_t>& bytes);

private:
    uint16_t formatVersion_ = 0;
    uint32_t osVersion_ = 0;
    Fmtid classId_{};
    std::vector<CPropSection> sections_;
};
