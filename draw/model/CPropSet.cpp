#include "draw/model/CPropSet.h"

#include <algorithm>
#include <cstdio>

#include "draw/model/PropBytes.h"
#include "framework/ArchiveException.h"

namespace {

constexpr size_t kHeaderSize = 28;
constexpr size_t kSectionEntrySize = 20;

[[noreturn]] void FailPropertySet(const std::string& detail)
{
    throw ArchiveException(ArchiveException::BadFormat, "property set: " + detail);
}

}  // namespace

CPropSection* CPropSet::GetSection(const Fmtid& fmtid)
{
    auto it = std::find_if(sections_.begin(), sections_.end(),
                           [&](const CPropSection& s) { return s.GetFmtid() == fmtid; });
    return it == sections_.end() ? nullptr : &*it;
}

const CPropSection* CPropSet::GetSection(const Fmtid& fmtid) const
{
    return const_cast<CPropSet*>(this)->GetSection(fmtid);
}

CPropSection& CPropSet::AddSection(const Fmtid& fmtid)
{
    return sections_.emplace_back(fmtid);
}

std::vector<uint8_t> CPropSet::Write()
{
    std::vector<uint8_t> out;
    AppendPropU16(out, PROPSET_BYTE_ORDER);
    AppendPropU16(out, formatVersion_);
    AppendPropU32(out, osVersion_);
    out.insert(out.end(), classId_.begin(), classId_.end());
    AppendPropU32(out, static_cast<uint32_t>(sections_.size()));
    for (const CPropSection& section : sections_) {
        out.insert(out.end(), section.GetFmtid().begin(), section.GetFmtid().end());
        AppendPropU32(out, 0);  // the offset, filled in below
    }
    for (size_t i = 0; i < sections_.size(); ++i) {
        out.resize(out.size() + (4 - out.size() % 4) % 4, 0);
        PutPropU32(out, kHeaderSize + kSectionEntrySize * i + 16,
                   static_cast<uint32_t>(out.size()));
        sections_[i].AppendTo(out);
    }
    return out;
}

void CPropSet::Read(const std::vector<uint8_t>& bytes)
{
    const size_t size = bytes.size();
    if (size < kHeaderSize) {
        throw ArchiveException(ArchiveException::EndOfFile, "property set: header cut short (" +
                                                                std::to_string(size) + " bytes)");
    }
    const uint8_t* p = bytes.data();
    uint16_t byteOrder = PropU16At(p);
    if (byteOrder != PROPSET_BYTE_ORDER) {
        char detail[64];
        std::snprintf(detail, sizeof detail, "byte order 0x%04X is not 0xFFFE", byteOrder);
        FailPropertySet(detail);
    }
    CPropSet read;
    read.formatVersion_ = PropU16At(p + 2);
    read.osVersion_ = PropU32At(p + 4);
    std::copy(p + 8, p + 24, read.classId_.begin());
    uint32_t count = PropU32At(p + 24);
    if (count > (size - kHeaderSize) / kSectionEntrySize) {
        FailPropertySet(std::to_string(count) + " sections do not fit in a stream of " +
                        std::to_string(size) + " bytes");
    }
    const size_t listEnd = kHeaderSize + kSectionEntrySize * count;
    read.sections_.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* entry = p + kHeaderSize + kSectionEntrySize * i;
        Fmtid fmtid;
        std::copy(entry, entry + 16, fmtid.begin());
        uint32_t offset = PropU32At(entry + 16);
        if (offset < listEnd || offset >= size) {
            FailPropertySet("section " + std::to_string(i) + " at offset " +
                            std::to_string(offset) + " lies outside the stream's sections (" +
                            std::to_string(listEnd) + " to " + std::to_string(size) + ")");
        }
        read.sections_.push_back(CPropSection::Read(fmtid, p + offset, size - offset));
    }
    *this = std::move(read);
}
