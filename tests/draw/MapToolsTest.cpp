#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include <gtest/gtest.h>

#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawPoly.h"
#include "draw/model/CDrawRect.h"
#include "draw/model/CDrawText.h"
#include "draw/model/CMapTool.h"
#include "draw/model/DrawObjEditor.h"
#include "draw/model/UpdateHint.h"
#include "tests/draw/DrawTestSupport.h"
#include "tests/draw/ToolDesk.h"

namespace {

CRect Offset(CRect r, int dx, int dy)
{
    return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

TEST(MapToolShapes, DragAddsTheToolsObjectNormalizedAndKeepsTheTool)
{
    struct Row {
        const char* legend;
        ToolKind kind;
        int shape;  // -1: a text
        CPoint to;
        CRect expected;  // GetLineEnds of a CDrawRect, the position of a text
    } rows[] = {
        {"line up-right: from the mouse to the press point",
         ToolKind::line,
         CDrawRect::line,
         {160, 60},
         {160, 60, 100, 100}},
        {"rectangle up-left",
         ToolKind::rectangle,
         CDrawRect::rectangle,
         {40, 60},
         {40, 60, 100, 100}},
        {"rounded rectangle down-right",
         ToolKind::roundRectangle,
         CDrawRect::roundRectangle,
         {160, 140},
         {100, 100, 160, 140}},
        {"ellipse down-left",
         ToolKind::ellipse,
         CDrawRect::ellipse,
         {40, 140},
         {40, 100, 100, 140}},
        {"text up-right", ToolKind::text, -1, {160, 60}, {100, 60, 160, 100}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.legend);
        Desk desk;
        CDrawObj* old = desk.AddRect({0, 0, 10, 10});
        desk.view.Select(old, false);
        desk.tools.SetCurrent(row.kind);

        desk.Press({100, 100});
        desk.Hold({130, 120});
        desk.Hold(row.to);
        EXPECT_EQ(desk.view.cursor, ToolCursor::cross);
        desk.Release(row.to);

        ASSERT_EQ(desk.doc.ObjectList().size(), 2u);
        CDrawObj* added = desk.doc.ObjectList()[1];
        if (row.shape < 0) {
            ASSERT_TRUE(dynamic_cast<CDrawText*>(added));
            EXPECT_EQ(added->GetPosition(), row.expected);
        } else {
            auto* rect = dynamic_cast<CDrawRect*>(added);
            ASSERT_TRUE(rect);
            EXPECT_EQ(rect->GetShape(), row.shape);
            EXPECT_EQ(rect->GetLineEnds(), row.expected);
        }
        EXPECT_EQ(desk.view.selection, std::vector<CDrawObj*>{added});
        EXPECT_EQ(desk.tools.Current(), row.kind);
        EXPECT_FALSE(desk.view.capture);
    }
}

// Objects of the selection tests: A, B side by side, and empty paper.
constexpr CRect kA{10, 10, 50, 50}, kB{100, 10, 140, 50};
constexpr CPoint kInA{30, 30}, kInB{120, 30}, kPaper{300, 300};

TEST(MapToolShapes, ClickWithoutDragAddsNothingAndSelectsWhatLiesThere)
{
    struct Row {
        const char* legend;
        CPoint at;
        bool selectsA;
    } rows[] = {{"on an object: selects it", kInA, true},
                {"on empty paper: clears the selection", kPaper, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.legend);
        Desk desk;
        CDrawObj* a = desk.AddRect(kA);
        desk.view.Select(desk.AddRect(kB), false);
        desk.tools.SetCurrent(ToolKind::rectangle);

        desk.Click(row.at);

        EXPECT_EQ(desk.doc.ObjectList().size(), 2u);
        EXPECT_EQ(desk.view.selection, row.selectsA ? std::vector{a} : std::vector<CDrawObj*>{});
        EXPECT_EQ(desk.tools.Current(), ToolKind::selection);
        EXPECT_FALSE(desk.view.capture);
        EXPECT_FALSE(desk.view.bandShown);
    }
}

TEST(MapToolSelection, ClicksSelectAsTheKeysSay)
{
    constexpr MouseFlags kShift{.shift = true};
    struct Row {
        const char* legend;
        std::vector<int> before;  // indices of A, B
        CPoint at;
        MouseFlags flags;
        bool doubleClick;
        std::vector<int> after;
    } rows[] = {
        {"click on an unselected object selects it alone", {0}, kInB, {}, false, {1}},
        {"Shift+click adds it", {0}, kInB, kShift, false, {0, 1}},
        {"click on a selected object keeps the selection", {0, 1}, kInA, {}, false, {0, 1}},
        {"click on empty paper clears the selection", {0, 1}, kPaper, {}, false, {}},
        {"Shift+click on empty paper keeps it", {0}, kPaper, kShift, false, {0}},
        {"Shift+double-click takes the object out", {0, 1}, kInA, kShift, true, {1}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.legend);
        Desk desk;
        CDrawObj* objects[] = {desk.AddRect(kA), desk.AddRect(kB)};
        for (int i : row.before) {
            desk.view.Select(objects[i], true);
        }
        row.doubleClick ? desk.DoubleClick(row.at, row.flags) : desk.Click(row.at, row.flags);

        std::vector<CDrawObj*> expected;
        for (int i : row.after) {
            expected.push_back(objects[i]);
        }
        EXPECT_EQ(desk.view.selection, expected);
    }
}

TEST(MapToolSelection, CtrlDragLeavesCopiesAndMovesTheSelection)
{
    Desk desk;
    FakeViewSite other;
    desk.doc.AddView(&other);
    CDrawObj* a = desk.AddRect(kA);
    CDrawObj* b = desk.AddRect(kB);
    desk.view.Select(a, false);
    desk.view.Select(b, true);

    MouseFlags ctrl{.control = true};
    desk.Press(kInA, ctrl);
    desk.Hold({40, 35}, ctrl);
    desk.Hold({50, 45}, ctrl);
    desk.Release({50, 45}, ctrl);
    desk.doc.RemoveView(&other);

    ASSERT_EQ(desk.doc.ObjectList().size(), 4u);
    EXPECT_EQ(a->GetPosition(), Offset(kA, 20, 15));
    EXPECT_EQ(b->GetPosition(), Offset(kB, 20, 15));
    EXPECT_EQ(desk.doc.ObjectList()[2]->GetPosition(), kA);
    EXPECT_EQ(desk.doc.ObjectList()[3]->GetPosition(), kB);
    EXPECT_EQ(desk.view.selection, (std::vector{a, b}));
    EXPECT_EQ(desk.view.cursor, ToolCursor::arrow);
    // The other views repaint everything; the dragging view repainted as it went.
    ASSERT_EQ(other.updates.size(), 1u);
    EXPECT_EQ(other.updates[0].hint, HINT_REPAINT_ALL);
    EXPECT_TRUE(desk.view.hints.empty());
}

TEST(MapToolSelection, DraggingAHandleAcrossTheCornerLeavesTheObjectNormalized)
{
    Desk desk;
    CDrawObj* a = desk.AddRect(kA);
    desk.view.Select(a, false);

    desk.Press({49, 49});  // handle 5, bottom-right
    desk.Hold({0, 0});
    EXPECT_EQ(a->GetPosition(), (CRect{10, 10, 0, 0}));
    EXPECT_EQ(desk.view.cursor, ToolCursor::sizeNWSE);
    desk.Release({0, 0});

    EXPECT_EQ(a->GetPosition(), (CRect{0, 0, 10, 10}));
    EXPECT_EQ(desk.view.selection, std::vector{a});
}

TEST(MapToolSelection, RubberBandAddsEveryObjectItTouches)
{
    struct Row {
        const char* legend;
        MouseFlags flags;
        bool keepsC;
    } rows[] = {{"without Shift the press clears the selection first", {}, false},
                {"with Shift the selection there stays", {.shift = true}, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.legend);
        Desk desk;
        CDrawObj* a = desk.AddRect(kA);
        CDrawObj* b = desk.AddRect(kB);
        CDrawObj* c = desk.AddRect({300, 300, 340, 340});
        desk.view.Select(c, false);

        desk.Press({30, 70}, row.flags);
        desk.Hold({70, 60}, row.flags);
        desk.Hold({120, 40}, row.flags);
        desk.Release({120, 40}, row.flags);

        // Client rectangles: document minus the scroll position (30, 50).
        EXPECT_EQ(desk.view.rubberBands,
                  (std::vector<CRect>{{0, 20, 0, 20}, {0, 10, 40, 20}, {0, -10, 90, 20}}));
        EXPECT_FALSE(desk.view.bandShown);
        EXPECT_EQ(desk.view.selection, (row.keepsC ? std::vector{c, a, b} : std::vector{a, b}));
    }
}

TEST(MapToolSelection, HoveringShowsHandleCursorsOnlyOverTheOnlySelectedObject)
{
    struct Row {
        const char* legend;
        ToolKind tool;
        std::vector<int> selected;  // A, B, polygon P
        CPoint at;
        ToolCursor cursor;
    } rows[] = {
        {"corner handle 1", ToolKind::selection, {0}, {10, 10}, ToolCursor::sizeNWSE},
        {"top handle 2", ToolKind::selection, {0}, {30, 10}, ToolCursor::sizeNS},
        {"corner handle 3", ToolKind::selection, {0}, {49, 10}, ToolCursor::sizeNESW},
        {"left handle 8", ToolKind::selection, {0}, {10, 30}, ToolCursor::sizeWE},
        {"polygon vertex", ToolKind::selection, {2}, {200, 200}, ToolCursor::sizeAll},
        {"inside, off the handles", ToolKind::selection, {0}, kInA, ToolCursor::arrow},
        {"two selected", ToolKind::selection, {0, 1}, {10, 10}, ToolCursor::arrow},
        {"another tool current", ToolKind::rectangle, {0}, {10, 10}, ToolCursor::cross},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.legend);
        Desk desk;
        CDrawObj* objects[] = {desk.AddRect(kA), desk.AddRect(kB),
                               AddNew<CDrawPoly>(desk.doc, CRect{}, CDrawPoly::polygon)};
        auto* poly = static_cast<CDrawPoly*>(objects[2]);
        for (CPoint p : {CPoint{200, 200}, CPoint{260, 200}, CPoint{230, 260}}) {
            poly->AppendVertex(p);
        }
        for (int i : row.selected) {
            desk.view.Select(objects[i], true);
        }
        desk.tools.SetCurrent(row.tool);
        desk.Move(row.at);
        EXPECT_EQ(desk.view.cursor, row.cursor);
    }
}

TEST(MapToolSelection, DoubleClickAndPropertiesOpenOnlyASingleSelection)
{
    struct Editor : DrawObjEditor {
        void EditShape(CDrawObj& object) override { opened.push_back(&object); }
        void EditText(CDrawText& object) override { opened.push_back(&object); }
        void EditItem(CDrawOleObj&) override {}
        void OpenItem(CDrawOleObj&, DrawViewSite*) override {}
        std::vector<CDrawObj*> opened;
    } editor;
    DrawObjEditor* installed = DrawObjEditor::Installed();
    DrawObjEditor::Install(&editor);
    Desk desk;
    CDrawObj* a = desk.AddRect(kA);
    desk.view.Select(a, false);
    CMapTool* selection = desk.tools.ToolForKind(ToolKind::selection);

    desk.DoubleClick(kInA);
    selection->EditProperties(desk.view);
    desk.view.Select(desk.AddRect(kB), true);
    desk.DoubleClick(kInA);
    selection->EditProperties(desk.view);
    DrawObjEditor::Install(installed);

    EXPECT_EQ(editor.opened, (std::vector{a, a}));
}

// Vertices of the polygon tests.
constexpr CPoint kP1{100, 100}, kP2{200, 100}, kP3{150, 180};

TEST(MapToolPolygon, TwoSingleClicksAtOnePointLeaveNoPolygon)
{
    Desk desk;
    desk.tools.SetCurrent(ToolKind::polygon);
    desk.Click(kP1);
    ASSERT_EQ(desk.doc.ObjectList().size(), 1u);
    EXPECT_EQ(desk.Poly()->Vertices(), (std::vector<CPoint>{kP1, {101, 100}}));
    EXPECT_TRUE(desk.view.capture);

    desk.Click(kP1);
    EXPECT_TRUE(desk.doc.ObjectList().empty());
    EXPECT_TRUE(desk.view.selection.empty());
    EXPECT_EQ(desk.tools.Current(), ToolKind::selection);
    EXPECT_FALSE(desk.view.capture);
}

TEST(MapToolPolygon, PressingTheFirstVertexAgainClosesThePolygon)
{
    Desk desk;
    desk.tools.SetCurrent(ToolKind::polygon);
    desk.Click(kP1);
    desk.Move(kP2);
    EXPECT_EQ(desk.Poly()->Vertices(), (std::vector{kP1, kP2}));
    EXPECT_EQ(desk.view.cursor, ToolCursor::cross);
    desk.Click(kP2);
    desk.Move(kP3);
    desk.Click(kP3);
    desk.Move(kP1);
    desk.Click(kP1);

    ASSERT_EQ(desk.doc.ObjectList().size(), 1u);
    EXPECT_EQ(desk.Poly()->GetKind(), CDrawPoly::polygon);
    EXPECT_EQ(desk.Poly()->Vertices(), (std::vector{kP1, kP2, kP3}));
    EXPECT_EQ(desk.tools.Current(), ToolKind::selection);
    EXPECT_FALSE(desk.view.capture);
}

TEST(MapToolPolygon, DoubleClickEndsAPolylineWithoutTheVertexItsFirstClickLeft)
{
    struct Row {
        const char* legend;
        std::optional<CPoint> moved;  // where the mouse went between the two clicks
        std::vector<CPoint> vertices;
    } rows[] = {
        {"not moved: the vertex one unit right goes", std::nullopt, {kP1, kP2}},
        {"back onto the vertex before: the duplicate goes", kP2, {kP1, kP2}},
        {"one unit right on another line: it stays", CPoint{201, 103}, {kP1, kP2, {201, 103}}},
        {"further right on the same line: it stays", CPoint{203, 100}, {kP1, kP2, {203, 100}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.legend);
        Desk desk;
        desk.tools.SetCurrent(ToolKind::polyline);
        desk.Click(kP1);
        desk.Move(kP2);
        desk.Click(kP2);
        if (row.moved) {
            desk.Move(*row.moved);
        }
        desk.view.invalidated.clear();
        CPoint at = row.moved.value_or(kP2);
        desk.Tool().OnLButtonDblClk(desk.view, {}, desk.Client(at));
        desk.Release(at);

        EXPECT_EQ(desk.Poly()->GetKind(), CDrawPoly::polyline);
        EXPECT_EQ(desk.Poly()->Vertices(), row.vertices);
        bool dropped = row.vertices.size() == 2;
        EXPECT_EQ(desk.view.invalidated,
                  dropped ? std::vector<CDrawObj*>{desk.Poly()} : std::vector<CDrawObj*>{});
        EXPECT_EQ(desk.tools.Current(), ToolKind::selection);
        EXPECT_FALSE(desk.view.capture);
    }
}

TEST(MapToolPolygon, HoldingTheButtonDrawsFreehand)
{
    Desk desk;
    desk.tools.SetCurrent(ToolKind::polygon);
    desk.Press(kP1);
    desk.Hold({110, 104});
    desk.Hold({120, 110});
    EXPECT_EQ(desk.view.cursor, ToolCursor::pencil);
    desk.Release({120, 110});
    EXPECT_TRUE(desk.view.capture);

    desk.Move({130, 140});  // button up: the last vertex follows the mouse
    EXPECT_EQ(desk.Poly()->Vertices(),
              (std::vector<CPoint>{kP1, {101, 100}, {110, 104}, {130, 140}}));
    EXPECT_EQ(desk.view.cursor, ToolCursor::cross);
}

TEST(MapToolPolygon, EscLeavesThePolygonAsDrawnAndTheNextPressStartsAnother)
{
    Desk desk;
    desk.tools.SetCurrent(ToolKind::polygon);
    desk.Click(kP1);
    desk.Move(kP2);
    desk.Click(kP2);
    desk.Move(kP3);
    desk.view.ReleaseCapture();
    desk.Tool().OnCancel();
    EXPECT_EQ(desk.tools.Current(), ToolKind::selection);

    desk.tools.SetCurrent(ToolKind::polygon);
    desk.Click({400, 400});
    ASSERT_EQ(desk.doc.ObjectList().size(), 2u);
    EXPECT_EQ(desk.Poly(0)->Vertices(), (std::vector{kP1, kP2, kP3}));
    EXPECT_EQ(desk.Poly(1)->Vertices(), (std::vector<CPoint>{{400, 400}, {401, 400}}));
}

TEST(MapToolPolygon, APolygonGoneWhileDrawnIsNeverContinuedInWhatTookItsPlace)
{
    struct Row {
        const char* legend;
        bool mapClosed;  // else the polygon was deleted from its map
    } rows[] = {
        {"deleted from its map: the next press there starts a new polygon", false},
        {"its map closed: a press in another window's map starts one there", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.legend);
        auto first = std::make_unique<Desk>();
        first->tools.SetCurrent(ToolKind::polygon);
        first->Click(kP1);
        first->Move(kP2);
        std::unique_ptr<Desk> second;
        Desk* next = first.get();
        if (row.mapClosed) {
            first.reset();
            second = std::make_unique<Desk>();
            next = second.get();
            next->tools.SetCurrent(ToolKind::polygon);
        } else {
            first->doc.Take(first->Poly());
        }
        // Pasted now, a polyline may well lie where the polygon lay.
        auto* pasted = AddNew<CDrawPoly>(next->doc, CRect{}, CDrawPoly::polyline);
        pasted->AppendVertices({kP1, kP2});

        next->Click(kP3);
        ASSERT_EQ(next->doc.ObjectList().size(), 2u);
        EXPECT_EQ(pasted->Vertices(), (std::vector{kP1, kP2}));
        EXPECT_EQ(next->Poly(1)->Vertices(), (std::vector<CPoint>{kP3, {151, 180}}));
    }
}

}  // namespace
