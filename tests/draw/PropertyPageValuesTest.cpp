#include <gtest/gtest.h>

#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawPoly.h"
#include "draw/model/CDrawRect.h"
#include "draw/model/CDrawText.h"
#include "draw/model/PropertyPageValues.h"
#include "draw/model/UpdateHint.h"
#include "tests/draw/DrawTestSupport.h"
#include "tests/draw/TestMaps.h"

namespace {

TEST(ShapePageValues, OutlineFillAndHandlesBetweenObjectAndPage)
{
    struct Case {
        const char* legend;
        int penFlag;
        uint32_t shownWeight;
        ShapePageValues confirmed;
        int penFlagAfter;
        CPoint widthAfter;  // from (5, 3)
    } cases[] = {
        {"no outline opens with 0 and keeps its width", 0, 0, {0, true, true}, 0, {5, 3}},
        {"an outline shows width x", 1, 5, {5, true, true}, 1, {5, 5}},
        {"a weight becomes both widths", 1, 5, {12, true, true}, 1, {12, 12}},
        {"weight 0 turns the outline off and keeps the width", 1, 5, {0, true, true}, 0, {5, 3}},
        {"hollow, handles shown", 1, 5, {5, true, false}, 1, {5, 5}},
        {"handles hidden", 1, 5, {5, false, true}, 1, {5, 5}},
    };
    for (const Case& c : cases) {
        CDrawDoc doc;
        FakeViewSite view;
        doc.AddView(&view);
        auto* poly = AddNew<CDrawPoly>(doc, CRect{}, CDrawPoly::polygon);
        poly->SetPenFlag(c.penFlag);
        poly->SetPen({PS_INSIDEFRAME, {5, 3}, 0});
        poly->SetBrushFlag(1);
        poly->SetShowHandles(!c.confirmed.showHandles);
        ShapePageValues shown = ShapePageValuesOf(*poly);
        EXPECT_EQ(shown.lineWeight, c.shownWeight) << c.legend;
        EXPECT_TRUE(shown.fill) << c.legend;
        EXPECT_EQ(shown.showHandles, !c.confirmed.showHandles) << c.legend;

        doc.SetModifiedFlag(false);
        ApplyShapePageValues(*poly, c.confirmed);
        EXPECT_EQ(poly->GetPenFlag(), c.penFlagAfter) << c.legend;
        EXPECT_EQ(poly->GetPen().width, c.widthAfter) << c.legend;
        EXPECT_EQ(poly->GetBrushFlag(), c.confirmed.fill ? 1 : 0) << c.legend;
        EXPECT_EQ(poly->GetShowHandles(), c.confirmed.showHandles) << c.legend;
        EXPECT_TRUE(doc.IsModified()) << c.legend;
        ASSERT_EQ(view.updates.size(), 1u) << c.legend;
        EXPECT_EQ(view.updates[0].hint, HINT_REPAINT_OBJECT) << c.legend;
        doc.RemoveView(&view);
    }
}

TEST(ShapePageValues, LineWeightIsAnUnsignedDecimalBetweenBlanks)
{
    struct Case {
        const char* text;
        std::optional<uint32_t> weight;
    } cases[] = {
        {"7", 7},
        {" 12\t", 12},
        {"+3", 3},
        {"007", 7},
        {"99999999999", UINT32_MAX},
        {"", std::nullopt},
        {"  ", std::nullopt},
        {"abc", std::nullopt},
        {"-1", std::nullopt},
        {"1 2", std::nullopt},
        {"12a", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseLineWeight(c.text), c.weight) << '"' << c.text << '"';
    }
}

TEST(TextPageValues, TextLineBreaksAndFontBetweenObjectAndPage)
{
    CDrawDoc doc;
    FakeViewSite view;
    doc.AddView(&view);
    auto* text = AddNew<CDrawText>(doc, CRect{0, 0, 50, 20});
    text->SetText(
        "Nord\r\nS\xfc"
        "d\rOst\nWest");
    LogFontA arial;
    arial.SetFaceName("Arial");
    text->SetFont(arial);
    text->SetTransparent(1);

    TextPageValues values = TextPageValuesOf(*text);
    EXPECT_EQ(values.text, "Nord\nSüd\nOst\nWest");
    EXPECT_TRUE(values.transparent);
    EXPECT_EQ(values.font, arial);
    EXPECT_EQ(values.fontFlag, 0);

    values.text = "Zwei\nZeilen → Ost";
    values.transparent = false;
    values.font.SetFaceName("Courier");
    values.fontFlag = 1;
    doc.SetModifiedFlag(false);
    view.updates.clear();
    ApplyTextPageValues(*text, values);
    EXPECT_EQ(text->GetText(), "Zwei\r\nZeilen ? Ost");
    EXPECT_EQ(text->GetTransparent(), 0);
    EXPECT_EQ(text->GetFont().FaceName(), "Courier");
    EXPECT_EQ(text->GetFontFlag(), 1);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(view.updates.size(), 1u);
    doc.RemoveView(&view);
}

}  // namespace
