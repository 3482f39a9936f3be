#include <gtest/gtest.h>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include "draw/paint/FontMapping.h"
#include "draw/paint/QtGdiPainter.h"

namespace {

TEST(FontMapping, RecordFieldsBecomeFontProperties)
{
    LogFontA record;
    record.SetHeight(-20);
    record.SetWeight(700);
    record.SetItalic(true);
    record.SetUnderline(true);
    record.SetStrikeOut(true);
    record.SetPitchAndFamily(0x11);  // fixed pitch, roman family
    record.SetFaceName("Courier New");
    QFont font = FontFromLogFont(record);
    EXPECT_EQ(font.pixelSize(), 20);
    EXPECT_EQ(font.weight(), QFont::Bold);
    EXPECT_TRUE(font.italic());
    EXPECT_TRUE(font.underline());
    EXPECT_TRUE(font.strikeOut());
    EXPECT_TRUE(font.fixedPitch());
    EXPECT_EQ(font.styleHint(), QFont::Serif);
    EXPECT_EQ(font.families().value(0), "Courier New");

    LogFontA back = LogFontFromFont(font);
    EXPECT_EQ(back.Height(), -20);
    EXPECT_EQ(back.Weight(), 700);
    EXPECT_TRUE(back.Italic() && back.Underline() && back.StrikeOut());
    EXPECT_EQ(back.PitchAndFamily(), 0x11);
    EXPECT_EQ(back.FaceName(), "Courier New");
}

TEST(FontMapping, PositiveHeightIsTheCellHeightAndZeroADefault)
{
    for (int cell : {12, 20, 40}) {
        LogFontA record;
        record.SetHeight(cell);
        record.SetFaceName("DejaVu Sans");
        EXPECT_NEAR(QFontMetricsF(FontFromLogFont(record)).height(), cell, 1.5) << cell;
    }
    LogFontA unset;
    EXPECT_NEAR(QFontMetricsF(FontFromLogFont(unset)).height(), 16, 1.5);
    EXPECT_EQ(FontFromLogFont(unset).weight(), QFont::Normal);
    LogFontA huge;
    huge.SetHeight(INT32_MIN);
    EXPECT_EQ(FontFromLogFont(huge).pixelSize(), 2000);
}

TEST(FontMapping, FaceNamesAreWindows1252AndCutTo31Bytes)
{
    QFont font;
    font.setFamilies({QString::fromUtf8("Schrift Süd mit einem sehr langen Namen")});
    font.setPointSize(12);
    LogFontA record = LogFontFromFont(font);
    EXPECT_EQ(record.FaceName(),
              "Schrift S\xfc"
              "d mit einem sehr lang");
    EXPECT_EQ(record.Height(), -16) << "12 points at 96 dpi";
}

TEST(FontMapping, FontThisMachineLacksStillDraws)
{
    LogFontA record;
    record.SetHeight(-16);
    record.SetFaceName("No Such Font At All");
    QImage image(100, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QtGdiPainter dc(painter);
    dc.DrawText("Nord", {0, 0, 100, 40}, &record, true);
    painter.end();
    int dark = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 100; ++x) {
            dark += qGray(image.pixel(x, y)) < 128;
        }
    }
    EXPECT_GT(dark, 20);
}

}  // namespace
