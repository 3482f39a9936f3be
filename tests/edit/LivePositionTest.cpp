#include "edit/LivePosition.h"

#include <gtest/gtest.h>

TEST(LivePosition, TheTrailKeepsTheLastTenMinutesAndReceptionEndsAfterThreeSeconds)
{
    LivePath path;
    LiveFix fix;
    fix.kind = FixKind::TWO_D;
    for (int s = 0; s <= 660; s += 60) {
        fix.latitude = s;
        EXPECT_EQ(path.Take(fix, s * 1000), s == 660 ? 1u : 0u) << s;
    }
    EXPECT_EQ(path.Trail().front().position.latitude, 60);
    LiveFix none;
    EXPECT_EQ(path.Take(none, 662000), 0u);
    EXPECT_TRUE(path.Receiving(662999)) << "a report without a position is no fix";
    EXPECT_FALSE(path.Receiving(663000));
    EXPECT_EQ(path.LastPosition().latitude, 660);
}

TEST(LivePosition, TheStatusSaysWhatTheFixHolds)
{
    LiveFix full;
    full.kind = FixKind::THREE_D;
    full.satellites = 7;
    full.speed = 10;
    full.course = 245;
    full.altitude = 432.4f;
    LiveFix flat = full;
    flat.kind = FixKind::TWO_D;
    flat.satellites = -1;
    flat.course = VALUE_NONE;
    struct Case {
        LiveFix fix;
        bool receiving;
        const char* text;
    };
    const Case cases[] = {
        {full, true, "3D  7 Sat.  36.0 km/h  245\xC2\xB0  432 m"},
        {flat, true, "2D  36.0 km/h"},
        {full, false, "kein Empfang"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LiveStatusText(c.fix, c.receiving), c.text);
    }
}

TEST(LivePosition, FollowingCentresOrKeepsThePositionInTheMiddleOfTheView)
{
    struct Case {
        FollowMode mode;
        double east;  // metres from the centre, at one pixel a metre on 800 x 400
        bool moves;
    };
    const Case cases[] = {
        {FollowMode::OFF, 390, false},    {FollowMode::CENTRED, 10, true},
        {FollowMode::CENTRED, 0, false},  {FollowMode::IN_VIEW, 290, false},
        {FollowMode::IN_VIEW, 310, true},
    };
    for (const Case& c : cases) {
        PlotViewport view({0, 0}, 1, 800, 400);
        EXPECT_EQ(FollowPosition(view, {c.east, 0}, c.mode), c.moves) << c.east;
        EXPECT_EQ(view.Centre().x, c.moves ? c.east : 0) << c.east;
    }
}
