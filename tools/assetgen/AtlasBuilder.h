// Paints one atlas from the manifest and turns the float canvas into the
// bytes of its PNG: tile edges extruded into the gutters (GL_LINEAR samples
// them), straight colour bled into transparent texels of alpha atlases (no
// dark fringes), alpha 255 for additive atlases.
#pragma once

#include "tools/assetgen/Manifest.h"
#include "tools/assetgen/Raster.h"

#include <cstdint>
#include <string>
#include <vector>

namespace AssetGen
{

class TextRenderer;

// Straight RGBA bytes of the whole atlas. Unknown recipes are reported in
// `error` and make the result false.
bool BuildAtlas(Manifest const& m, int atlasIndex, TextRenderer& text, std::vector<uint8_t>& rgba,
                std::string& error);

// Canvas to straight RGBA: `alpha` keeps coverage and bleeds colour into
// empty texels; otherwise light on black with alpha 255.
std::vector<uint8_t> ToRgba(Canvas const& c, bool alpha);

// Copies the outermost texels of the rectangle one pixel outwards.
void ExtrudeEdges(std::vector<uint8_t>& rgba, int width, int height, int x, int y, int w, int h);

// PNG through LodePNG with fast settings; false with a message on failure.
bool WritePng(std::string const& path, std::vector<uint8_t> const& rgba, int width, int height,
              std::string& error);

} // namespace AssetGen
