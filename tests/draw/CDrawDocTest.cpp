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

TEST(CDrawDoc, NewMapIsAnEmptyWhitePageWithASummary)
{
    TempDir dir;
    CDrawDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_TRUE(doc.ObjectList().empty());
    EXPECT_EQ(doc.PaperColour(), 0xFFFFFFu);
    EXPECT_EQ(doc.GetPageSize(), (CSize{800, 800}));
    ASSERT_TRUE(doc.GetSummaryInfo());
    EXPECT_EQ(doc.GetSummaryInfo()->GetAppName(), "Skizel");
    EXPECT_EQ(doc.GetSummaryInfo()->GetPageCount(), "1");
    EXPECT_EQ(doc.GetSummaryInfo()->GetRevision(), "0");
    EXPECT_NE(doc.GetSummaryInfo()->GetCreated(), "");
    EXPECT_EQ(doc.GetSummaryInfo()->GetLastSaved(), "");

    doc.GetSummaryInfo()->SetAuthor("Ostrel");
    doc.OnSaveDocument(dir.File("new.orvg"));
    EXPECT_EQ(StoredContents(doc), Cat({kWhite, {0, 0}, kNoItems}));
    CDrawDoc back;
    back.OnOpenDocument(dir.File("new.orvg"));
    EXPECT_TRUE(back.ObjectList().empty());
    EXPECT_EQ(back.PaperColour(), 0xFFFFFFu);
    EXPECT_EQ(back.GetSummaryInfo()->GetRevision(), "1");
    EXPECT_EQ(back.GetSummaryInfo()->GetLastAuthor(), "Ostrel");
    EXPECT_NE(back.GetSummaryInfo()->GetLastSaved(), "");
    EXPECT_EQ(back.GetSummaryInfo()->GetAppName(), "Skizel");
    EXPECT_EQ(back.GetPathName(), dir.File("new.orvg"));
    EXPECT_FALSE(back.IsModified());

    back.OnSaveDocument(dir.File("new.orvg"));
    EXPECT_EQ(back.GetSummaryInfo()->GetRevision(), "2");
}

