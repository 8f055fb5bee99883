#include "engine/core/FrameEvents.h"
#include "game/simulation/Flash.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{

const float kTick = 1.0f / 30.0f;

std::vector<Color>& Seen()
{
    static std::vector<Color> seen;
    return seen;
}

void Record(Color colour)
{
    Seen().push_back(colour);
}

class FlashTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetFlashes();
        Seen().clear();
        previous = SetFlashOutput(&Record);
    }
    void TearDown() override
    {
        SetFlashOutput(previous);
        ResetFlashes();
    }
    FlashOutput previous;
};

TEST_F(FlashTest, TheFirstFrameOfACannonFlash)
{
    EXPECT_EQ(Color(0, 0, 0, 255), GetFlashColour());
    Flash(Color(127, 212, 255, 112), 1.25f);
    UpdateFlash(kTick);
    ASSERT_EQ(1u, Seen().size());
    // Each channel x 112 / 255, truncated.
    EXPECT_EQ(Color(55, 93, 112, 255), Seen()[0]);
}

TEST_F(FlashTest, IgnoresBlackTransparentAndInstantFlashes)
{
    Flash(Color(0, 0, 0, 255), 1.0f);
    Flash(Color(255, 255, 255, 0), 1.0f);
    Flash(Color(255, 255, 255, 255), 0.0001f);
    EXPECT_EQ(0, GetActiveFlashCount());
    EXPECT_EQ(Color(0, 0, 0, 255), GetFlashColour());
    Flash(Color(255, 255, 255, 255), 0.00011f);
    EXPECT_EQ(1, GetActiveFlashCount());
}

TEST_F(FlashTest, FadesAsAQuarterCosineAndExpiresOnTime)
{
    Flash(Color(200, 100, 50, 255), 1.0f);
    // Frames at clock 0, 1/30, ...: halfway (clock 0.5) alpha is
    // trunc(255 x cos(pi / 4)) = 180.
    float clockAtHalf = 0.0f; // accumulated in float, as the flasher does
    for (int frame = 0; frame < 15; ++frame)
    {
        UpdateFlash(kTick);
        clockAtHalf += kTick;
    }
    const int alpha = int(255.0f * cosf(clockAtHalf * 1.5707964f / 1.0f));
    UpdateFlash(kTick);
    EXPECT_EQ(Color(uint8_t(200 * alpha / 255), uint8_t(100 * alpha / 255), uint8_t(50 * alpha / 255), 255),
              Seen().back());
    EXPECT_NEAR(180, alpha, 1);

    // Removed at the first update whose clock reaches start + duration.
    int frames = 16;
    while (GetActiveFlashCount() > 0 && frames < 100)
    {
        UpdateFlash(kTick);
        ++frames;
    }
    float clock = 0.0f;
    int expected = 0;
    while (!(0.0f <= clock - 1.0f))
    {
        clock += kTick;
        ++expected;
    }
    EXPECT_EQ(expected, frames);
    EXPECT_NEAR(30, frames, 1);
    EXPECT_EQ(Color(0, 0, 0, 255), GetFlashColour());
}

TEST_F(FlashTest, OverlapsAddUpAndCap)
{
    Flash(Color(200, 100, 0, 255), 1.0f);
    UpdateFlash(kTick);
    Flash(Color(200, 100, 0, 255), 1.0f);
    const Color c = GetFlashColour();
    EXPECT_EQ(255, c.r); // 200 + ~199, capped
    EXPECT_GE(c.g, 198);
    EXPECT_EQ(0, c.b);
    EXPECT_EQ(2, GetActiveFlashCount());

    // Two flashes in one frame: the second replaces the first.
    ResetFlashes();
    Flash(Color(255, 0, 0, 255), 1.0f);
    Flash(Color(0, 0, 255, 255), 1.0f);
    EXPECT_EQ(1, GetActiveFlashCount());
    EXPECT_EQ(Color(0, 0, 255, 255), GetFlashColour());
}

TEST_F(FlashTest, TintsAddWhileRegistered)
{
    FlashTint glow(Color(127, 212, 255, 112), 0.0f);
    AddTint(&glow);
    EXPECT_EQ(Color(0, 0, 0, 255), GetFlashColour());
    glow.factor = 0.5f; // alpha trunc(112 x 0.5) = 56
    EXPECT_EQ(Color(127 * 56 / 255, 212 * 56 / 255, 255 * 56 / 255, 255), GetFlashColour());
    RemoveTint(&glow);
    EXPECT_EQ(Color(0, 0, 0, 255), GetFlashColour());

    // The flasher runs on the frame's update event once something arrived.
    AddTint(&glow);
    Vexel::FrameEvents::Updating.Raise(kTick);
    ASSERT_FALSE(Seen().empty());
    EXPECT_EQ(GetFlashColour(), Seen().back());
    RemoveTint(&glow);
}

TEST(ColorTest, ScaleAlphaAndFromRgba)
{
    EXPECT_EQ(Color(1, 2, 3, 4), Color::FromRgba(1, 2, 3, 4));
    EXPECT_EQ(Color(127, 212, 255, 56), Color::ScaleAlpha(Color(127, 212, 255, 112), 0.5f));
    EXPECT_EQ(Color(1, 2, 3, 255), Color::ScaleAlpha(Color(1, 2, 3, 200), 3.0f));
    EXPECT_EQ(Color(1, 2, 3, 0), Color::ScaleAlpha(Color(1, 2, 3, 200), -1.0f));
    EXPECT_EQ(Color(1, 2, 3, 99), Color::ScaleAlpha(Color(1, 2, 3, 200), 0.4999f));
}

} // namespace
