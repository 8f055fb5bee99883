// The stretched tile: centred on the element's rectangle at its size, faded
// with the tree, drawn by the shared widget batch.
#include "game/widgets/UISpriteComponent.h"

#include "engine/graphics/GeometryBatch.h"
#include "tests/widgets/TextWidgetTestSupport.h"

using namespace TextWidgetTest;
using Vexel::Rectangle;
using Vexel::Graphics::GL::Recorder;
using Vexel::UI::ElementLayout;
using Vexel::UI::ElementPosition;

namespace
{

TileInfo const& SpriteTile()
{
    static const TileInfo tile(KeptTexture(93), 12, Vector2(24.0f, 24.0f),
                               Rectangle(0.5f, 0.0f, 0.25f, 0.25f));
    return tile;
}

class UISpriteComponentTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Vexel::Graphics::RenderState::ResetCache();
        GetTransientBatch()->Draw();
    }
    FakeWidgetFonts fonts; // a fresh shared batch
};

} // namespace

TEST_F(UISpriteComponentTest, StretchesTheTileOverTheRectangle)
{
    UISpriteComponent sprite(ElementLayout(ElementPosition(Vector2(0.0f, 0.0f)), Vector2(10.0f, 10.0f)),
                             SpriteTile(), Color(255, 0, 0, 200), 2);
    EXPECT_EQ(Vexel::UI::TouchMode::Ignore, sprite.GetTouchMode());
    EXPECT_EQ(Rectangle(-100.0f, -100.0f, 50.0f, 50.0f), sprite.GetRect());
    EXPECT_EQ(2, sprite.GetSprite().GetBlendMode());

    const Rectangle rects[] = {Rectangle(10.0f, 20.0f, 64.0f, 32.0f),
                               Rectangle(-100.0f, -100.0f, 50.0f, 50.0f),
                               Rectangle(0.0f, 0.0f, 320.0f, 480.0f)};
    for (Rectangle const& rect : rects)
    {
        Recorder recorder;
        sprite.Draw(rect, 1.0f);
        EXPECT_EQ(rect.Center(), sprite.GetSprite().GetPosition());
        EXPECT_EQ(rect.Size(), sprite.GetSprite().GetSize());
        GetTransientBatch()->Draw();
        std::vector<Drawn> drawn = Replay(recorder);
        ASSERT_EQ(1u, drawn.size());
        EXPECT_EQ(93, drawn[0].texture);
        EXPECT_EQ(rect, drawn[0].Extent());
        EXPECT_FLOAT_EQ(rect.width * rect.height, StripArea(drawn[0].screen));
        for (VertexP2T2C const& v : drawn[0].vertices)
        {
            EXPECT_TRUE(v.u == 0.5f || v.u == 0.75f);
            EXPECT_TRUE(v.v == 0.0f || v.v == 0.25f);
            EXPECT_EQ(Color(255, 0, 0, 200), v.color);
        }
    }
}

TEST_F(UISpriteComponentTest, AlphaScalesTheColourOnlyWhenItChanges)
{
    UISpriteComponent sprite(ElementLayout(ElementPosition(Vector2(0.0f, 0.0f)), Vector2(10.0f, 10.0f)),
                             SpriteTile(), Color(10, 20, 30, 255), 1);
    sprite.Draw(Rectangle(0.0f, 0.0f, 8.0f, 8.0f), 0.5f);
    EXPECT_EQ(Color(10, 20, 30, 127), sprite.GetSprite().GetColor());
    sprite.Draw(Rectangle(0.0f, 0.0f, 8.0f, 8.0f), 1.0f);
    EXPECT_EQ(Color(10, 20, 30, 255), sprite.GetSprite().GetColor());
    // The stored alpha again changes nothing, even a colour set meanwhile.
    sprite.GetSprite().SetColor(Color(1, 2, 3, 4));
    sprite.SetAlpha(1.0f);
    EXPECT_EQ(Color(1, 2, 3, 4), sprite.GetSprite().GetColor());
    GetTransientBatch()->Draw();
}
