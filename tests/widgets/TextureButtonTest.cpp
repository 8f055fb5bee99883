// The texture button: image, shadow and highlight sprites, scale, and touches
// of a disabled button.
#include "engine/graphics/ReferenceTiles.h"
#include "game/widgets/UITextureButton.h"
#include "tests/ui/UITestSupport.h"
#include "tests/widgets/WidgetTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace WidgetTest;
namespace Tiles = Vexel::Graphics::Tiles;

namespace
{

const Color kTint(200, 150, 100, 255);

class TextureButtonTest : public UITest::UIFixture
{
protected:
    std::unique_ptr<UITextureButton> Make(Vector2 layoutSize, int blendMode, bool hasShadow,
                                          bool enabled = true, TileInfo const* tile = Tiles::Tile161)
    {
        std::unique_ptr<UITextureButton> button(
            new UITextureButton(UITest::Box(20, 30, layoutSize.x, layoutSize.y), tile, Vector2(100, 50),
                                blendMode, &batch, &glow, enabled, kTint, hasShadow));
        Place(*button);
        return button;
    }

    RecordingBatch batch, glow;
};

TEST_F(TextureButtonTest, ShadowOnlyUnderAnAddedImageInTheUpperPartOfAFade)
{
    struct Case
    {
        Vector2 layout;
        int blendMode;
        bool hasShadow;
        float alpha;
        TileInfo const* shadow; // null: none
        int shadowAlpha;
    };
    const Case cases[] = {
        {Vector2(50, 50), 2, true, 1.0f, Tiles::Tile068, 178},
        {Vector2(40, 60), 2, true, 1.0f, Tiles::Tile067, 178}, // taller than wide
        {Vector2(60, 40), 2, true, 1.0f, Tiles::Tile068, 178},
        {Vector2(50, 50), 2, true, 0.775f, Tiles::Tile068, 89},
        {Vector2(50, 50), 2, true, 0.55f, nullptr, 0},
        {Vector2(50, 50), 2, true, 0.5f, nullptr, 0},
        {Vector2(50, 50), 1, true, 1.0f, nullptr, 0}, // an alpha-blended image never
        {Vector2(50, 50), 2, false, 1.0f, nullptr, 0},
    };
    for (Case const& k : cases)
    {
        SCOPED_TRACE(std::to_string(k.layout.x) + " x " + std::to_string(k.layout.y) + " blend " +
                     std::to_string(k.blendMode) + " alpha " + std::to_string(k.alpha));
        batch.Reset();
        auto button = Make(k.layout, k.blendMode, k.hasShadow);
        const Vexel::Rectangle rect = RectOf(*button);
        const float scale = std::min(rect.width / k.layout.x, rect.height / k.layout.y);
        button->Draw(rect, k.alpha);
        EXPECT_EQ(0, batch.draws) << "the owner draws the batch";
        std::vector<Sprite> sprites = batch.All();
        ASSERT_EQ(k.shadow ? 2u : 1u, sprites.size());
        if (k.shadow)
        {
            EXPECT_EQ(k.shadow, sprites[0].tile);
            ExpectNear(rect.Center(), sprites[0].position, "shadow");
            ExpectNear(Vector2(100, 50) * scale * 1.08f, sprites[0].size, "shadow size");
            ExpectColor(Color(0, 0, 0, uint8_t(k.shadowAlpha)), sprites[0].color, "shadow");
            EXPECT_EQ(1, sprites[0].blendMode);
        }
        Sprite const image = sprites.back();
        EXPECT_EQ(Tiles::Tile161, image.tile);
        ExpectNear(rect.Center(), image.position, "image");
        ExpectNear(Vector2(100, 50) * scale, image.size, "image size");
        ExpectColor(kTint.ScaleAlpha(k.alpha), image.color, "image");
        EXPECT_EQ(k.blendMode, image.blendMode);
        EXPECT_TRUE(glow.All().empty());
    }
}

TEST_F(TextureButtonTest, ScaleIsTheSmallerRatioToTheLayoutSize)
{
    auto button = Make(Vector2(100, 50), 1, false);
    struct Case
    {
        Vexel::Rectangle rect;
        float scale;
    };
    const Case cases[] = {{Vexel::Rectangle(0, 0, 200, 100), 2.0f},
                          {Vexel::Rectangle(0, 0, 200, 50), 1.0f},
                          {Vexel::Rectangle(0, 0, 100, 25), 0.5f}};
    for (Case const& k : cases)
    {
        batch.Reset();
        button->Draw(k.rect, 1.0f);
        ASSERT_EQ(1u, batch.All().size());
        ExpectNear(Vector2(100, 50) * k.scale, batch.All()[0].size, "image size");
    }
    // No design size to compare with: drawn as designed.
    std::unique_ptr<UITextureButton> unsized(new UITextureButton(
        UITest::Box(0, 0, 0, 0), Tiles::Tile161, Vector2(100, 50), 1, &batch, &glow, true, kTint, false));
    batch.Reset();
    unsized->Draw(Vexel::Rectangle(5, 5, 0, 0), 1.0f);
    ASSERT_EQ(1u, batch.All().size());
    ExpectNear(Vector2(100, 50), batch.All()[0].size, "unscaled");
}

// Held for 30 frames of 1/30 s: phase near 0.5, a highlight 1.035 times the
// drawn image at 0.85 alpha, additive, in the second batch.
TEST_F(TextureButtonTest, HeldTheHighlightPulsesInTheSecondBatch)
{
    auto button = Make(Vector2(100, 50), 1, false);
    button->TouchDown(Vector2(50, 40), 1);
    for (int i = 0; i < 30; ++i)
        button->UpdateTree(kFrame);
    button->Draw(Vexel::Rectangle(20, 30, 200, 100), 1.0f);
    std::vector<Sprite> sprites = glow.All();
    ASSERT_EQ(1u, sprites.size());
    EXPECT_EQ(Tiles::Tile161, sprites[0].tile);
    ExpectNear(Vector2(120, 80), sprites[0].position, "highlight");
    ExpectNear(Vector2(100, 50) * 2.0f * 1.035f, sprites[0].size, "highlight size", 2e-3f);
    ExpectColor(Color(200, 150, 100, 216), sprites[0].color, "highlight");
    EXPECT_EQ(2, sprites[0].blendMode);

    // Released at 0.5: the pulse runs to 1 in 10 more frames, then stops.
    button->TouchUp(Vector2(50, 40));
    int frames = 0;
    do
    {
        button->UpdateTree(kFrame);
        ++frames;
        glow.Reset();
        button->Draw(Vexel::Rectangle(20, 30, 200, 100), 1.0f);
    } while (!glow.All().empty() && frames < 100);
    EXPECT_GE(frames, 10);
    EXPECT_LE(frames, 11);
}

TEST_F(TextureButtonTest, ADisabledButtonTakesNoTouchUntilEnabledAndDrawsTheSame)
{
    auto button = Make(Vector2(100, 50), 1, false, false);
    Vexel::UI::Element* target = nullptr;
    EXPECT_FALSE(button->FindTouchTarget(Vector2(50, 40), &target));
    button->Draw(RectOf(*button), 1.0f);
    EXPECT_EQ(1u, batch.All().size());
    button->SetEnabled(true);
    EXPECT_TRUE(button->FindTouchTarget(Vector2(50, 40), &target));
    EXPECT_EQ(button.get(), target);
}

TEST_F(TextureButtonTest, WithoutATileNothingIsDrawn)
{
    auto button = Make(Vector2(100, 50), 2, true, true, nullptr);
    EXPECT_EQ(nullptr, button->GetTile());
    button->TouchDown(Vector2(50, 40), 1);
    for (int i = 0; i < 10; ++i)
        button->UpdateTree(kFrame);
    button->Draw(RectOf(*button), 1.0f);
    EXPECT_TRUE(batch.All().empty());
    EXPECT_TRUE(glow.All().empty());
}

TEST_F(TextureButtonTest, NearlyTransparentDrawsNothing)
{
    auto button = Make(Vector2(100, 50), 2, true);
    EXPECT_EQ(Tiles::Tile161, button->GetTile());
    button->Draw(RectOf(*button), 0.004f);
    EXPECT_TRUE(batch.All().empty());
}

} // namespace
