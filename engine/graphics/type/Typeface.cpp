// Typeface loading: file bytes -> TypeFile tables -> lookup maps and an
// embedded texture decoded at once (uploaded later by the drawing thread).
#include "engine/graphics/type/Typeface.h"

#include "engine/core/Delegate.h"
#include "engine/core/File.h"
#include "engine/core/Log.h"
#include "engine/core/Mutex.h"
#include "engine/core/ThreadPool.h"
#include "engine/graphics/Texture.h"
#include "engine/graphics/TextureReference.h"
#include "engine/graphics/type/TypeFile.h"

#include <atomic>
#include <cstdio>
#include <unordered_map>
#include <vector>

namespace Vexel
{
namespace Graphics
{
namespace Type
{

class Typeface::Impl
{
public:
    explicit Impl(std::string const& fileName)
        : fileName(fileName), state(TypeState::Pending), characterMap(100), kerning(100)
    {
    }

    bool IsReady() const { return state.load(std::memory_order_acquire) == TypeState::Ready; }

    std::string fileName;
    std::string faceName;
    std::atomic<int> state;
    // Reserved to the glyph count before filling, so the map's pointers
    // into it stay valid.
    std::vector<Glyph> glyphs;
    std::unordered_map<int, Glyph*> characterMap;
    std::unordered_map<uint32_t, float> kerning;
    Texture* texture = nullptr; // owned handle
    float size = 0.0f;
    float verticalOffset = 0.0f;
    float lineSpacing = 0.0f;
    float characterSpacing = 0.0f;
    Threading::Mutex mutex;
};

namespace
{

// Decodes the embedded texture now; null when it is not a usable image.
Texture* DecodeTexture(std::string const& name, const uint8_t* bytes, int offset, int length)
{
    Texture* texture = new Texture(name, bytes, offset, length, TextureMode::Immediate);
    const int state = texture->GetReference()->GetState();
    if ((state != TextureState::Decoded && state != TextureState::Uploaded) || texture->GetWidth() <= 0 ||
        texture->GetHeight() <= 0)
    {
        delete texture;
        return nullptr;
    }
    return texture;
}

const char* DescribeFailure(int state)
{
    switch (state)
    {
    case TypeState::CannotOpen:
        return "cannot be opened";
    case TypeState::SizeMismatch:
        return "has a size field that differs from its length";
    default:
        return "is not a valid font file";
    }
}

} // namespace

Typeface::Typeface(std::string const& fileName) : Typeface(fileName, true) {}

Typeface::Typeface(std::string const& fileName, bool queueLoad) : impl(new Impl(fileName))
{
    if (queueLoad)
        Threading::ThreadPool::QueueWorkItem(Action<>(this, &Typeface::Load));
}

Typeface::~Typeface()
{
    delete impl->texture;
    delete impl;
}

void Typeface::Load()
{
    Threading::ScopedLock<Threading::Mutex> lock(impl->mutex);
    if (impl->state.load(std::memory_order_acquire) != TypeState::Pending)
        return;
    impl->state.store(TypeState::Loading, std::memory_order_release);

    int length = -1;
    uint8_t* bytes = IO::File::ReadAllBytes(impl->fileName, false, &length);
    TypeFile file;
    int result = file.Read(bytes, length);
    if (result == TypeState::Ready)
    {
        Texture* texture = DecodeTexture(impl->fileName, bytes, file.textureOffset, file.textureLength);
        if (!texture)
            result = TypeState::BadFile;
        else
        {
            impl->texture = texture;
            impl->faceName = file.faceName;
            impl->size = file.size;
            impl->verticalOffset = file.verticalOffset;
            impl->lineSpacing = file.lineSpacing;
            impl->characterSpacing = file.characterSpacing;
            impl->glyphs = std::move(file.glyphs);
            const float w = float(texture->GetWidth());
            const float h = float(texture->GetHeight());
            for (Glyph& glyph : impl->glyphs)
                for (Geometry::VertexP2T2C& vertex : glyph.vertices)
                {
                    vertex.u /= w;
                    vertex.v /= h;
                }
            // A later entry for the same code or pair wins.
            for (TypeFile::MapEntry const& entry : file.characterMap)
                impl->characterMap[entry.code] = &impl->glyphs[entry.glyphIndex];
            for (TypeFile::KerningEntry const& entry : file.kerning)
                impl->kerning[entry.key] = entry.amount;
        }
    }
    delete[] bytes;
    if (result != TypeState::Ready)
        Vexel::Log::Error("typeface", "\"%s\" %s", impl->fileName.c_str(), DescribeFailure(result));
    impl->state.store(result, std::memory_order_release);
}

int Typeface::GetState() const
{
    return impl->state.load(std::memory_order_acquire);
}

std::string const& Typeface::GetFileName() const
{
    return impl->fileName;
}

uintptr_t Typeface::GetIdentity() const
{
    return reinterpret_cast<uintptr_t>(this);
}

std::string Typeface::GetName() const
{
    return impl->IsReady() ? impl->faceName : std::string();
}

Texture* Typeface::GetTexture() const
{
    return impl->IsReady() ? impl->texture : nullptr;
}

float Typeface::GetSize() const
{
    return impl->IsReady() ? impl->size : 0.0f;
}

float Typeface::GetVerticalOffset() const
{
    return impl->IsReady() ? impl->verticalOffset : 0.0f;
}

float Typeface::GetLineSpacing() const
{
    return impl->IsReady() ? impl->lineSpacing : 0.0f;
}

float Typeface::GetCharacterSpacing() const
{
    return impl->IsReady() ? impl->characterSpacing : 0.0f;
}

int Typeface::GetGlyphCount() const
{
    return impl->IsReady() ? int(impl->glyphs.size()) : 0;
}

Glyph const* Typeface::GetGlyph(int index) const
{
    if (!impl->IsReady() || index < 0 || index >= int(impl->glyphs.size()))
        return nullptr;
    return &impl->glyphs[size_t(index)];
}

Glyph const* Typeface::FindGlyph(int code) const
{
    if (!impl->IsReady())
        return nullptr;
    auto it = impl->characterMap.find(code);
    return it == impl->characterMap.end() ? nullptr : it->second;
}

bool Typeface::FindKerning(uint32_t key, float* amount) const
{
    if (!impl->IsReady())
        return false;
    auto it = impl->kerning.find(key);
    if (it == impl->kerning.end())
        return false;
    if (amount)
        *amount = it->second;
    return true;
}

} // namespace Type
} // namespace Graphics
} // namespace Vexel
