#include "engine/graphics/GeometryBatch.h"

#include "engine/graphics/GeometryBuffer.h"
#include "engine/graphics/RenderState.h"

#include <cstdint>
#include <map>
#include <set>
#include <vector>

namespace Vexel
{
namespace Graphics
{
namespace Geometry
{

typedef Geometry<VertexP2T2C> Piece;

namespace
{
const int kSharedVertices = 2048;
const int kSharedIndices = 3072;
const int kImmediateVertices = 256;
const int kImmediateIndices = 384;
const int kMaxRanges = 64;

Transform2D Identity()
{
    return Transform2D(Vector2(0.0f, 0.0f), Vector2(1.0f, 1.0f));
}

// Binds and sets the blend mode only where they differ from what is current.
void MakeCurrent(Texture const& texture, int blendMode, Texture& currentTexture, int& currentBlend)
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

// One transient buffer of pieces and its runs of equal texture and blend
// mode, plus at most one piece too large for it, drawn directly after them.
class ImmediateGeometryBatch
{
public:
    struct AddResult
    {
        enum Enum
        {
            Appended = 0,
            Held = 1,
            Full = 2,
        };
    };

    ImmediateGeometryBatch() : buffer(kImmediateVertices, kImmediateIndices) {}

    ~ImmediateGeometryBatch()
    {
        destroying = true;
        ReleaseHeld();
    }

    ImmediateGeometryBatch(const ImmediateGeometryBatch&) = delete;
    ImmediateGeometryBatch& operator=(const ImmediateGeometryBatch&) = delete;

    AddResult::Enum Add(Piece* geometry, bool insist)
    {
        const bool newRange = rangeCount == 0 ||
                              ranges[rangeCount - 1].blendMode != geometry->GetBlendMode() ||
                              ranges[rangeCount - 1].texture != geometry->GetTexture();
        // The range table is fixed: even an insisting add cannot open a 65th run.
        const bool rangesFull = newRange && rangeCount == kMaxRanges;
        if (rangesFull && !insist)
            return AddResult::Full;
        const int start = buffer.GetIndexCount();
        if (!rangesFull && geometry->AppendTo(buffer))
        {
            if (newRange)
            {
                ranges[rangeCount].first = start;
                ranges[rangeCount].texture = geometry->GetTexture();
                ranges[rangeCount].blendMode = geometry->GetBlendMode();
                ++rangeCount;
            }
            return AddResult::Appended;
        }
        if (!held && (geometry->GetVertexCount() > buffer.GetIndexCapacity() / 2 ||
                      buffer.GetIndexCount() == 0 || insist))
        {
            held = geometry;
            heldIsCopy = false;
            geometry->Destroyed().Subscribe(
                Action<Piece*>(this, &ImmediateGeometryBatch::OnGeometryDestroyed));
            // Generated now, so that a copy made when the piece dies before
            // the flush needs nothing of the dead object.
            geometry->Snapshot();
            return AddResult::Held;
        }
        return AddResult::Full;
    }

    void Flush(Texture& currentTexture, int& currentBlend)
    {
        for (int i = 0; i < rangeCount; ++i)
        {
            MakeCurrent(ranges[i].texture, ranges[i].blendMode, currentTexture, currentBlend);
            const int end = i + 1 < rangeCount ? ranges[i + 1].first : buffer.GetIndexCount();
            buffer.DrawRange(ranges[i].first, end - ranges[i].first);
        }
        for (int i = 0; i < rangeCount; ++i)
            ranges[i].texture = Texture::Empty; // hold no texture past the frame
        rangeCount = 0;
        buffer.Reset();
        if (held)
        {
            MakeCurrent(held->GetTexture(), held->GetBlendMode(), currentTexture, currentBlend);
            held->DrawTo();
            ReleaseHeld();
        }
    }

    bool IsEmpty() const { return rangeCount == 0 && !held; }

private:
    struct DrawRange
    {
        int first = 0;
        Texture texture = Texture::Empty;
        int blendMode = 1;
    };

    void OnGeometryDestroyed(Piece* geometry)
    {
        // The dying piece's event goes with it: no unsubscribe needed (nor
        // wanted while that event is calling us).
        if (geometry != held || destroying || heldIsCopy)
            return;
        held = geometry->TakeSnapshot();
        heldIsCopy = true;
    }

    void ReleaseHeld()
    {
        if (!held)
            return;
        if (heldIsCopy)
            delete held;
        else
            held->Destroyed().Unsubscribe(this);
        held = nullptr;
        heldIsCopy = false;
    }

