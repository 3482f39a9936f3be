#include <climits>
#include <memory>

#include <gtest/gtest.h>

#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawRect.h"
#include "framework/Archive.h"
#include "tests/draw/DrawTestSupport.h"
#include "tests/draw/TestMaps.h"

namespace {

std::vector<uint8_t> Record(CObject& object)
{
    MemoryOutputStream out;
    Archive ar(out);
    object.Serialize(ar);
    return out.bytes();
}

std::unique_ptr<CDrawRect> Reload(const std::vector<uint8_t>& bytes)
{
    auto object = std::make_unique<CDrawRect>();
    MemoryInputStream in(bytes);
    Archive ar(in);
    object->Serialize(ar);
    EXPECT_EQ(ar.Remaining(), 0u);
    return object;
}

std::vector<int32_t> Ints(const std::vector<uint8_t>& bytes, size_t offset, size_t count)
{
    std::vector<int32_t> ints;
    for (size_t i = 0; i < count; ++i) {
        size_t o = offset + 4 * i;
        ints.push_back(static_cast<int32_t>(bytes[o] | bytes[o + 1] << 8 | bytes[o + 2] << 16 |
                                            static_cast<uint32_t>(bytes[o + 3]) << 24));
    }
    return ints;
}

std::unique_ptr<CDrawRect> Shape(int shape, const CRect& r)
{
    auto object = shape == CDrawRect::line ? std::make_unique<CDrawRect>(r, true)
                                           : std::make_unique<CDrawRect>(r);
    object->SetShape(shape);
    return object;
}

TEST(CDrawRect, ReversedLineKeepsItsDirectionInHandlesRecordAndReload)
{
    CDrawRect line({100, 50, 20, 90}, true);
    EXPECT_EQ(line.GetPosition(), (CRect{20, 50, 100, 90}));
    EXPECT_TRUE(line.IsReversed());
    EXPECT_EQ(line.HandleCount(), 2);
    EXPECT_EQ(line.HandlePoint(1), (CPoint{99, 50}));
    EXPECT_EQ(line.HandlePoint(2), (CPoint{20, 89}));
    EXPECT_EQ(line.GetLineEnds(), (CRect{100, 50, 20, 90}));

    std::vector<uint8_t> bytes = Record(line);
    ASSERT_EQ(bytes.size(), 58u);
    EXPECT_EQ(Ints(bytes, 0, 4), (std::vector<int32_t>{100, 50, 20, 90}));
    EXPECT_EQ(line.GetPosition(), (CRect{20, 50, 100, 90}));  // saving leaves it as it was

    auto back = Reload(bytes);
    EXPECT_EQ(back->GetPosition(), (CRect{20, 50, 100, 90}));
    EXPECT_TRUE(back->IsReversed());
    EXPECT_EQ(Record(*back), bytes);
}

TEST(CDrawRect, RecordLayoutIsByteExact)
{
    CDrawRect r({1, 2, 3, 4});
    r.SetShape(CDrawRect::roundRectangle);
    r.SetPen({PS_DASH, {2, 3}, 0x123456});
    r.SetBrushFlag(0);
    std::vector<uint8_t> expected = {
        1,  0, 0, 0, 2,    0,    0,    0, 3, 0, 0, 0, 4,    0,    0,    0,  // position
        1,  0,                                                              // pen flag
        1,  0, 0, 0, 2,    0,    0,    0, 3, 0, 0, 0, 0x56, 0x34, 0x12, 0,  // pen
        0,  0,                                                              // brush flag
        0,  0, 0, 0, 0xC0, 0xC0, 0xC0, 0, 0, 0, 0, 0,                       // brush
        1,  0,                                                              // shape
        16, 0, 0, 0, 16,   0,    0,    0};                                  // roundness
    EXPECT_EQ(Record(r), expected);
}

// The segment's two end points, in either order.
bool SameSegment(const CRect& ends, CPoint a, CPoint b)
{
    return (ends.TopLeft() == a && ends.BottomRight() == b) ||
           (ends.TopLeft() == b && ends.BottomRight() == a);
}

TEST(CDrawRect, LineDraggedThroughItsOtherEndStaysWhereTheMouseLeftIt)
{
    CDrawRect line({0, 0, 100, 100}, true);
    line.DragHandleTo(2, {-50, 50});  // the end handle to the left of the start
    EXPECT_EQ(line.GetLineEnds(), (CRect{0, 0, -50, 50}));
    line.NormalizePosition();
    EXPECT_EQ(line.GetPosition(), (CRect{-50, 0, 0, 50}));
    EXPECT_TRUE(line.IsReversed());
    EXPECT_EQ(line.GetLineEnds(), (CRect{0, 0, -50, 50}));

    line.DragHandleTo(1, {10, 80});  // now the start handle below the end
    line.NormalizePosition();
    EXPECT_EQ(line.GetPosition(), (CRect{-50, 50, 10, 80}));
    EXPECT_TRUE(SameSegment(line.GetLineEnds(), {10, 80}, {-50, 50}));
}

TEST(CDrawRect, ZeroSizeIsWidenedToOneUnitExceptForLines)
{
    CDrawRect flat({10, 10, 40, 10});
    flat.NormalizePosition();
    EXPECT_EQ(flat.GetPosition(), (CRect{10, 10, 40, 11}));
    CDrawRect dot({10, 10, 10, 10});
    dot.SetShape(CDrawRect::ellipse);
    dot.NormalizePosition();
    EXPECT_EQ(dot.GetPosition(), (CRect{10, 10, 11, 11}));
    CDrawRect line({10, 10, 40, 10}, true);
    EXPECT_EQ(line.GetPosition(), (CRect{10, 10, 40, 10}));

    // Not normalized, a zero-height rectangle is still one unit high for hit testing.
    CDrawRect thin({10, 10, 40, 10});
    EXPECT_TRUE(thin.TouchesRect({20, 10, 21, 11}));
    EXPECT_FALSE(thin.TouchesRect({20, 11, 21, 12}));
}

TEST(CDrawRect, HandlesOfTheBaseRectangle)
{
    struct Case {
        int handle;
        CPoint point;
        HandleCursor cursor;
        CRect afterDragTo0;  // the position after dragging the handle to (0, 0)
    } cases[] = {
        {1, {10, 20}, HandleCursor::sizeNWSE, {0, 0, 31, 61}},
        {2, {20, 20}, HandleCursor::sizeNS, {10, 0, 31, 61}},
        {3, {30, 20}, HandleCursor::sizeNESW, {10, 0, 0, 61}},
        {4, {30, 40}, HandleCursor::sizeWE, {10, 20, 0, 61}},
        {5, {30, 60}, HandleCursor::sizeNWSE, {10, 20, 0, 0}},
        {6, {20, 60}, HandleCursor::sizeNS, {10, 20, 31, 0}},
        {7, {10, 60}, HandleCursor::sizeNESW, {0, 20, 31, 0}},
        {8, {10, 40}, HandleCursor::sizeWE, {0, 20, 31, 61}},
        {0, {10, 20}, HandleCursor::sizeNWSE, {0, 0, 31, 61}},
        {12, {10, 20}, HandleCursor::sizeNWSE, {0, 0, 31, 61}},
    };
    for (const Case& c : cases) {
        CDrawRect r({10, 20, 31, 61});
        EXPECT_EQ(r.HandlePoint(c.handle), c.point) << c.handle;
        EXPECT_EQ(r.GetHandleCursor(c.handle), c.cursor) << c.handle;
        r.DragHandleTo(c.handle, {0, 0});
        EXPECT_EQ(r.GetPosition(), c.afterDragTo0) << c.handle;
    }
}

TEST(CDrawRect, RoundnessHandleStaysInTheLowerRightQuarterAndGivesEvenRoundness)
{
    struct Case {
        const char* legend;
        CPoint dragTo;
        CPoint roundness;
    } cases[] = {
        {"inside the quarter", {90, 45}, {20, 14}},
        {"beyond the top-left", {0, 0}, {100, 52}},
        {"beyond the bottom-right", {500, 500}, {2, 2}},
        {"odd distances", {97, 51}, {6, 2}},
    };
    for (const Case& c : cases) {
        CDrawRect r({0, 0, 100, 52});
        r.SetShape(CDrawRect::roundRectangle);
        EXPECT_EQ(r.HandleCount(), 9);
        EXPECT_EQ(r.HandlePoint(9), (CPoint{92, 44})) << "roundness 16 at the start";
        EXPECT_EQ(r.GetHandleCursor(9), HandleCursor::sizeAll);
        r.DragHandleTo(9, c.dragTo);
        EXPECT_EQ(r.GetRoundness(), c.roundness) << c.legend;
        EXPECT_EQ(r.GetPosition(), (CRect{0, 0, 100, 52})) << c.legend;
    }
}

TEST(CDrawRect, HitTestIsHalfOpenAndTriesHandlesWhenSelected)
{
    CDrawRect r({10, 10, 50, 50});
    EXPECT_EQ(r.HitTest({10, 10}, nullptr, false), 1);
    EXPECT_EQ(r.HitTest({49, 49}, nullptr, false), 1);
    EXPECT_EQ(r.HitTest({50, 30}, nullptr, false), 0);
    EXPECT_EQ(r.HitTest({30, 50}, nullptr, false), 0);
    // Selected: 10 x 10 pixels around each handle, the first that holds the point wins.
    EXPECT_EQ(r.HitTest({5, 5}, nullptr, true), 1);
    EXPECT_EQ(r.HitTest({53, 53}, nullptr, true), 5);
    EXPECT_EQ(r.HitTest({54, 54}, nullptr, true), 0);
    EXPECT_EQ(r.HitTest({30, 30}, nullptr, true), 0);
    // Through a scrolled view the handle squares stay 10 pixels wide in document units.
    FakeViewSite view;
    view.scroll = {100, 200};
    EXPECT_EQ(r.HandleRect(5, &view), (CRect{44, 44, 54, 54}));
}

TEST(CDrawRect, TouchesRectByShape)
{
    struct Case {
        const char* legend;
        int shape;
        CRect probe;
        bool touches;
    } cases[] = {
        {"rectangle, inside", CDrawRect::rectangle, {20, 20, 21, 21}, true},
        {"rectangle, right edge is outside", CDrawRect::rectangle, {100, 20, 101, 21}, false},
        {"rectangle, reversed probe", CDrawRect::rectangle, {30, 30, 20, 20}, true},
        {"ellipse, centre", CDrawRect::ellipse, {50, 30, 51, 31}, true},
        {"ellipse, corner of its box", CDrawRect::ellipse, {1, 1, 2, 2}, false},
        {"ellipse, left end of the axis", CDrawRect::ellipse, {0, 30, 1, 31}, true},
        {"rounded, corner cut away", CDrawRect::roundRectangle, {0, 0, 2, 2}, false},
        {"rounded, edge middle", CDrawRect::roundRectangle, {0, 30, 1, 31}, true},
        {"line, on the diagonal", CDrawRect::line, {50, 30, 51, 31}, true},
        {"line, near the diagonal", CDrawRect::line, {52, 30, 53, 31}, true},
        {"line, far from it", CDrawRect::line, {90, 5, 91, 6}, false},
        {"line, start point", CDrawRect::line, {0, 0, 1, 1}, true},
        {"unknown shape", 7, {50, 30, 51, 31}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Shape(c.shape, {0, 0, 100, 60})->TouchesRect(c.probe), c.touches) << c.legend;
    }
}

TEST(CDrawRect, LineIsFoundWithinHalfItsPenAndThreeUnitsOfWhereItIsDrawn)
{
    constexpr int32_t kMin = INT32_MIN;
    constexpr int32_t kMax = INT32_MAX;
    struct Case {
        const char* legend;
        CRect diagonal;  // start and end point
        int32_t pen;
        CRect probe;
        bool touches;
    } cases[] = {
        {"horizontal, on it", {0, 50, 100, 50}, 1, {50, 50, 51, 51}, true},
        {"horizontal, 3 below", {0, 50, 100, 50}, 1, {50, 53, 51, 54}, true},
        {"horizontal, 4 below", {0, 50, 100, 50}, 1, {50, 54, 51, 55}, false},
        {"horizontal, 3 beyond its end", {0, 50, 100, 50}, 1, {103, 50, 104, 51}, true},
        {"horizontal, 4 beyond its end", {0, 50, 100, 50}, 1, {104, 50, 105, 51}, false},
        {"vertical, 2 beside", {50, 0, 50, 100}, 1, {52, 40, 53, 41}, true},
        {"vertical, 4 beside", {50, 0, 50, 100}, 1, {54, 40, 55, 41}, false},
        {"slope 1/100, midway between rows", {0, 0, 1000, 10}, 1, {450, 4, 451, 5}, true},
        {"slope 1/100, 5 above", {0, 0, 1000, 10}, 1, {450, -1, 451, 0}, false},
        {"reversed, on it", {100, 0, 0, 100}, 1, {10, 90, 11, 91}, true},
        {"reversed, on the other diagonal", {100, 0, 0, 100}, 1, {10, 10, 11, 11}, false},
        {"rubber band across the middle", {0, 50, 100, 50}, 1, {40, 0, 60, 100}, true},
        {"rubber band 4 above", {0, 50, 100, 50}, 1, {40, 0, 60, 47}, false},
        {"reversed rubber band holding an end", {0, 50, 100, 50}, 1, {110, 60, 90, 40}, true},
        {"steep, 2 beside", {0, 0, 10, 100}, 1, {7, 50, 8, 51}, true},
        {"steep, 9 beside", {0, 0, 10, 100}, 1, {14, 50, 15, 51}, false},
        {"thick pen, 7 below", {0, 50, 100, 50}, 9, {50, 57, 51, 58}, true},
        {"thick pen, 8 below", {0, 50, 100, 50}, 9, {50, 58, 51, 59}, false},
        {"across the whole plane", {kMin, kMin, kMax, kMax}, 1, {0, 0, 1, 1}, true},
        {"beside the whole plane's diagonal", {kMin, kMin, kMax, kMax}, 1, {0, 9, 1, 10}, false},
        {"empty probe", {0, 50, 100, 50}, 1, {50, 40, 50, 60}, false},
    };
    for (const Case& c : cases) {
        CDrawRect line(c.diagonal, true);
        line.SetPen({PS_INSIDEFRAME, {c.pen, c.pen}, 0});
        EXPECT_EQ(line.TouchesRect(c.probe), c.touches) << c.legend;
        if (c.probe.Width() == 1 && c.probe.Height() == 1) {
            EXPECT_EQ(line.HitTest(c.probe.TopLeft(), nullptr, false), c.touches ? 1 : 0)
                << c.legend;
        }
    }
}

TEST(CDrawRect, DrawPaintsTheFigureWithPenAndBrushAsFlagged)
{
    struct Case {
        const char* legend;
        int shape;
        bool pen;
        bool brush;
        uint32_t penStyle;
        std::string call;
    } cases[] = {
        {"rectangle", CDrawRect::rectangle, true, true, PS_INSIDEFRAME,
         "Rectangle 10,20,50,60 pen 6/3/ff brush 0/c0c0c0"},
        {"no pen", CDrawRect::rectangle, false, true, PS_INSIDEFRAME,
         "Rectangle 10,20,50,60 brush 0/c0c0c0"},
        {"no brush", CDrawRect::ellipse, true, false, PS_INSIDEFRAME,
         "Ellipse 10,20,50,60 pen 6/3/ff"},
        {"rounded", CDrawRect::roundRectangle, true, true, PS_INSIDEFRAME,
         "RoundRect 10,20,50,60 16,16 pen 6/3/ff brush 0/c0c0c0"},
        {"pen that GDI cannot make", CDrawRect::rectangle, true, true, 9, ""},
        {"unknown shape", 4, true, true, PS_INSIDEFRAME, ""},
    };
    for (const Case& c : cases) {
        auto r = Shape(c.shape, {10, 20, 50, 60});
        r->SetPen({c.penStyle, {3, 3}, 0xFF});
        r->SetPenFlag(c.pen);
        r->SetBrushFlag(c.brush);
        RecordingPainter dc;
        r->Draw(dc);
        EXPECT_EQ(dc.calls,
                  c.call.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.call})
            << c.legend;
    }
}

