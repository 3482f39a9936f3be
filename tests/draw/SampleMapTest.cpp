#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "draw/model/CSummaryInfo.h"
#include "framework/Archive.h"
#include "framework/CompoundFile.h"
#include "tests/TempDir.h"
#include "tests/draw/SampleMap.h"

namespace {

// The golden map and the readable dump of its "Contents" are written by the program:
// ORVI_UPDATE_GOLDEN=1 writes both anew.
const std::string kGolden = ORVI_TEST_DATA "/orvg/every-kind.orvg";
const std::string kDump = ORVI_TEST_DATA "/orvg/every-kind.contents.txt";

std::vector<uint8_t> Contents(CDrawDoc& doc)
{
    MemoryOutputStream out;
    Archive ar(out);
    doc.Serialize(ar);
    return out.bytes();
}

// "Contents" part by part, as the document writes it, in hex with a label per part.
std::string ContentsDump(const CDrawDoc& doc, std::vector<uint8_t>& bytes)
{
    MemoryOutputStream out;
    Archive ar(out);
    std::ostringstream text;
    text << "# The stream \"Contents\" of every-kind.orvg: offset, bytes (hex), what they are.\n"
         << "# A tag FF FF starts a class written for the first time (schema, name length,\n"
         << "# name); 0x8000 | n refers to class n; a lone number refers to an object.\n";
    size_t from = 0;
    auto part = [&](const std::string& label) {
        const std::vector<uint8_t>& all = out.bytes();
        for (size_t line = from; line < all.size(); line += 16) {
            char offset[24];
            std::snprintf(offset, sizeof offset, "%04zx ", line);
            std::string hex = offset;
            for (size_t i = line; i < std::min(line + 16, all.size()); ++i) {
                char digits[4];
                std::snprintf(digits, sizeof digits, " %02x", all[i]);
                hex += digits;
            }
            if (line == from) {
                hex.resize(5 + 16 * 3 + 3, ' ');
                hex += label;
            }
            text << hex << "\n";
        }
        from = all.size();
    };
    ar.WriteU32(doc.PaperColour());
    part("paper colour");
    ar.WriteCount(static_cast<uint32_t>(doc.ObjectList().size()));
    part("object count");
    int n = 0;
    for (const CDrawObj* object : doc.ObjectList()) {
        ar.WriteObject(object);
        part("object " + std::to_string(++n) + ": " + object->GetRuntimeClass()->name);
    }
    ar.WriteU32(static_cast<uint32_t>(doc.Items().size()));
    part("item count");
    for (const auto& item : doc.Items()) {
        ar.WriteObject(item.get());
        part("item " + std::to_string(item->GetItemNumber()) + " (written before)");
    }
    bytes = out.bytes();
    return text.str();
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(SampleMap, GoldenContentsAndTheirDumpAreWhatTheProgramWrites)
{
    CDrawDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    BuildSampleMap(doc);
    std::vector<uint8_t> dumped;
    std::string dump = ContentsDump(doc, dumped);
    if (std::getenv("ORVI_UPDATE_GOLDEN")) {
        doc.GetSummaryInfo()->SetTitle("Beispielkarte");
        doc.GetSummaryInfo()->SetSubject("Jede Art von Objekt");
        doc.GetSummaryInfo()->SetAuthor("OrviEdit");
        doc.OnSaveDocument(kGolden);
        std::ofstream(kDump) << dump;
    }
    CompoundStorage file = ReadCompoundFile(kGolden);
    ASSERT_TRUE(file.Stream("Contents"));
    EXPECT_EQ(*file.Stream("Contents"), Contents(doc));
    EXPECT_EQ(dumped, Contents(doc));
    EXPECT_EQ(ReadText(kDump), dump);
    EXPECT_EQ(file.storages.size(), 5u);
}

TEST(SampleMap, ReloadsAsWrittenWithItsPictures)
{
    CDrawDoc doc;
    doc.OnOpenDocument(kGolden);
    CDrawDoc built;
    BuildSampleMap(built);
    ASSERT_EQ(doc.Items().size(), built.Items().size());
    for (size_t i = 0; i < doc.Items().size(); ++i) {
        EXPECT_EQ(doc.Items()[i]->GetMimeType(), built.Items()[i]->GetMimeType()) << i;
        EXPECT_EQ(doc.Items()[i]->GetName(), built.Items()[i]->GetName()) << i;
        EXPECT_EQ(doc.Items()[i]->GetType(), built.Items()[i]->GetType()) << i;
        CSize a, b;
        EXPECT_EQ(doc.Items()[i]->GetExtent(a), built.Items()[i]->GetExtent(b)) << i;
        EXPECT_EQ(a, b) << i;
    }
    EXPECT_EQ(Contents(doc), Contents(built));
    EXPECT_EQ(doc.GetSummaryInfo()->GetTitle(), "Beispielkarte");
}

}  // namespace
