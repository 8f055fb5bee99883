#include "engine/graphics/TextureReference.h"

#include "engine/core/File.h"
#include "engine/core/Log.h"
#include "engine/core/Mutex.h"
#include "engine/graphics/GL.h"
#include "engine/graphics/PngReader.h"
#include "engine/graphics/PvrReader.h"
#include "engine/graphics/RawTextureReader.h"
#include "engine/graphics/TextureCache.h"
#include "engine/graphics/TextureImage.h"

#include <atomic>
#include <cstdio>
#include <utility>

namespace Vexel
{
namespace Graphics
{

class TextureReference::Impl
{
public:
    explicit Impl(std::string const& name) : name(name) {}

    // Stored last (release) after the fields it announces; read (acquire)
    // without a lock by IsUploaded and the getters.
    std::atomic<int> state{TextureState::Created};
    const std::string name;
    // The decoded image; before a from-memory decode, its pixels hold the
    // encoded source bytes.
    TextureImage image;
    int sourceSize = -1;        // -1: decode the file called name
    unsigned glTextureName = 0; // main thread
    Threading::Mutex mutex;     // guards Load
    std::atomic<bool> uploadOnFrame{false};
};

namespace
{
const uint32_t kRawMagic = 0x00001000;
const uint32_t kPngMagic = 0x474E5089; // 0x89 'P' 'N' 'G' read little-endian
const uint32_t kPngMagicSwapped = 0x89504E47;

// GL_BGR is desktop only: ES 1.1 gets the bytes in RGB order.
void SwizzleBgrToRgb(std::vector<uint8_t>& pixels)
{
    for (size_t i = 0; i + 2 < pixels.size(); i += 3)
        std::swap(pixels[i], pixels[i + 2]);
}

uint64_t UncompressedByteCount(uint32_t width, uint32_t height, int bitsPerPixel)
{
    return uint64_t(width) * height * uint64_t(bitsPerPixel) / 8;
}
} // namespace

TextureReference::TextureReference(std::string const& name) : impl(new Impl(name)) {}

TextureReference::TextureReference(std::string const& name, unsigned glTextureName, uint32_t width,
                                   uint32_t height, uint32_t formatCode)
    : impl(new Impl(name))
{
    impl->glTextureName = glTextureName;
    impl->image.width = width;
    impl->image.height = height;
    impl->image.formatCode = formatCode;
    impl->image.bitsPerPixel = 0;
    impl->state.store(TextureState::Uploaded);
}

TextureReference::~TextureReference()
{
    delete impl;
}

void TextureReference::Load()
{
    {
        Threading::ScopedLock<Threading::Mutex> guard(impl->mutex);
        if (impl->state.load() != TextureState::Created)
            return;
        impl->state.store(TextureState::Loading);
        if (impl->sourceSize >= 0)
        {
            std::vector<uint8_t> source;
            source.swap(impl->image.pixels);
            const int size = impl->sourceSize;
            impl->sourceSize = -1;
            Decode(source.data(), size);
        }
        else
        {
            LoadFromFile();
        }
        // Queued before the mutex is released, so a caller that waited on
        // Load() finds the upload already pending. The pending list's lock is
        // a leaf: the frame upload takes this mutex only after releasing it.
        if (impl->uploadOnFrame.load() && impl->state.load() == TextureState::Decoded)
            TextureCache::QueueFrameUpload(this);
    }
}

void TextureReference::LoadFromFile()
{
    int size = 0;
    uint8_t* bytes = IO::File::ReadAllBytes(impl->name, false, &size);
    Decode(bytes, bytes ? size : 0);
    delete[] bytes;
}

void TextureReference::Decode(const uint8_t* data, int size)
{
    if (!data || size < 4)
    {
        impl->state.store(TextureState::NoData);
        return;
    }
    const uint32_t magic = ReadLittleEndian32(data);
    if (magic == kRawMagic)
        DecodeRaw(data, size);
    else if (magic == kPngMagic || magic == kPngMagicSwapped)
        DecodePng(data, size);
    else if (size >= 48 && ReadLittleEndian32(data + 44) == PvrReader::kTag)
        DecodePvr(data, size);
    // Anything else stays in state 1.
}

void TextureReference::DecodeRaw(const uint8_t* data, int size)
{
    TextureImage image;
    if (size > 0 && RawTextureReader::Read(data, size_t(size), image))
        Store(image);
}

void TextureReference::DecodePng(const uint8_t* data, int size)
{
    TextureImage image;
    if (size > 0 && PngReader::Read(data, size_t(size), image))
        Store(image);
}

void TextureReference::DecodePvr(const uint8_t* data, int size)
{
    TextureImage image;
    if (size > 0 && PvrReader::Read(data, size_t(size), GL::HasExtension(GL::kPvrtcExtension), image))
        Store(image);
}

void TextureReference::Store(TextureImage& image)
{
    std::swap(impl->image, image);
    impl->state.store(TextureState::Decoded);
}

void TextureReference::Upload()
{
    Threading::ScopedLock<Threading::Mutex> guard(TextureCache::GetMutex());
    if (impl->state.load() != TextureState::Decoded)
        return;
    const bool compressed = impl->image.glInternalFormat >= GL::kCompressedRgbPvrtc4 &&
                            impl->image.glInternalFormat <= GL::kCompressedRgbaPvrtc2;
    if (!compressed &&
        impl->image.pixels.size() <
            UncompressedByteCount(impl->image.width, impl->image.height, impl->image.bitsPerPixel))
    {
        Vexel::Log::Error("texture", "%s has fewer pixels than its size; not uploaded",
                     impl->name.c_str());
        impl->image.pixels.clear();
        impl->state.store(TextureState::Loading);
        return;
    }

    GL::Enable(GL_TEXTURE_2D);
    GLuint name = 0;
    GL::GenTextures(1, &name);
    if (name == 0)
        return; // pixels kept; the next EnsureUploaded tries again
    // Errors of earlier calls must not be blamed on this upload.
    GL::CheckErrors(__FILE__, __LINE__, "the calls before a texture upload");
    GL::BindTexture(GL_TEXTURE_2D, name);
    uint32_t format = impl->image.glFormat;
    if (format == GL::kBgr && !GL::SupportsBgrUpload())
    {
        SwizzleBgrToRgb(impl->image.pixels);
        format = GL_RGB;
    }
    if (compressed)
        GL::CompressedTexImage2D(GL_TEXTURE_2D, 0, impl->image.glInternalFormat, GLsizei(impl->image.width),
                                 GLsizei(impl->image.height), 0, GLsizei(impl->image.pixels.size()),
                                 impl->image.pixels.data());
    else
        GL::TexImage2D(GL_TEXTURE_2D, 0, GLint(impl->image.glInternalFormat), GLsizei(impl->image.width),
                       GLsizei(impl->image.height), 0, format, impl->image.glType, impl->image.pixels.data());
    GL::TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    const GLenum error = GL::GetError();
    std::vector<uint8_t>().swap(impl->image.pixels);
    if (error != GL_NO_ERROR)
    {
        // An empty GL texture would draw black: the texture stays undrawable.
        Vexel::Log::Error("texture", "%s refused by GL (error 0x%04X, %u x %u, format 0x%X)",
                     impl->name.c_str(), unsigned(error), unsigned(impl->image.width),
                     unsigned(impl->image.height), unsigned(format));
        GL::CheckErrors(__FILE__, __LINE__, "a refused texture upload");
        GL::BindTexture(GL_TEXTURE_2D, 0);
        GL::DeleteTextures(1, &name);
        impl->state.store(TextureState::Loading);
        return;
    }
    impl->glTextureName = name;
    impl->state.store(TextureState::Uploaded);
}

void TextureReference::OnFrameUpload(float)
{
    Upload();
}

void TextureReference::SetSource(const uint8_t* data, int size)
{
    Threading::ScopedLock<Threading::Mutex> guard(impl->mutex);
    if (size < 0)
    {
        impl->image.pixels.clear();
        impl->sourceSize = -1;
        return;
    }
    if (data && size > 0)
        impl->image.pixels.assign(data, data + size);
    else
        impl->image.pixels.clear();
    impl->sourceSize = int(impl->image.pixels.size());
}

void TextureReference::SetUploadOnFrame(bool enabled)
{
    impl->uploadOnFrame.store(enabled);
}

bool TextureReference::GetUploadOnFrame() const
{
    return impl->uploadOnFrame.load();
}

int TextureReference::GetState() const
{
    return impl->state.load();
}

std::string const& TextureReference::GetName() const
{
    return impl->name;
}

// The fields below are written before the state reaches 2 and never after,
// so reading them once the state says so needs no lock.
uint32_t TextureReference::GetWidth() const
{
    return GetState() >= TextureState::Decoded ? impl->image.width : 0;
}

uint32_t TextureReference::GetHeight() const
{
    return GetState() >= TextureState::Decoded ? impl->image.height : 0;
}

uint32_t TextureReference::GetFormatCode() const
{
    return GetState() >= TextureState::Decoded ? impl->image.formatCode : 0;
}

int TextureReference::GetBitsPerPixel() const
{
    return GetState() >= TextureState::Decoded ? impl->image.bitsPerPixel : 32;
}

uint32_t TextureReference::GetGLFormat() const
{
    return GetState() >= TextureState::Decoded ? impl->image.glFormat : 0;
}

uint32_t TextureReference::GetGLInternalFormat() const
{
    return GetState() >= TextureState::Decoded ? impl->image.glInternalFormat : 0;
}

uint32_t TextureReference::GetGLType() const
{
    return GetState() >= TextureState::Decoded ? impl->image.glType : 0;
}

unsigned TextureReference::GetTextureName() const
{
    return GetState() == TextureState::Uploaded ? impl->glTextureName : 0;
}

size_t TextureReference::GetPixelByteCount() const
{
    return GetState() == TextureState::Decoded ? impl->image.pixels.size() : 0;
}

const uint8_t* TextureReference::GetPixels() const
{
    return GetState() == TextureState::Decoded ? impl->image.pixels.data() : nullptr;
}

} // namespace Graphics
} // namespace Vexel
