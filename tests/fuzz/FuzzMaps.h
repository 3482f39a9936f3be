#pragma once

#include <unistd.h>

#include <string>
#include <vector>

#include "draw/model/CSummaryInfo.h"
#include "tests/draw/TestMaps.h"
#include "tests/fuzz/FuzzTarget.h"

// Every text the summary sheet and `orvi info` show of a summary.
inline void ReadSummaryTexts(const CSummaryInfo& s)
{
    for (const std::string& text :
         {s.GetTitle(), s.GetSubject(), s.GetAuthor(), s.GetKeywords(), s.GetComments(),
          s.GetTemplate(), s.GetLastAuthor(), s.GetRevision(), s.GetAppName(), s.GetEditTime(),
          s.GetLastPrinted(), s.GetCreated(), s.GetLastSaved(), s.GetPageCount(), s.GetWordCount(),
          s.GetCharCount(), s.GetSecurity()}) {
        (void)text;
    }
    (void)s.CodePage();
}

// A map with a shape and an embedded object, for readers that must leave a document as it
// was when their input is damaged.
inline void FillMap(CDrawDoc& doc)
{
    AddShape(doc, CDrawRect::rectangle, {10, 10, 110, 60});
    AddEmbedded(doc, {200, 200, 0, 0}, "notes.bin", {1, 2, 3});
}

// What a map holds: its "Contents" and the number of its items.
struct MapState {
    std::vector<uint8_t> contents;
    size_t items;
    friend bool operator==(const MapState&, const MapState&) = default;
};

inline MapState StateOf(CDrawDoc& doc)
{
    return {StoredContents(doc), doc.Items().size()};
}

// Files of the process that are removed when it ends.
class FuzzFiles {
public:
    std::string Path(const char* tag)
    {
        paths_.push_back(FuzzTempPath(tag));
        return paths_.back();
    }
    ~FuzzFiles()
    {
        for (const std::string& path : paths_) {
            unlink(path.c_str());
        }
    }

private:
    std::vector<std::string> paths_;
};
