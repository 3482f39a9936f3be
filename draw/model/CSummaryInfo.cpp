#include "draw/model/CSummaryInfo.h"

#include <cinttypes>
#include <cstdio>

#include "framework/ArchiveException.h"

namespace {

constexpr uint64_t kFileTimePerMinute = 60 * FILETIME_PER_SECOND;

// Leading blanks, then decimal digits; saturates at 4294967295; no digits give 0.
uint32_t ParseRevision(const std::string& text)
{
    size_t i = text.find_first_not_of(" \t\n\v\f\r");
    uint64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min<uint64_t>(value * 10 + (text[i] - '0'), UINT32_MAX);
    }
    return static_cast<uint32_t>(value);
}

}  // namespace

CSummaryInfo::CSummaryInfo(Clock clock) : clock_(std::move(clock)), editStart_(clock_())
{
    set_.SetOsVersion(SUMMARY_OS_VERSION);
    set_.SetClassId(FMTID_SUMMARY_INFORMATION);
    CPropSection& s = set_.AddSection(FMTID_SUMMARY_INFORMATION);
    s.Set(CPropValue::I2(PID_CODEPAGE, SUMMARY_CODE_PAGE));
    for (uint32_t id = PID_TITLE; id <= PID_LASTAUTHOR; ++id) {
        s.Set(CPropValue::String(id, ""));
    }
    s.Set(CPropValue::String(PID_REVNUMBER, "0"));
    for (uint32_t id : {PID_EDITTIME, PID_LASTPRINTED, PID_LASTSAVE_DTM, PID_CREATE_DTM}) {
        s.Set(CPropValue::FileTime(id, 0));
    }
    for (uint32_t id : {PID_PAGECOUNT, PID_WORDCOUNT, PID_CHARCOUNT}) {
        s.Set(CPropValue::I4(id, 0));
    }
    s.Set(CPropValue::String(PID_APPNAME, ""));
    s.Set(CPropValue::I4(PID_SECURITY, 0));
}

void CSummaryInfo::SetString(uint32_t id, std::string_view text)
{
    Summary().Set(CPropValue::String(id, text));
}

std::string CSummaryInfo::GetString(uint32_t id) const
{
    std::string text;
    const CPropValue* value = Summary().Get(id);
    if (value && value->GetString(text)) {
        return text;
    }
    return {};
}

void CSummaryInfo::SetInteger(uint32_t id, int32_t n)
{
    Summary().Set(CPropValue::I4(id, n));
}

std::string CSummaryInfo::GetInteger(uint32_t id) const
{
    int32_t n;
    const CPropValue* value = Summary().Get(id);
    if (value && value->GetI4(n)) {
        return std::to_string(static_cast<uint32_t>(n));
    }
    return {};
}

uint64_t CSummaryInfo::GetFileTime(uint32_t id) const
{
    uint64_t t = 0;
    const CPropValue* value = Summary().Get(id);
    if (value && value->GetFileTime(t)) {
        return t;
    }
    return 0;
}

std::string CSummaryInfo::GetDate(uint32_t id) const
{
    return FormatFileTimeLocal(GetFileTime(id));
}

void CSummaryInfo::IncrementRevision()
{
    uint32_t next = ParseRevision(GetRevision()) + 1;
    SetString(PID_REVNUMBER, std::to_string(next));
}

void CSummaryInfo::StartEditClock()
{
    editStart_ = clock_();
}

void CSummaryInfo::AddEditClockToTotal()
{
    uint64_t now = clock_();
    uint64_t elapsed = now > editStart_ ? now - editStart_ : 0;
    Summary().Set(CPropValue::FileTime(PID_EDITTIME, GetFileTime(PID_EDITTIME) + elapsed));
}

std::string CSummaryInfo::GetEditTime() const
{
    uint64_t now = clock_();
    uint64_t elapsed = now > editStart_ ? now - editStart_ : 0;
    uint64_t minutes = (GetFileTime(PID_EDITTIME) + elapsed) / kFileTimePerMinute;
    char text[32];
    std::snprintf(text, sizeof text, "%" PRIu64 " min", minutes);
    return text;
}

void CSummaryInfo::StampPrintDate()
{
    Summary().Set(CPropValue::FileTime(PID_LASTPRINTED, clock_()));
}

void CSummaryInfo::StampCreateDate()
{
    Summary().Set(CPropValue::FileTime(PID_CREATE_DTM, clock_()));
}

void CSummaryInfo::StampSaveDate()
{
    Summary().Set(CPropValue::FileTime(PID_LASTSAVE_DTM, clock_()));
}

unsigned CSummaryInfo::CodePage() const
{
    int16_t codePage;
    const CPropValue* value = Summary().Get(PID_CODEPAGE);
    if (value && value->GetI2(codePage)) {
        return static_cast<uint16_t>(codePage);
    }
    return 0;
}

std::vector<uint8_t> CSummaryInfo::WriteStream()
{
    return set_.Write();
}

void CSummaryInfo::ReadStream(const std::vector<uint8_t>& bytes)
{
    CPropSet read;
    try {
        read.Read(bytes);
    } catch (const ArchiveException& e) {
        throw ArchiveException(e.kind(), std::string("summary information: ") + e.what());
    }
    if (!read.GetSection(FMTID_SUMMARY_INFORMATION)) {
        throw ArchiveException(ArchiveException::BadFormat,
                               "summary information: no section with the summary's format id");
    }
    set_ = std::move(read);
}
