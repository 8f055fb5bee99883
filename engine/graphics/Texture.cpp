#include "engine/graphics/Texture.h"

#include "engine/core/AppSettings.h"
#include "engine/core/ThreadPool.h"
#include "engine/graphics/GL.h"
#include "engine/graphics/TextureCache.h"
#include "engine/graphics/TextureReference.h"

namespace Vexel
{
namespace Graphics
{

namespace
{
// Outside the cache; its name cannot be a file name.
TextureReference g_emptyReference(std::string(10, '\n'), 0, 1, 1, 0);
} // namespace

// Constant-initialised from the reference's address.
const Texture Texture::Empty(&g_emptyReference);

Texture::Texture() : reference(&g_emptyReference) {}

Texture::Texture(std::string const& name, int mode)
{
    const std::string mapped = GetAppSettings()->MapFileName(name);
    if (mode == TextureMode::UploadOnFrame)
        TextureCache::EnsureFrameUploadHandler();
    reference = TextureCache::GetOrCreate(mapped, mode == TextureMode::UploadOnFrame);
    if (mode == TextureMode::Immediate)
    {
        reference->Load(); // waits while a worker decodes
        EnsureUploaded();
    }
}

Texture::Texture(std::string const& name, const uint8_t* data, int offset, int size, int mode)
{
    const std::string mapped = GetAppSettings()->MapFileName(name);
    if (mode == TextureMode::UploadOnFrame)
        TextureCache::EnsureFrameUploadHandler();
    const uint8_t* source = data ? data + offset : nullptr;
    const int sourceSize = source && size > 0 ? size : 0;
    TextureReference* created = nullptr;
    const bool isNew =
        TextureCache::TryCreate(mapped, created, source, sourceSize, mode == TextureMode::UploadOnFrame);
    reference = created;
    if (!isNew)
        return;
    if (mode == TextureMode::Immediate)
        reference->Load(); // decoded here; uploaded at the first EnsureUploaded
    else
        Threading::ThreadPool::QueueWorkItem(Action<>(reference, &TextureReference::Load));
}

void Texture::EnsureUploaded() const
{
    reference->Load();
    if (reference->GetState() == TextureState::Decoded)
        reference->Upload();
}

void Texture::Bind() const
{
    GL::BindTexture(GL_TEXTURE_2D, reference->GetTextureName());
}

void Texture::Unbind()
{
    GL::BindTexture(GL_TEXTURE_2D, 0);
}

bool Texture::IsUploaded() const
{
    return reference->GetState() > TextureState::Decoded;
}

int Texture::GetWidth() const
{
    return int(reference->GetWidth());
}

int Texture::GetHeight() const
{
    return int(reference->GetHeight());
}

unsigned Texture::GetTextureName() const
{
    return reference->GetTextureName();
}

} // namespace Graphics
} // namespace Vexel
