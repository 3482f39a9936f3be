// Painting the same objects again: what the painter keeps from one paint to the next (bitmaps
// of the pixels figures covered, texts broken into lines) gives the pixels of a first paint,
// and a changed or moved object is painted afresh. Each test uses geometry of its own, so
// that its first paint is one.

#include <functional>

#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>

#include "draw/model/LogFontA.h"
#include "draw/paint/QtGdiPainter.h"

namespace {

constexpr QRgb kWhite = 0xFFFFFF;
constexpr QRgb kRed = 0xFF0000;
constexpr QRgb kGreen = 0x00FF00;

QImage Paint(const std::function<void(QtGdiPainter&)>& paint, QPoint shift = {})
{
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(kWhite);
    QPainter painter(&image);
    painter.translate(shift);
    QtGdiPainter dc(painter);
    paint(dc);
    painter.end();
    return image;
}

QRgb At(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

int BlackIn(const QImage& image, int top, int bottom)
{
    int n = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            n += At(image, x, y) == 0;
        }
    }
    return n;
}

const LogBrush kGreenBrush{BS_SOLID, 0x00FF00, 0};

}  // namespace

TEST(Repaint, FiguresPaintedAgainCoverThePixelsOfTheirFirstPaint)
{
    LogPen pen{PS_INSIDEFRAME, {1, 1}, 0x0000FF};
    auto figures = [&](QtGdiPainter& dc) {
        dc.Ellipse({13, 17, 61, 50}, &pen, &kGreenBrush);
        dc.RoundRect({21, 55, 90, 97}, {26, 18}, &pen, &kGreenBrush);
        dc.Ellipse({70, 3, 97, 29}, nullptr, &kGreenBrush);
    };
    QImage first = Paint(figures);
    for (int again = 1; again <= 3; ++again) {
        EXPECT_EQ(Paint(figures), first) << "paint " << again + 1;
    }
}

TEST(Repaint, AFigureWithAnotherPenOrPlaceIsPaintedAfresh)
{
    LogPen thin{PS_INSIDEFRAME, {1, 1}, 0x0000FF};
    LogPen thick{PS_INSIDEFRAME, {4, 4}, 0x0000FF};
    auto ellipse = [](const LogPen* pen) {
        return [pen](QtGdiPainter& dc) { dc.Ellipse({11, 23, 73, 77}, pen, &kGreenBrush); };
    };
    for (int paint = 0; paint < 3; ++paint) {
        Paint(ellipse(&thin));
    }
    QImage thicker = Paint(ellipse(&thick));
    EXPECT_EQ(At(thicker, 13, 50), kRed) << "the wider pen";
    QImage moved = Paint(ellipse(&thin), {7, 0});
    EXPECT_EQ(At(moved, 18, 50), kRed) << "the left edge, moved";
    EXPECT_EQ(At(moved, 11, 50), kWhite);
    EXPECT_EQ(At(moved, 25, 50), kGreen);
}

TEST(Repaint, TextIsBrokenAgainForAnotherBoxOrFont)
{
    std::string text = "Turm Turm";
    auto draw = [&](CRect box, const LogFontA* font) {
        return [=, &text](QtGdiPainter& dc) { dc.DrawText(text, box, font, true); };
    };
    QImage wide = Paint(draw({2, 2, 98, 98}, nullptr));
    QImage narrow = Paint(draw({2, 2, 45, 98}, nullptr));
    EXPECT_EQ(BlackIn(wide, 30, 98), 0) << "one line";
    EXPECT_GT(BlackIn(narrow, 30, 98), 10) << "two lines";
    LogFontA small;
    small.SetHeight(-8);
    small.SetFaceName("DejaVu Sans");
    LogFontA large = small;
    large.SetHeight(-30);
    EXPECT_EQ(BlackIn(Paint(draw({2, 2, 98, 98}, &small)), 14, 98), 0);
    EXPECT_GT(BlackIn(Paint(draw({2, 2, 98, 98}, &large)), 14, 98), 10);
}
