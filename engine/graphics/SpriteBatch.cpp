#include "engine/graphics/SpriteBatch.h"

#include "engine/core/Log.h"
#include "engine/graphics/BatchFrontEndImpl.h"
#include "engine/graphics/GL.h"
#include "engine/graphics/GeometryBuffer.h"
#include "engine/graphics/LayeredBatch.h"
#include "engine/graphics/RenderState.h"
#include "engine/graphics/Sprite.h"
#include "engine/graphics/SpriteShape.h"
#include "engine/graphics/VertexFormat.h"

#include <cstdio>
#include <set>
#include <vector>

namespace Vexel
{
namespace Graphics
{
namespace Sprites
{

using Geometry::VertexP2T2C;

namespace
{
std::vector<uint16_t>& SharedIndexPattern()
{
    static std::vector<uint16_t> pattern;
    return pattern;
}

// The vertices of up to quad capacity quads and their groups, written once
// and drawn straight from here.
class SpriteVertexList
{
public:
    SpriteVertexList(int quadCapacity, int groupCapacity)
        : quadCapacity(quadCapacity), vertices(new VertexP2T2C[4 * quadCapacity]),
          groupCapacity(groupCapacity), groups(new SpriteGroup[groupCapacity])
    {
    }

    virtual ~SpriteVertexList()
    {
        delete[] vertices;
        delete[] groups;
    }

    SpriteVertexList(const SpriteVertexList&) = delete;
    SpriteVertexList& operator=(const SpriteVertexList&) = delete;

    bool IsFull() const { return quadCount >= quadCapacity; }

    // Joins the current group when texture and blend mode match; false when
    // a new group is needed and no slot is left.
    bool Group(Texture const& texture, int blendMode)
    {
        if (groupCount > 0 && current->texture == texture && current->blendMode == blendMode)
            return true;
        if (groupCount == groupCapacity)
            return false;
        current = groups + groupCount++;
        current->texture = texture;
        current->blendMode = int16_t(blendMode);
        current->quadCount = 0;
        return true;
    }

    void Write(SpriteState const& state)
    {
        WriteQuad(vertices + 4 * quadCount, state);
        ++quadCount;
        ++current->quadCount;
    }

    // Expects the three client arrays enabled.
    void Draw(Texture& currentTexture)
    {
        if (groupCount > 0)
        {
            const VertexFormat format = VertexFormat::P2T2C;
            const char* base = reinterpret_cast<const char*>(vertices);
            GL::VertexPointer(format.positionCount, GL_FLOAT, format.stride, base + format.positionOffset);
            GL::TexCoordPointer(format.texCoordCount, GL_FLOAT, format.stride, base + format.texCoordOffset);
            GL::ColorPointer(4, GL_UNSIGNED_BYTE, format.stride, base + format.colorOffset);
            const uint16_t* indices = GetSharedIndices(quadCount);
            int firstQuad = 0;
            for (int i = 0; i < groupCount; ++i)
            {
                SpriteGroup const& group = groups[i];
                if (group.texture != currentTexture)
                {
                    currentTexture = group.texture;
                    currentTexture.Bind();
                }
                RenderState::SetBlendMode(group.blendMode);
                GL::DrawElements(GL_TRIANGLE_STRIP, 6 * group.quadCount - 2, GL_UNSIGNED_SHORT,
                                 indices + 6 * firstQuad);
                firstQuad += group.quadCount;
            }
        }
        Reset();
    }

    void Reset()
    {
        quadCount = 0;
        groupCount = 0;
        current = groups;
    }

private:
    int quadCapacity;
    VertexP2T2C* vertices; // 4 x quad capacity
    int quadCount = 0;
    int groupCapacity;
    SpriteGroup* groups;
    int groupCount = 0;
    SpriteGroup* current = groups;
};

// Persistent sprites of one layer number in insertion order, under one transform.
typedef BatchLayer<Sprite> SpriteLayer;
} // namespace

const uint16_t* GetSharedIndices(int quadCount)
{
    std::vector<uint16_t>& pattern = SharedIndexPattern();
    if (quadCount > 0 && size_t(quadCount) * 6 > pattern.size())
    {
        pattern.resize(size_t(quadCount) * 6);
        int k = -1;
        for (int i = 0; i < quadCount * 6; ++i)
        {
            if (i % 6 == 0 || i % 6 == 4)
                ++k;
            // The very last entry (the join past the last quad) is never drawn.
            pattern[i] = uint16_t(i - k);
        }
    }
    return pattern.data();
}

class TransientBatchImpl
{
public:
    explicit TransientBatchImpl(int capacity)
        : quadCapacity(capacity), groupCapacity(capacity / 2 < 1 ? 1 : capacity / 2), current(0)
    {
    }

    ~TransientBatchImpl()
    {
        for (SpriteVertexList* list : lists)
            delete list;
    }

    TransientBatchImpl(const TransientBatchImpl&) = delete;
    TransientBatchImpl& operator=(const TransientBatchImpl&) = delete;

    void AddQuad(Texture const& texture, SpriteState const& state, int blendMode)
    {
        texturesToPrepare.insert(texture);
        SpriteVertexList* list = NextQuad();
        if (!list->Group(texture, blendMode))
        {
            // Out of group slots: the quad continues in the next list.
            list = AdvanceList();
            list->Group(texture, blendMode);
        }
        list->Write(state);
    }