TEST(CDrawDoc, EveryKindOfObjectReloadsAsItWasWritten)
{
    TempDir dir;
    CDrawDoc doc;
    AddEveryKind(doc);
    doc.SetPaperColour(0x00E0FFFF);
    doc.OnSaveDocument(dir.File("every.orvg"));
    std::vector<uint8_t> contents = *ReadCompoundFile(dir.File("every.orvg")).Stream("Contents");
    EXPECT_EQ(contents, StoredContents(doc));

    CDrawDoc back;
    back.OnOpenDocument(dir.File("every.orvg"));
    ASSERT_EQ(back.ObjectList().size(), doc.ObjectList().size());
    for (size_t i = 0; i < doc.ObjectList().size(); ++i) {
        CDrawObj* a = doc.ObjectList()[i];
        CDrawObj* b = back.ObjectList()[i];
        EXPECT_EQ(a->GetRuntimeClass(), b->GetRuntimeClass()) << i;
        EXPECT_EQ(a->GetPosition(), b->GetPosition()) << i;
        EXPECT_EQ(b->GetDocument(), &back) << i;
        EXPECT_EQ(Record(*a).size(), Record(*b).size()) << i;
    }
    auto* line = dynamic_cast<CDrawRect*>(back.ObjectList()[3]);
    ASSERT_TRUE(line);
    EXPECT_TRUE(line->IsReversed());
    auto* text = dynamic_cast<CDrawText*>(back.ObjectList()[4]);
    ASSERT_TRUE(text);
    EXPECT_EQ(text->GetText(),
              "Karte Nord\r\nStra\xdf"
              "e");
    EXPECT_EQ(text->GetFont().FaceName(), "Arial");

    ASSERT_EQ(back.Items().size(), 3u);
    const CDrawItem& embedded = *back.Items()[0];
    EXPECT_EQ(embedded.GetData(), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(embedded.GetName(), "notes.bin");
    EXPECT_EQ(embedded.GetDrawObj(), back.ObjectList()[7]);
    EXPECT_EQ(back.Items()[1]->GetLinkPath(), "/nowhere/pin.png");
    EXPECT_EQ(back.Items()[2]->GetType(), OT_STATIC);
    auto* ole = dynamic_cast<CDrawOleObj*>(back.ObjectList()[9]);
    ASSERT_TRUE(ole);
    EXPECT_EQ(ole->GetClientItem(), back.Items()[2].get());
    EXPECT_EQ(ole->GetExtent(), (CSize{2540, 1270}));

    EXPECT_EQ(StoredContents(back), contents);
    back.OnSaveDocument(dir.File("again.orvg"));
    CompoundStorage again = ReadCompoundFile(dir.File("again.orvg"));
    EXPECT_EQ(*again.Stream("Contents"), contents);
    EXPECT_EQ(again.Storage("Embedding 1")->streams,
              ReadCompoundFile(dir.File("every.orvg")).Storage("Embedding 1")->streams);
}

TEST(CDrawDoc, ClassNameIsWrittenOnceAndTheSecondObjectStartsWith0x8001)
{
    CDrawDoc doc;
    CDrawRect* first = AddShape(doc, CDrawRect::rectangle, {0, 0, 5, 5});
    CDrawRect* second = AddShape(doc, CDrawRect::ellipse, {5, 5, 9, 9});
    EXPECT_EQ(StoredContents(doc), Cat({kWhite,
                                        {2, 0},
                                        NewClass("CDrawRect"),
                                        Record(*first),
                                        {0x01, 0x80},
                                        Record(*second),
                                        kNoItems}));
}

TEST(CDrawDoc, EmbeddedItemIsWrittenInItsObjectAndReferredBackAfterTheList)
{
    CDrawDoc doc;
    CDrawOleObj* ole = AddEmbedded(doc, {0, 0, 0, 0}, "a.bin", {1});
    CDrawItem* item = ole->GetClientItem();
    std::vector<uint8_t> oleBase = Record(*ole);
    oleBase.resize(56);  // the record up to the item
    // Numbers: class CDrawOleObj 1, the object 2, class CDrawItem 3, the item 4.
    EXPECT_EQ(StoredContents(doc), Cat({kWhite,
                                        {1, 0},
                                        NewClass("CDrawOleObj"),
                                        oleBase,
                                        NewClass("CDrawItem"),
                                        Record(*item),
                                        {1, 0, 0, 0},
                                        {4, 0}}));
    EXPECT_EQ(Record(*item), (std::vector<uint8_t>{1, 0, 0, 0, 2, 0}));
    EXPECT_EQ(ole->GetPosition(), (CRect{0, 0, 100, 100})) << "2540 x 2540: 100 units down";
}

TEST(CDrawDoc, AddRemoveAndTopObjectAt)
{
    CDrawDoc doc;
    FakeViewSite view;
    doc.AddView(&view);
    CDrawRect* lower = AddShape(doc, CDrawRect::rectangle, {0, 0, 50, 50});
    CDrawRect* upper = AddShape(doc, CDrawRect::ellipse, {25, 25, 75, 75});
    EXPECT_EQ(doc.TopObjectAt({40, 40}), upper);
    EXPECT_EQ(doc.TopObjectAt({26, 26}), lower) << "outside the ellipse, inside the rectangle";
    EXPECT_EQ(doc.TopObjectAt({50, 10}), nullptr) << "right edge of the rectangle";

    doc.SetModifiedFlag(false);
    view.selection = {lower};
    std::unique_ptr<CDrawObj> taken = doc.Take(lower);
    EXPECT_EQ(taken.get(), lower);
    EXPECT_EQ(Objects(doc), std::vector<CDrawObj*>{upper});
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(view.selection.empty());
    doc.SetModifiedFlag(false);
    EXPECT_EQ(doc.Take(lower), nullptr);  // no longer in the list: still marks and tells
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(view.removed, (std::vector<CDrawObj*>{lower, lower}));

    doc.SetPaperColour(0x123456);
    EXPECT_EQ(view.updates.back().hint, 0);
    doc.RemoveView(&view);
}

TEST(CDrawDoc, DrawPaintsHandlesOfSelectedObjectsOnlyInTheActiveViewOnScreen)
{
    CDrawDoc doc;
    CDrawRect* a = AddShape(doc, CDrawRect::line, {0, 0, 10, 10});
    AddShape(doc, CDrawRect::line, {20, 20, 30, 30});
    FakeViewSite view;
    view.selection = {a};
    struct Case {
        const char* legend;
        bool active;
        bool printing;
        bool withView;
        size_t calls;
    } cases[] = {
        {"active view", true, false, true, 4},
        {"inactive view", false, false, true, 2},
        {"printing", true, true, true, 2},
        {"no view", true, false, false, 2},
    };
    for (const Case& c : cases) {
        view.active = c.active;
        RecordingPainter dc(c.printing);
        doc.Draw(dc, c.withView ? &view : nullptr);
        EXPECT_EQ(dc.calls.size(), c.calls) << c.legend;
        EXPECT_EQ(dc.calls[0].rfind("Line ", 0), 0u) << c.legend;
    }
}

TEST(CDrawDoc, DrawWithAnAreaLeavesOutOnlyObjectsThatPaintNothingThere)
{
    CDrawDoc doc;
    AddShape(doc, CDrawRect::rectangle, {0, 0, 10, 10});
    CDrawRect* wide = AddShape(doc, CDrawRect::rectangle, {100, 100, 110, 110});
    LogPen pen = wide->GetPen();
    pen.width = {20, 20};
    wide->SetPen(pen);
    struct Case {
        const char* legend;
        CRect area;
        size_t calls;
    } cases[] = {
        {"both", {0, 0, 200, 200}, 2},
        {"the first only", {5, 5, 30, 30}, 1},
        {"within the wide pen's reach", {75, 75, 85, 85}, 1},
        {"beyond every object", {300, 300, 400, 400}, 0},
    };
    for (const Case& c : cases) {
        RecordingPainter dc;
        doc.Draw(dc, nullptr, &c.area);
        EXPECT_EQ(dc.calls.size(), c.calls) << c.legend;
    }
}

TEST(CDrawDoc, ItemsAndTheirObjectsLetGoOfEachOther)
{
    CDrawDoc doc;
    CDrawOleObj* ole = AddEmbedded(doc, {0, 0, 0, 0}, "a.bin", {1});
    CDrawObj* copy = doc.Add(ole->Clone(&doc));
    ASSERT_EQ(doc.Items().size(), 2u);
    auto* clone = dynamic_cast<CDrawOleObj*>(copy);
    EXPECT_EQ(clone->GetExtent(), (CSize{0, 0}));
    EXPECT_EQ(clone->GetClientItem()->GetItemNumber(), 2u);
    EXPECT_EQ(clone->GetClientItem()->GetData(), (std::vector<uint8_t>{1}));
    // A new object is sized from its item's extent on the first change.
    clone->GetClientItem()->OnChange(OLE_CHANGED);
    EXPECT_EQ(clone->GetExtent(), (CSize{2540, 2540}));

    doc.Take(ole);
    ASSERT_EQ(doc.Items().size(), 1u);
    doc.DeleteItem(clone->GetClientItem());
    EXPECT_EQ(clone->GetClientItem(), nullptr);
}

TEST(CDrawDoc, ItemsThatNoListedObjectPlacesAreNotWritten)
{
    struct Case {
        const char* legend;
        std::function<std::unique_ptr<CDrawObj>(CDrawDoc&, CDrawOleObj&)> apart;
        size_t itemsHeld;
    } cases[] = {
        {"copy made without a document, dropped",
         [](CDrawDoc&, CDrawOleObj& ole) {
             ole.Clone();
             return nullptr;
         },
         1},
        {"copy outside the list while the map is saved",
         [](CDrawDoc&, CDrawOleObj& ole) { return ole.Clone(); }, 2},
        {"item of no object",
         [](CDrawDoc& doc, CDrawOleObj&) {
             auto item = std::make_unique<CDrawItem>();
             item->SetEmbeddedFile("hidden.bin", "application/octet-stream", {5}, {100, 100});
             doc.AddItem(std::move(item));
             return nullptr;
         },
         2},
    };
    for (const Case& c : cases) {
        TempDir dir;
        CDrawDoc doc;
        CDrawOleObj* ole = AddEmbedded(doc, {0, 0, 0, 0}, "a.bin", {1});
        std::unique_ptr<CDrawObj> kept = c.apart(doc, *ole);
        EXPECT_EQ(doc.Items().size(), c.itemsHeld) << c.legend;
        doc.OnSaveDocument(dir.File("map.orvg"));
        EXPECT_EQ(ReadCompoundFile(dir.File("map.orvg")).storages.size(), 1u) << c.legend;

        CDrawDoc back;
        back.OnOpenDocument(dir.File("map.orvg"));
        ASSERT_EQ(back.Items().size(), 1u) << c.legend;
        EXPECT_EQ(back.Items()[0]->GetDrawObj(), back.ObjectList()[0]) << c.legend;
    }
}

TEST(CDrawDoc, ObjectListCutShortLeavesNoItemBehind)
{
    CDrawDoc source;
    AddEmbedded(source, {0, 0, 0, 0}, "a.bin", {1});
    AddEmbedded(source, {20, 0, 0, 0}, "b.bin", {2});
    MemoryOutputStream out;
    Archive writer(out);
    CDrawDoc::WriteObjectList(writer, Objects(source));
    const std::vector<uint8_t>& bytes = out.bytes();
    for (size_t keep = 0; keep < bytes.size(); ++keep) {
        CDrawDoc target;
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<long>(keep));
        MemoryInputStream in(cut);
        Archive ar(in);
        ar.SetClassRegistry(&CDrawDoc::Classes());
        ar.SetDocument(&target);
        EXPECT_THROW(CDrawDoc::ReadObjectList(ar), ArchiveException) << keep;
        EXPECT_TRUE(target.Items().empty()) << "cut at " << keep;
    }
}