TEST(CDrawRect, LineIsDrawnInsideThePenWidth)
{
    struct Case {
        const char* legend;
        CRect diagonal;
        CPoint width;
        std::string call;
    } cases[] = {
        {"width 1", {0, 0, 100, 50}, {1, 1}, "Line 1,1 100,50 pen 6/1/0"},
        {"width 4", {0, 0, 100, 50}, {4, 4}, "Line 2,2 98,48 pen 6/4/0"},
        {"width 5 reversed", {100, 0, 0, 50}, {5, 5}, "Line 98,3 3,48 pen 6/5/0"},
        {"different widths", {0, 0, 100, 50}, {3, 7}, "Line 2,4 99,47 pen 6/3/0"},
    };
    for (const Case& c : cases) {
        CDrawRect line(c.diagonal, true);
        line.SetPen({PS_INSIDEFRAME, c.width, 0});
        RecordingPainter dc;
        line.Draw(dc);
        EXPECT_EQ(dc.calls, std::vector<std::string>{c.call}) << c.legend;
    }
}

TEST(CDrawRect, HandlesArePaintedOnlyWhenSelectedAndShown)
{
    CDrawRect line({0, 0, 20, 10}, true);
    RecordingPainter dc;
    line.DrawHandles(dc, HandleState::normal);
    EXPECT_TRUE(dc.calls.empty());
    line.DrawHandles(dc, HandleState::active);
    EXPECT_EQ(dc.calls,
              (std::vector<std::string>{"InvertRect -3,-3,4,4", "InvertRect 16,6,23,13"}));
    dc.calls.clear();
    line.SetShowHandles(false);
    line.DrawHandles(dc, HandleState::selected);
    EXPECT_TRUE(dc.calls.empty());
}

