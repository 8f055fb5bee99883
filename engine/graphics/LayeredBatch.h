// What the sprite and geometry persistent batches share: members (sprites or
// geometry pieces) kept in numbered layers in the order added, each layer
// under its own transform; the textures the members use counted, so that
// each is uploaded once before the next draw; the members' TextureChanged
// and Destroyed events followed; and the draw over the layers in ascending
// order through one shared buffer, flushed whenever texture, blend mode or
// layer transform changes. Internal to the batch sources. Main thread only.
//
// Member: Texture GetTexture(), int GetBlendMode(), and the events
// TextureChanged() (Member*, old texture, new texture) and Destroyed()
// (Member*). Layer: derives from BatchLayer<Member>.
#pragma once

#include "engine/core/Delegate.h"
#include "engine/core/Transform2D.h"
#include "engine/core/Vector2.h"
#include "engine/graphics/GeometryBuffer.h"
#include "engine/graphics/RenderState.h"
#include "engine/graphics/Texture.h"
#include "engine/graphics/VertexFormat.h"

#include <cstdint>
#include <map>
#include <set>

namespace Vexel
{
namespace Graphics
{

inline Transform2D IdentityTransform()
{
    return Transform2D(Vector2(0.0f, 0.0f), Vector2(1.0f, 1.0f));
}

// Binds and sets the blend mode only where they differ from what is current.
inline void MakeCurrent(Texture const& texture, int blendMode, Texture& currentTexture, int& currentBlend)
{
    if (texture != currentTexture)
    {
        currentTexture = texture;
        texture.Bind();
    }
    if (blendMode != currentBlend)
    {
        currentBlend = blendMode;
        RenderState::SetBlendMode(blendMode);
    }
}

// The persistent members of one layer number in the order added, under one
// transform.
template <class Member> class BatchLayer
{
public:
    BatchLayer() : transform(IdentityTransform()) {}
    BatchLayer(const BatchLayer&) = delete;
    BatchLayer& operator=(const BatchLayer&) = delete;

    void AddPersistent(Member* member)
    {
        const int64_t key = ordered.empty() ? 0 : ordered.rbegin()->first + 1;
        ordered[key] = member;
        keys[member] = key;
    }

    void RemovePersistent(Member* member)
    {
        auto found = keys.find(member);
        if (found == keys.end())
            return;
        ordered.erase(found->second);
        keys.erase(found);
    }

    // By insertion key, ascending.
    std::map<int64_t, Member*> const& Persistent() const { return ordered; }

    Transform2D transform;

private:
    std::map<int64_t, Member*> ordered;
    std::map<Member*, int64_t> keys;
};

template <class Member, class Layer> class LayeredBatch
{
public:
    static const int kSharedVertices = 2048;
    static const int kSharedIndices = 3072;

    LayeredBatch() : shared(kSharedVertices, kSharedIndices) {}

    ~LayeredBatch()
    {
        // Members outlive the batch: they must not call back into it.
        for (auto& member : membership)
            Unsubscribe(member.first);
        for (auto& layer : layers)
            delete layer.second;
    }

    LayeredBatch(const LayeredBatch&) = delete;
    LayeredBatch& operator=(const LayeredBatch&) = delete;

    // False for null and when the member is already in that layer (one in
    // another layer moves). The layer is made even then.
    bool Add(Member* member, int layer)
    {
        if (!member)
            return false;
        Layer* target = GetOrCreateLayer(layer);
        auto found = membership.find(member);
        if (found != membership.end())
        {
            if (found->second == layer)
                return false;
            Remove(member, true);
        }
        CountTexture(member->GetTexture());
        member->TextureChanged().Subscribe(
            Action<Member*, Texture const&, Texture const&>(this, &LayeredBatch::OnTextureChanged));
        member->Destroyed().Subscribe(Action<Member*>(this, &LayeredBatch::OnMemberDestroyed));
        membership[member] = layer;
        target->AddPersistent(member);
        return true;
    }

    bool Remove(Member* member, bool unsubscribe)
    {
        auto found = membership.find(member);
        if (found == membership.end())
            return false;
        auto layer = layers.find(found->second);
        if (layer != layers.end())
            layer->second->RemovePersistent(member);
        membership.erase(found);
        UncountTexture(member->GetTexture());
        if (unsubscribe)
            Unsubscribe(member);
        return true;
    }

    bool Contains(Member* member) const { return membership.find(member) != membership.end(); }

    void SetLayerTransform(int layer, Transform2D const& transform)
    {
        GetOrCreateLayer(layer)->transform = transform;
    }

    void ResetLayerTransform(int layer)
    {
        auto found = layers.find(layer);
        if (found != layers.end())
            found->second->transform = Transform2D::None;
    }

    Transform2D GetLayerTransform(int layer) const
    {
        auto found = layers.find(layer);
        return found == layers.end() ? Transform2D::None : found->second->transform;
    }

    Layer* GetOrCreateLayer(int layer)
    {
        auto found = layers.find(layer);
        if (found != layers.end())
            return found->second;
        Layer* created = new Layer();
        layers[layer] = created;
        return created;
    }

    // A texture used for one frame only (a transient piece): uploaded before
    // the next draw unless a member already has it counted.
    void PrepareTexture(Texture const& texture)
    {
        if (textureCounts.find(texture) == textureCounts.end())
            texturesToPrepare.insert(texture);
    }

    void FlushShared()
    {
        shared.Draw();
        shared.Reset();
    }

    Geometry::GeometryBuffer<Geometry::VertexP2T2C>& Shared() { return shared; }

    // Uploads the textures to prepare, then draws the layers in ascending
    // order under the transform (None pushes no matrix), each under its own
    // transform: drawLayer(layer, currentTexture, currentBlend) draws one
    // layer's contents. Restores the blend mode it found.
    template <class DrawLayer> void Draw(Transform2D const& transform, DrawLayer drawLayer)
    {
        if (textureCounts.empty() && texturesToPrepare.empty())
            return;
        Texture currentTexture =
            !textureCounts.empty() ? textureCounts.begin()->first : *texturesToPrepare.begin();
        const int savedBlend = RenderState::GetBlendMode();
        int currentBlend = savedBlend;
        for (Texture const& texture : texturesToPrepare)
            texture.EnsureUploaded();
        if (!layers.empty())
        {
            if (!transform.IsNone())
                transform.Push();
            currentTexture.Bind();
            Transform2D currentTransform = layers.begin()->second->transform;
            if (!currentTransform.IsNone())
                currentTransform.Push();
            shared.Reset();
            for (auto& entry : layers)
            {
                Layer& layer = *entry.second;
                if (layer.transform != currentTransform)
                {
                    FlushShared();
                    if (!currentTransform.IsNone())
                        Transform2D::Pop();
                    currentTransform = layer.transform;
                    if (!currentTransform.IsNone())
                        currentTransform.Push();
                }
                drawLayer(layer, currentTexture, currentBlend);
            }
            FlushShared();
            if (!currentTransform.IsNone())
                Transform2D::Pop();
            if (!transform.IsNone())
                Transform2D::Pop();
        }
        RenderState::SetBlendMode(savedBlend);
        texturesToPrepare.clear();
    }

private:
    void CountTexture(Texture const& texture)
    {
        auto found = textureCounts.find(texture);
        if (found != textureCounts.end())
        {
            ++found->second;
            return;
        }
        textureCounts[texture] = 1;
        texturesToPrepare.insert(texture);
    }

    void UncountTexture(Texture const& texture)
    {
        auto found = textureCounts.find(texture);
        if (found == textureCounts.end())
            return;
        if (--found->second < 1)
            textureCounts.erase(found);
    }

    void Unsubscribe(Member* member)
    {
        member->TextureChanged().Unsubscribe(this);
        member->Destroyed().Unsubscribe(this);
    }

    void OnTextureChanged(Member* member, Texture const& oldTexture, Texture const& newTexture)
    {
        if (oldTexture == newTexture || !Contains(member))
            return;
        UncountTexture(oldTexture);
        CountTexture(newTexture);
    }

    // The dying member's events go with it: no unsubscribe from the event
    // that is calling us.
    void OnMemberDestroyed(Member* member) { Remove(member, false); }

    std::map<Member*, int> membership; // member to layer number
    std::map<int, Layer*> layers;
    std::map<Texture, int> textureCounts; // over the members
    std::set<Texture> texturesToPrepare;  // emptied by every draw
    Geometry::GeometryBuffer<Geometry::VertexP2T2C> shared;
};

} // namespace Graphics
} // namespace Vexel
