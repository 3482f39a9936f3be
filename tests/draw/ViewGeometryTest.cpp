#include "draw/model/ViewGeometry.h"

#include <climits>

#include <gtest/gtest.h>

namespace {

TEST(ViewTransform, DocumentAndClientPointsAtEveryZoom)
{
    struct Case {
        const char* legend;
        int zoom;
        CPoint scroll;
        CPoint doc;
        CPoint client;
    } cases[] = {
        {"one unit per pixel", 100, {0, 0}, {120, 45}, {120, 45}},
        {"scrolled", 100, {30, 10}, {120, 45}, {90, 35}},
        {"doubled and scrolled", 200, {50, 0}, {120, 45}, {190, 90}},
        {"a third", 33, {0, 0}, {100, 300}, {33, 99}},
        {"left of the page", 100, {0, 0}, {-1, -7}, {-1, -7}},
        {"left of the page, doubled", 200, {0, 0}, {-3, 0}, {-6, 0}},
    };
    for (const Case& c : cases) {
        ViewTransform t{c.zoom, c.scroll};
        EXPECT_EQ(t.DocToView(c.doc), c.client) << c.legend;
        EXPECT_EQ(t.ViewToDoc(c.client), c.doc) << c.legend;
    }
    // A pixel inside a unit's square belongs to that unit, also left of the origin.
    ViewTransform quadruple{400, {0, 0}};
    EXPECT_EQ(quadruple.ViewToDoc({7, -1}), (CPoint{1, -1}));
    EXPECT_EQ(quadruple.ViewToDoc({-4, -5}), (CPoint{-1, -2}));
}

TEST(ViewTransform, ExtremePointsAreClampedNotWrapped)
{
    ViewTransform t{800, {INT_MAX, INT_MIN}};
    EXPECT_EQ(t.DocToView({INT_MAX, INT_MIN}), (CPoint{INT_MAX, INT_MIN}));
    EXPECT_EQ(t.DocToView({INT_MIN, INT_MAX}), (CPoint{INT_MIN, INT_MAX}));
    ViewTransform small{25, {INT_MAX, 0}};
    EXPECT_EQ(small.ViewToDoc({INT_MAX, INT_MIN}), (CPoint{INT_MAX, INT_MIN}));
}

TEST(ViewGeometry, ZoomStepsScaleFactorsAndPrintScale)
{
    EXPECT_EQ(NextZoom(100, true), 125);
    EXPECT_EQ(NextZoom(100, false), 75);
    EXPECT_EQ(NextZoom(110, false), 100) << "from between two steps";
    EXPECT_EQ(NextZoom(800, true), 800);
    EXPECT_EQ(NextZoom(25, false), 25);

    struct {
        int resolution;
        int factor;
    } factors[] = {{0, 1}, {300, 2}, {400, 2}, {401, 1}, {1920, 1}};
    for (auto f : factors) {
        EXPECT_EQ(ScaleFactor(f.resolution), f.factor) << f.resolution;
    }

    CSize page{800, 800};
    EXPECT_DOUBLE_EQ(PrintScale(4760, 6814, page), 4760 / 800.0) << "A4 at 600 dpi: the width";
    EXPECT_DOUBLE_EQ(PrintScale(6814, 4760, page), 4760 / 800.0) << "landscape: the height";
    EXPECT_DOUBLE_EQ(PrintScale(800, 600, page), 1.0) << "a small device keeps the factor";
    EXPECT_DOUBLE_EQ(PrintScale(300, 200, page), 2.0);
}

TEST(ViewGeometry, TheRepaintAreaTakesTheHandlesOnlyWhenShown)
{
    EXPECT_EQ(RepaintArea({100, 80, 10, 20}, false), (CRect{9, 19, 101, 81}));
    EXPECT_EQ(RepaintArea({10, 20, 100, 80}, true), (CRect{5, 14, 106, 85}));
    EXPECT_EQ(RepaintArea({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, true),
              (CRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}));
}

}  // namespace
