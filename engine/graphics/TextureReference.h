// The one shared object per texture image: its pixels while decoded, size,
// GL formats, GL texture name and load state. Owned by the texture cache and
// never deleted while the program runs.
//
// Threads: decoding runs on a pool worker or on the caller's thread, under
// the reference's mutex (one decode per reference); uploading runs only on
// the main thread, under the cache mutex. The state is atomic and is stored
// after the data it announces.
#pragma once

#include "engine/graphics/TextureImage.h"

#include <cstdint>
#include <string>

namespace Vexel
{
namespace Graphics
{

struct TextureState
{
    enum Enum
    {
        NoData = -1,  // the file is missing or empty, or the data is under 4 bytes
        Created = 0,  // nothing done yet
        Loading = 1,  // decode started; final when no pixels resulted
        Decoded = 2,  // pixels, size and formats set
        Uploaded = 3, // GL texture made, pixels freed
    };
};

class TextureReference
{
public:
    explicit TextureReference(std::string const& name);
    // Already uploaded (the empty texture): state 3, bits per pixel 0.
    TextureReference(std::string const& name, unsigned glTextureName, uint32_t width, uint32_t height,
                     uint32_t formatCode);
    virtual ~TextureReference();
    TextureReference(const TextureReference&) = delete;
    TextureReference& operator=(const TextureReference&) = delete;

    // Decodes once (state 0 only); a second caller waits for the first.
    // Bound as the pool's work item.
    void Load();
    // Main thread, state 2 only: makes the GL texture and frees the pixels.
    // A GL texture name of 0 leaves state 2 for a later try; a GL error ends
    // in state 1 (never "uploaded" with nothing in it).
    void Upload();
    // The upload in the Animating phase (mode 2).
    void OnFrameUpload(float dt);

    // Reads the file called name whole and decodes it.
    void LoadFromFile();
    // Recognises the encoding by its first bytes and runs its reader.
    void Decode(const uint8_t* data, int size);
    void DecodeRaw(const uint8_t* data, int size);
    void DecodePng(const uint8_t* data, int size);
    void DecodePvr(const uint8_t* data, int size);

    // Before the reference is shared: encoded bytes to decode instead of the
    // file (copied), and the upload-on-frame flag.
    void SetSource(const uint8_t* data, int size);
    void SetUploadOnFrame(bool enabled);
    bool GetUploadOnFrame() const;

    int GetState() const;
    std::string const& GetName() const;
    uint32_t GetWidth() const;
    uint32_t GetHeight() const;
    uint32_t GetFormatCode() const;
    int GetBitsPerPixel() const;
    uint32_t GetGLFormat() const;
    uint32_t GetGLInternalFormat() const;
    uint32_t GetGLType() const;
    unsigned GetTextureName() const;
    // Size of the decoded pixels still held (0 once uploaded).
    size_t GetPixelByteCount() const;
    // The decoded pixels (null unless in state 2); main thread.
    const uint8_t* GetPixels() const;

    class Impl;

private:
    void Store(TextureImage& image);

    Impl* impl;
};

} // namespace Graphics
} // namespace Vexel
