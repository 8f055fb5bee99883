#include "tools/assetgen/Art.h"

namespace AssetGen
{

Palette RedFaction()
{
    return Palette{Rgba(1.0f, 0.34f, 0.12f), Rgba(1.0f, 0.66f, 0.32f), Rgba(0.78f, 0.10f, 0.05f),
                   Rgba(1.0f, 0.92f, 0.7f)};
}

Palette GreenFaction()
{
    return Palette{Rgba(0.18f, 1.0f, 0.55f), Rgba(0.35f, 0.95f, 1.0f), Rgba(0.02f, 0.55f, 0.42f),
                   Rgba(0.82f, 1.0f, 0.95f)};
}

Palette FactionOf(std::string const& name)
{
    return name == "green" ? GreenFaction() : RedFaction();
}

bool PaintTile(Painter const& p, TileSpec const& tile, ArtContext& ctx)
{
    return PaintShipTile(p, tile, ctx) || PaintEffectTile(p, tile, ctx) || PaintHudTile(p, tile, ctx) ||
           PaintUiTile(p, tile, ctx) || PaintPictureTile(p, tile, ctx);
}

} // namespace AssetGen
