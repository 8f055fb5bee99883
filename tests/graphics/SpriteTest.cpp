#include "engine/graphics/Sprite.h"

#include "tests/graphics/BatchTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

using namespace Vexel::Graphics;
using Vexel::Graphics::Sprites::Sprite;
using Vexel::Graphics::Sprites::SpriteState;

namespace
{

// Counts the events of one sprite.
struct Listener
{
    int textureChanges = 0;
    Texture lastOld, lastNew;
    int destroyed = 0;

    void OnTextureChanged(Sprite*, Texture const& oldTexture, Texture const& newTexture)
    {
        ++textureChanges;
        lastOld = oldTexture;
        lastNew = newTexture;
    }
    void OnDestroyed(Sprite*) { ++destroyed; }

    void Watch(Sprite& sprite)
    {
        sprite.TextureChanged().Subscribe(
            Vexel::Action<Sprite*, Texture const&, Texture const&>(this, &Listener::OnTextureChanged));
        sprite.Destroyed().Subscribe(Vexel::Action<Sprite*>(this, &Listener::OnDestroyed));
    }
};

class SpriteTest : public ::testing::Test
{
protected:
    SpriteTest()
        : atlasA(BatchTest::UploadedTexture(51)), atlasB(BatchTest::UploadedTexture(52)),
          tileA(&atlasA, 1, Vector2(16, 8), Vexel::Rectangle(0, 0, 0.5f, 0.5f)),
          tileA2(&atlasA, 2, Vector2(16, 8), Vexel::Rectangle(0.5f, 0, 0.5f, 0.5f)),
          tileB(&atlasB, 3, Vector2(4, 4), Vexel::Rectangle(0, 0.5f, 0.25f, 0.25f))
    {
    }

    Texture atlasA, atlasB;
    TileInfo tileA, tileA2, tileB;
};

TEST_F(SpriteTest, ConstructorsTakeSizeAndRegionFromTheTile)
{
    Sprite bySize(tileA, Vector2(1, 2), Vector2(10, 6), Color(1, 2, 3, 4), 0.25f, 2);
    EXPECT_EQ(bySize.GetOrigin(), Vector2(5, 3));
    EXPECT_EQ(bySize.GetRegion(), tileA.uv);
    EXPECT_EQ(bySize.GetRotation(), 0.25f);
    EXPECT_EQ(bySize.GetColor(), Color(1, 2, 3, 4));
    EXPECT_EQ(bySize.GetBlendMode(), 2);
    EXPECT_EQ(bySize.GetTexture(), atlasA);
    Sprite byTile(tileA, Vector2(1, 2), Color(), 0, 1);
    EXPECT_EQ(byTile.GetSize(), Vector2(16, 8));
    SpriteState state(Vexel::Rectangle(0, 0, 1, 1), 3, 4, 5, 6, 0.5f, Color());
    Sprite byState(tileB, state, 3);
    EXPECT_EQ(byState.GetPosition(), Vector2(3, 4));
    EXPECT_EQ(byState.GetSize(), Vector2(10, 12));
    EXPECT_EQ(byState.GetTile(), &tileB);
}

TEST_F(SpriteTest, SettersChangeOnlyOnADifferentValue)
{
    Sprite sprite(tileA, Vector2(1, 2), Color(), 0, 1);
    struct Case
    {
        const char* name;
        std::function<void(Sprite&)> same;
        std::function<void(Sprite&)> different;
    };
    const Case cases[] = {
        {"position", [](Sprite& s) { s.SetPosition(Vector2(1, 2)); },
         [](Sprite& s) { s.SetPosition(Vector2(1, 3)); }},
        {"size", [](Sprite& s) { s.SetSize(s.GetSize()); }, [](Sprite& s) { s.SetSize(Vector2(10, 6)); }},
        {"origin", [](Sprite& s) { s.SetOrigin(s.GetOrigin()); },
         [](Sprite& s) { s.SetOrigin(Vector2(2, 2)); }},
        {"rotation", [](Sprite& s) { s.SetRotation(s.GetRotation()); },
         [](Sprite& s) { s.SetRotation(1.0f); }},
        {"region", [](Sprite& s) { s.SetRegion(s.GetRegion()); },
         [](Sprite& s) { s.SetRegion(Vexel::Rectangle(0, 0, 1, 1)); }},
        {"color", [](Sprite& s) { s.SetColor(s.GetColor()); },
         [](Sprite& s) { s.SetColor(Color(0, 0, 0, 0)); }},
    };
    for (auto const& c : cases)
    {
        SCOPED_TRACE(c.name);
        sprite.ClearChanged();
        c.same(sprite);
        EXPECT_FALSE(sprite.IsChanged());
        c.different(sprite);
        EXPECT_TRUE(sprite.IsChanged());
    }
    sprite.SetSize(Vector2(10, 6));
    EXPECT_EQ(sprite.GetSize(), Vector2(10, 6));
    // The whole state is taken without comparison.
    sprite.ClearChanged();
    sprite.SetState(sprite.GetState());
    EXPECT_TRUE(sprite.IsChanged());
}

TEST_F(SpriteTest, SetTileOnTheSameTextureWithoutRegionChangesOnlyTheTile)
{
    Sprite sprite(tileA, Vector2(1, 2), Color(), 0, 1);
    Listener listener;
    listener.Watch(sprite);
    sprite.ClearChanged();
    sprite.SetTile(tileA2, false);
    EXPECT_EQ(sprite.GetTile(), &tileA2);
    EXPECT_EQ(sprite.GetRegion(), tileA.uv);
    EXPECT_EQ(listener.textureChanges, 0);
    EXPECT_FALSE(sprite.IsChanged());
    // With the region taken.
    sprite.SetTile(tileA, true);
    EXPECT_EQ(sprite.GetRegion(), tileA.uv);
    sprite.SetTile(tileA2, true);
    EXPECT_EQ(sprite.GetRegion(), tileA2.uv);
    EXPECT_TRUE(sprite.IsChanged());
    EXPECT_EQ(listener.textureChanges, 0);
}

TEST_F(SpriteTest, SetTileOnAnotherTextureRaisesTextureChangedOnce)
{
    Sprite sprite(tileA, Vector2(1, 2), Color(), 0, 1);
    Listener listener;
    listener.Watch(sprite);
    sprite.SetTile(tileB, false);
    sprite.SetTile(tileB, true); // the same tile: nothing at all
    EXPECT_EQ(listener.textureChanges, 1);
    EXPECT_EQ(listener.lastOld, atlasA);
    EXPECT_EQ(listener.lastNew, atlasB);
    EXPECT_EQ(sprite.GetTexture(), atlasB);
    EXPECT_EQ(sprite.GetRegion(), tileA.uv);
}

TEST_F(SpriteTest, DestructionRaisesDestroyed)
{
    Listener listener;
    {
        Sprite sprite(tileA, Vector2(1, 2), Color(), 0, 1);
        listener.Watch(sprite);
    }
    EXPECT_EQ(listener.destroyed, 1);
}

} // namespace
