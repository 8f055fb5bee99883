// The nine-part frame: its sixteen vertices from the first rectangle, the
// strip with and without the middle, in-place moves and recolouring, and
// the shared widget batch that draws it.
#include "game/widgets/UIBorderComponent.h"

#include "engine/graphics/GeometryBatch.h"
#include "tests/widgets/TextWidgetTestSupport.h"

using namespace TextWidgetTest;
using Vexel::Rectangle;
using Vexel::Graphics::RenderState;
using Vexel::Graphics::GL::Recorder;
using Vexel::UI::ElementLayout;
using Vexel::UI::ElementPosition;

namespace
{

const unsigned kTileTextureName = 91;

// A 32 x 16 tile in the atlas area (0.25, 0.5) - (0.5, 0.625).
TileInfo const& FrameTile()
{
    static const TileInfo tile(KeptTexture(kTileTextureName), 7, Vector2(32.0f, 16.0f),
                               Rectangle(0.25f, 0.5f, 0.25f, 0.125f));
    return tile;
}

ElementLayout AnyLayout()
{
    return ElementLayout(ElementPosition(Vector2(0.0f, 0.0f)), Vector2(100.0f, 100.0f));
}

class UIBorderComponentTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RenderState::ResetCache();
        GetTransientBatch()->Draw(); // nothing left from elsewhere
    }

    // Draws the component into the shared batch and the batch under a
    // recorder; the one piece drawn.
    Drawn DrawFrame(UIBorderComponent& border, Rectangle const& rect, float alpha)
    {
        Recorder recorder;
        border.Draw(rect, alpha);
        GetTransientBatch()->Draw();
        std::vector<Drawn> drawn = Replay(recorder);
        EXPECT_EQ(1u, drawn.size()) << recorder.Describe();
        return drawn.empty() ? Drawn() : drawn[0];
    }

    FakeWidgetFonts fonts; // a fresh helper state, so a fresh shared batch
};

struct Expected
{
    float x, y, u, v;
};

// The table of the frame's vertices for (L, T, R, B) = (0, 0, 200, 100).
const Expected kFrame[16] = {
    {0, 0, 0.25f, 0.5f},        {16, 0, 0.375f, 0.5f},    {0, 8, 0.25f, 0.5625f},
    {16, 8, 0.375f, 0.5625f},   {184, 0, 0.375f, 0.5f},   {200, 0, 0.5f, 0.5f},
    {184, 8, 0.375f, 0.5625f},  {200, 8, 0.5f, 0.5625f},  {0, 92, 0.25f, 0.5625f},
    {16, 92, 0.375f, 0.5625f},  {0, 100, 0.25f, 0.625f},  {16, 100, 0.375f, 0.625f},
    {184, 92, 0.375f, 0.5625f}, {200, 92, 0.5f, 0.5625f}, {184, 100, 0.375f, 0.625f},
    {200, 100, 0.5f, 0.625f},
};

} // namespace

TEST_F(UIBorderComponentTest, GeneratesTheFrameFromTheFirstRectangle)
{
    UIBorderComponent border(AnyLayout(), FrameTile(), Color(10, 20, 30, 255), 2, true);
    EXPECT_EQ(Vector2(16.0f, 8.0f), border.GetCornerSize());
    EXPECT_EQ(Rectangle(-100.0f, -100.0f, 50.0f, 50.0f), border.GetRect());
    EXPECT_EQ(Vexel::UI::TouchMode::Ignore, border.GetTouchMode());
    EXPECT_FALSE(border.GetFrameGeometry().IsGenerated());

    const Drawn drawn = DrawFrame(border, Rectangle(0.0f, 0.0f, 200.0f, 100.0f), 1.0f);
    EXPECT_EQ(int64_t(kTileTextureName), drawn.texture);
    EXPECT_EQ(2, border.GetFrameGeometry().GetBlendMode());
    ASSERT_TRUE(border.GetFrameGeometry().IsGenerated());
    const VertexP2T2C* v = border.GetFrameGeometry().GetVertices();
    for (int i = 0; i < 16; ++i)
    {
        SCOPED_TRACE("vertex " + std::to_string(i));
        EXPECT_FLOAT_EQ(kFrame[i].x, v[i].x);
        EXPECT_FLOAT_EQ(kFrame[i].y, v[i].y);
        EXPECT_FLOAT_EQ(kFrame[i].u, v[i].u);
        EXPECT_FLOAT_EQ(kFrame[i].v, v[i].v);
        EXPECT_EQ(Color(10, 20, 30, 255), v[i].color);
    }
}

