// The process-wide map from (remapped) file name to TextureReference, and
// the one handler that uploads mode-2 textures in the Animating phase.
//
// Lock order: event mutex -> cache mutex -> reference mutex, and cache mutex
// -> pool lock. A reference's mutex is never held while taking the cache
// mutex or an event's mutex; a decoded mode-2 reference only goes onto the
// pending-upload list, whose lock is a leaf.
#pragma once

#include "engine/core/Mutex.h"

#include <string>

namespace Vexel
{
namespace Graphics
{

class TextureReference;

class TextureCache
{
public:
    // The reference of name; a new one is inserted and its Load queued on
    // the thread pool. With uploadOnFrame the flag is set before the decode
    // is queued (on an existing reference too).
    static TextureReference* GetOrCreate(std::string const& name, bool uploadOnFrame = false);

    // True and a new reference when name was absent, false and the existing
    // one otherwise. Queues nothing. The source bytes (copied when size >= 0)
    // and the flag are set before the reference becomes visible.
    static bool TryCreate(std::string const& name, TextureReference*& out, const uint8_t* source = nullptr,
                          int sourceSize = -1, bool uploadOnFrame = false);

    // The cached reference or null.
    static TextureReference* Find(std::string const& name);
    static int GetCount();

    // Guards the map and every upload.
    static Threading::Mutex& GetMutex();

    // A decoded reference with the upload-on-frame flag: uploaded in the next
    // Animating phase. Any thread; the same reference twice is harmless.
    static void QueueFrameUpload(TextureReference* reference);
    // Subscribes the upload handler to the Animating event once. Called by
    // the mode-2 constructors, which hold no lock.
    static void EnsureFrameUploadHandler();
    // The handler: uploads every reference queued so far. Main thread.
    static void UploadPending(float dt);
    static int GetPendingUploadCount();
};

} // namespace Graphics
} // namespace Vexel
