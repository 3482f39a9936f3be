#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "draw/model/CPropSet.h"
#include "draw/model/FileTime.h"

// F29F85E0-4FF9-1068-AB91-08002B27B3D9, the format id of the summary section and the class
// id of the set, in stream byte order.
inline constexpr Fmtid FMTID_SUMMARY_INFORMATION = {0xE0, 0x85, 0x9F, 0xF2, 0xF9, 0x4F, 0x68, 0x10,
                                                    0xAB, 0x91, 0x08, 0x00, 0x2B, 0x27, 0xB3, 0xD9};

// The name of the compound file's stream that holds the summary: U+0005 "SummaryInformation".
inline constexpr char SUMMARY_STREAM_NAME[] = "\005SummaryInformation";

// The OS version a new summary records: a Windows version word of 5.1 (low byte major, high
// byte minor) with the platform word 2 (32-bit Windows) above it.
inline constexpr uint32_t SUMMARY_OS_VERSION = 0x00020105;
// The code page a new summary records; the program writes its strings in Windows-1252.
inline constexpr int16_t SUMMARY_CODE_PAGE = 1252;

// Property ids of the summary section.
enum SummaryPropId : uint32_t {
    PID_CODEPAGE = 1,
    PID_TITLE = 2,
    PID_SUBJECT = 3,
    PID_AUTHOR = 4,
    PID_KEYWORDS = 5,
    PID_COMMENTS = 6,
    PID_TEMPLATE = 7,
    PID_LASTAUTHOR = 8,
    PID_REVNUMBER = 9,
    PID_EDITTIME = 10,
    PID_LASTPRINTED = 11,
    PID_CREATE_DTM = 12,
    PID_LASTSAVE_DTM = 13,
    PID_PAGECOUNT = 14,
    PID_WORDCOUNT = 15,
    PID_CHARCOUNT = 16,
    PID_APPNAME = 18,
    PID_SECURITY = 0x80000002,
};

// The summary information of a map: a property set whose one section in use is the summary
// section, and the editing clock.
//
// The map document owns one and calls, in this order:
//   new map:  construct, StartEditClock, StampCreateDate, SetPageCount(1), SetAppName("Skizel")
//   open:     construct, StartEditClock, then while the file loads ReadStream with the bytes of
//             the stream SUMMARY_STREAM_NAME when there is one. When ReadStream throws, the
//             summary keeps its constructed content and loading goes on.
//   save:     StampSaveDate, IncrementRevision, SetLastAuthor(GetAuthor()),
//             AddEditClockToTotal, StartEditClock, then while the file is written
//             WriteStream into the stream SUMMARY_STREAM_NAME.
//   print:    StampPrintDate when a real print job starts (not for the preview); this does
//             not mark the document modified.
//
// Strings are held and given as 8-bit text in the section's code page (Windows-1252 in the
// summaries this program creates; CodePage tells); conversion is the caller's. Date texts
// come from the C library in the process locale.
class CSummaryInfo {
public:
    // Returns now as FILETIME.
    using Clock = std::function<uint64_t()>;

    // The constructed content: OS version SUMMARY_OS_VERSION, class id and section format id
    // FMTID_SUMMARY_INFORMATION, and the properties code page, title, subject, author,
    // keywords, comments, template, last author, revision "0", editing time, last printed,
    // last saved, created, page, word and character counts, application name and security,
    // in this order, empty or zero. The editing clock starts at construction.
    explicit CSummaryInfo(Clock clock = FileTimeNow);