TEST(CDrawDoc, ZOrderCommandsReorderWithoutMarkingTheDocument)
{
    using Move = bool (CDrawDoc::*)(CDrawObj*);
    struct Case {
        const char* legend;
        Move move;
        int object;  // 0 ... 2 bottom to top, 3 not in the list
        std::vector<int> order;
    } cases[] = {
        {"middle to the front", &CDrawDoc::MoveToFront, 1, {0, 2, 1}},
        {"top to the front", &CDrawDoc::MoveToFront, 2, {0, 1, 2}},
        {"middle to the back", &CDrawDoc::MoveToBack, 1, {1, 0, 2}},
        {"bottom to the back", &CDrawDoc::MoveToBack, 0, {0, 1, 2}},
        {"bottom forward", &CDrawDoc::MoveForward, 0, {1, 0, 2}},
        {"top forward", &CDrawDoc::MoveForward, 2, {0, 1, 2}},
        {"top backward", &CDrawDoc::MoveBackward, 2, {0, 2, 1}},
        {"bottom backward", &CDrawDoc::MoveBackward, 0, {0, 1, 2}},
        {"object of no document", &CDrawDoc::MoveToFront, 3, {0, 1, 2}},
    };
    for (const Case& c : cases) {
        CDrawDoc doc;
        std::vector<CDrawObj*> objects;
        for (int i = 0; i < 3; ++i) {
            objects.push_back(AddShape(doc, CDrawRect::rectangle, {i, i, 10, 10}));
        }
        CDrawRect outsider({0, 0, 1, 1});
        objects.push_back(&outsider);
        doc.SetModifiedFlag(false);
        std::vector<CDrawObj*> expected;
        for (int i : c.order) {
            expected.push_back(objects[static_cast<size_t>(i)]);
        }
        bool changed = (doc.*c.move)(objects[static_cast<size_t>(c.object)]);
        EXPECT_EQ(Objects(doc), expected) << c.legend;
        EXPECT_EQ(changed, (c.order != std::vector<int>{0, 1, 2})) << c.legend;
        EXPECT_FALSE(doc.IsModified()) << c.legend;
    }
}