    DrawRange ranges[kMaxRanges];
    int rangeCount = 0;
    GeometryBuffer<VertexP2T2C> buffer;
    Piece* held = nullptr; // oversize piece drawn directly at the flush
    bool heldIsCopy = false;
    bool destroying = false;
};

// Persistent pieces in insertion order and the transient batches of one
// layer number, all under one transform.
class GeometryLayer
{
public:
    GeometryLayer() : transform(Identity()) {}

    ~GeometryLayer()
    {
        for (ImmediateGeometryBatch* batch : batches)
            delete batch;
    }

    GeometryLayer(const GeometryLayer&) = delete;
    GeometryLayer& operator=(const GeometryLayer&) = delete;

    ImmediateGeometryBatch::AddResult::Enum AddTransient(Piece* geometry)
    {
        bool created = false;
        if (batches.empty())
        {
            batches.push_back(new ImmediateGeometryBatch());
            created = true;
        }
        if (currentIndex < 0)
            currentIndex = 0;
        ImmediateGeometryBatch::AddResult::Enum result = batches[currentIndex]->Add(geometry, created);
        if (result != ImmediateGeometryBatch::AddResult::Full)
            return result;
        ++currentIndex;
        if (currentIndex == int(batches.size()))
            batches.push_back(new ImmediateGeometryBatch());
        // A batch past the current one was flushed at the last draw: an
        // insisting add always lands there.
        return batches[currentIndex]->Add(geometry, true);
    }

    void AddPersistent(Piece* geometry)
    {
        const int64_t key = ordered.empty() ? 0 : ordered.rbegin()->first + 1;
        ordered[key] = geometry;
        keys[geometry] = key;
    }

    void RemovePersistent(Piece* geometry)
    {
        auto found = keys.find(geometry);
        if (found == keys.end())
            return;
        ordered.erase(found->second);
        keys.erase(found);
    }

    void Draw(GeometryBuffer<VertexP2T2C>& shared, Texture& currentTexture, int& currentBlend,
              Transform2D& currentTransform)
    {
        if (transform != currentTransform)
        {
            shared.Draw();
            shared.Reset();
            if (!currentTransform.IsNone())
                Transform2D::Pop();
            currentTransform = transform;
            if (!currentTransform.IsNone())
                currentTransform.Push();
        }
        for (auto& entry : ordered)
        {
            Piece* geometry = entry.second;
            if (geometry->GetTexture() != currentTexture || geometry->GetBlendMode() != currentBlend)
            {
                shared.Draw();
                shared.Reset();
                MakeCurrent(geometry->GetTexture(), geometry->GetBlendMode(), currentTexture, currentBlend);
            }
            geometry->DrawInto(shared);
        }
        if (currentIndex < 0)
            return;
        shared.Draw();
        shared.Reset();
        for (int i = 0; i <= currentIndex && i < int(batches.size()); ++i)
            batches[i]->Flush(currentTexture, currentBlend);
        currentIndex = -1;
    }

    Transform2D transform;

private:
    std::map<int64_t, Piece*> ordered; // persistent pieces by insertion key
    std::map<Piece*, int64_t> keys;
    std::vector<ImmediateGeometryBatch*> batches; // kept and reused frame to frame
    int currentIndex = -1;                        // -1: nothing added since the last draw
};
} // namespace

class BatchImpl
{
public:
    BatchImpl() : shared(kSharedVertices, kSharedIndices) {}

    ~BatchImpl()
    {
        // Members outlive the batch: they must not call back into it.
        for (auto& member : membership)
            Unsubscribe(member.first);
        for (auto& layer : layers)
            delete layer.second;
    }

    BatchImpl(const BatchImpl&) = delete;
    BatchImpl& operator=(const BatchImpl&) = delete;

    void AddTransient(Piece* geometry, int layer)
    {
        if (!geometry)
            return;
        if (textureCounts.find(geometry->GetTexture()) == textureCounts.end())
            texturesToPrepare.insert(geometry->GetTexture());
        GetOrCreateLayer(layer)->AddTransient(geometry);
    }

