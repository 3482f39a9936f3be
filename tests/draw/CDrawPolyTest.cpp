#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawPoly.h"
#include "draw/model/GdiRegion.h"
#include "draw/model/UpdateHint.h"
#include "framework/Archive.h"
#include "tests/draw/DrawTestSupport.h"
#include "tests/draw/TestMaps.h"

namespace {

// The record of a polygon with `count` vertices (i, 2i) in room for `capacity`.
std::vector<uint8_t> PolyRecord(uint16_t count, uint16_t capacity, uint16_t kind = 0)
{
    MemoryOutputStream out;
    Archive ar(out);
    CDrawObj base({0, 0, 10, 10});
    base.Serialize(ar);
    ar.WriteU16(kind);
    ar.WriteU16(count);
    ar.WriteU16(capacity);
    for (int32_t i = 0; i < count; ++i) {
        ar.WriteI32(i);
        ar.WriteI32(2 * i);
    }
    return out.bytes();
}

std::unique_ptr<CDrawPoly> Load(const std::vector<uint8_t>& bytes)
{
    auto poly = std::make_unique<CDrawPoly>();
    MemoryInputStream in(bytes);
    Archive ar(in);
    poly->Serialize(ar);
    return poly;
}

std::unique_ptr<CDrawPoly> Poly(int kind, std::initializer_list<CPoint> points)
{
    auto poly = std::make_unique<CDrawPoly>(CRect{}, kind);
    for (CPoint p : points) {
        poly->AppendVertex(p);
    }
    return poly;
}

TEST(CDrawPoly, AppendVertexGrowsByTenSkipsRepeatsAndHidesHandlesAtTwenty)
{
    CDrawDoc doc;
    auto* poly = AddNew<CDrawPoly>(doc, CRect{5, 5, 5, 5}, CDrawPoly::polyline);
    EXPECT_EQ(poly->GetBrushFlag(), 0);
    doc.SetModifiedFlag(false);
    EXPECT_TRUE(poly->AppendVertex({5, 5}));
    EXPECT_EQ(poly->Capacity(), 10);
    EXPECT_EQ(poly->GetPosition(), (CRect{5, 5, 6, 6}));
    EXPECT_TRUE(doc.IsModified());

    doc.SetModifiedFlag(false);
    EXPECT_FALSE(poly->AppendVertex({5, 5}));
    EXPECT_FALSE(doc.IsModified()) << "a repeated point changes nothing";
    EXPECT_EQ(poly->VertexCount(), 1);

    for (int i = 1; i < 19; ++i) {
        poly->AppendVertex({5 + i, 5 - i});
    }
    EXPECT_EQ(poly->VertexCount(), 19);
    EXPECT_EQ(poly->Capacity(), 20);
    EXPECT_TRUE(poly->GetShowHandles());
    poly->AppendVertex({100, 100});
    EXPECT_FALSE(poly->GetShowHandles());
    poly->AppendVertex({101, 100});
    EXPECT_EQ(poly->Capacity(), 30);
    EXPECT_EQ(poly->GetPosition(), (CRect{5, -13, 102, 101}));
    EXPECT_EQ(poly->HandleCount(), 21);
    EXPECT_EQ(poly->HandlePoint(21), (CPoint{101, 100}));
    EXPECT_EQ(poly->GetHandleCursor(3), HandleCursor::sizeAll);
}

TEST(CDrawPoly, AppendVertexStopsAt65535Vertices)
{
    auto poly = Load(PolyRecord(65530, 65530));
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(poly->AppendVertex({-1, -i}));
    }
    EXPECT_EQ(poly->VertexCount(), 65535);
    EXPECT_EQ(poly->Capacity(), 65535) << "the capacity grows no further than the file holds";
    EXPECT_FALSE(poly->AppendVertex({-2, -2}));
    EXPECT_EQ(poly->VertexCount(), 65535);

    MemoryOutputStream out;
    Archive ar(out);
    poly->Serialize(ar);
    EXPECT_EQ(Load(out.bytes())->VertexCount(), 65535);
}

TEST(CDrawPoly, RecordsOf19And20VerticesLoadWithAndWithoutHandles)
{
    auto nineteen = Load(PolyRecord(19, 20));
    EXPECT_TRUE(nineteen->GetShowHandles());
    EXPECT_EQ(nineteen->Vertices()[18], (CPoint{18, 36}));
    auto twenty = Load(PolyRecord(20, 20, CDrawPoly::polyline));
    EXPECT_FALSE(twenty->GetShowHandles());
    EXPECT_EQ(twenty->GetKind(), CDrawPoly::polyline);

    MemoryOutputStream out;
    Archive ar(out);
    twenty->Serialize(ar);
    EXPECT_EQ(out.bytes(), PolyRecord(20, 20, CDrawPoly::polyline));
}

