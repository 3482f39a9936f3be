#include <functional>

#include <gtest/gtest.h>
#include <QBuffer>
#include <QImage>
#include <QPainter>

#include "draw/model/CDrawItem.h"
#include "draw/model/LogFontA.h"
#include "draw/paint/QtGdiPainter.h"

namespace {

constexpr QRgb kWhite = 0xFFFFFF;
constexpr QRgb kGrey = 0x808080;
constexpr QRgb kRed = 0xFF0000;
constexpr QRgb kGreen = 0x00FF00;
constexpr COLORREF kRedRef = 0x0000FF;
constexpr COLORREF kGreenRef = 0x00FF00;

// Paints on a 100 x 100 canvas of `background`, shifted by `shift`, and returns the picture.
QImage Paint(const std::function<void(QtGdiPainter&)>& paint, QRgb background = kWhite,
             QPoint shift = {})
{
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(background);
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

struct Probe {
    int x;
    int y;
    QRgb colour;
};

void ExpectPixels(const QImage& image, std::initializer_list<Probe> probes, const char* legend)
{
    for (const Probe& p : probes) {
        EXPECT_EQ(At(image, p.x, p.y), p.colour) << legend << " at " << p.x << "," << p.y;
    }
}

// How many pixels of `colour` lie in the rectangle [x0, x1) x [y0, y1).
int Count(const QImage& image, QRgb colour, int x0, int y0, int x1, int y1)
{
    int n = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            n += At(image, x, y) == colour;
        }
    }
    return n;
}

const LogBrush kGreenBrush{BS_SOLID, kGreenRef, 0};

TEST(QtGdiPainter, ClosedFiguresKeepInsideFramePensInsideAndLeaveRightAndBottomEdges)
{
    LogPen thick{PS_INSIDEFRAME, {3, 3}, kRedRef};
    LogPen thin{PS_SOLID, {1, 1}, kRedRef};
    ExpectPixels(Paint([&](QtGdiPainter& dc) {
                     dc.Rectangle({10, 10, 30, 30}, &thick, &kGreenBrush);
                 }),
                 {{10, 10, kRed},
                  {12, 20, kRed},
                  {13, 13, kGreen},
                  {26, 26, kGreen},
                  {27, 20, kRed},
                  {29, 29, kRed},
                  {30, 20, kWhite},
                  {20, 30, kWhite},
                  {9, 20, kWhite}},
                 "pen 3");
    ExpectPixels(
        Paint([&](QtGdiPainter& dc) {
            dc.Rectangle({30, 30, 10, 10}, &thin, nullptr);
        }),
        {{10, 10, kRed}, {29, 29, kRed}, {20, 10, kRed}, {11, 11, kWhite}, {30, 30, kWhite}},
        "pen 1, reversed corners, no brush");
    ExpectPixels(Paint([&](QtGdiPainter& dc) {
                     dc.Rectangle({10, 10, 30, 30}, nullptr, &kGreenBrush);
                 }),
                 {{10, 10, kGreen}, {28, 28, kGreen}, {29, 20, kWhite}, {20, 29, kWhite}},
                 "no pen: one less to the right and bottom");
    LogPen wide{PS_SOLID, {5, 5}, kRedRef};
    ExpectPixels(Paint([&](QtGdiPainter& dc) {
                     dc.Rectangle({20, 20, 60, 60}, &wide, nullptr);
                 }),
                 {{18, 30, kRed}, {22, 30, kRed}, {17, 30, kWhite}, {23, 30, kWhite}},
                 "a wide solid pen is centred on the outline");
    ExpectPixels(Paint([&](QtGdiPainter& dc) {
                     dc.Ellipse({10, 10, 50, 30}, &thin, &kGreenBrush);
                 }),
                 {{30, 20, kGreen},
                  {10, 20, kRed},
                  {49, 20, kRed},
                  {50, 20, kWhite},
                  {10, 10, kWhite},
                  {30, 10, kRed}},
                 "ellipse");
}

