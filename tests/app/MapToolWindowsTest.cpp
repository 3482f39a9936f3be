// Each map window draws with its own tool and gesture, as a user meets them: the tool bar,
// the mouse and the keys of two windows, and of two panes of one window.

#include <QToolBar>

#include "draw/model/CDrawPoly.h"
#include "res/CommandIds.h"
#include "tests/app/MapWindowFixture.h"

namespace {

class MapToolWindows : public MapWindow {
protected:
    void ChoosePolygonTool()
    {
        QToolBar* bar = frame().toolBar();
        QTest::mouseClick(bar->widgetForAction(frame().Action(ID_DRAW_POLYGON)), Qt::LeftButton);
    }
    // Single clicks, slower than a double-click, each after the mouse came there.
    void ClickVertices(CDrawView* on, std::initializer_list<QPoint> points)
    {
        for (QPoint p : points) {
            QTest::mouseMove(on->viewport(), p);
            QTest::mouseClick(on->viewport(), Qt::LeftButton, {}, p);
            QTest::qWait(QApplication::doubleClickInterval() + 20);
        }
    }
    std::vector<CPoint> Vertices(CDrawObj* object)
    {
        auto* poly = dynamic_cast<CDrawPoly*>(object);
        return poly ? poly->Vertices() : std::vector<CPoint>{};
    }
};

TEST_F(MapToolWindows, AWindowClosedMidPolygonLeavesTheOtherWindowsToolAndMapAlone)
{
    app->documents().NewDocument(app->documents().templates()[1].get());
    QApplication::processEvents();
    auto* second = qobject_cast<CSplitFrame*>(frame().ActiveChild());
    ASSERT_NE(second, nullptr);
    ASSERT_NE(second, window);
    CDrawView* secondView = second->ActivePane();
    ChoosePolygonTool();
    EXPECT_TRUE(frame().Update(ID_DRAW_POLYGON).checked);
    ClickVertices(secondView, {{100, 100}, {200, 120}});
    ASSERT_EQ(secondView->GetDocument()->ObjectList().size(), 1u);

    QTest::keyClick(secondView, Qt::Key_F4, Qt::ControlModifier);
    QApplication::processEvents();
    ASSERT_EQ(frame().ActiveChild(), window) << "the second window closed";
    EXPECT_TRUE(frame().Update(ID_DRAW_SELECT).checked) << "this window's own tool";

    ChoosePolygonTool();
    ClickVertices(view, {{100, 100}, {200, 120}, {150, 200}, {100, 100}});
    ASSERT_EQ(doc->ObjectList().size(), 1u);
    EXPECT_EQ(Vertices(doc->ObjectList()[0]),
              (std::vector<CPoint>{{100, 100}, {200, 120}, {150, 200}}));
}

TEST_F(MapToolWindows, APaneLeftMidPolygonEndsItAndTheOtherPaneStartsItsOwn)
{
    window->ToggleSplit();
    CDrawView* other = window->Pane(0, 1);
    ASSERT_NE(other, view);
    ASSERT_TRUE(view->IsActiveView());
    ChoosePolygonTool();
    ClickVertices(view, {{100, 100}, {200, 120}});
    ASSERT_EQ(doc->ObjectList().size(), 1u);
    std::vector<CPoint> drawn = Vertices(doc->ObjectList()[0]);

    ClickVertices(other, {{50, 60}});
    EXPECT_TRUE(other->IsActiveView());
    EXPECT_FALSE(view->HasCapture());
    EXPECT_TRUE(frame().Update(ID_DRAW_POLYGON).checked) << "the tool stays chosen";
    ASSERT_EQ(doc->ObjectList().size(), 2u);
    EXPECT_EQ(Vertices(doc->ObjectList()[0]), drawn) << "the first polygon stays as drawn";
    EXPECT_EQ(Vertices(doc->ObjectList()[1]).size(), 2u) << "the click began a new one";
}

}  // namespace