TEST_F(UIBorderComponentTest, FilledCoversTheRectangleAndTheFrameLeavesTheMiddleOut)
{
    for (bool filled : {true, false})
    {
        SCOPED_TRACE(filled ? "filled" : "frame only");
        UIBorderComponent border(AnyLayout(), FrameTile(), Color(), 1, filled);
        const Drawn drawn = DrawFrame(border, Rectangle(0.0f, 0.0f, 200.0f, 100.0f), 1.0f);
        ASSERT_EQ(size_t(24), drawn.vertices.size() - 2) << "the batch adds two joining indices";
        const float whole = 200.0f * 100.0f;
        const float middle = (200.0f - 32.0f) * (100.0f - 16.0f);
        EXPECT_FLOAT_EQ(filled ? whole : whole - middle, StripArea(drawn.screen));
        // Only the middle would sample the tile's centre at all four corners.
        bool centreQuad = false;
        for (size_t i = 3; i < drawn.vertices.size(); ++i)
        {
            bool allCentre = true;
            for (size_t k = i - 3; k <= i; ++k)
                allCentre = allCentre && drawn.vertices[k].u == 0.375f && drawn.vertices[k].v == 0.5625f;
            centreQuad = centreQuad || allCentre;
        }
        EXPECT_EQ(filled, centreQuad);
    }
}

TEST_F(UIBorderComponentTest, MovesAndResizesInPlaceKeepingTheCorners)
{
    struct Case
    {
        Rectangle next;
        float dx[4], dy[4]; // per corner: top-left, top-right, bottom-left, bottom-right
    };
    const Case cases[] = {
        {Rectangle(10.0f, 0.0f, 200.0f, 100.0f), {10, 10, 10, 10}, {0, 0, 0, 0}},
        {Rectangle(0.0f, 0.0f, 220.0f, 100.0f), {0, 20, 0, 20}, {0, 0, 0, 0}},
        {Rectangle(-5.0f, 3.0f, 210.0f, 90.0f), {-5, 5, -5, 5}, {3, 3, -7, -7}},
    };
    for (Case const& c : cases)
    {
        UIBorderComponent border(AnyLayout(), FrameTile(), Color(), 1, false);
        DrawFrame(border, Rectangle(0.0f, 0.0f, 200.0f, 100.0f), 1.0f);
        const VertexP2T2C* kept = border.GetFrameGeometry().GetVertices();
        DrawFrame(border, c.next, 1.0f);
        // Edited in place: the same kept arrays, never generated again.
        ASSERT_EQ(kept, border.GetFrameGeometry().GetVertices());
        EXPECT_EQ(c.next, border.GetRect());
        for (int i = 0; i < 16; ++i)
        {
            EXPECT_FLOAT_EQ(kFrame[i].x + c.dx[i / 4], kept[i].x) << "vertex " << i;
            EXPECT_FLOAT_EQ(kFrame[i].y + c.dy[i / 4], kept[i].y) << "vertex " << i;
            EXPECT_FLOAT_EQ(kFrame[i].u, kept[i].u) << "vertex " << i;
        }
        // The same as a frame generated at the new rectangle.
        UIBorderComponent fresh(AnyLayout(), FrameTile(), Color(), 1, false);
        DrawFrame(fresh, c.next, 1.0f);
        for (int i = 0; i < 16; ++i)
        {
            EXPECT_NEAR(fresh.GetFrameGeometry().GetVertices()[i].x, kept[i].x, 1e-4f);
            EXPECT_NEAR(fresh.GetFrameGeometry().GetVertices()[i].y, kept[i].y, 1e-4f);
        }
    }
}