TEST(QtGdiPainter, RoundedCornersAreClampedToTheRectangle)
{
    LogPen thin{PS_SOLID, {1, 1}, kRedRef};
    QImage huge = Paint([&](QtGdiPainter& dc) {
        dc.RoundRect({10, 10, 50, 30}, {1000, -1000}, &thin, &kGreenBrush);
    });
    QImage ellipse = Paint([&](QtGdiPainter& dc) {
        dc.Ellipse({10, 10, 50, 30}, &thin, &kGreenBrush);
    });
    ExpectPixels(huge, {{10, 10, kWhite}, {12, 12, kWhite}, {30, 20, kGreen}, {30, 10, kRed}},
                 "corners as large as the rectangle");
    EXPECT_LE(
        std::abs(Count(huge, kGreen, 0, 0, 100, 100) - Count(ellipse, kGreen, 0, 0, 100, 100)), 8);
    ExpectPixels(Paint([&](QtGdiPainter& dc) {
                     dc.RoundRect({10, 10, 50, 30}, {0, 0}, &thin, &kGreenBrush);
                 }),
                 {{10, 10, kRed}, {11, 11, kGreen}}, "no rounding");
}

TEST(QtGdiPainter, OnePixelLinesLeaveOutTheirLastPixelWideOnesDoNot)
{
    LogPen thin{PS_SOLID, {1, 1}, kRedRef};
    LogPen wide{PS_INSIDEFRAME, {5, 5}, kRedRef};
    ExpectPixels(Paint([&](QtGdiPainter& dc) {
                     dc.Line({10, 10}, {20, 10}, &thin);
                     dc.Line({40, 40}, {40, 40}, &thin);
                     dc.Line({10, 50}, {40, 50}, &wide);
                     dc.Line({10, 80}, {40, 80}, nullptr);
                 }),
                 {{10, 10, kRed},
                  {19, 10, kRed},
                  {20, 10, kWhite},
                  {40, 40, kWhite},
                  {25, 48, kRed},
                  {25, 52, kRed},
                  {25, 47, kWhite},
                  {25, 53, kWhite},
                  {25, 80, kWhite}},
                 "lines");
    ExpectPixels(
        Paint([&](QtGdiPainter& dc) {
            CPoint hook[] = {{10, 10}, {30, 10}, {30, 30}};
            dc.Polyline(hook, 3, &thin);
        }),
        {{20, 10, kRed}, {30, 10, kRed}, {30, 20, kRed}, {30, 30, kWhite}, {20, 20, kWhite}},
        "polyline");
}

TEST(QtGdiPainter, PolygonsFillAlternately)
{
    CPoint star[] = {{50, 0}, {79, 90}, {2, 35}, {98, 35}, {21, 90}};
    QImage image = Paint([&](QtGdiPainter& dc) { dc.Polygon(star, 5, nullptr, &kGreenBrush); });
    ExpectPixels(image, {{50, 50, kWhite}, {50, 10, kGreen}, {10, 37, kGreen}, {5, 5, kWhite}},
                 "star");
}

TEST(QtGdiPainter, DashGapsAndHatchesTakeTheBackgroundWhileOpaque)
{
    LogPen dotted{PS_DOT, {1, 1}, kRedRef};
    LogBrush cross{BS_HATCHED, kRedRef, HS_CROSS};
    for (bool opaque : {true, false}) {
        QImage image = Paint(
            [&](QtGdiPainter& dc) {
                dc.SetBkMode(opaque);
                dc.Line({10, 10}, {90, 10}, &dotted);
                dc.Rectangle({10, 20, 60, 70}, nullptr, &cross);
            },
            kGrey);
        int red = Count(image, kRed, 10, 10, 90, 11);
        EXPECT_GT(red, 20) << opaque;
        EXPECT_LT(red, 60) << opaque;
        EXPECT_EQ(Count(image, kWhite, 10, 10, 90, 11), opaque ? 80 - red : 0) << opaque;
        EXPECT_GT(Count(image, kRed, 10, 20, 59, 69), 200) << opaque;
        EXPECT_EQ(Count(image, kGrey, 10, 20, 59, 69) == 0, opaque) << opaque;
    }
}

