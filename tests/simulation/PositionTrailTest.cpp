#include "game/simulation/PositionTrail.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace
{

typedef Vexel::Graphics::Geometry::VertexP2T2C Vertex;

// A trail fed one whole step per call along +x, one unit per step.
std::unique_ptr<PositionTrail> Walk(int capacity, int steps)
{
    std::unique_ptr<PositionTrail> trail(new PositionTrail(capacity, Vector2(0.0f, 0.0f), 51, 2.0f));
    for (int i = 1; i <= steps; ++i)
        trail->Push(Vector2(float(i), 0.0f), true);
    return trail;
}

TEST(PositionTrailTest, FillsToCapacityThenRolls)
{
    PositionTrail trail(6, Vector2(5.0f, 5.0f), 66, 1.5f);
    EXPECT_EQ(1, trail.GetCount());
    for (int step = 1; step <= 15; ++step)
    {
        trail.Push(Vector2(float(step), 0.0f), true);
        EXPECT_EQ(1 + step / 3, trail.GetCount()) << step;
        EXPECT_EQ(0, trail.GetOldest());
    }
    EXPECT_EQ(6, trail.GetCount());
    EXPECT_EQ(5, trail.GetNewest());
    for (int step = 16; step <= 18; ++step)
        trail.Push(Vector2(float(step), 0.0f), true);
    EXPECT_EQ(6, trail.GetCount());
    EXPECT_EQ(1, trail.GetOldest());
    EXPECT_EQ(0, trail.GetNewest());

    // Ticks without a whole step only move the newest point.
    trail.Push(Vector2(99.0f, 1.0f), false);
    EXPECT_EQ(0, trail.GetStepCounter());
    EXPECT_EQ(Vector2(99.0f, 1.0f), trail.GetPoint(0));
}

TEST(PositionTrailTest, SamplesInterpolateAndExtrapolate)
{
    PositionTrail single(12, Vector2(3.0f, 4.0f), 66, 1.5f);
    EXPECT_EQ(Vector2(3.0f, 4.0f), single.Sample(0.0f));
    EXPECT_EQ(Vector2(3.0f, 4.0f), single.Sample(17.0f));

    // 9 steps along x: the newest point tracks the live position and each
    // older one holds the last position before its successor began, so the
    // points are 2, 5, 8 and 9; samples count three steps per point.
    std::unique_ptr<PositionTrail> walked = Walk(20, 9);
    PositionTrail& trail = *walked;
    ASSERT_EQ(4, trail.GetCount());
    EXPECT_EQ(Vector2(2.0f, 0.0f), trail.GetPoint(0));
    EXPECT_EQ(Vector2(9.0f, 0.0f), trail.GetPoint(3));
    struct Case
    {
        float back, x;
    };
    const Case cases[] = {{0.0f, 9.0f},
                          {1.5f, 8.5f},
                          {3.0f, 8.0f},
                          {6.0f, 5.0f},
                          // Beyond the oldest point: along the last segment.
                          {9.0f, 2.0f},
                          {12.0f, -1.0f}};
    for (Case const& c : cases)
        EXPECT_NEAR(c.x, trail.Sample(c.back).x, 1e-4f) << c.back;

    // Between whole steps the phase shifts the samples.
    std::unique_ptr<PositionTrail> movingTrail = Walk(20, 9);
    PositionTrail& moving = *movingTrail;
    moving.Push(Vector2(9.5f, 0.0f), false);
    moving.SetPhase(0.5f);
    EXPECT_NEAR(9.5f, moving.Sample(0.5f).x, 1e-4f);
    EXPECT_NEAR(9.75f, moving.Sample(0.0f).x, 1e-4f);
}

TEST(PositionTrailTest, RibbonGeometry)
{
    std::vector<Vertex> vertices(40);
    PositionTrail single(12, Vector2(3.0f, 4.0f), 66, 1.5f);
    EXPECT_EQ(0, single.BuildRibbon(vertices.data(), Vexel::Rectangle(0.25f, 0.5f, 0.125f, 0.25f)));

    std::unique_ptr<PositionTrail> fullTrail = Walk(6, 18); // count = capacity
    PositionTrail& full = *fullTrail;
    full.SetColour(Color(10, 20, 30, 40));
    const Vexel::Rectangle uv(0.25f, 0.5f, 0.125f, 0.25f);
    ASSERT_EQ(12, full.BuildRibbon(vertices.data(), uv));
    for (int k = 0; k < 6; ++k)
    {
        Vertex const& left = vertices[2 * k];
        Vertex const& right = vertices[2 * k + 1];
        EXPECT_FLOAT_EQ(0.25f, left.u);
        EXPECT_FLOAT_EQ(0.375f, right.u);
        EXPECT_FLOAT_EQ(0.5f + 0.05f * float(k), left.v);
        EXPECT_EQ(left.v, right.v);
        EXPECT_EQ(Color(10, 20, 30, 40), left.color);
        // Moving along -x as the ribbon runs back: the sides are 2 units
        // either side of the path, across it.
        EXPECT_NEAR(left.x, right.x, 1e-4f);
        EXPECT_NEAR(4.0f, fabsf(right.y - left.y), 1e-4f);
    }
    // A full trail starts one step back (start -1) and spaces its pairs by
    // (6 - 1) x 3 / 6 = 2.5 steps; each pair straddles the sampled point.
    for (int k = 0; k < 6; ++k)
    {
        const Vector2 p = full.Sample(2.5f * float(k + 1));
        EXPECT_NEAR(p.x, vertices[2 * k].x, 1e-4f) << k;
        EXPECT_NEAR(p.y, (vertices[2 * k].y + vertices[2 * k + 1].y) * 0.5f, 1e-4f) << k;
    }
}

std::string Saved(PositionTrail const& trail)
{
    std::ostringstream out;
    trail.Save(out);
    return out.str();
}

TEST(PositionTrailTest, SaveAndLoadRoundTrip)
{
    std::unique_ptr<PositionTrail> walked = Walk(12, 40);
    PositionTrail& trail = *walked;
    trail.SetPhase(0.25f);
    trail.SetColour(Color(1, 2, 3, 4));
    const std::string bytes = Saved(trail);
    ASSERT_EQ(size_t(4 + 12 * 8 + 16 + 4 + 4), bytes.size());

    std::istringstream in(bytes);
    std::unique_ptr<PositionTrail> loaded = PositionTrail::Load(in, 12, 66, 1.5f);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(bytes, Saved(*loaded));
    EXPECT_EQ(66, loaded->GetTile());
    EXPECT_EQ(1.5f, loaded->GetWidth());
    EXPECT_EQ(trail.Sample(7.0f), loaded->Sample(7.0f));
}

TEST(PositionTrailTest, LoadRefusesWhatDoesNotFit)
{
    const std::string good = Saved(*Walk(6, 7));
    // Field offsets: capacity 0, points 4..51, count 52, oldest 56, newest
    // 60, step counter 64, phase 68, colour 72.
    struct Patch
    {
        const char* what;
        size_t offset;
        int32_t value;
    };
    const Patch patches[] = {
        {"capacity of another kind", 0, 12}, {"count 0", 52, 0},          {"count above capacity", 52, 7},
        {"oldest outside", 56, 6},           {"oldest negative", 56, -1}, {"newest outside", 60, 6},
        {"step counter 3", 64, 3},           {"step counter -1", 64, -1},
    };
    for (Patch const& p : patches)
    {
        std::string bytes = good;
        std::memcpy(&bytes[p.offset], &p.value, 4);
        std::istringstream in(bytes);
        EXPECT_FALSE(PositionTrail::Load(in, 6, 66, 1.5f)) << p.what;
    }
    const float bad[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()};
    for (float value : bad)
        for (size_t offset : {size_t(4), size_t(48), size_t(68)})
        {
            std::string bytes = good;
            std::memcpy(&bytes[offset], &value, 4);
            std::istringstream in(bytes);
            EXPECT_FALSE(PositionTrail::Load(in, 6, 66, 1.5f)) << offset;
        }
    for (size_t length = 0; length < good.size(); ++length)
    {
        std::istringstream in(good.substr(0, length));
        EXPECT_FALSE(PositionTrail::Load(in, 6, 66, 1.5f)) << length;
    }
    std::istringstream whole(good);
    EXPECT_TRUE(PositionTrail::Load(whole, 6, 66, 1.5f));
}

} // namespace