    bool AddPersistent(Piece* geometry, int layer)
    {
        if (!geometry)
            return false;
        GeometryLayer* target = GetOrCreateLayer(layer);
        auto found = membership.find(geometry);
        if (found != membership.end())
        {
            if (found->second == layer)
                return false;
            Remove(geometry);
        }
        CountTexture(geometry->GetTexture());
        geometry->TextureChanged().Subscribe(
            Action<Piece*, Texture const&, Texture const&>(this, &BatchImpl::OnTextureChanged));
        geometry->Destroyed().Subscribe(Action<Piece*>(this, &BatchImpl::OnGeometryDestroyed));
        membership[geometry] = layer;
        target->AddPersistent(geometry);
        return true;
    }

    bool Remove(Piece* geometry) { return Remove(geometry, true); }

    bool Contains(Piece* geometry) const { return membership.find(geometry) != membership.end(); }

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

    void Draw(Transform2D const& transform)
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
            for (auto& layer : layers)
                layer.second->Draw(shared, currentTexture, currentBlend, currentTransform);
            shared.Draw();
            shared.Reset();
            if (!currentTransform.IsNone())
                Transform2D::Pop();
            if (!transform.IsNone())
                Transform2D::Pop();
        }
        RenderState::SetBlendMode(savedBlend);
        texturesToPrepare.clear();
    }

private:
    GeometryLayer* GetOrCreateLayer(int layer)
    {
        auto found = layers.find(layer);
        if (found != layers.end())
            return found->second;
        GeometryLayer* created = new GeometryLayer();
        layers[layer] = created;
        return created;
    }

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

    void Unsubscribe(Piece* geometry)
    {
        geometry->TextureChanged().Unsubscribe(this);
        geometry->Destroyed().Unsubscribe(this);
    }

    bool Remove(Piece* geometry, bool unsubscribe)
    {
        auto found = membership.find(geometry);
        if (found == membership.end())
            return false;
        auto layer = layers.find(found->second);
        if (layer != layers.end())
            layer->second->RemovePersistent(geometry);
        membership.erase(found);
        UncountTexture(geometry->GetTexture());
        if (unsubscribe)
            Unsubscribe(geometry);
        return true;
    }

    void OnTextureChanged(Piece* geometry, Texture const& oldTexture, Texture const& newTexture)
    {
        if (oldTexture == newTexture || !Contains(geometry))
            return;
        UncountTexture(oldTexture);
        CountTexture(newTexture);
    }

    // The dying piece's events go with it; unsubscribing from the event that
    // is calling us is not needed.
    void OnGeometryDestroyed(Piece* geometry) { Remove(geometry, false); }

    std::map<Piece*, int> membership; // persistent piece to layer number
    std::map<int, GeometryLayer*> layers;
    std::map<Texture, int> textureCounts; // over persistent pieces
    std::set<Texture> texturesToPrepare;  // emptied by every Draw
    GeometryBuffer<VertexP2T2C> shared;   // persistent pieces
};

TransientBatch::TransientBatch() : impl(new BatchImpl()) {}
TransientBatch::~TransientBatch()
{
    delete impl;
}
void TransientBatch::Add(Piece* geometry)
{
    impl->AddTransient(geometry, kLayer);
}
void TransientBatch::Draw()
{
    impl->Draw(Identity());
}
void TransientBatch::Draw(Vector2 translation, Vector2 scale)
{
    impl->Draw(Transform2D(translation, scale));
}
void TransientBatch::Draw(Transform2D const& transform)
{
    impl->Draw(transform);
}

PersistentBatch::PersistentBatch() : impl(new BatchImpl()) {}
PersistentBatch::~PersistentBatch()
{
    delete impl;
}
bool PersistentBatch::Add(Piece* geometry, int layer)
{
    return impl->AddPersistent(geometry, layer);
}
bool PersistentBatch::Remove(Piece* geometry)
{
    return impl->Remove(geometry);
}
bool PersistentBatch::Contains(Piece* geometry) const
{
    return impl->Contains(geometry);
}
void PersistentBatch::SetLayerTransform(int layer, Transform2D const& transform)
{
    impl->SetLayerTransform(layer, transform);
}
void PersistentBatch::ResetLayerTransform(int layer)
{
    impl->ResetLayerTransform(layer);
}
Transform2D PersistentBatch::GetLayerTransform(int layer) const
{
    return impl->GetLayerTransform(layer);
}
void PersistentBatch::Draw()
{
    impl->Draw(Identity());
}
void PersistentBatch::Draw(Vector2 translation, Vector2 scale)
{
    impl->Draw(Transform2D(translation, scale));
}
void PersistentBatch::Draw(Transform2D const& transform)
{
    impl->Draw(transform);
}

} // namespace Geometry
} // namespace Graphics
} // namespace Vexel
