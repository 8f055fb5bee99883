#include "engine/graphics/GeometryBatch.h"

#include "engine/graphics/BatchFrontEndImpl.h"
#include "engine/graphics/GeometryBuffer.h"
#include "engine/graphics/LayeredBatch.h"
#include "engine/graphics/RenderState.h"

#include <cstdint>
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
const int kImmediateVertices = 256;
const int kImmediateIndices = 384;
const int kMaxRanges = 64;

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
class GeometryLayer : public BatchLayer<Piece>
{
public:
    GeometryLayer() {}

    ~GeometryLayer()
    {
        for (ImmediateGeometryBatch* batch : batches)
            delete batch;
    }

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

    // The persistent pieces through the shared buffer, then the transient
    // batches filled since the last draw.
    void Draw(GeometryBuffer<VertexP2T2C>& shared, Texture& currentTexture, int& currentBlend)
    {
        for (auto& entry : Persistent())
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

private:
    std::vector<ImmediateGeometryBatch*> batches; // kept and reused frame to frame
    int currentIndex = -1;                        // -1: nothing added since the last draw
};
} // namespace

class BatchImpl : public LayeredBatch<Piece, GeometryLayer>
{
public:
    void AddTransient(Piece* geometry, int layer)
    {
        if (!geometry)
            return;
        PrepareTexture(geometry->GetTexture());
        GetOrCreateLayer(layer)->AddTransient(geometry);
    }

    void Draw(Transform2D const& transform)
    {
        LayeredBatch::Draw(transform, [this](GeometryLayer& layer, Texture& currentTexture, int& currentBlend)
                           { layer.Draw(Shared(), currentTexture, currentBlend); });
    }
};

TransientBatch::TransientBatch() : BatchFrontEnd(new BatchImpl()) {}

void TransientBatch::Add(Piece* geometry)
{
    impl->AddTransient(geometry, kLayer);
}

} // namespace Geometry

template class BatchFrontEnd<Geometry::ITransientBatch<Geometry::VertexP2T2C>, Geometry::BatchImpl>;
template class BatchFrontEnd<Geometry::ICollection<Geometry::VertexP2T2C>, Geometry::BatchImpl>;
template class LayeredFrontEnd<Geometry::ICollection<Geometry::VertexP2T2C>, Geometry::Piece,
                               Geometry::BatchImpl>;

} // namespace Graphics
} // namespace Vexel
