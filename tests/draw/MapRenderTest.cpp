#include <cstdint>

#include <gtest/gtest.h>
#include <QImage>

#include "draw/model/CDrawRect.h"
#include "draw/paint/MapRender.h"
#include "tests/TempDir.h"
#include "tests/draw/SampleMap.h"

namespace {

QRgb At(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

TEST(MapRender, PngIsThePageAtOnePixelPerUnit)
{
    TempDir dir;
    CDrawDoc doc;
    BuildSampleMap(doc);
    std::string error;
    ASSERT_TRUE(RenderMapFile(doc, dir.File("map.PNG"), error)) << error;
    QImage image(QString::fromStdString(dir.File("map.PNG")));
    ASSERT_EQ(image.size(), QSize(800, 800));
    EXPECT_EQ(At(image, 5, 5), 0xFFFAEBu) << "paper";
    EXPECT_EQ(At(image, 41, 100), 0x1E3C8Cu) << "the rectangle's pen";
    EXPECT_EQ(At(image, 100, 100), 0xBEE6AAu) << "its fill";
    EXPECT_EQ(At(image, 140, 500), 0xFFFAEBu) << "the star's hole";
    EXPECT_EQ(At(image, 140, 380), 0xFADC28u) << "a point of the star";
    // The embedded picture: sky at its top, a frame around it on screen.
    QRgb sky = At(image, 600, 375);
    EXPECT_GT(qBlue(sky), qRed(sky));
    EXPECT_EQ(At(image, 600, 370), 0x000000u);
}

TEST(MapRender, ObjectsAtTheEndsOfTheIntRangePaintOnlyWhereTheyCrossThePage)
{
    constexpr int32_t kMin = INT32_MIN;
    constexpr int32_t kMax = INT32_MAX;
    TempDir dir;
    {
        CDrawDoc doc;
        ASSERT_TRUE(doc.OnNewDocument());
        auto* plane = AddNew<CDrawRect>(doc, CRect{kMin, kMin, kMax, kMax});
        plane->SetPenFlag(0);
        plane->SetBrush({BS_SOLID, RGB(0, 255, 0), 0});
        auto* diagonal = AddNew<CDrawRect>(doc, CRect{kMin, kMin, kMax, kMax}, true);
        diagonal->SetPen({PS_SOLID, {1, 1}, RGB(255, 0, 0)});
        auto* far = AddNew<CDrawRect>(doc, CRect{kMax - 10, kMax - 10, kMax, kMax});
        far->SetBrush({BS_SOLID, RGB(0, 0, 255), 0});
        doc.OnSaveDocument(dir.File("far.orvg"));
    }
    CDrawDoc doc;
    doc.OnOpenDocument(dir.File("far.orvg"));
    std::string error;
    ASSERT_TRUE(RenderMapFile(doc, dir.File("far.png"), error)) << error;
    QImage page(QString::fromStdString(dir.File("far.png")));
    ASSERT_EQ(page.size(), QSize(800, 800));
    EXPECT_EQ(At(page, 10, 700), 0x00FF00u) << "the whole plane's fill";
    EXPECT_EQ(At(page, 400, 400), 0xFF0000u) << "the diagonal";
    EXPECT_EQ(At(page, 799, 799), 0xFF0000u) << "the diagonal";
    int blue = 0;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            blue += At(page, x, y) == 0x0000FFu;
        }
    }
    EXPECT_EQ(blue, 0) << "the far rectangle";
}

TEST(MapRender, PdfAndSvgAreWrittenAndOtherEndingsRefused)
{
    TempDir dir;
    CDrawDoc doc;
    BuildSampleMap(doc);
    std::string error;
    ASSERT_TRUE(RenderMapFile(doc, dir.File("map.pdf"), error)) << error;
    ASSERT_TRUE(RenderMapFile(doc, dir.File("map.svg"), error)) << error;
    std::vector<uint8_t> pdf = ReadBytes(dir.File("map.pdf"));
    ASSERT_GT(pdf.size(), 1000u);
    EXPECT_EQ(std::string(pdf.begin(), pdf.begin() + 5), "%PDF-");
    std::vector<uint8_t> svg = ReadBytes(dir.File("map.svg"));
    std::string svgText(svg.begin(), svg.end());
    EXPECT_NE(svgText.find("<svg"), std::string::npos);
    EXPECT_NE(svgText.find("viewBox=\"0 0 800 800\""), std::string::npos);

    EXPECT_FALSE(RenderMapFile(doc, dir.File("map.gif"), error));
    EXPECT_NE(error.find("unknown picture type"), std::string::npos);
    EXPECT_FALSE(RenderMapFile(doc, dir.File("none/map.png"), error));
}

}  // namespace