TEST_F(UIBorderComponentTest, AlphaRecoloursOnlyWhenItChanges)
{
    UIBorderComponent border(AnyLayout(), FrameTile(), Color(200, 150, 100, 255), 1, true);
    // Before generation only the stored alpha changes; the first layout uses it.
    border.SetAlpha(0.5f);
    Drawn drawn = DrawFrame(border, Rectangle(0.0f, 0.0f, 64.0f, 64.0f), 0.5f);
    for (VertexP2T2C const& v : drawn.vertices)
        EXPECT_EQ(Color(200, 150, 100, 127), v.color);
    drawn = DrawFrame(border, Rectangle(0.0f, 0.0f, 64.0f, 64.0f), 0.25f);
    for (VertexP2T2C const& v : drawn.vertices)
        EXPECT_EQ(63, v.color.a);
    // The same alpha again leaves the vertices alone (a stray edit survives).
    border.GetFrameGeometry().GetVertices()[0].color.a = 9;
    border.SetAlpha(0.25f);
    EXPECT_EQ(9, border.GetFrameGeometry().GetVertices()[0].color.a);
}

TEST_F(UIBorderComponentTest, NarrowFrameOverlapsItsCornersUnclamped)
{
    UIBorderComponent border(AnyLayout(), FrameTile(), Color(), 1, true);
    DrawFrame(border, Rectangle(0.0f, 0.0f, 20.0f, 100.0f), 1.0f);
    const VertexP2T2C* v = border.GetFrameGeometry().GetVertices();
    EXPECT_FLOAT_EQ(16.0f, v[1].x); // L + cx
    EXPECT_FLOAT_EQ(4.0f, v[4].x);  // R - cx, left of it
}

TEST_F(UIBorderComponentTest, TileWithoutTextureDrawsWithTheEmptyTexture)
{
    const TileInfo bare(nullptr, 3, Vector2(8.0f, 8.0f), Rectangle(0.0f, 0.0f, 1.0f, 1.0f));
    UIBorderComponent border(AnyLayout(), bare, Color(), 1, true);
    const Drawn drawn = DrawFrame(border, Rectangle(0.0f, 0.0f, 30.0f, 30.0f), 1.0f);
    EXPECT_EQ(Vexel::Graphics::Texture::Empty, border.GetFrameGeometry().GetTexture());
    EXPECT_FLOAT_EQ(900.0f, StripArea(drawn.screen));
}

TEST_F(UIBorderComponentTest, DrawTreeQueuesTheFrameInTheElementsRectangle)
{
    Vexel::UI::Element root(ElementLayout(ElementPosition(Vector2(0.0f, 0.0f)), Vector2(320.0f, 480.0f)), 0);
    root.AddChild(new UIBorderComponent(
        ElementLayout(ElementPosition(Vector2(20.0f, 30.0f)), Vector2(100.0f, 50.0f), 0.5f), FrameTile(),
        Color(255, 255, 255, 255), 1, true));
    Recorder recorder;
    root.DrawTree(Vector2(0.0f, 0.0f), 1.0f);
    EXPECT_EQ(0, recorder.Count("glDrawElements")) << "drawn only with the shared batch";
    GetTransientBatch()->Draw();
    std::vector<Drawn> drawn = Replay(recorder);
    ASSERT_EQ(1u, drawn.size());
    EXPECT_EQ(Rectangle(20.0f, 30.0f, 100.0f, 50.0f), drawn[0].Extent());
    EXPECT_EQ(127, drawn[0].vertices[0].color.a);
}
