#include "game/simulation/ScreenShake.h"
#include "game/simulation/ViewFrame.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

const float kTick = 1.0f / 30.0f;

TEST(ScreenShakeTest, StillWithoutDriveOrKicks)
{
    ScreenShake shake;
    for (int i = 0; i < 10; ++i)
        shake.Update(kTick);
    EXPECT_EQ(Vector2(0.0f, 0.0f), shake.GetOffset());
    EXPECT_EQ(0.0f, shake.level);
}

TEST(ScreenShakeTest, ALandingKickRunsAtTheCapsAndThenDecays)
{
    ScreenShake shake;
    shake.KickLanding();
    shake.Update(kTick);
    // Fast rates at their caps (39.2, 34.3); slow ones too (19.2, 22.3).
    EXPECT_FLOAT_EQ(39.2f * kTick, shake.phaseFast.x);
    EXPECT_FLOAT_EQ(34.3f * kTick, shake.phaseFast.y);
    EXPECT_FLOAT_EQ(19.2f * kTick, shake.phaseSlow.x);
    // Amplitude target min(19.2 + 34.3, 8) x 0.034 = 0.272, 22% of the way.
    EXPECT_FLOAT_EQ(0.272f * 0.22f, shake.level);
    EXPECT_GT(shake.GetOffset().Length(), 0.0f);

    for (int i = 0; i < 40; ++i)
        shake.Update(kTick);
    EXPECT_EQ(0.0f, shake.kickFast);
    EXPECT_EQ(0.0f, shake.kickSlow);
    const float level = shake.level;
    const Vector2 phase = shake.phaseFast;
    shake.Update(kTick);
    EXPECT_FLOAT_EQ(level * 0.78f, shake.level); // 22% less per tick
    EXPECT_EQ(phase, shake.phaseFast);           // rates 0: phases stay
    for (int i = 0; i < 1000; ++i)
        shake.Update(kTick);
    EXPECT_LT(shake.GetOffset().Length(), 1e-6f);
}

TEST(ScreenShakeTest, KicksRaiseRatherThanAdd)
{
    ScreenShake shake;
    shake.KickCannon();
    EXPECT_EQ(0.45f, shake.kickFast);
    EXPECT_EQ(0.65f, shake.kickSlow);
    shake.KickLanding();
    EXPECT_EQ(0.45f, shake.kickFast);
    EXPECT_EQ(0.8f, shake.kickSlow);
    shake.KickLanding();
    EXPECT_EQ(0.45f, shake.kickFast);
    EXPECT_EQ(0.8f, shake.kickSlow);
}

TEST(ScreenShakeTest, DriveKeepsItGoingAndPhasesWrap)
{
    ScreenShake shake;
    shake.SetDrive(0.4f);
    for (int i = 0; i < 600; ++i)
    {
        shake.Update(kTick);
        EXPECT_LE(shake.phaseFast.x, 6.2831855f);
        EXPECT_GE(shake.phaseFast.x, 0.0f);
    }
    // Slow x and fast y rates 0.84 + 8.64 exceed the clamp of 8.
    EXPECT_NEAR(8.0f * 0.034f, shake.level, 1e-4f);
}

TEST(ViewFrameTest, MapsBetweenScreenAndWorld)
{
    ViewFrame view(Vector2(-10.0f, 20.0f), 2.0f, Vector2(320.0f, 480.0f));
    EXPECT_EQ(Vector2(160.0f, 240.0f), view.halfSize);
    EXPECT_EQ(Vector2(150.0f, 260.0f), view.Origin());
    EXPECT_EQ(Vector2(0.0f, 0.0f), view.Inverse(Vector2(150.0f, 260.0f)));
    EXPECT_EQ(Vector2(5.0f, -10.0f), view.Inverse(Vector2(160.0f, 240.0f)));
    EXPECT_EQ(Vector2(160.0f, 240.0f), view.Apply(Vector2(5.0f, -10.0f)));
}

} // namespace