TEST(CDrawPoly, DamagedRecordsAreRefused)
{
    struct Case {
        const char* legend;
        std::vector<uint8_t> bytes;
        ArchiveException::Kind kind;
    } cases[] = {
        {"more vertices than its capacity", PolyRecord(11, 10), ArchiveException::BadFormat},
        {"count beyond the data",
         [] {
             auto b = PolyRecord(3, 10);
             b[50] = 200;  // count 200 in room for 250, three vertices follow
             b[52] = 250;
             return b;
         }(),
         ArchiveException::BadFormat},
        {"cut inside a vertex",
         [] {
             auto b = PolyRecord(3, 10);
             b.resize(b.size() - 1);
             return b;
         }(),
         ArchiveException::BadFormat},
        {"cut inside the header",
         [] {
             auto b = PolyRecord(0, 0);
             b.resize(51);
             return b;
         }(),
         ArchiveException::EndOfFile},
    };
    for (const Case& c : cases) {
        try {
            Load(c.bytes);
            ADD_FAILURE() << c.legend << ": loaded";
        } catch (const ArchiveException& e) {
            EXPECT_EQ(e.kind(), c.kind) << c.legend << ": " << e.what();
        }
    }
}

TEST(CDrawPoly, PolylineTouchesWithinHalfItsPenAndThreeUnitsOfItsSegments)
{
    struct Case {
        const char* legend;
        std::initializer_list<CPoint> vertices;
        int32_t pen;
        CRect probe;
        bool touches;
    } cases[] = {
        {"one vertex", {{10, 10}}, 1, {0, 0, 100, 100}, false},
        {"first segment of a vee", {{0, 0}, {50, 100}, {100, 0}}, 1, {25, 50, 26, 51}, true},
        {"second segment of a vee", {{0, 0}, {50, 100}, {100, 0}}, 1, {75, 50, 76, 51}, true},
        {"inside the vee", {{0, 0}, {50, 100}, {100, 0}}, 1, {50, 20, 51, 21}, false},
        {"flat segment, 3 below", {{0, 50}, {100, 50}, {100, 0}}, 1, {50, 53, 51, 54}, true},
        {"flat segment, 4 below", {{0, 50}, {100, 50}, {100, 0}}, 1, {50, 54, 51, 55}, false},
        {"rubber band across a flat segment",
         {{0, 50}, {100, 50}, {100, 0}},
         1,
         {40, 0, 60, 100},
         true},
        {"its own thick pen, 7 below", {{0, 50}, {100, 50}, {100, 0}}, 9, {50, 57, 51, 58}, true},
    };
    for (const Case& c : cases) {
        auto poly = Poly(CDrawPoly::polyline, c.vertices);
        poly->SetPen({PS_SOLID, {c.pen, c.pen}, 0});
        EXPECT_EQ(poly->TouchesRect(c.probe), c.touches) << c.legend;
    }
}

TEST(CDrawPoly, PolygonTouchesItsEvenOddRegionWithTheRectangleAsGiven)
{
    // A five-pointed star drawn in one stroke: its centre is filled an even number of times.
    auto star = Poly(CDrawPoly::polygon, {{50, 0}, {79, 90}, {2, 35}, {98, 35}, {21, 90}});
    EXPECT_FALSE(star->TouchesRect({50, 50, 51, 51})) << "the centre is a hole";
    EXPECT_TRUE(star->TouchesRect({50, 10, 51, 11})) << "a point of the star";
    EXPECT_FALSE(star->TouchesRect({40, 40, 60, 60})) << "inside the hole";
    EXPECT_TRUE(star->TouchesRect({30, 40, 70, 60})) << "around the hole";
    EXPECT_FALSE(star->TouchesRect({51, 11, 50, 10})) << "a reversed rectangle holds no pixel";

    auto two = Poly(CDrawPoly::polygon, {{0, 0}, {100, 100}});
    EXPECT_FALSE(two->TouchesRect({0, 0, 100, 100}));
}

TEST(CDrawPoly, MoveToShiftsTheVerticesAndTakesTheRectangleAsGiven)
{
    auto tri = Poly(CDrawPoly::polygon, {{0, 0}, {10, 0}, {0, 10}});
    EXPECT_EQ(tri->GetPosition(), (CRect{0, 0, 11, 11}));
    tri->MoveTo({100, 200, 105, 205});
    EXPECT_EQ(tri->Vertices(), (std::vector<CPoint>{{100, 200}, {110, 200}, {100, 210}}));
    EXPECT_EQ(tri->GetPosition(), (CRect{100, 200, 105, 205}));

    tri->DragHandleTo(2, {130, 200});
    EXPECT_EQ(tri->Vertices()[1], (CPoint{130, 200}));
    EXPECT_EQ(tri->GetPosition(), (CRect{100, 200, 131, 211}));
}

