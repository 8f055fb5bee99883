#include "engine/core/Color.h"
#include "engine/core/Rectangle.h"
#include "engine/core/Transform2D.h"
#include "engine/core/Vector2.h"
#include "engine/core/Vector3.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(ValueTypes, VectorArithmeticAndAngles)
{
    EXPECT_FLOAT_EQ(Vector2(3, 4).Length(), 5.0f);
    Vector2 rotated = Vector2(1, 0).Rotate(float(M_PI / 2));
    EXPECT_NEAR(rotated.x, 0.0f, 1e-6f);
    EXPECT_NEAR(rotated.y, 1.0f, 1e-6f);
    EXPECT_FLOAT_EQ(Vector2(0, 1).Angle(), 0.0f);
    EXPECT_FLOAT_EQ(Vector2(-1, 0).Angle(), float(M_PI / 2));
    EXPECT_EQ(Vector2(2, 3).Transposed(), Vector2(3, 2));
    EXPECT_EQ(Vector2(2, 3).Perpendicular(), Vector2(3, -2));
    EXPECT_EQ(Vector2::Lerp(Vector2(0, 10), Vector2(10, 20), 0.5f), Vector2(5, 15));
    Vector2 v(4, 9);
    v /= Vector2(2, 3);
    EXPECT_EQ(v, Vector2(2, 3));
    EXPECT_EQ(Vector2(1e-7f, 0).Normalized(), Vector2(1, 0));
    EXPECT_EQ(Vector2(0, -5).Normalized(), Vector2(0, -1));
}

TEST(ValueTypes, Vector3NormalisesWithAFloor)
{
    struct Case
    {
        Vector3 in;
        Vector3 expected;
    } cases[] = {
        {Vector3(0, 0, 0), Vector3(1, 0, 0)},
        {Vector3(5e-7f, 0, 0), Vector3(1, 0, 0)},
        {Vector3(0, 0, -2), Vector3(0, 0, -1)},
        {Vector3(0, 1e-6f, 0), Vector3(0, 1, 0)}, // exactly 1e-6 is divided through
    };
    for (const Case& c : cases)
    {
        Vector3 n = c.in.Normalized();
        EXPECT_FLOAT_EQ(n.x, c.expected.x);
        EXPECT_FLOAT_EQ(n.y, c.expected.y);
        EXPECT_FLOAT_EQ(n.z, c.expected.z);
    }
}

TEST(ValueTypes, ColourConversions)
{
    Color4f f(Color(255, 255, 255, 255));
    EXPECT_NEAR(f.r, 0.99613f, 1e-5f);
    Color back(Color4f(1, 1, 1, 1));
    EXPECT_EQ(back, Color(255, 255, 255, 255));
    Color clamped(Color4f(-0.5f, 2.0f, 0.5f, NAN));
    EXPECT_EQ(clamped.r, 0);
    EXPECT_EQ(clamped.g, 255);
    EXPECT_EQ(clamped.b, 127);
    EXPECT_EQ(clamped.a, 0);

    Color packed(uint32_t(0x80FF0000));
    EXPECT_EQ(packed, Color(0, 0, 255, 128));
    EXPECT_EQ(Color().Packed(), 0xFFFFFFFFu);

    struct Case
    {
        uint8_t alpha;
        float factor;
        uint8_t expected;
    } cases[] = {{200, 2.0f, 255}, {200, -1.0f, 0}, {255, 0.55f, 140}, {100, 0.999f, 99}, {0, 5.0f, 0}};
    for (const Case& c : cases)
    {
        Color scaled = Color::ScaleAlpha(Color(1, 2, 3, c.alpha), c.factor);
        EXPECT_EQ(scaled, Color(1, 2, 3, c.expected)) << int(c.alpha) << " x " << c.factor;
        EXPECT_EQ(Color(1, 2, 3, c.alpha).ScaleAlpha(c.factor), scaled);
    }
}

TEST(ValueTypes, RectangleUnionAndQueries)
{
    Vexel::Rectangle r(10, 10, 5, 5);
    r.Union(Vexel::Rectangle(0, 0, 0, 0));
    EXPECT_EQ(r, Vexel::Rectangle(0, 0, 15, 15));
    Vexel::Rectangle s(0, 0, 10, 10);
    s.Union(Vexel::Rectangle(5, -5, 20, 5));
    EXPECT_EQ(s, Vexel::Rectangle(0, -5, 25, 15));
    EXPECT_EQ(s.Center(), Vector2(12.5f, 2.5f));
    EXPECT_EQ(s.BottomRight(), Vector2(25, 10));
}

TEST(ValueTypes, TransformNoneIsExactlyAllZero)
{
    EXPECT_TRUE(Transform2D::None.IsNone());
    EXPECT_TRUE(Transform2D().IsNone());
    Transform2D negativeZero(Vector2(-0.0f, 0.0f), Vector2(0, 0));
    EXPECT_FALSE(negativeZero.IsNone());
    Transform2D t(Vector2(5, 6), Vector2(2, 3));
    EXPECT_EQ(t.Apply(Vector2(1, 1)), Vector2(7, 9));
    Transform2D r(Vector2(0, 0), float(M_PI / 2), Vector2(1, 1));
    Vector2 p = r.Apply(Vector2(1, 0));
    EXPECT_NEAR(p.x, 0.0f, 1e-6f);
    EXPECT_NEAR(p.y, -1.0f, 1e-6f);
}
