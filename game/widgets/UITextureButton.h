// An image from one tile of the tile table, tinted, scaled with its element,
// optionally over a soft dark shadow, and lit by a pulsing highlight while a
// finger holds it. The menus use it for buttons (the owner listens to the
// element's Clicked event) and, made disabled, for plain decorations. The
// image and its shadow go to the owner's first sprite batch, the highlight to
// its second; the button itself issues no draw call. Main thread only.
#pragma once

#include "engine/core/Color.h"
#include "engine/core/Vector2.h"
#include "engine/graphics/SpriteBatch.h"
#include "engine/ui/Element.h"

class UITextureButton : public Vexel::UI::Element
{
public:
    // size is the image's design size; blendMode 1 alpha blends the image,
    // 2 adds it (only an added image gets the shadow). A null tile draws
    // nothing. The tile and the batches are not owned.
    UITextureButton(Vexel::UI::ElementLayout const& layout, TileInfo const* tile, Vector2 size, int blendMode,
                    Vexel::Graphics::Sprites::ITransientBatch* batch,
                    Vexel::Graphics::Sprites::ITransientBatch* glowBatch, bool enabled, Color colour,
                    bool hasShadow);
    ~UITextureButton() override;

    void Update(float dt) override;
    void Draw(Vexel::Rectangle rect, float alpha) override;
    void OnTouchDown(Vector2 const& position, int tapCount) override;

    // The tile the button draws (may be null).
    TileInfo const* GetTile() const { return tile; }

private:
    Vexel::Graphics::Sprites::ITransientBatch* batch;
    Vexel::Graphics::Sprites::ITransientBatch* glowBatch;
    TileInfo const* tile;
    Color colour; // at full opacity
    Vector2 size;
    int blendMode;
    bool hasShadow;
    Vector2 baseSize;
    float glowPhase;
};
