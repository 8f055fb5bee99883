#include "game/scores/GamePrefs.h"
#include "game/play/TiltHelpers.h"

#include <gtest/gtest.h>

namespace
{

TEST(TiltHelpersTest, TheDefaultReferenceOnlyMirrorsX)
{
    GamePrefs::SetTiltReference(Vector3(0.0f, -1.0f, 0.0f));
    const Vector2 t = GetCalibratedTilt(Vector3(0.6f, 0.0f, 0.8f));
    EXPECT_NEAR(-0.6f, t.x, 1e-6f);
    EXPECT_NEAR(0.0f, t.y, 1e-6f);
    // The reading is normalised first.
    const Vector2 u = GetCalibratedTilt(Vector3(1.2f, 0.0f, 1.6f));
    EXPECT_NEAR(-0.6f, u.x, 1e-6f);
}

TEST(TiltHelpersTest, AChangedReferenceTakesEffectAtTheNextCall)
{
    GamePrefs::SetTiltReference(Vector3(0.0f, -1.0f, 0.0f));
    GetCalibratedTilt(Vector3(0.0f, 1.0f, 0.0f));
    // Held with +x down: the reference angle is Angle((1, 0)) + pi = pi/2.
    GamePrefs::SetTiltReference(Vector3(1.0f, 0.0f, 0.0f));
    const Vector2 t = GetCalibratedTilt(Vector3(0.0f, 1.0f, 0.0f));
    EXPECT_NEAR(-1.0f, t.x, 1e-6f);
    EXPECT_NEAR(0.0f, t.y, 1e-6f);
    GamePrefs::SetTiltReference(Vector3(0.0f, -1.0f, 0.0f));
    const Vector2 back = GetCalibratedTilt(Vector3(0.0f, 1.0f, 0.0f));
    EXPECT_NEAR(0.0f, back.x, 1e-6f);
    EXPECT_NEAR(1.0f, back.y, 1e-6f);
}

TEST(TiltHelpersTest, FlatMeansMoreThan0972)
{
    EXPECT_TRUE(IsDeviceFlat(Vector3(0.0f, 0.0f, 1.0f)));
    EXPECT_TRUE(IsDeviceFlat(Vector3(0.0f, 0.0f, -3.0f)));
    EXPECT_FALSE(IsDeviceFlat(Vector3(0.25f, 0.0f, 0.968f)));
    EXPECT_TRUE(IsDeviceFlat(Vector3(0.2f, 0.0f, 0.98f)));
    EXPECT_FALSE(IsDeviceFlat(Vector3(0.0f, 0.0f, 0.0f))); // normalises to (1, 0, 0)
    EXPECT_FLOAT_EQ(0.0f, Vector2(0.0f, 1.0f).Angle());
    EXPECT_FLOAT_EQ(-1.5707964f, Vector2(1.0f, 0.0f).Angle());
}

} // namespace
