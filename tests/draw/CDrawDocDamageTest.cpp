// Damaged map files: every cut and every impossible value is refused, nothing half-loaded.

#include <algorithm>
#include <functional>

#include <gtest/gtest.h>

#include "draw/model/CDrawDoc.h"
#include "draw/model/CSummaryInfo.h"
#include "framework/CompoundFile.h"
#include "tests/TempDir.h"
#include "tests/draw/ContentsBytes.h"
#include "tests/draw/DrawTestSupport.h"
#include "tests/draw/TestMaps.h"

namespace {

void ExpectRefused(const std::vector<uint8_t>& contents, const std::string& legend)
{
    CDrawDoc doc;
    CDrawRect* kept = AddShape(doc, CDrawRect::rectangle, {1, 2, 3, 4});
    doc.SetPaperColour(0x111111);
    MemoryInputStream in(contents);
    Archive ar(in);
    try {
        doc.Serialize(ar);
        ADD_FAILURE() << legend << ": loaded";
    } catch (const ArchiveException& e) {
        EXPECT_TRUE(e.kind() == ArchiveException::BadFormat ||
                    e.kind() == ArchiveException::EndOfFile)
            << legend << ": " << e.what();
    }
    EXPECT_EQ(Objects(doc), std::vector<CDrawObj*>{kept}) << legend;
    EXPECT_EQ(doc.PaperColour(), 0x111111u) << legend;
    EXPECT_TRUE(doc.Items().empty()) << legend;
}

TEST(CDrawDoc, ContentsCutShortAnywhereIsRefused)
{
    CDrawDoc doc;
    AddEveryKind(doc);
    std::vector<uint8_t> contents = StoredContents(doc);
    for (size_t keep = 0; keep < contents.size(); ++keep) {
        ExpectRefused(std::vector<uint8_t>(contents.begin(), contents.begin() + keep),
                      "cut at " + std::to_string(keep));
    }
}

TEST(CDrawDoc, DamagedContentsAreRefused)
{
    CDrawDoc sample;
    CDrawRect* rect = AddShape(sample, CDrawRect::rectangle, {0, 0, 5, 5});
    std::vector<uint8_t> rectRecord = Record(*rect);
    CDrawDoc polyDoc;
    auto* poly = AddNew<CDrawPoly>(polyDoc, CRect{}, CDrawPoly::polygon);
    poly->AppendVertex({1, 1});
    poly->AppendVertex({2, 5});
    std::vector<uint8_t> polyContents = StoredContents(polyDoc);
    const size_t polyCount = 4 + 2 + NewClass("CDrawPoly").size() + 50;
    CDrawDoc oleDoc;
    AddEmbedded(oleDoc, {0, 0, 0, 0}, "a.bin", {1});
    std::vector<uint8_t> oleContents = StoredContents(oleDoc);
    const size_t itemType = oleContents.size() - 6 - 2;

    struct Case {
        const char* legend;
        std::vector<uint8_t> contents;
    } cases[] = {
        {"unknown class", Cat({kWhite, {1, 0}, NewClass("CDrawRecX"), rectRecord, kNoItems})},
        {"class of the wrong kind in the list",
         Cat({kWhite, {1, 0}, NewClass("CDrawItem"), {1, 0, 0, 0, 2, 0}, kNoItems})},
        {"reference to an unassigned number", Cat({kWhite, {1, 0}, {5, 0}, kNoItems})},
        {"null entry in the list", Cat({kWhite, {1, 0}, {0, 0}, kNoItems})},
        {"object listed twice",
         Cat({kWhite, {2, 0}, NewClass("CDrawRect"), rectRecord, {2, 0}, kNoItems})},
        {"object count beyond the stream", Cat({kWhite, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F}})},
        {"item count beyond the stream", Cat({kWhite, {0, 0}, {0xFF, 0xFF, 0xFF, 0x7F}})},
        {"rectangle in the item list",
         Cat({kWhite, {0, 0}, {1, 0, 0, 0}, NewClass("CDrawRect"), rectRecord})},
        {"polygon over its capacity",
         [&] {
             auto b = polyContents;
             b[polyCount] = 11;
             return b;
         }()},
        {"vertex count beyond the stream",
         [&] {
             auto b = polyContents;
             b[polyCount] = 200;
             b[polyCount + 2] = 200;
             return b;
         }()},
        {"text longer than the stream",
         [&] {
             CDrawDoc textDoc;
             AddNew<CDrawText>(textDoc, CRect{0, 0, 10, 10})->SetText("abc");
             auto b = StoredContents(textDoc);
             b[4 + 2 + NewClass("CDrawText").size() + 110] = 0xFE;
             return b;
         }()},
        {"item of an unknown kind",
         [&] {
             auto b = oleContents;
             b[itemType] = 9;
             return b;
         }()},
        {"one item in two objects",
         [&] {
             CDrawDoc twoDoc;
             CDrawOleObj* first = AddEmbedded(twoDoc, {0, 0, 0, 0}, "a.bin", {1});
             AddNew<CDrawOleObj>(twoDoc, CRect{5, 5, 9, 9});
             auto b = StoredContents(twoDoc);
             // The second object's item reference: a null one becomes item number 4.
             size_t secondItem = b.size() - 4 - 2 - 2;
             EXPECT_EQ(b[secondItem], 0);
             b[secondItem] = 4;
             (void)first;
             return b;
         }()},
    };
    for (const Case& c : cases) {
        ExpectRefused(c.contents, c.legend);
    }
}

