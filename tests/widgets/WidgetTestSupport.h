// Shared pieces of the button and slider tests: a sprite batch that records
// what the widgets add to it, the slices a pill is cut into, and an element
// placed as the UI manager would place it.
#pragma once

#include "engine/core/Color.h"
#include "engine/core/Rectangle.h"
#include "engine/core/Vector2.h"
#include "engine/graphics/SpriteBatch.h"
#include "engine/graphics/SpriteShape.h"
#include "engine/graphics/Texture.h"
#include "engine/graphics/TileInfo.h"
#include "engine/ui/Element.h"
#include "game/widgets/UICheckButton.h"
#include "game/widgets/UISlider.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace WidgetTest
{

const float kFrame = 1.0f / 30.0f;

// One sprite as a widget handed it over.
struct Sprite
{
    TileInfo const* tile = nullptr; // set for whole-tile adds
    Vexel::Graphics::Texture texture;
    Vexel::Rectangle region; // texture area
    Vector2 position;        // centre
    Vector2 size;
    Color color;
    int blendMode = -1;
};

// Keeps every sprite added since the last Draw, and counts the draws; the
// sprites of earlier draws stay in drawnBefore.
class RecordingBatch : public Vexel::Graphics::Sprites::ITransientBatch
{
public:
    void AddSprite(Vexel::Graphics::Sprites::Sprite*) override { ADD_FAILURE() << "unexpected AddSprite"; }
    void AddQuad(Vexel::Graphics::Texture const&, Vexel::Graphics::Sprites::SpriteState const&, int) override
    {
        ADD_FAILURE() << "unexpected AddQuad";
    }
    void AddRegionSized(Vexel::Graphics::Texture const& texture, Vexel::Rectangle const& region,
                        Vector2 position, Vector2 size, Color color, int blendMode) override
    {
        Sprite s;
        s.texture = texture;
        s.region = region;
        s.position = position;
        s.size = size;
        s.color = color;
        s.blendMode = blendMode;
        pending.push_back(s);
    }
    void AddRegionSizedRotated(Vexel::Graphics::Texture const&, float, Vexel::Rectangle const&, Vector2,
                               Vector2, Color, int) override
    {
        ADD_FAILURE() << "unexpected AddRegionSizedRotated";
    }
    void AddTileSized(TileInfo const& tile, Vector2 position, Vector2 size, Color color,
                      int blendMode) override
    {
        Sprite s;
        s.tile = &tile;
        s.region = tile.uv;
        s.position = position;
        s.size = size;
        s.color = color;
        s.blendMode = blendMode;
        pending.push_back(s);
    }
    void AddTile(TileInfo const&, Vector2, Color, int) override { ADD_FAILURE() << "unexpected AddTile"; }
    void AddTileSizedRotated(TileInfo const&, float, Vector2, Vector2, Color, int) override
    {
        ADD_FAILURE() << "unexpected AddTileSizedRotated";
    }
    void AddTileRotated(TileInfo const&, float, Vector2, Color, int) override
    {
        ADD_FAILURE() << "unexpected AddTileRotated";
    }
    void Draw() override
    {
        ++draws;
        drawnBefore.insert(drawnBefore.end(), pending.begin(), pending.end());
        pending.clear();
    }

    // Everything added, drawn or not, in order.
    std::vector<Sprite> All() const
    {
        std::vector<Sprite> all = drawnBefore;
        all.insert(all.end(), pending.begin(), pending.end());
        return all;
    }
    void Reset()
    {
        pending.clear();
        drawnBefore.clear();
        draws = 0;
    }

    std::vector<Sprite> pending;
    std::vector<Sprite> drawnBefore;
    int draws = 0;
};

inline void ExpectNear(Vector2 expected, Vector2 actual, char const* what, float tolerance = 1e-3f)
{
    EXPECT_NEAR(expected.x, actual.x, tolerance) << what;
    EXPECT_NEAR(expected.y, actual.y, tolerance) << what;
}

inline void ExpectColor(Color expected, Color actual, char const* what)
{
    EXPECT_EQ(int(expected.r), int(actual.r)) << what;
    EXPECT_EQ(int(expected.g), int(actual.g)) << what;
    EXPECT_EQ(int(expected.b), int(actual.b)) << what;
    EXPECT_EQ(int(expected.a), int(actual.a)) << what;
}

// The six slices of a tile laid over x edges xs and y edges ys around centre
// at scale, as the pills and panels are cut: columns 0, 0.48, 0.52, 1 of the
// texture, rows 0, 0.5, 1; column by column, top row first.
inline void ExpectSlices(std::vector<Sprite> const& sprites, size_t first, TileInfo const& tile,
                         Vector2 centre, float scale, std::vector<float> const& xs,
                         std::vector<float> const& ys, Color color, int blendMode)
{
    const float u[4] = {0.0f, 0.48f, 0.52f, 1.0f};
    const float v[3] = {0.0f, 0.5f, 1.0f};
    ASSERT_GE(sprites.size(), first + 6);
    size_t k = first;
    for (int i = 0; i < 3; ++i)
    {
        for (int j = 0; j < 2; ++j, ++k)
        {
            Sprite const& s = sprites[k];
            const std::string what = "slice " + std::to_string(i) + "," + std::to_string(j);
            EXPECT_EQ(nullptr, s.tile) << what;
            EXPECT_TRUE(s.texture == Vexel::Graphics::Sprites::TileTexture(&tile)) << what;
            ExpectNear(Vector2(tile.uv.x + tile.uv.width * u[i], tile.uv.y + tile.uv.height * v[j]),
                       s.region.Position(), (what + " region").c_str(), 1e-6f);
            ExpectNear(Vector2(tile.uv.width * (u[i + 1] - u[i]), tile.uv.height * (v[j + 1] - v[j])),
                       s.region.Size(), (what + " region size").c_str(), 1e-6f);
            ExpectNear(centre + Vector2((xs[i] + xs[i + 1]) / 2, (ys[j] + ys[j + 1]) / 2) * scale, s.position,
                       (what + " position").c_str());
            ExpectNear(Vector2(xs[i + 1] - xs[i], ys[j + 1] - ys[j]) * scale, s.size,
                       (what + " size").c_str());
            ExpectColor(color, s.color, what.c_str());
            EXPECT_EQ(blendMode, s.blendMode) << what;
        }
    }
}

// Lays the element out as a root of a 320 x 480 portrait screen would be, so
// that its hit test and pressed-inside state work.
inline void Place(Vexel::UI::Element& element)
{
    const Vector2 screen[2] = {Vector2(320.0f, 480.0f), Vector2(480.0f, 320.0f)};
    element.Arrange(0.0f, screen, Vector2(0.0f, 0.0f));
}

// The element's drawn rectangle when placed by Place.
inline Vexel::Rectangle RectOf(Vexel::UI::Element& element)
{
    return Vexel::Rectangle(element.GetPosition(), element.GetSize());
}

// Logs the events of widgets and elements as short lines.
struct EventLog
{
    std::vector<std::string> lines;
    void OnToggled(UICheckButton*, bool value)
    {
        lines.push_back(std::string("Toggled ") + (value ? "1" : "0"));
    }
    void OnCheckedChanged(bool value)
    {
        lines.push_back(std::string("CheckedChanged ") + (value ? "1" : "0"));
    }
    void OnChanged(UISlider*, int value) { lines.push_back("Changed " + std::to_string(value)); }
    void OnValueChanged(int value) { lines.push_back("ValueChanged " + std::to_string(value)); }
    void OnTouchedUp(Vexel::UI::Element*, Vector2 const&, int) { lines.push_back("TouchedUp"); }
    void OnClicked(Vexel::UI::Element*, Vector2 const&) { lines.push_back("Clicked"); }
};

} // namespace WidgetTest
