#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "draw/model/CDrawDoc.h"
#include "draw/model/UpdateHint.h"
#include "tests/draw/DrawTestSupport.h"
#include "tests/draw/TestMaps.h"

// What every kind of drawing object does through the base class, as the map view uses it.

namespace {

std::unique_ptr<CDrawPoly> Triangle()
{
    auto poly = std::make_unique<CDrawPoly>(CRect{}, CDrawPoly::polygon);
    for (CPoint p : {CPoint{0, 0}, CPoint{40, 0}, CPoint{0, 40}}) {
        poly->AppendVertex(p);
    }
    return poly;
}

TEST(CDrawObj, SelectedObjectsAreHitOnTheirHandlesThroughAScrolledView)
{
    FakeViewSite view;
    view.scroll = {100, 200};
    CDrawRect small({0, 0, 8, 8});
    CDrawRect reversed({100, 0, 0, 100}, true);
    CDrawText text({10, 10, 50, 30});
    auto triangle = Triangle();
    struct Case {
        const char* legend;
        const CDrawObj& object;
        CPoint point;
        int handle;
    } cases[] = {
        {"top-left corner of handle 1's square", text, {5, 5}, 1},
        {"its right edge is outside", text, {15, 10}, 0},
        {"overlapping squares: the lower number", small, {2, 2}, 1},
        {"beside both squares", small, {9, 12}, 0},
        {"start of a reversed line", reversed, {95, -4}, 1},
        {"end of a reversed line", reversed, {4, 103}, 2},
        {"middle of a line", reversed, {50, 50}, 0},
        {"third vertex", *triangle, {-5, 44}, 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.object.HitTest(c.point, &view, true), c.handle) << c.legend;
    }
}

TEST(CDrawObj, HandleCursorsByKind)
{
    CDrawRect line({100, 50, 20, 90}, true);
    CDrawText text({0, 0, 10, 10});
    CDrawOleObj embedded({0, 0, 10, 10});
    struct Case {
        const char* legend;
        const CDrawObj& object;
        int handle;
        HandleCursor cursor;
    } cases[] = {
        {"line start", line, 1, HandleCursor::sizeNWSE},
        {"line end", line, 2, HandleCursor::sizeNWSE},
        {"text top right", text, 3, HandleCursor::sizeNESW},
        {"text right", text, 4, HandleCursor::sizeWE},
        {"embedded top", embedded, 2, HandleCursor::sizeNS},
        {"embedded bottom left", embedded, 7, HandleCursor::sizeNESW},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.object.GetHandleCursor(c.handle), c.cursor) << c.legend;
    }
}

TEST(CDrawObj, ColourSettersRepaintInEveryViewAndMarkTheDocument)
{
    struct Case {
        const char* legend;
        std::function<void(CDrawObj&)> set;
        COLORREF pen;
        COLORREF brush;
    } cases[] = {
        {"line colour", [](CDrawObj& o) { o.SetLineColor(0x0000FF); }, 0x0000FF, 0xC0C0C0},
        {"fill colour", [](CDrawObj& o) { o.SetFillColor(0x00FF00); }, 0, 0x00FF00},
    };
    for (const Case& c : cases) {
        CDrawDoc doc;
        FakeViewSite first;
        FakeViewSite second;
        doc.AddView(&first);
        doc.AddView(&second);
        CDrawRect* shape = AddShape(doc, CDrawRect::ellipse, {0, 0, 10, 10});
        doc.SetModifiedFlag(false);
        c.set(*shape);
        EXPECT_EQ(shape->GetPen().colour, c.pen) << c.legend;
        EXPECT_EQ(shape->GetBrush().colour, c.brush) << c.legend;
        EXPECT_TRUE(doc.IsModified()) << c.legend;
        for (const FakeViewSite* view : {&first, &second}) {
            ASSERT_EQ(view->updates.size(), 1u) << c.legend;
            EXPECT_EQ(view->updates[0].hint, HINT_REPAINT_OBJECT) << c.legend;
            EXPECT_EQ(view->updates[0].object, shape) << c.legend;
        }
        doc.RemoveView(&first);
        doc.RemoveView(&second);
    }
}

}  // namespace
