#include "edit/GridCoordinates.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace {

TEST(GridCoordinates, SplitsIntoDegreesWholeMinutesAndSeconds)
{
    struct Case {
        double value;
        GridLine line;
    } cases[] = {
        {13.5, {13, 30, 0}},
        {10.0078125, {10, 0, 28.125}},
        {-13.5, {-13, -30, 0}},
        {-10.0078125, {-10, 0, -28.125}},
        {-0.25, {0, -15, 0}},
        {0, {0, 0, 0}},
        {-0.0, {0, 0, 0}},
        {std::numeric_limits<double>::quiet_NaN(), {0, 0, 0}},
        {-std::numeric_limits<double>::infinity(), {0, 0, 0}},
    };
    for (const Case& c : cases) {
        GridLine line = SplitGridLine(c.value);
        EXPECT_EQ(line.degrees, c.line.degrees) << c.value;
        EXPECT_EQ(line.minutes, c.line.minutes) << c.value;
        EXPECT_EQ(line.seconds, c.line.seconds) << c.value;
        EXPECT_FALSE(std::signbit(line.degrees) && line.degrees == 0) << c.value << ": -0";
    }
}

TEST(GridCoordinates, SummingASplitGivesTheValueBackOnBothSidesOfZero)
{
    for (double value : {13.5, 10.0078125, 47.123456789, 179.99998927, 0.999999999, -13.5,
                         -10.0078125, -122.4194155, -33.8688197, -179.99998927}) {
        double sum = SumGridLine(SplitGridLine(value));
        EXPECT_NEAR(sum, value, 1e-12) << value;
        EXPECT_EQ(SumGridLine(SplitGridLine(-value)), -sum) << value;
    }
}

TEST(GridCoordinates, TheDistanceCountsOnlyWithAScale)
{
    GridLine line{10, 0, 0};
    EXPECT_DOUBLE_EQ(GridPosition(line, 12, 120), 10.1);
    EXPECT_EQ(GridPosition(line, 12, 0), 10);
    EXPECT_DOUBLE_EQ(GridPosition({-10, 0, 0}, 12, 120), -9.9);
    EXPECT_EQ(GridPosition({0, 30, 36}, 0, 0), 36 * (1.0 / 3600) + 30 * (1.0 / 60));
}

}  // namespace
