// Painting under one application and then under another in the same process, as the
// benchmarks do: what the painter keeps from earlier paints (texts broken into lines, fonts,
// bitmaps of figures) uses the fonts of the application that made it, and must not outlive it.

#include <cstdlib>

#include <gtest/gtest.h>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "draw/paint/QtGdiPainter.h"

namespace {

// Paints a text and an ellipse three times (the last paints use what the first ones kept)
// under an application of its own and returns the last picture.
QImage PaintUnderAnApplication()
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int argc = 1;
    char name[] = "orvi_draw_restart_tests";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    LogPen pen{PS_INSIDEFRAME, {1, 1}, 0x0000FF};
    LogBrush brush{BS_SOLID, 0x00FF00, 0};
    QImage image(100, 100, QImage::Format_RGB32);
    for (int paint = 0; paint < 3; ++paint) {
        image.fill(Qt::white);
        QPainter painter(&image);
        QtGdiPainter dc(painter);
        dc.DrawText("Weg 7", {5, 5, 95, 40}, nullptr, false);
        dc.Ellipse({10, 45, 80, 90}, &pen, &brush);
    }
    return image;
}

}  // namespace

TEST(PaintAfterRestart, ASecondApplicationPaintsAsTheFirst)
{
    QImage first = PaintUnderAnApplication();
    EXPECT_EQ(PaintUnderAnApplication(), first);
}
