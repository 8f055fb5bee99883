#include "engine/graphics/TextureCache.h"

#include "engine/core/FrameEvents.h"
#include "engine/core/ThreadPool.h"
#include "engine/graphics/TextureReference.h"

#include <map>
#include <mutex>
#include <vector>

namespace Vexel
{
namespace Graphics
{

namespace
{
// The target of the one Animating subscription.
struct FrameUploader
{
    void OnAnimating(float dt) { TextureCache::UploadPending(dt); }
};

struct CacheState
{
    Threading::Mutex mutex; // the map and every upload
    std::map<std::string, TextureReference*> references;
    Threading::Mutex pendingLock; // a leaf: nothing else is taken under it
    std::vector<TextureReference*> pending;
    std::once_flag handlerOnce;
    FrameUploader uploader;
};

// Made on first use and never destroyed: pool workers may still be decoding
// at exit, and handles held by other static objects must stay valid. The
// references stay reachable through it until the process ends.
CacheState& State()
{
    static CacheState* state = new CacheState();
    return *state;
}
} // namespace

TextureReference* TextureCache::GetOrCreate(std::string const& name, bool uploadOnFrame)
{
    CacheState& state = State();
    TextureReference* reference = nullptr;
    {
        Threading::ScopedLock<Threading::Mutex> guard(state.mutex);
        auto found = state.references.find(name);
        if (found == state.references.end())
        {
            reference = new TextureReference(name);
            // Before the decode is queued, so that its end sees the flag.
            reference->SetUploadOnFrame(uploadOnFrame);
            state.references.emplace(name, reference);
            Threading::ThreadPool::QueueWorkItem(Action<>(reference, &TextureReference::Load));
            return reference;
        }
        reference = found->second;
    }
    if (uploadOnFrame && !reference->GetUploadOnFrame())
    {
        reference->SetUploadOnFrame(true);
        // A decode that ended before the flag was set did not queue the
        // upload; queuing it twice is harmless.
        if (reference->GetState() == TextureState::Decoded)
            QueueFrameUpload(reference);
    }
    return reference;
}

bool TextureCache::TryCreate(std::string const& name, TextureReference*& out, const uint8_t* source,
                             int sourceSize, bool uploadOnFrame)
{
    CacheState& state = State();
    {
        Threading::ScopedLock<Threading::Mutex> guard(state.mutex);
        auto found = state.references.find(name);
        if (found != state.references.end())
        {
            out = found->second;
            return false;
        }
    }
    // Complete before it becomes visible to other threads.
    TextureReference* fresh = new TextureReference(name);
    if (sourceSize >= 0)
        fresh->SetSource(source, sourceSize);
    fresh->SetUploadOnFrame(uploadOnFrame);
    Threading::ScopedLock<Threading::Mutex> guard(state.mutex);
    auto inserted = state.references.emplace(name, fresh);
    if (!inserted.second)
    {
        // Another thread made the same name meanwhile: its reference wins.
        delete fresh;
        out = inserted.first->second;
        return false;
    }
    out = fresh;
    return true;
}

TextureReference* TextureCache::Find(std::string const& name)
{
    CacheState& state = State();
    Threading::ScopedLock<Threading::Mutex> guard(state.mutex);
    auto found = state.references.find(name);
    return found == state.references.end() ? nullptr : found->second;
}

int TextureCache::GetCount()
{
    CacheState& state = State();
    Threading::ScopedLock<Threading::Mutex> guard(state.mutex);
    return int(state.references.size());
}

Threading::Mutex& TextureCache::GetMutex()
{
    return State().mutex;
}

void TextureCache::QueueFrameUpload(TextureReference* reference)
{
    CacheState& state = State();
    Threading::ScopedLock<Threading::Mutex> guard(state.pendingLock);
    state.pending.push_back(reference);
}

void TextureCache::EnsureFrameUploadHandler()
{
    CacheState& state = State();
    std::call_once(
        state.handlerOnce, [&state]()
        { FrameEvents::Animating.Subscribe(Action<float>(&state.uploader, &FrameUploader::OnAnimating)); });
}

void TextureCache::UploadPending(float dt)
{
    CacheState& state = State();
    std::vector<TextureReference*> batch;
    {
        Threading::ScopedLock<Threading::Mutex> guard(state.pendingLock);
        batch.swap(state.pending);
    }
    for (TextureReference* reference : batch)
        reference->OnFrameUpload(dt);
}

int TextureCache::GetPendingUploadCount()
{
    CacheState& state = State();
    Threading::ScopedLock<Threading::Mutex> guard(state.pendingLock);
    return int(state.pending.size());
}

} // namespace Graphics
} // namespace Vexel