    void Draw(Transform2D const& transform)
    {
        if (texturesToPrepare.empty() || lists.empty())
            return;
        if (!transform.IsNone())
            transform.Push();
        for (Texture const& texture : texturesToPrepare)
            texture.EnsureUploaded();
        Texture currentTexture = *texturesToPrepare.begin();
        currentTexture.Bind();
        const int savedBlend = RenderState::GetBlendMode();
        const ClientArrayState savedArrays = RenderState::GetClientArrays();
        const VertexFormat format = VertexFormat::P2T2C;
        RenderState::SetClientArrays(format.positionCount > 0, format.colorOffset > 0,
                                     format.texCoordCount > 0);
        for (SpriteVertexList* list : lists)
            list->Draw(currentTexture);
        RenderState::SetClientArrays(savedArrays);
        current = 0;
        RenderState::SetBlendMode(savedBlend);
        if (!transform.IsNone())
            Transform2D::Pop();
        texturesToPrepare.clear();
    }

private:
    // The list that takes the next quad.
    SpriteVertexList* NextQuad()
    {
        if (current < lists.size() && !lists[current]->IsFull())
            return lists[current];
        return AdvanceList();
    }

    SpriteVertexList* AdvanceList()
    {
        if (current < lists.size())
            ++current;
        if (current == lists.size())
            lists.push_back(new SpriteVertexList(quadCapacity, groupCapacity));
        return lists[current];
    }

    std::set<Texture> texturesToPrepare; // emptied by every Draw
    int quadCapacity;
    int groupCapacity;
    std::vector<SpriteVertexList*> lists; // kept and reused frame to frame
    size_t current;                       // lists.size() while there is none
};

namespace
{
int ClampCapacity(int capacity)
{
    if (capacity >= 1 && capacity <= TransientBatch::kMaxCapacity)
        return capacity;
    Vexel::Log::Warning("spritebatch", "capacity %d clamped to 1..%d", capacity,
                        TransientBatch::kMaxCapacity);
    return capacity < 1 ? 1 : TransientBatch::kMaxCapacity;
}
} // namespace

TransientBatch::TransientBatch(int capacity) : BatchFrontEnd(new TransientBatchImpl(ClampCapacity(capacity)))
{
}

void TransientBatch::AddSprite(Sprite* sprite)
{
    if (sprite)
        impl->AddQuad(sprite->GetTexture(), sprite->GetState(), sprite->GetBlendMode());
}

void TransientBatch::AddQuad(Texture const& texture, SpriteState const& state, int blendMode)
{
    impl->AddQuad(texture, state, blendMode);
}

void TransientBatch::AddRegionSized(Texture const& texture, Vexel::Rectangle const& region, Vector2 position,
                                    Vector2 size, Color color, int blendMode)
{
    impl->AddQuad(texture,
                  SpriteState(region, position.x, position.y, size.x * 0.5f, size.y * 0.5f, 0.0f, color),
                  blendMode);
}

void TransientBatch::AddRegionSizedRotated(Texture const& texture, float rotation,
                                           Vexel::Rectangle const& region, Vector2 position, Vector2 size,
                                           Color color, int blendMode)
{
    impl->AddQuad(texture,
                  SpriteState(region, position.x, position.y, size.x * 0.5f, size.y * 0.5f, rotation, color),
                  blendMode);
}

void TransientBatch::AddTileSized(TileInfo const& tile, Vector2 position, Vector2 size, Color color,
                                  int blendMode)
{
    AddRegionSizedRotated(TileTexture(&tile), 0.0f, tile.uv, position, size, color, blendMode);
}

void TransientBatch::AddTile(TileInfo const& tile, Vector2 position, Color color, int blendMode)
{
    AddRegionSizedRotated(TileTexture(&tile), 0.0f, tile.uv, position, tile.size, color, blendMode);
}

void TransientBatch::AddTileSizedRotated(TileInfo const& tile, float rotation, Vector2 position, Vector2 size,
                                         Color color, int blendMode)
{
    AddRegionSizedRotated(TileTexture(&tile), rotation, tile.uv, position, size, color, blendMode);
}

void TransientBatch::AddTileRotated(TileInfo const& tile, float rotation, Vector2 position, Color color,
                                    int blendMode)
{
    AddRegionSizedRotated(TileTexture(&tile), rotation, tile.uv, position, tile.size, color, blendMode);
}

class PersistentBatchImpl : public LayeredBatch<Sprite, SpriteLayer>
{
public:
    void Draw(Transform2D const& transform)
    {
        LayeredBatch::Draw(transform, [this](SpriteLayer& layer, Texture& currentTexture, int& currentBlend)
                           { DrawLayer(layer, currentTexture, currentBlend); });
    }

private:
    void DrawLayer(SpriteLayer& layer, Texture& currentTexture, int& currentBlend)
    {
        for (auto& entry : layer.Persistent())
        {
            Sprite* sprite = entry.second;
            const Texture texture = sprite->GetTexture();
            if (texture != currentTexture || sprite->GetBlendMode() != currentBlend)
            {
                FlushShared();
                MakeCurrent(texture, sprite->GetBlendMode(), currentTexture, currentBlend);
            }
            VertexP2T2C* quad = Shared().AllocateStrip(4);
            if (!quad)
            {
                // Full: draw what is there and start again.
                FlushShared();
                quad = Shared().AllocateStrip(4);
            }
            if (quad)
                WriteQuad(quad, sprite->GetState());
            sprite->ClearChanged();
        }
    }
};

} // namespace Sprites

template class BatchFrontEnd<Sprites::ITransientBatch, Sprites::TransientBatchImpl>;
template class BatchFrontEnd<Sprites::ICollection, Sprites::PersistentBatchImpl>;
template class LayeredFrontEnd<Sprites::ICollection, Sprites::Sprite, Sprites::PersistentBatchImpl>;

} // namespace Graphics
} // namespace Vexel
