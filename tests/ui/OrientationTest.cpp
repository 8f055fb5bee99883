// The UI orientation: immediate and animated changes, the short way round,
// the blend of sizes, and the tilt stored in device axes.
#include "engine/ui/UIOrientation.h"

#include "engine/core/VectorMath.h"
#include "tests/ui/UITestSupport.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace Vexel::UI;

namespace
{
using Vexel::kHalfPi;
using Vexel::kPi;

class OrientationTest : public UITest::UIFixture
{
};

struct AngleCase
{
    int orientation;
    float angle;
    float blend;
};
const AngleCase kAngles[] = {
    {0, -kHalfPi, 1.0f}, {1, 0.0f, 0.0f}, {2, kHalfPi, 1.0f},
    {3, kPi, 0.0f},      {7, 0.0f, 1.0f}, {-1, 0.0f, 1.0f},
};
class AngleTable : public ::testing::TestWithParam<AngleCase>
{
protected:
    void TearDown() override { UITest::ResetUIState(); }
};

struct AnimatedCase
{
    int from;
    int to;
    float duration;
    float startRotation; // right after the call: target minus the short-way difference
    float halfwayRotation;
    float endRotation;
    float halfwayBlend;
};
const AnimatedCase kAnimated[] = {
    {1, 3, 1.0f, 0.0f, kHalfPi, kPi, 0.0f},                     // +pi, both portrait
    {2, 0, 0.5f, kHalfPi, 0.0f, -kHalfPi, 1.0f},                // d = -pi exactly, both landscape
    {0, 3, 1.0f, 3.0f * kHalfPi, 5.0f * kPi / 4.0f, kPi, 0.5f}, // 3pi/2 wraps to -pi/2
    {3, 0, 1.0f, -kPi, -3.0f * kPi / 4.0f, -kHalfPi, 0.5f},     // -3pi/2 wraps to +pi/2
    {1, 2, 2.0f, 0.0f, kPi / 4.0f, kHalfPi, 0.5f},
};
class AnimatedTable : public ::testing::TestWithParam<AnimatedCase>
{
protected:
    void TearDown() override { UITest::ResetUIState(); }
};
} // namespace

TEST_P(AngleTable, ImmediateChangeSetsAngleAndBlend)
{
    const AngleCase c = GetParam();
    UIManager::SetOrientation(c.orientation, 0.0f);
    EXPECT_EQ(UIManager::GetOrientation(), c.orientation);
    EXPECT_FLOAT_EQ(UIManager::GetRotation(), c.angle);
    EXPECT_FLOAT_EQ(Internal::GetOrientationAngle(c.orientation), c.angle);
    EXPECT_EQ(UIManager::GetOrientationBlend(), c.blend);
    Internal::StepOrientation(1.0f); // nothing left to animate
    EXPECT_FLOAT_EQ(UIManager::GetRotation(), c.angle);
}

INSTANTIATE_TEST_SUITE_P(Orientations, AngleTable, ::testing::ValuesIn(kAngles));

TEST_P(AnimatedTable, RotationTakesTheShortWayAndEndsOnTheTarget)
{
    const AnimatedCase c = GetParam();
    UIManager::SetOrientation(c.from, 0.0f);
    const float startBlend = UIManager::GetOrientationBlend();
    UIManager::SetOrientation(c.to, c.duration);
    EXPECT_NEAR(UIManager::GetRotation(), c.startRotation, 1e-5);
    EXPECT_EQ(UIManager::GetOrientationBlend(), startBlend);
    Internal::StepOrientation(c.duration / 2.0f);
    EXPECT_NEAR(UIManager::GetRotation(), c.halfwayRotation, 1e-5);
    EXPECT_NEAR(UIManager::GetOrientationBlend(), c.halfwayBlend, 1e-6);
    Internal::StepOrientation(c.duration / 2.0f);
    EXPECT_NEAR(UIManager::GetRotation(), c.endRotation, 1e-5);
    // Whatever the rounding, the animation ends exactly on the target.
    Internal::StepOrientation(c.duration);
    EXPECT_EQ(UIManager::GetRotation(), c.endRotation);
    EXPECT_EQ(UIManager::GetOrientationBlend(), Internal::IsLandscapeOrientation(c.to) ? 1.0f : 0.0f);
    Internal::StepOrientation(c.duration);
    EXPECT_EQ(UIManager::GetRotation(), c.endRotation);
}

