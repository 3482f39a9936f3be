#include <algorithm>
#include <cstdint>
#include <iterator>
#include <vector>

#include <gtest/gtest.h>

#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawItem.h"
#include "draw/model/CDrawOleObj.h"
#include "draw/model/CDrawPoly.h"
#include "draw/model/CDrawRect.h"
#include "draw/model/CDrawText.h"
#include "tests/TempDir.h"
#include "tests/draw/DrawTestSupport.h"
#include "tests/draw/TestMaps.h"
#include "tests/draw/ToolDesk.h"

// A map file may hold any int32 as a coordinate or pen width. Whatever the geometry of
// objects loaded from such a file computes stays defined (the sanitizer build aborts on an
// overflow) and never wraps round to the other end of the plane.

namespace {

constexpr int32_t kMin = INT32_MIN;
constexpr int32_t kMax = INT32_MAX;

bool Within(int64_t v, int64_t low, int64_t high)
{
    return low <= v && v <= high;
}

// `after` is `before` moved by `d`, or the end of the int32 range the move stopped at.
bool MovedBy(int32_t before, int32_t after, int64_t d)
{
    return after == std::clamp<int64_t>(int64_t{before} + d, kMin, kMax);
}

// One object of each kind at `r` (the polygons through its corners, the embedded object's
// extent kept), with pen widths `pen`, saved as a map file and opened again.
void LoadEveryKindAt(CDrawDoc& loaded, const CRect& r, CPoint pen, const TempDir& dir)
{
    CDrawDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    for (int shape :
         {CDrawRect::rectangle, CDrawRect::roundRectangle, CDrawRect::ellipse, CDrawRect::line}) {
        AddShape(doc, shape, r);
    }
    AddShape(doc, CDrawRect::line, {r.right, r.top, r.left, r.bottom});
    AddNew<CDrawText>(doc, r);
    for (int kind : {CDrawPoly::polygon, CDrawPoly::polyline}) {
        auto* poly = AddNew<CDrawPoly>(doc, CRect{}, kind);
        for (CPoint p :
             {r.TopLeft(), CPoint{r.right, r.top}, r.BottomRight(), CPoint{r.left, r.bottom}}) {
            poly->AppendVertex(p);
        }
    }
    CDrawOleObj* ole = AddEmbedded(doc, r, "a.bin", {1, 2});
    ole->TakeExtent(r, ole->GetExtent());
    for (CDrawObj* object : doc.ObjectList()) {
        object->SetPen({PS_INSIDEFRAME, pen, 0});
    }
    doc.OnSaveDocument(dir.File("far.orvg"));
    loaded.OnOpenDocument(dir.File("far.orvg"));
}

TEST(ExtremePositions, EveryGeometryOperationOfEveryKindStaysDefinedAndDoesNotWrap)
{
    struct Row {
        const char* legend;
        CRect position;
        CPoint pen;
    } rows[] = {
        {"the whole plane", {kMin, kMin, kMax, kMax}, {1, 1}},
        {"the whole plane reversed, widest pens", {kMax, kMax, kMin, kMin}, {kMax, kMax}},
        {"left far out, right a quarter of the range", {-2147483646, 0, 1073741824, 10}, {1, 1}},
        {"mixed signs, reversed", {1073741824, 2147483000, -2147483646, -5}, {kMin, kMax}},
        {"a point at the minimum", {kMin, kMin, kMin, kMin}, {0, 0}},
        {"a point at the maximum", {kMax, kMax, kMax, kMax}, {kMax, kMin}},
        {"touching the maximum", {kMax - 3, kMin + 2, kMax, kMin}, {9, 9}},
    };
    const CPoint farPoints[] = {{kMin, kMin}, {kMax, kMax}, {kMax, kMin}, {0, 0}};

    for (const Row& row : rows) {
        SCOPED_TRACE(row.legend);
        TempDir dir;
        Desk desk;
        LoadEveryKindAt(desk.doc, row.position, row.pen, dir);
        std::vector<CDrawObj*> loaded = Objects(desk.doc);
        ASSERT_EQ(loaded.size(), 9u);
        FakeToolView& view = desk.view;
        RecordingPainter painter;

        for (CDrawObj* object : loaded) {
            auto* poly = dynamic_cast<CDrawPoly*>(object);
            auto* rect = dynamic_cast<CDrawRect*>(object);
            const CRect p = object->GetPosition();
            const CRect n = p.Normalized();

            // Handles: the edge handles halfway along the edges, each handle at most one
            // unit beyond the position's edges, inside its own square.
            int count = object->HandleCount();
            for (int h = 0; h <= count + 1; ++h) {
                CPoint at = object->HandlePoint(h);
                CRect square = object->HandleRect(h, nullptr);
                EXPECT_TRUE(Within(at.x, square.left, square.right) &&
                            Within(at.y, square.top, square.bottom))
                    << "handle " << h;
                bool rectHandle = !poly && h >= 1 && h <= 8;
                if (rectHandle) {
                    EXPECT_TRUE(Within(at.x, int64_t{n.left} - 1, n.right) &&
                                Within(at.y, int64_t{n.top} - 1, n.bottom))
                        << "handle " << h << " at " << at.x << "," << at.y;
                }
                object->HandleRect(h, &view);
                object->HitTest(at, &view, true);
                object->HitTest(at, nullptr, true);
                object->HitTest(at, &view, false);
                object->TouchesRect(RectAround(at, 0, 0, 1, 1));
                object->TouchesRect(RectAround(at, 9, 9, 9, 9));
            }
            if (!poly && !(rect && rect->GetShape() == CDrawRect::line)) {
                EXPECT_EQ(object->HandlePoint(2).x, p.left + (int64_t{p.right} - p.left) / 2);
                EXPECT_EQ(object->HandlePoint(8).y, p.top + (int64_t{p.bottom} - p.top) / 2);
            }

            CRect painted = object->PaintedArea();
            EXPECT_TRUE(painted.left <= n.left && painted.top <= n.top &&
                        painted.right >= n.right && painted.bottom >= n.bottom);

            painter.calls.clear();
            object->Draw(painter);
            object->DrawHandles(painter, HandleState::selected);
            EXPECT_FALSE(painter.calls.empty());
            desk.doc.Add(object->Clone(&desk.doc));
        }

        for (CPoint at : farPoints) {
            desk.doc.TopObjectAt(at);
            view.SelectInRect(RectAround(view.DocToView(at), 0, 0, 20, 20), false);
        }
        CRect area = InflateRect(row.position.Normalized(), 5, 5, 5, 5);
        desk.doc.Draw(painter, &view, &area);
        desk.doc.Draw(painter, &view);

        // Everything selected and dragged by (20, -15) with a rectangle on top.
        CDrawObj* handle = desk.AddRect({0, 0, 10, 10});
        view.Select(nullptr, false);
        for (CDrawObj* object : desk.doc.ObjectList()) {
            view.Select(object, true);
        }
        std::vector<CRect> before;
        for (CDrawObj* object : loaded) {
            before.push_back(object->GetPosition());
        }
        desk.Press({5, 5});
        desk.Hold({25, -10});
        desk.Release({25, -10});
        EXPECT_EQ(handle->GetPosition(), (CRect{20, -15, 30, -5}));
        for (size_t i = 0; i < loaded.size(); ++i) {
            CRect moved = loaded[i]->GetPosition();
            EXPECT_TRUE(MovedBy(before[i].left, moved.left, 20) &&
                        MovedBy(before[i].right, moved.right, 20) &&
                        MovedBy(before[i].top, moved.top, -15) &&
                        MovedBy(before[i].bottom, moved.bottom, -15))
                << "object " << i;
        }

        // Every handle dragged to the ends of the range; a polygon's bounds then hold its
        // vertices, and the position is normalized afterwards.
        for (CDrawObj* object : loaded) {
            for (int h = 1; h <= object->HandleCount(); ++h) {
                object->DragHandleTo(h, farPoints[size_t(h) % std::size(farPoints)], &view);
            }
            if (auto* poly = dynamic_cast<CDrawPoly*>(object)) {
                poly->AppendVertex({kMax, kMin}, &view);
                poly->AppendVertex({kMin, kMax});
                CRect bounds = poly->GetPosition();
                for (CPoint v : poly->Vertices()) {
                    EXPECT_TRUE(Within(v.x, bounds.left, bounds.right) &&
                                Within(v.y, bounds.top, bounds.bottom));
                }
            }
            object->NormalizePosition();
            CRect r = object->GetPosition();
            EXPECT_TRUE(r.left <= r.right && r.top <= r.bottom);
            object->PaintedArea();
        }

        // The embedded object's item grows fourfold, then is sized anew.
        auto* ole = dynamic_cast<CDrawOleObj*>(loaded.back());
        ASSERT_TRUE(ole && ole->GetClientItem());
        CDrawItem* item = ole->GetClientItem();
        item->SetEmbeddedFile("a.bin", "application/octet-stream", {1}, {10160, 10160});
        item->SyncExtent();
        ole->TakeExtent(row.position, {0, 0});
        item->SyncExtent();

        // A polygon drawn with the view scrolled to the far corner.
        view.transform = {100, {kMax, kMax}};
        desk.tools.SetCurrent(ToolKind::polygon);
        desk.Press({kMax, kMax});
        desk.Hold({kMax - 10, kMax - 10});
        desk.DoubleClick({kMax - 10, kMax - 10});

        desk.doc.OnSaveDocument(dir.File("moved.orvg"));
    }
}

}  // namespace
