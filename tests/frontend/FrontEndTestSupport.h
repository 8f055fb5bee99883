// Plumbing of the front-end tests: a sprite batch that records every add
// (rotated ones included), an observer of the game's sounds, and the widget
// fonts replaced by fonts of fixed advances (tests/widgets).
#pragma once

#include "engine/core/Color.h"
#include "engine/core/Rectangle.h"
#include "engine/core/Vector2.h"
#include "engine/graphics/SpriteBatch.h"
#include "engine/graphics/TileInfo.h"
#include "game/audio/GameSounds.h"
#include "tests/widgets/TextWidgetTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace FrontEndTest
{

const float kFrame = 1.0f / 30.0f;

struct Quad
{
    TileInfo const* tile = nullptr;
    float rotation = 0.0f;
    Vector2 position;
    Vector2 size;
    Color colour;
    int blendMode = -1;
};

class RecordingBatch : public Vexel::Graphics::Sprites::ITransientBatch
{
public:
    void AddSprite(Vexel::Graphics::Sprites::Sprite*) override { ++others; }
    void AddQuad(Vexel::Graphics::Texture const&, Vexel::Graphics::Sprites::SpriteState const&, int) override
    {
        ++others;
    }
    void AddRegionSized(Vexel::Graphics::Texture const&, Vexel::Rectangle const&, Vector2, Vector2, Color,
                        int) override
    {
        ++others;
    }
    void AddRegionSizedRotated(Vexel::Graphics::Texture const&, float, Vexel::Rectangle const&, Vector2, Vector2,
                               Color, int) override
    {
        ++others;
    }
    void AddTileSized(TileInfo const& tile, Vector2 position, Vector2 size, Color colour, int blendMode) override
    {
        Add(tile, 0.0f, position, size, colour, blendMode);
    }
    void AddTile(TileInfo const& tile, Vector2 position, Color colour, int blendMode) override
    {
        Add(tile, 0.0f, position, tile.size, colour, blendMode);
    }
    void AddTileSizedRotated(TileInfo const& tile, float rotation, Vector2 position, Vector2 size, Color colour,
                             int blendMode) override
    {
        Add(tile, rotation, position, size, colour, blendMode);
    }
    void AddTileRotated(TileInfo const& tile, float rotation, Vector2 position, Color colour, int blendMode) override
    {
        Add(tile, rotation, position, tile.size, colour, blendMode);
    }
    void Draw() override
    {
        ++draws;
        quads.clear();
    }

    std::vector<Quad> quads; // since the last Draw
    int draws = 0;
    int others = 0;

private:
    void Add(TileInfo const& tile, float rotation, Vector2 position, Vector2 size, Color colour, int blendMode)
    {
        Quad q;
        q.tile = &tile;
        q.rotation = rotation;
        q.position = position;
        q.size = size;
        q.colour = colour;
        q.blendMode = blendMode;
        quads.push_back(q);
    }
};

// Every sound the game plays while it lives.
class SoundLog : public GameSounds::IObserver
{
public:
    struct Played
    {
        int id;
        float volume;
        float pitch;
    };
    SoundLog() : previous(GameSounds::SetObserver(this)) {}
    ~SoundLog() override { GameSounds::SetObserver(previous); }
    void OnPlay(int id, float volume, float pitch) override { played.push_back(Played{id, volume, pitch}); }
    void OnStop(int) override {}
    void OnSetVolumeAndPitch(int, float, float) override {}

    std::vector<Played> played;

private:
    GameSounds::IObserver* previous;
};

inline void ExpectNear(Vector2 expected, Vector2 actual, const char* what, float tolerance = 1e-3f)
{
    EXPECT_NEAR(expected.x, actual.x, tolerance) << what;
    EXPECT_NEAR(expected.y, actual.y, tolerance) << what;
}

} // namespace FrontEndTest
