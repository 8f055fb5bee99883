// Easing curves against values computed independently (Python's math module,
// double precision).
#include "engine/ui/Easing.h"

#include <gtest/gtest.h>

using Vexel::UI::Transitions::Ease;

namespace
{
struct EaseCase
{
    float t;
    double smooth;  // 0.5 - 0.5 cos(pi t)
    double easeOut; // sin(pi t / 2)
    double easeIn;  // 1 - cos(pi t / 2)
};

const EaseCase kCases[] = {
    {0.0f, 0.0, 0.0, 0.0},
    {0.1f, 0.024471741852423234, 0.15643446504023087, 0.01231165940486223},
    {0.25f, 0.1464466094067262, 0.3826834323650898, 0.07612046748871326},
    {0.5f, 0.49999999999999994, 0.7071067811865475, 0.2928932188134524},
    {0.75f, 0.8535533905932737, 0.9238795325112867, 0.6173165676349102},
    {0.9f, 0.9755282581475768, 0.9876883405951378, 0.843565534959769},
    {1.0f, 1.0, 1.0, 1.0},
};

class EaseTable : public ::testing::TestWithParam<EaseCase>
{
};
} // namespace

TEST_P(EaseTable, EveryModeFollowsItsFormula)
{
    const EaseCase c = GetParam();
    const double tolerance = 2e-7;
    EXPECT_FLOAT_EQ(Ease(c.t, 0), c.t);
    EXPECT_NEAR(Ease(c.t, 1), c.smooth, tolerance);
    EXPECT_NEAR(Ease(c.t, 2), c.easeOut, tolerance);
    EXPECT_NEAR(Ease(c.t, 3), c.easeIn, tolerance);
    // Unknown modes are linear.
    EXPECT_FLOAT_EQ(Ease(c.t, 4), c.t);
    EXPECT_FLOAT_EQ(Ease(c.t, -1), c.t);
    EXPECT_FLOAT_EQ(Ease(c.t, 1000), c.t);
}

INSTANTIATE_TEST_SUITE_P(Progress, EaseTable, ::testing::ValuesIn(kCases));

TEST(Ease, EveryModeStartsAtZeroAndEndsExactlyAtOne)
{
    for (int mode = 0; mode <= 3; ++mode)
    {
        EXPECT_EQ(Ease(0.0f, mode), 0.0f) << "mode " << mode;
        EXPECT_EQ(Ease(1.0f, mode), 1.0f) << "mode " << mode;
    }
}

TEST(Ease, ModeThreeRisesMonotonically)
{
    float previous = Ease(0.0f, 3);
    for (int i = 1; i <= 100; ++i)
    {
        const float e = Ease(i / 100.0f, 3);
        EXPECT_GE(e, previous) << "t = " << i / 100.0f;
        previous = e;
    }
}