TEST(CDrawRect, CloneCopiesShapeAndDirectionAndShowsHandles)
{
    CDrawDoc doc;
    CDrawRect original({100, 50, 20, 90}, true);
    original.SetPen({PS_SOLID, {4, 4}, 0x0000FF});
    original.SetShowHandles(false);
    CDrawObj* copy = doc.Add(original.Clone(&doc));
    ASSERT_EQ(Objects(doc), std::vector<CDrawObj*>{copy});
    auto* clone = dynamic_cast<CDrawRect*>(copy);
    ASSERT_TRUE(clone);
    EXPECT_EQ(clone->GetLineEnds(), (CRect{100, 50, 20, 90}));
    EXPECT_EQ(clone->GetShape(), CDrawRect::line);
    EXPECT_EQ(clone->GetPen(), original.GetPen());
    EXPECT_TRUE(clone->GetShowHandles());
    EXPECT_EQ(clone->GetDocument(), &doc);
    EXPECT_TRUE(doc.IsModified());
}

TEST(CDrawRect, GeometryChangesRepaintThroughTheViewOrAllViews)
{
    CDrawDoc doc;
    FakeViewSite view;
    doc.AddView(&view);
    auto* r = AddNew<CDrawRect>(doc, CRect{0, 0, 10, 10});
    doc.SetModifiedFlag(false);
    r->MoveTo({0, 0, 10, 10}, &view);
    EXPECT_FALSE(doc.IsModified()) << "moving to the same place changes nothing";
    r->MoveTo({5, 5, 15, 15}, &view);
    EXPECT_EQ(view.invalidated, (std::vector<CDrawObj*>{r, r}));
    EXPECT_TRUE(doc.IsModified());
    r->MoveTo({6, 6, 16, 16});
    ASSERT_EQ(view.updates.size(), 2u);
    EXPECT_EQ(view.updates[0].hint, 1);
    EXPECT_EQ(view.updates[0].object, r);
    doc.RemoveView(&view);
}

}  // namespace
