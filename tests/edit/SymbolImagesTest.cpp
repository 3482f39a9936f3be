#include "edit/SymbolImages.h"

#include <gtest/gtest.h>
#include <QImage>

#include "gps/SymbolTable.h"

namespace {

// Opaque and transparent pixels of an image.
std::pair<int, int> Coverage(const QImage& image)
{
    int opaque = 0, clear = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            int alpha = qAlpha(image.pixel(x, y));
            opaque += alpha > 200;
            clear += alpha == 0;
        }
    }
    return {opaque, clear};
}

TEST(SymbolImages, SixteenDistinctPicturesOnATransparentGround)
{
    std::vector<QImage> images;
    for (int symbol = 0; symbol < 16; ++symbol) {
        QImage image = SymbolImage(symbol).toImage();
        ASSERT_EQ(image.size(), QSize(16, 16)) << symbol;
        auto [opaque, clear] = Coverage(image);
        EXPECT_GE(opaque, 12) << "symbol " << symbol << " is hardly visible";
        EXPECT_GE(clear, 30) << "symbol " << symbol << " fills its square";
        for (size_t other = 0; other < images.size(); ++other) {
            EXPECT_NE(image, images[other]) << symbol << " looks like " << other;
        }
        images.push_back(image);
    }
}

TEST(SymbolImages, OtherSizesAndValuesOutsideTheTable)
{
    EXPECT_EQ(SymbolImage(3, 48).size(), QSize(48, 48));
    EXPECT_TRUE(SymbolImage(-1).isNull());
    EXPECT_TRUE(SymbolImage(16).isNull());
    EXPECT_TRUE(SymbolImage(0, 0).isNull());
}

TEST(SymbolImages, FullSymbolsAreDrawnOrGetThePlainMarker)
{
    const QImage plain = FullSymbolImage(SYMBOL_NONE).toImage();
    for (uint16_t number : DrawnFullSymbols()) {
        QImage image = FullSymbolImage(number).toImage();
        ASSERT_EQ(image.size(), QSize(16, 16)) << number;
        EXPECT_GE(Coverage(image).first, 12) << "symbol " << number << " is hardly visible";
        EXPECT_NE(image, plain) << "symbol " << number << " looks like the plain marker";
    }
    for (int s = 0; s < 16; ++s) {
        EXPECT_EQ(FullSymbolImage(FullSymbolOfRecordSymbol(s)).toImage(), SymbolImage(s).toImage())
            << "record symbol " << s;
    }
    // Not in the table, user-customisable, named but not drawn.
    for (uint16_t number : {38, 7680, 8363}) {
        EXPECT_EQ(FullSymbolImage(number).toImage(), plain) << number;
    }
    EXPECT_EQ(SymbolToolTip(8246), QStringLiteral("Summit"));
    EXPECT_EQ(SymbolToolTip(7680), QStringLiteral("Symbol 7680"));
}

}  // namespace