// A map whose page was made another size before it was fixed.
class ResizedMap : public CDrawDoc {
public:
    explicit ResizedMap(CSize size) { pageSize_ = size; }
};

TEST(CDrawDoc, FixPageSizeTellsTheViewsOnlyWhenThePageWasAnotherSize)
{
    ResizedMap doc({1000, 600});
    FakeViewSite first;
    FakeViewSite second;
    doc.AddView(&first);
    doc.AddView(&second);
    doc.FixPageSize();
    doc.FixPageSize();
    EXPECT_EQ(doc.GetPageSize(), (CSize{800, 800}));
    for (const FakeViewSite* view : {&first, &second}) {
        EXPECT_EQ(view->pageSizes, std::vector<CSize>{(CSize{800, 800})});
    }
    doc.RemoveView(&first);
    doc.RemoveView(&second);
}

TEST(CDrawItem, SyncExtentScalesAnObjectThatHasAnExtent)
{
    struct Case {
        const char* legend;
        CSize stored;
        CRect position;
        CSize extent;
        ItemState state;
        CRect expected;
        bool changed;
    } cases[] = {
        {"new object extends right and down",
         {0, 0},
         {10, 20, 10, 20},
         {2540, 1000},
         ItemState::loaded,
         {10, 20, 110, 59},
         true},
        {"twice as wide",
         {1000, 1000},
         {0, 0, 30, 40},
         {2000, 1000},
         ItemState::loaded,
         {0, 0, 60, 40},
         true},
        {"rounded to the nearest",
         {3, 3},
         {0, 0, 10, 10},
         {4, 2},
         ItemState::loaded,
         {0, 0, 13, 7},
         true},
        {"in place active keeps its size",
         {1000, 1000},
         {0, 0, 30, 40},
         {2000, 1000},
         ItemState::active,
         {0, 0, 30, 40},
         true},
        {"unchanged extent",
         {2000, 1000},
         {0, 0, 30, 40},
         {2000, 1000},
         ItemState::loaded,
         {0, 0, 30, 40},
         false},
        {"stored extent with a zero side counts as unknown",
         {1000, 0},
         {10, 10, 110, 60},
         {2000, 1000},
         ItemState::loaded,
         {10, 10, 89, 49},
         true},
        {"unknown extent",
         {2000, 1000},
         {0, 0, 30, 40},
         {0, 0},
         ItemState::loaded,
         {0, 0, 30, 40},
         false},
    };
    for (const Case& c : cases) {
        CDrawDoc doc;
        auto* ole = AddNew<CDrawOleObj>(doc, c.position);
        ole->TakeExtent(c.position, c.stored);
        auto item = std::make_unique<CDrawItem>();
        item->SetEmbeddedFile("x", "image/png", {}, c.extent);
        CDrawItem* added = doc.AddItem(std::move(item));
        added->SetDrawObj(ole);
        ole->SetClientItem(added);
        added->SetItemState(c.state);
        EXPECT_EQ(added->SyncExtent(), c.changed) << c.legend;
        EXPECT_EQ(ole->GetPosition(), c.expected) << c.legend;
    }
}

// Loading `contents` into a document holding one rectangle must fail and leave it.
TEST(CDrawDoc, UndoStepsShareTheBytesOfAnEmbeddedItemInsteadOfCopyingThem)
{
    CDrawDoc doc;
    AddEmbedded(doc, {0, 0, 50, 50}, "big.bin", std::vector<uint8_t>(1 << 20, 7));
    CDrawRect* rect = AddShape(doc, CDrawRect::rectangle, {60, 60, 70, 70});
    const uint8_t* bytes = doc.Items().front()->GetData().data();
    for (int i = 0; i < 3; ++i) {
        CDrawDoc::UndoStep step(doc, "Verschieben");
        rect->MoveTo({61 + i, 60, 71 + i, 70});
    }
    for (auto move : {&CDrawDoc::Undo, &CDrawDoc::Undo, &CDrawDoc::Redo, &CDrawDoc::Undo}) {
        (doc.*move)();
        ASSERT_EQ(doc.Items().size(), 1u);
        EXPECT_EQ(doc.Items().front()->GetData().data(), bytes);
    }
    EXPECT_EQ(ObjectAt(doc, 1)->GetPosition(), (CRect{61, 60, 71, 70})) << "after the first move";
}

}  // namespace
