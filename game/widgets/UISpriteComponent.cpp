#include "game/widgets/UISpriteComponent.h"

#include "engine/graphics/GeometryBatch.h"
#include "engine/ui/UIHelper.h"

namespace
{
// Off screen until the first draw places it.
const Vexel::Rectangle kUnplaced(-100.0f, -100.0f, 50.0f, 50.0f);
} // namespace

UISpriteComponent::UISpriteComponent(Vexel::UI::ElementLayout const& layout, TileInfo const& tile,
                                     Color colour, int blendMode)
    : Element(layout, Vexel::UI::TouchMode::Ignore),
      // Shaped like the stored rectangle, so that a first draw in exactly
      // that rectangle (which changes nothing) still shows the tile there.
      sprite(tile, kUnplaced.Center(), kUnplaced.Size(), colour, 0.0f, blendMode), colour(colour),
      alpha(1.0f), rect(kUnplaced)
{
}

UISpriteComponent::~UISpriteComponent() {}

void UISpriteComponent::Draw(Vexel::Rectangle rect, float alpha)
{
    SetRect(rect);
    SetAlpha(alpha);
    if (Vexel::Graphics::Geometry::TransientBatch* batch = GetTransientBatch())
        batch->Add(&sprite);
}

void UISpriteComponent::SetRect(Vexel::Rectangle const& r)
{
    if (r == rect)
        return;
    rect = r;
    // The sprite is centred on its position.
    sprite.SetPosition(r.Center());
    sprite.SetSize(r.Size());
}

void UISpriteComponent::SetAlpha(float a)
{
    if (a == alpha)
        return;
    alpha = a;
    sprite.SetColor(colour.ScaleAlpha(a));
}