TEST(CDrawPoly, AppendingAndDraggingVerticesRepaintTheOldAndTheNewBounds)
{
    struct Case {
        const char* legend;
        std::function<void(CDrawPoly&, DrawViewSite*)> change;
        size_t repaints;
    } cases[] = {
        {"vertex beyond the bounds",
         [](CDrawPoly& p, DrawViewSite* v) {
             p.AppendVertex({50, 5}, v);
         },
         2},
        {"vertex within the bounds",
         [](CDrawPoly& p, DrawViewSite* v) {
             p.AppendVertex({5, 5}, v);
         },
         1},
        {"repeated vertex",
         [](CDrawPoly& p, DrawViewSite* v) {
             p.AppendVertex({0, 40}, v);
         },
         0},
        {"vertex dragged beyond the bounds",
         [](CDrawPoly& p, DrawViewSite* v) {
             p.DragHandleTo(2, {60, 0}, v);
         },
         3},
        {"vertex dragged within the bounds",
         [](CDrawPoly& p, DrawViewSite* v) {
             p.DragHandleTo(1, {0, 10}, v);
         },
         1},
        {"vertex dragged onto itself",
         [](CDrawPoly& p, DrawViewSite* v) {
             p.DragHandleTo(2, {40, 0}, v);
         },
         0},
    };
    for (bool throughView : {true, false}) {
        for (const Case& c : cases) {
            CDrawDoc doc;
            FakeViewSite view;
            doc.AddView(&view);
            auto* poly = AddNew<CDrawPoly>(doc, CRect{}, CDrawPoly::polygon);
            for (CPoint p : {CPoint{0, 0}, CPoint{40, 0}, CPoint{0, 40}}) {
                poly->AppendVertex(p);
            }
            view.updates.clear();
            c.change(*poly, throughView ? &view : nullptr);
            if (throughView) {
                EXPECT_EQ(view.invalidated.size(), c.repaints) << c.legend;
                EXPECT_TRUE(view.updates.empty()) << c.legend;
            } else {
                EXPECT_EQ(view.updates.size(), c.repaints) << c.legend << " without a view";
                for (const FakeViewSite::Update& u : view.updates) {
                    EXPECT_EQ(u.hint, HINT_REPAINT_OBJECT) << c.legend;
                    EXPECT_EQ(u.object, poly) << c.legend;
                }
            }
            doc.RemoveView(&view);
        }
    }
}

TEST(CDrawPoly, DrawPaintsPolygonOrPolyline)
{
    auto tri = Poly(CDrawPoly::polygon, {{0, 0}, {10, 0}, {0, 10}});
    RecordingPainter dc;
    tri->Draw(dc);
    tri->SetKind(CDrawPoly::polyline);
    tri->Draw(dc);
    tri->SetKind(2);
    tri->Draw(dc);
    EXPECT_EQ(dc.calls, (std::vector<std::string>{"Polygon 3: 0,0 10,0 0,10 pen 6/1/0",
                                                  "Polyline 3: 0,0 10,0 0,10 pen 6/1/0"}));
}

TEST(CDrawPoly, CloneKeepsKindCapacityAndVertices)
{
    auto line = Poly(CDrawPoly::polyline, {{1, 2}, {3, 4}, {5, 6}});
    line->SetShowHandles(false);
    std::unique_ptr<CDrawObj> copy(line->Clone());
    auto* clone = dynamic_cast<CDrawPoly*>(copy.get());
    ASSERT_TRUE(clone);
    EXPECT_EQ(clone->GetKind(), CDrawPoly::polyline);
    EXPECT_EQ(clone->Capacity(), 10);
    EXPECT_EQ(clone->Vertices(), line->Vertices());
    EXPECT_EQ(clone->GetPosition(), line->GetPosition());
    EXPECT_TRUE(clone->GetShowHandles());
    EXPECT_EQ(clone->GetDocument(), nullptr);
}

TEST(GdiRegion, EllipseAndRoundedCornersArePixelCentreTests)
{
    struct Case {
        const char* legend;
        CRect probe;
        bool ellipse;
        bool rounded;  // corners 40 x 20
    } cases[] = {
        {"centre", {50, 25, 51, 26}, true, true},
        {"top-left pixel", {0, 0, 1, 1}, false, false},
        {"top edge middle", {50, 0, 51, 1}, true, true},
        {"left edge middle", {0, 25, 1, 26}, true, true},
        {"right edge is outside", {100, 25, 101, 26}, false, false},
        {"near the corner", {6, 3, 7, 4}, false, true},
        {"whole box", {-10, -10, 200, 200}, true, true},
    };
    CRect box{0, 0, 100, 50};
    for (const Case& c : cases) {
        EXPECT_EQ(RectTouchesEllipse(c.probe, box), c.ellipse) << c.legend;
        EXPECT_EQ(RectTouchesRoundRect(c.probe, box, {40, 20}), c.rounded) << c.legend;
    }
    // Corners larger than the rectangle are clamped to it: an ellipse.
    for (const Case& c : cases) {
        EXPECT_EQ(RectTouchesRoundRect(c.probe, box, {-500, 900}), c.ellipse) << c.legend;
    }
    EXPECT_TRUE(RectTouchesRoundRect({0, 0, 1, 1}, box, {0, 0})) << "no rounding";
}

}  // namespace
