#include "draw/model/MapTransfer.h"

#include <gtest/gtest.h>

#include "framework/ArchiveException.h"
#include "tests/draw/TestMaps.h"

namespace {

std::vector<CDrawObj*> FirstThree(CDrawDoc& doc)
{
    auto list = doc.ObjectList();
    return {list[0], list[4], list[5]};  // a rectangle, the text, the polygon
}

TEST(MapTransfer, TheObjectsBlockIsTheMapFilesObjectList)
{
    CDrawDoc doc;
    AddShape(doc, CDrawRect::rectangle, {10, 20, 30, 40});
    std::vector<uint8_t> block = WriteObjectsBlock(Objects(doc));
    // One object: count 1, a new class "CDrawRect" of schema 0, then its 58-byte record.
    const std::vector<uint8_t> head = {0x01, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x09, 0x00, 'C',
                                       'D',  'r',  'a',  'w',  'R',  'e',  'c',  't',  10,
                                       0,    0,    0,    20,   0,    0,    0};
    ASSERT_EQ(block.size(), head.size() - 8 + 58);
    EXPECT_TRUE(std::equal(head.begin(), head.end(), block.begin()));

    // Every kind of object: the same bytes as in "Contents", after the paper colour.
    CDrawDoc every;
    AddEveryKind(every);
    std::vector<uint8_t> contents = StoredContents(every);
    std::vector<uint8_t> all = WriteObjectsBlock(Objects(every));
    ASSERT_GT(contents.size(), all.size() + 4);
    EXPECT_TRUE(std::equal(all.begin(), all.end(), contents.begin() + 4));
}

TEST(MapTransfer, PastedObjectsLieOnTopAtTheirPlacesAndPastingTwiceGivesDuplicates)
{
    CDrawDoc source;
    AddEveryKind(source);
    std::vector<CDrawObj*> copied = FirstThree(source);
    copied.push_back(source.ObjectList()[7]);  // the embedded file
    std::vector<uint8_t> objects = WriteObjectsBlock(copied);
    std::vector<uint8_t> items = WriteItemsBlock(copied);

    CDrawDoc target;
    AddShape(target, CDrawRect::ellipse, {0, 0, 5, 5});
    AddEmbedded(target, {50, 50, 0, 0}, "other.bin", {5});
    std::vector<CDrawObj*> first = ReadTransferBlocks(target, objects, &items);
    std::vector<CDrawObj*> second = ReadTransferBlocks(target, objects, &items);
    ASSERT_EQ(first.size(), 4u);
    ASSERT_EQ(target.ObjectList().size(), 10u);
    EXPECT_EQ(target.ObjectList()[2], first[0]) << "on top, in order";
    EXPECT_EQ(first[1]->GetPosition(), copied[1]->GetPosition());
    // Exact duplicates; an embedded object differs only in its item's number.
    EXPECT_EQ(WriteObjectsBlock({first.begin(), first.begin() + 3}),
              WriteObjectsBlock({second.begin(), second.begin() + 3}));
    EXPECT_EQ(second[3]->GetPosition(), copied[3]->GetPosition());

    auto* pasted = dynamic_cast<CDrawOleObj*>(second[3]);
    ASSERT_NE(pasted, nullptr);
    ASSERT_NE(pasted->GetClientItem(), nullptr);
    EXPECT_EQ(pasted->GetClientItem()->GetData(), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(pasted->GetClientItem()->GetDocument(), &target);
    EXPECT_EQ(target.Items().size(), 3u);
    EXPECT_NE(pasted->GetClientItem()->GetItemNumber(),
              dynamic_cast<CDrawOleObj*>(first[3])->GetClientItem()->GetItemNumber());
}

TEST(MapTransfer, ADamagedTransferIsRefusedWholeAndTheMapStaysAsItWas)
{
    CDrawDoc source;
    AddEveryKind(source);
    std::vector<CDrawObj*> copied = {source.ObjectList()[0], source.ObjectList()[7]};
    std::vector<uint8_t> objects = WriteObjectsBlock(copied);
    std::vector<uint8_t> items = WriteItemsBlock(copied);

    CDrawDoc target;
    AddShape(target, CDrawRect::rectangle, {0, 0, 5, 5});
    std::vector<uint8_t> before = StoredContents(target);
    auto refused = [&](const std::vector<uint8_t>& o, const std::vector<uint8_t>* i) {
        EXPECT_THROW(ReadTransferBlocks(target, o, i), ArchiveException);
        EXPECT_EQ(StoredContents(target), before);
        EXPECT_EQ(target.Items().size(), 0u);
    };
    for (size_t n = 0; n < objects.size(); ++n) {
        refused(std::vector<uint8_t>(objects.begin(), objects.begin() + n), &items);
    }
    for (size_t n = 0; n < items.size(); ++n) {
        std::vector<uint8_t> cut(items.begin(), items.begin() + n);
        refused(objects, &cut);
    }
    std::vector<uint8_t> longer = objects;
    longer.push_back(0);
    refused(longer, &items);
    refused(objects, nullptr);  // an embedded object without its content
    std::vector<uint8_t> unknown = objects;
    unknown[8] = 'X';  // "XDrawRect"
    refused(unknown, &items);
}

TEST(MapUndo, EveryKindOfChangeIsOneStepAndTheMarkFollowsToTheSavedState)
{
    CDrawDoc doc;
    doc.OnNewDocument();
    CDrawRect* rect = AddShape(doc, CDrawRect::rectangle, {10, 10, 50, 50});
    AddShape(doc, CDrawRect::ellipse, {60, 10, 90, 50});
    doc.SetModifiedFlag(false);
    std::vector<uint8_t> saved = StoredContents(doc);
    struct Change {
        const char* legend;
        std::function<void()> run;
    } changes[] = {
        {"add",
         [&] {
             AddShape(doc, CDrawRect::line, {0, 0, 9, 9});
         }},
        {"move",
         [&] {
             rect->MoveTo({20, 20, 60, 60});
         }},
        {"colour", [&] { rect->SetFillColor(0x123456); }},
        {"z-order", [&] { doc.MoveToFront(rect); }},
        {"paper", [&] { doc.SetPaperColour(0x00FFFF); }},
        {"delete", [&] { doc.Take(doc.ObjectList().back()); }},
    };
    for (const Change& change : changes) {
        {
            CDrawDoc::UndoStep step(doc, change.legend);
            change.run();
        }
        std::vector<uint8_t> after = StoredContents(doc);
        EXPECT_NE(after, saved) << change.legend;
        EXPECT_TRUE(doc.IsModified()) << change.legend;
        doc.Undo();
        EXPECT_EQ(StoredContents(doc), saved) << change.legend;
        EXPECT_FALSE(doc.IsModified()) << change.legend << ": back at the saved state";
        doc.Redo();
        EXPECT_EQ(StoredContents(doc), after) << change.legend;
        EXPECT_TRUE(doc.IsModified()) << change.legend;
        doc.Undo();
        rect = dynamic_cast<CDrawRect*>(doc.ObjectList()[0]);  // undo made new objects
    }

    // A command that changes nothing leaves no step; a change outside any step is undone
    // as one of its own.
    doc.CommandBegins(0);
    doc.CommandEnds();
    EXPECT_TRUE(doc.CanRedo()) << "redo kept: nothing changed";
    AddShape(doc, CDrawRect::line, {1, 1, 8, 8});
    doc.Undo();
    EXPECT_EQ(StoredContents(doc), saved);
}

}  // namespace
