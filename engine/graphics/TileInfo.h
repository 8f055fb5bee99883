// One picture of the game's texture atlases: the atlas texture, the tile's
// number, its drawn size in pixels and its area of the atlas in normalised
// texture coordinates. The records live in the tile table for the whole run;
// sprites and batches keep pointers to them.
#pragma once

#include "engine/core/Rectangle.h"
#include "engine/core/Vector2.h"

#include <cstdint>

namespace Vexel
{
namespace Graphics
{
class Texture;
}
} // namespace Vexel

struct TileInfo
{
    Vexel::Graphics::Texture* texture; // may be null until the atlases exist; not owned
    uint32_t id;
    Vector2 size;
    Vexel::Rectangle uv;

    // An empty record (no texture, id 0, zero size); the tile table fills its
    // records in place.
    TileInfo() : texture(nullptr), id(0) {}
    TileInfo(Vexel::Graphics::Texture* texture, uint32_t id, Vector2 size, Vexel::Rectangle uv)
        : texture(texture), id(id), size(size), uv(uv)
    {
    }
};