    // Strings; a missing property or one of another type than 8-bit string reads as "".
    void SetTitle(std::string_view text) { SetString(PID_TITLE, text); }
    std::string GetTitle() const { return GetString(PID_TITLE); }
    void SetSubject(std::string_view text) { SetString(PID_SUBJECT, text); }
    std::string GetSubject() const { return GetString(PID_SUBJECT); }
    void SetAuthor(std::string_view text) { SetString(PID_AUTHOR, text); }
    std::string GetAuthor() const { return GetString(PID_AUTHOR); }
    void SetKeywords(std::string_view text) { SetString(PID_KEYWORDS, text); }
    std::string GetKeywords() const { return GetString(PID_KEYWORDS); }
    void SetComments(std::string_view text) { SetString(PID_COMMENTS, text); }
    std::string GetComments() const { return GetString(PID_COMMENTS); }
    void SetTemplate(std::string_view text) { SetString(PID_TEMPLATE, text); }
    std::string GetTemplate() const { return GetString(PID_TEMPLATE); }
    void SetLastAuthor(std::string_view text) { SetString(PID_LASTAUTHOR, text); }
    std::string GetLastAuthor() const { return GetString(PID_LASTAUTHOR); }
    void SetAppName(std::string_view text) { SetString(PID_APPNAME, text); }
    std::string GetAppName() const { return GetString(PID_APPNAME); }

    // The revision text plus one, as decimal. The text is read as an unsigned 32-bit
    // decimal after leading blanks: no digits count as 0, a larger number as 4294967295,
    // and 4294967295 plus one is 0.
    void IncrementRevision();
    std::string GetRevision() const { return GetString(PID_REVNUMBER); }

    // The editing clock: StartEditClock sets its start to now; AddEditClockToTotal adds the
    // time since then to the stored total (property 10, 100-ns units, modulo 2^64).
    void StartEditClock();
    void AddEditClockToTotal();
    // Whole minutes of the stored total plus the time since the start, "%lu min". A clock
    // that reads earlier than the start adds nothing.
    std::string GetEditTime() const;

    // Dates: the stamps store now; the getters give local time "%c", "" for 0 or missing.
    void StampPrintDate();
    std::string GetLastPrinted() const { return GetDate(PID_LASTPRINTED); }
    void StampCreateDate();
    std::string GetCreated() const { return GetDate(PID_CREATE_DTM); }
    void StampSaveDate();
    std::string GetLastSaved() const { return GetDate(PID_LASTSAVE_DTM); }

    // 32-bit integers, given as unsigned decimal ("%lu"), "" when missing.
    void SetPageCount(int32_t n) { SetInteger(PID_PAGECOUNT, n); }
    std::string GetPageCount() const { return GetInteger(PID_PAGECOUNT); }
    void SetWordCount(int32_t n) { SetInteger(PID_WORDCOUNT, n); }
    std::string GetWordCount() const { return GetInteger(PID_WORDCOUNT); }
    void SetCharCount(int32_t n) { SetInteger(PID_CHARCOUNT, n); }
    std::string GetCharCount() const { return GetInteger(PID_CHARCOUNT); }
    void SetSecurity(int32_t n) { SetInteger(PID_SECURITY, n); }
    std::string GetSecurity() const { return GetInteger(PID_SECURITY); }

    // The code page of the strings (property 1 as unsigned 16-bit), 0 when missing.
    unsigned CodePage() const;

    // The bytes of the stream SUMMARY_STREAM_NAME. Adds the section's dictionary, as the
    // last property, when it has none (13 bytes for an unnamed section).
    std::vector<uint8_t> WriteStream();
    // Replaces the property set by the one in `bytes`, keeping its header and property order;
    // properties this program does not use are kept and written back. Throws
    // ArchiveException (detail "summary information: ...") when the stream is damaged or has
    // no summary section; the summary is then left as it was. The editing clock is not
    // touched.
    void ReadStream(const std::vector<uint8_t>& bytes);

    const CPropSet& PropertySet() const { return set_; }

private:
    CPropSection& Summary() { return *set_.GetSection(FMTID_SUMMARY_INFORMATION); }
    const CPropSection& Summary() const { return *set_.GetSection(FMTID_SUMMARY_INFORMATION); }

    void SetString(uint32_t id, std::string_view text);
    std::string GetString(uint32_t id) const;
    void SetInteger(uint32_t id, int32_t n);
    std::string GetInteger(uint32_t id) const;
    std::string GetDate(uint32_t id) const;
    uint64_t GetFileTime(uint32_t id) const;  // 0 when missing or of another type

    Clock clock_;
    uint64_t editStart_;
    CPropSet set_;  // always holds a summary section
};