TEST(QtGdiPainter, TextIsWrappedAndClippedToItsRectangle)
{
    std::string text = "Wort Wort Wort Wort Wort Wort Wort Wort Wort Wort Wort Wort";
    for (bool transparent : {false, true}) {
        QImage image = Paint(
            [&](QtGdiPainter& dc) {
                dc.SetBkColor(0x00FFFF);  // yellow
                dc.DrawText(text, {10, 10, 60, 45}, nullptr, transparent);
            },
            kGrey);
        EXPECT_EQ(Count(image, kGrey, 0, 0, 100, 10) + Count(image, kGrey, 0, 45, 100, 100) +
                      Count(image, kGrey, 0, 10, 10, 45) + Count(image, kGrey, 60, 10, 100, 45),
                  100 * 100 - 50 * 35)
            << "nothing outside the rectangle";
        int yellow = Count(image, 0xFFFF00, 10, 10, 60, 45);
        EXPECT_EQ(yellow > 0, !transparent);
        EXPECT_GT(Count(image, 0x000000, 10, 10, 60, 45), 20) << "black text";
        // Wrapped: the second line has text too.
        EXPECT_GT(Count(image, 0x000000, 10, 30, 60, 45), 5);
    }
}

TEST(QtGdiPainter, HandlesInvertTheirSquare)
{
    QImage image = Paint([&](QtGdiPainter& dc) { dc.InvertRect({7, 7, 14, 14}); });
    EXPECT_EQ(Count(image, 0x000000, 0, 0, 100, 100), 49);
    EXPECT_EQ(At(image, 7, 7), 0x000000u);
    EXPECT_EQ(At(image, 14, 14), kWhite);
}

std::vector<uint8_t> RedPng()
{
    QImage red(4, 4, QImage::Format_RGB32);
    red.fill(kRed);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    red.save(&buffer, "PNG");
    return {bytes.begin(), bytes.end()};
}

TEST(QtGdiPainter, ItemsShowTheirPictureOrAnIconAndTheFrame)
{
    CDrawItem picture;
    picture.SetEmbeddedFile("red.png", "image/png", RedPng(), {});
    CDrawItem other;
    other.SetEmbeddedFile("notes.txt", "text/plain", {'a'}, {});
    CDrawItem broken;
    broken.SetEmbeddedFile("broken.png", "image/png", {1, 2, 3}, {});
    QImage image = Paint([&](QtGdiPainter& dc) {
        dc.DrawItem(picture, {10, 10, 50, 50});
        dc.DrawItem(other, {0, 55, 100, 100});
        dc.DrawTracker({10, 10, 50, 50}, TRACKER_SOLID_LINE);
    });
    EXPECT_EQ(Count(image, kRed, 11, 11, 49, 49), 38 * 38) << "stretched into the rectangle";
    EXPECT_EQ(Count(image, 0x000000, 10, 10, 50, 11), 40) << "the frame's top";
    EXPECT_EQ(Count(image, kRed, 50, 0, 100, 50), 0);
    EXPECT_GT(Count(image, 0x000000, 0, 55, 100, 100), 30) << "the icon and its name";
    EXPECT_TRUE(picture.GetPresentation()) << "decoded once, kept with the item";

    QImage brokenImage = Paint([&](QtGdiPainter& dc) { dc.DrawItem(broken, {0, 0, 100, 100}); });
    EXPECT_GT(Count(brokenImage, 0x000000, 0, 0, 100, 100), 30) << "an icon instead";
}

}  // namespace

// Painting the same objects again: what the painter keeps from one paint to the next (bitmaps
// of the pixels figures covered, texts broken into lines) gives the pixels of a first paint,
// and a changed or moved object is painted afresh. Each test uses geometry of its own, so
// that its first paint is one.

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
    QImage moved = Paint(ellipse(&thin), kWhite, {7, 0});
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
    EXPECT_EQ(Count(wide, 0x000000, 0, 30, 100, 98), 0) << "one line";
    EXPECT_GT(Count(narrow, 0x000000, 0, 30, 100, 98), 10) << "two lines";
    LogFontA small;
    small.SetHeight(-8);
    small.SetFaceName("DejaVu Sans");
    LogFontA large = small;
    large.SetHeight(-30);
    EXPECT_EQ(Count(Paint(draw({2, 2, 98, 98}, &small)), 0x000000, 0, 14, 100, 98), 0);
    EXPECT_GT(Count(Paint(draw({2, 2, 98, 98}, &large)), 0x000000, 0, 14, 100, 98), 10);
}
