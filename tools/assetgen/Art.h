// The painting recipes named in the manifest, grouped by family (one source
// file each). Every recipe paints one tile through a painter clipped to the
// tile's rectangle; additive-atlas art is light on black, alpha-atlas art
// is premultiplied colour with real coverage.
#pragma once

#include "tools/assetgen/Manifest.h"
#include "tools/assetgen/Raster.h"
#include "tools/assetgen/TextRenderer.h"

#include <string>

namespace AssetGen
{

struct ArtContext
{
    TextRenderer& text;
    Canvas& canvas;
    PixelRect clip; // the tile's rectangle in the atlas
};

// Faction palette (straight colours, full opacity).
struct Palette
{
    Rgba body, rim, deep, core;
};
Palette RedFaction();
Palette GreenFaction();
Palette FactionOf(std::string const& name); // "red" or "green"

// Paints a tile by its recipe; false for an unknown recipe.
bool PaintTile(Painter const& p, TileSpec const& tile, ArtContext& ctx);

// Family entry points (false: recipe not theirs).
bool PaintShipTile(Painter const& p, TileSpec const& tile, ArtContext& ctx);
bool PaintEffectTile(Painter const& p, TileSpec const& tile, ArtContext& ctx);
bool PaintHudTile(Painter const& p, TileSpec const& tile, ArtContext& ctx);
bool PaintUiTile(Painter const& p, TileSpec const& tile, ArtContext& ctx);
bool PaintPictureTile(Painter const& p, TileSpec const& tile, ArtContext& ctx);

// Ships, for tiles and for the pictures that compose them. The local frame
// puts the ship's nose at +y (down the image); extents as ShipExtent.
V2 ShipExtent(std::string const& kind);
bool PaintShip(Painter const& p, std::string const& kind, int frame = 0);
// Light trail behind a ship (towards -y), length in ship units.
void PaintShipTrail(Painter const& p, Palette const& pal, float halfWidth, float length);

// The planet seen from space, radius 1 at the local origin.
void PaintPlanet(Painter const& p, float atmosphere);

// The game's splash screen as a straight-RGBA image of the given size.
void PaintSplash(Canvas& canvas, TextRenderer& text);

} // namespace AssetGen
