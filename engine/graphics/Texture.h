// A small copyable handle to a shared, cached TextureReference. Handles are
// compared by that pointer, so a Texture serves as a map key. Destroying a
// handle does nothing: references live as long as the program.
#pragma once

#include <cstdint>
#include <string>

namespace Vexel
{
namespace Graphics
{

class TextureReference;

// How a texture made by name or from bytes gets to GL.
struct TextureMode
{
    enum Enum
    {
        Deferred = 0,      // decode on the pool, upload at the first EnsureUploaded
        Immediate = 1,     // decode now (and upload now, when made by name)
        UploadOnFrame = 2, // decode on the pool, upload in the next Animating phase
    };
};

class Texture
{
public:
    // The empty texture.
    Texture();
    // By file name; the name's extension goes through the settings' remap.
    Texture(std::string const& name, int mode);
    // From the encoded bytes at data + offset (copied). A name already cached
    // gives the existing texture and the bytes are ignored.
    Texture(std::string const& name, const uint8_t* data, int offset, int size, int mode);
    constexpr explicit Texture(TextureReference* reference) : reference(reference) {}

    // Main thread: decodes now when nothing started yet, then uploads.
    void EnsureUploaded() const;
    // Binds the GL texture (0 while not uploaded); never uploads.
    void Bind() const;
    static void Unbind();

    bool IsUploaded() const;
    int GetWidth() const;  // 0 until decoded
    int GetHeight() const; // 0 until decoded
    unsigned GetTextureName() const;
    TextureReference* GetReference() const { return reference; }

    bool operator==(Texture const& o) const { return reference == o.reference; }
    bool operator!=(Texture const& o) const { return reference != o.reference; }
    bool operator<(Texture const& o) const { return reference < o.reference; }

    // Uploaded, 1 x 1, GL texture 0, outside the cache; usable in static
    // initialisers of other files (its address is a constant).
    static const Texture Empty;

private:
    TextureReference* reference; // never null
};

} // namespace Graphics
} // namespace Vexel
