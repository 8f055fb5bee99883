#include "game/simulation/Packing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{

TEST(PackingTest, DegreesTruncateAfterTheLargeOffset)
{
    struct Case
    {
        float degrees;
        int expected;
    };
    // -90 and 270 name one direction but pack one step apart: the offset of
    // 1024 turns costs precision in single precision. -70.6 gives 205 when
    // computed in double.
    const Case cases[] = {
        {0.0f, 0},    {1.0f, 0},     {180.0f, 127}, {359.0f, 254}, {360.0f, 255},
        {-1.0f, 255}, {-90.0f, 192}, {270.0f, 191}, {-25.0f, 238}, {-70.6f, 206},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, PackDegrees(c.degrees)) << c.degrees;
}

TEST(PackingTest, RadiansRoundTripWithinAStep)
{
    const float pi = 3.1415927f;
    EXPECT_EQ(127, PackRadians(pi));
    EXPECT_EQ(255, PackRadians(2.0f * pi));
    EXPECT_EQ(0, PackRadians(0.0f));
    EXPECT_FLOAT_EQ(0.0f, UnpackRadians(0));
    EXPECT_FLOAT_EQ(6.2831855f, UnpackRadians(255));
    for (int b = 0; b < 255; ++b)
    {
        // Decoding then encoding lands on the same byte or the one below it
        // (truncation of a value that decoded a hair low).
        int again = PackRadians(UnpackRadians(static_cast<uint8_t>(b)));
        EXPECT_TRUE(again == b || again == b - 1) << b << " -> " << again;
    }
}

TEST(PackingTest, RadiansNearTheReferenceStayWithinHalfATurn)
{
    const float pi = 3.1415927f;
    const float references[] = {0.0f, 3.0f, -3.0f, 10.0f, -25.0f, 400.0f, -1234.5f};
    for (float reference : references)
    {
        for (int b = 0; b < 256; b += 17)
        {
            float near = UnpackRadiansNear(static_cast<uint8_t>(b), reference);
            EXPECT_GE(near - reference, -pi - 1e-3f) << b << " near " << reference;
            EXPECT_LE(near - reference, pi + 1e-3f) << b << " near " << reference;
            // The same direction as the plain decoding.
            float turns = (near - UnpackRadians(static_cast<uint8_t>(b))) / 6.2831855f;
            EXPECT_NEAR(std::round(turns), turns, 1e-3f);
        }
    }
    EXPECT_FLOAT_EQ(UnpackRadians(64), UnpackRadiansNear(64, 1.0f));
    // The closer of two turns: byte 250 decodes just under a full turn.
    EXPECT_LT(UnpackRadiansNear(250, 0.0f), 0.0f);
}

TEST(PackingTest, RadiansNearAFarOrBrokenReferenceEnds)
{
    // Faraway references end quickly; a turn added to 1e30 changes nothing,
    // which must not keep the loop going.
    EXPECT_TRUE(std::isfinite(UnpackRadiansNear(10, 1e30f)));
    EXPECT_TRUE(std::isfinite(UnpackRadiansNear(10, -1e30f)));
    EXPECT_NEAR(100000.0f, UnpackRadiansNear(0, 100000.0f), 3.2f);
    EXPECT_FLOAT_EQ(UnpackRadians(10), UnpackRadiansNear(10, std::numeric_limits<float>::infinity()));
    EXPECT_FLOAT_EQ(UnpackRadians(10), UnpackRadiansNear(10, std::numeric_limits<float>::quiet_NaN()));
}

TEST(PackingTest, RadiusCoversFortyToTenSixtyFour)
{
    EXPECT_EQ(0, PackRadius(40.0f));
    EXPECT_EQ(0, PackRadius(-5.0f));
    EXPECT_EQ(17919, PackRadius(320.0f));
    EXPECT_EQ(65535, PackRadius(1064.0f));
    EXPECT_EQ(65535, PackRadius(1e9f));
    EXPECT_FLOAT_EQ(40.0f, UnpackRadius(0));
    EXPECT_FLOAT_EQ(1064.0f, UnpackRadius(65535));
    EXPECT_NEAR(320.0f, UnpackRadius(PackRadius(320.0f)), 1024.0f / 65535.0f);
}

TEST(PackingTest, FractionAndRangeClampAtTheirEnds)
{
    EXPECT_EQ(65535, PackFraction(2.5f, 2.5f));
    EXPECT_EQ(0, PackFraction(-1.0f, 2.5f));
    EXPECT_EQ(32767, PackFraction(1.25f, 2.5f));
    EXPECT_FLOAT_EQ(2.5f, UnpackFraction(65535, 2.5f));
    EXPECT_EQ(0, PackRange(-3.0f, -3.0f, 5.0f));
    EXPECT_EQ(65535, PackRange(5.0f, -3.0f, 5.0f));
    EXPECT_EQ(32767, PackRange(1.0f, -3.0f, 5.0f));
    EXPECT_FLOAT_EQ(-3.0f, UnpackRange(0, -3.0f, 5.0f));
    EXPECT_FLOAT_EQ(5.0f, UnpackRange(65535, -3.0f, 5.0f));
    // An empty range divides by nothing.
    EXPECT_EQ(0, PackRange(1.0f, 1.0f, 1.0f));
    EXPECT_EQ(65535, PackRange(2.0f, 1.0f, 1.0f));
}

TEST(PackingTest, NonFiniteInputPacksAsZero)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(0, PackDegrees(nan));
    EXPECT_EQ(0, PackDegrees(inf));
    EXPECT_EQ(0, PackRadians(-inf));
    EXPECT_EQ(0, PackRadius(nan));
    EXPECT_EQ(0, PackFraction(nan, 1.0f));
    EXPECT_EQ(0, PackRange(nan, 0.0f, 1.0f));
}

} // namespace