INSTANTIATE_TEST_SUITE_P(Changes, AnimatedTable, ::testing::ValuesIn(kAnimated));

TEST_F(OrientationTest, SpeedsFollowTheDuration)
{
    // Rotation speed pi per second: one frame of 1/30 s moves pi/30.
    UIManager::SetOrientation(3, 1.0f);
    Internal::StepOrientation(1.0f / 30.0f);
    EXPECT_NEAR(UIManager::GetRotation(), kPi / 30.0f, 1e-6);

    // -2 pi per second from orientation 2 to 0 over 0.5 s.
    UIManager::SetOrientation(2, 0.0f);
    UIManager::SetOrientation(0, 0.5f);
    Internal::StepOrientation(0.1f);
    EXPECT_NEAR(UIManager::GetRotation(), kHalfPi - 2.0f * kPi * 0.1f, 1e-5);
}

TEST_F(OrientationTest, HundredthOfASecondIsImmediate)
{
    UIManager::SetOrientation(0, 0.0f);
    UIManager::SetOrientation(1, 0.01f);
    EXPECT_EQ(UIManager::GetRotation(), 0.0f);
    EXPECT_EQ(UIManager::GetOrientationBlend(), 0.0f);

    UIManager::SetOrientation(0, 0.0f);
    UIManager::SetOrientation(1, 0.011f);
    EXPECT_FLOAT_EQ(UIManager::GetRotation(), -kHalfPi);
    EXPECT_EQ(UIManager::GetOrientationBlend(), 1.0f);

    UIManager::SetOrientation(0, 0.0f);
    UIManager::SetOrientation(1, std::nanf(""));
    EXPECT_EQ(UIManager::GetRotation(), 0.0f);
}

TEST_F(OrientationTest, UISizeBlendsScreenAndRotatedScreen)
{
    EXPECT_EQ(UIManager::GetUISize(), Vector2(320, 480));
    UIManager::SetOrientation(0, 1.0f);
    Internal::StepOrientation(0.5f);
    EXPECT_EQ(UIManager::GetUISize(), Vector2(400, 400));
    Internal::StepOrientation(0.5f);
    EXPECT_EQ(UIManager::GetUISize(), Vector2(480, 320));
}

TEST_F(OrientationTest, StoredTiltUndoesTheShellsRotation)
{
    Internal::Input& input = InternalUIManagerEventCore::Instance();
    UIManager::SetOrientation(2, 0.0f);
    input.Tilt(Vector3(1.0f, 0.0f, 0.5f));
    Vector3 const& stored = *UIManager::GetTilt();
    const Vector2 expected = Vector2(1.0f, 0.0f).Rotate(-kHalfPi);
    EXPECT_FLOAT_EQ(stored.x, expected.x);
    EXPECT_FLOAT_EQ(stored.y, expected.y);
    EXPECT_EQ(stored.z, 0.5f);

    // The shell turns the device tilt by the rotation; the store turns it back.
    const Vector2 device(0.3f, -0.6f);
    const Vector2 turned = device.Rotate(UIManager::GetRotation());
    input.Tilt(Vector3(turned.x, turned.y, -0.7f));
    EXPECT_NEAR(UIManager::GetTilt()->x, device.x, 1e-6);
    EXPECT_NEAR(UIManager::GetTilt()->y, device.y, 1e-6);

    UIManager::SetOrientation(1, 0.0f);
    input.Tilt(Vector3(0.25f, 0.5f, -1.0f));
    EXPECT_EQ(UIManager::GetTilt()->x, 0.25f);
    EXPECT_EQ(UIManager::GetTilt()->y, 0.5f);
}
