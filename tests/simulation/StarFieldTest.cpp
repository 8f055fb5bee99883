// The star field: its scatter, its phase and the GL calls of its two layers
// on the recording seam.
#include "engine/core/Platform.h"
#include "engine/graphics/GL.h"
#include "game/simulation/StarField.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace
{

namespace GL = Vexel::Graphics::GL;

TEST(StarField, PhaseWrapsAfter445Ticks)
{
    StarField stars(0.4f, 1);
    EXPECT_EQ(0.0f, stars.GetPhase());
    int ticks = 0;
    float previous = 0.0f;
    do
    {
        previous = stars.GetPhase();
        stars.Update();
        ticks++;
    } while (stars.GetPhase() > previous && ticks < 1000);
    EXPECT_EQ(445, ticks);
    EXPECT_GT(previous, 0.99f);
    EXPECT_NEAR(previous + StarField::kPhaseStep - 1.0f, stars.GetPhase(), 1e-6f);
}

TEST(StarField, LayersSitWithinTheirReach)
{
    Vexel::Platform::SetScreenMetrics(320, 480, Vector2(160.0f, 160.0f));
    StarField stars(0.4f, 77);
    StarField same(0.4f, 77);
    StarField other(0.4f, 78);
    const float radius = Vector2(320.0f, 480.0f).Length() * 0.5f;
    const float nearReach = radius / StarField::LayerScale(0.4f, 2.6f);
    const float farReach = radius / StarField::LayerScale(0.4f, 5.2f);
    int differ = 0;
    for (int i = 0; i < StarField::kStarCount; i++)
    {
        auto const& star = stars.GetStar(i);
        const float reach = i < StarField::kNearCount ? nearReach : farReach;
        EXPECT_LE(Vector2(star.x, star.y).Length(), reach * 1.0001f) << i;
        EXPECT_GE(star.u, 0.0f);
        EXPECT_LT(star.u, 1.0f);
        EXPECT_GE(star.v, 0.0f);
        EXPECT_LE(star.v, 1.0f);
        EXPECT_EQ(star.x, same.GetStar(i).x);
        EXPECT_EQ(star.v, same.GetStar(i).v);
        differ += star.x != other.GetStar(i).x;
    }
    EXPECT_GT(differ, StarField::kStarCount / 2);
    EXPECT_FLOAT_EQ(1.0f / (1.0f / 2.0f + 2.6f), StarField::LayerScale(2.0f, 2.6f));
}

// The first recorded call of a name at or after index from, or -1.
int Find(std::vector<GL::Call> const& calls, std::string const& name, size_t from = 0)
{
    for (size_t i = from; i < calls.size(); i++)
        if (calls[i].name == name)
            return int(i);
    return -1;
}

TEST(StarField, DrawsTwoLayersOfPointsUnderAScrollingTextureMatrix)
{
    Vexel::Platform::SetScreenMetrics(320, 480, Vector2(160.0f, 160.0f));
    StarField stars(0.4f, 5);
    for (int i = 0; i < 10; i++)
        stars.Update();
    GL::Recorder recorder;
    stars.Draw(Vexel::Rectangle(0.0f, 0.0f, 320.0f, 480.0f), Vector2(170.0f, 250.0f), 2.0f,
               Color(255, 255, 255, 200));
    std::vector<GL::Call> const& calls = recorder.GetCalls();

    // The texture matrix moves by the phase.
    const int texture = Find(calls, "glMatrixMode");
    ASSERT_GE(texture, 0);
    EXPECT_EQ(GL_TEXTURE, calls[size_t(texture)].ints[0]);
    const int scroll = Find(calls, "glTranslatef", size_t(texture));
    ASSERT_GE(scroll, 0);
    EXPECT_FLOAT_EQ(stars.GetPhase(), calls[size_t(scroll)].floats[0]);

    // 160 x 160 DPI: near stars 2.568 px, far ones 1.6936 px; the far layer
    // at three quarters of the alpha.
    std::vector<float> sizes;
    std::vector<int> alphas;
    std::vector<std::pair<int64_t, int64_t>> ranges;
    for (GL::Call const& call : calls)
    {
        if (call.name == "glPointSize")
            sizes.push_back(call.floats[0]);
        else if (call.name == "glColor4ub" && call.ints[0] == 255 && call.ints[3] != 255)
            alphas.push_back(int(call.ints[3]));
        else if (call.name == "glDrawArrays")
        {
            EXPECT_EQ(GL_POINTS, call.ints[0]);
            ranges.push_back(std::make_pair(call.ints[1], call.ints[2]));
        }
    }
    ASSERT_EQ(2u, sizes.size());
    EXPECT_FLOAT_EQ(2.568f, sizes[0]);
    EXPECT_FLOAT_EQ(1.6936f, sizes[1]);
    ASSERT_EQ(2u, alphas.size());
    EXPECT_EQ(200, alphas[0]);
    EXPECT_EQ(150, alphas[1]);
    ASSERT_EQ(2u, ranges.size());
    EXPECT_EQ(std::make_pair(int64_t(0), int64_t(192)), ranges[0]);
    EXPECT_EQ(std::make_pair(int64_t(192), int64_t(128)), ranges[1]);

    // Each layer is scaled by its own depth and offset by the pan (the
    // camera centre less half the view): the parallax.
    int scales = 0;
    for (size_t i = 0; i < calls.size(); i++)
        if (calls[i].name == "glScalef")
        {
            const float expected = StarField::LayerScale(2.0f, scales == 0 ? 2.6f : 5.2f);
            EXPECT_FLOAT_EQ(expected, calls[i].floats[0]);
            ASSERT_EQ("glTranslatef", calls[i + 1].name);
            EXPECT_FLOAT_EQ(10.0f, calls[i + 1].floats[0]);
            EXPECT_FLOAT_EQ(10.0f, calls[i + 1].floats[1]);
            scales++;
        }
    EXPECT_EQ(2, scales);
    // Pushes and pops balance; the colour is left white.
    EXPECT_EQ(recorder.Count("glPushMatrix"), recorder.Count("glPopMatrix"));
    const int lastColour =
        int(calls.size()) - 1 - Find(std::vector<GL::Call>(calls.rbegin(), calls.rend()), "glColor4ub");
    EXPECT_EQ(255, calls[size_t(lastColour)].ints[3]);
    Vexel::Platform::SetScreenMetrics(320, 480, Vector2(0.0f, 0.0f));
}

} // namespace