TEST(CDrawDoc, DamagedFilesAreRefusedAndLeaveTheDocument)
{
    TempDir dir;
    CDrawDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    AddEveryKind(doc);
    doc.OnSaveDocument(dir.File("good.orvg"));
    const CompoundStorage good = ReadCompoundFile(dir.File("good.orvg"));

    struct Case {
        const char* legend;
        std::function<void(CompoundStorage&)> damage;
    } cases[] = {
        {"no Contents", [](CompoundStorage& s) { s.streams.erase("Contents"); }},
        {"no storage of an item", [](CompoundStorage& s) { s.storages.erase("Embedding 1"); }},
        {"no Data of an embedded item",
         [](CompoundStorage& s) { s.storages["Embedding 1"].streams.erase("Data"); }},
        {"no Item stream",
         [](CompoundStorage& s) { s.storages["Embedding 2"].streams.erase("Item"); }},
        {"Item stream cut short",
         [](CompoundStorage& s) { s.storages["Embedding 3"].streams["Item"].resize(9); }},
        {"two items of one number",
         [](CompoundStorage& s) {
             auto& contents = s.streams["Contents"];
             std::vector<uint8_t> name = NewClass("CDrawItem");
             auto at = std::search(contents.begin(), contents.end(), name.begin(), name.end());
             at[static_cast<long>(name.size())] = 2;  // item 1 now numbered 2 as well
         }},
    };
    for (const Case& c : cases) {
        CompoundStorage damaged = good;
        c.damage(damaged);
        WriteCompoundFile(dir.File("bad.orvg"), damaged);
        CDrawDoc target;
        CDrawRect* kept = AddShape(target, CDrawRect::rectangle, {1, 2, 3, 4});
        EXPECT_THROW(target.OnOpenDocument(dir.File("bad.orvg")), ArchiveException) << c.legend;
        EXPECT_EQ(Objects(target), std::vector<CDrawObj*>{kept}) << c.legend;
        EXPECT_TRUE(target.Items().empty()) << c.legend;
        EXPECT_EQ(target.GetSummaryInfo(), nullptr) << c.legend;
    }

    WriteBytes(dir.File("text.orvg"), std::vector<uint8_t>(600, 'x'));
    CDrawDoc target;
    EXPECT_THROW(target.OnOpenDocument(dir.File("text.orvg")), ArchiveException);
}

TEST(CDrawDoc, DamagedOrMissingSummaryStillLoadsTheMap)
{
    TempDir dir;
    CDrawDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    AddShape(doc, CDrawRect::rectangle, {0, 0, 5, 5});
    doc.GetSummaryInfo()->SetTitle("Nord");
    doc.OnSaveDocument(dir.File("map.orvg"));
    CompoundStorage file = ReadCompoundFile(dir.File("map.orvg"));
    ASSERT_TRUE(file.Stream(SUMMARY_STREAM_NAME));

    for (bool remove : {false, true}) {
        CompoundStorage damaged = file;
        if (remove) {
            damaged.streams.erase(SUMMARY_STREAM_NAME);
        } else {
            damaged.streams[SUMMARY_STREAM_NAME].resize(30);
        }
        WriteCompoundFile(dir.File("damaged.orvg"), damaged);
        CDrawDoc back;
        back.OnOpenDocument(dir.File("damaged.orvg"));
        EXPECT_EQ(back.ObjectList().size(), 1u) << remove;
        ASSERT_TRUE(back.GetSummaryInfo()) << remove;
        EXPECT_EQ(back.GetSummaryInfo()->GetTitle(), "") << remove;
        EXPECT_EQ(back.GetSummaryInfo()->GetRevision(), "0") << remove;
        EXPECT_EQ(back.SummaryError().empty(), remove) << back.SummaryError();
    }
}

}  // namespace
