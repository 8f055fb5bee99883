// One bitmap typeface loaded from a ".type" file: glyphs, character map,
// kerning pairs, four metrics and the texture embedded in the file. A face
// is created by name through the type manager, shared by every font of that
// file and never deleted; it loads on the global thread pool as soon as it is
// made, and a font's Load finishes (or waits for) that load on its own
// thread. The tables are read without a lock, so they are answered only once
// the face is ready; before that the face looks empty.
#pragma once

#include "engine/graphics/type/Glyph.h"
#include "engine/graphics/type/ITypeface.h"

#include <cstdint>
#include <string>

namespace Vexel
{
namespace Graphics
{
namespace Type
{

class Typeface : public virtual ITypeface
{
public:
    // Queues Load on the global thread pool and returns at once.
    explicit Typeface(std::string const& fileName);
    // With queueLoad false nothing is queued: the owner calls Load.
    Typeface(std::string const& fileName, bool queueLoad);
    // Must not run while a queued load may still start.
    ~Typeface() override;
    Typeface(const Typeface&) = delete;
    Typeface& operator=(const Typeface&) = delete;

    // Loads the file and decodes its texture on this thread (the GL upload
    // is left to the drawing thread). Only the first call does the work; a
    // call during a load in progress waits for it.
    void Load();
    // A TypeState; safe from any thread.
    int GetState() const;
    std::string const& GetFileName() const;

    uintptr_t GetIdentity() const override;
    std::string GetName() const override;
    Texture* GetTexture() const override;

    // The face's own metrics in face pixels; 0 until ready.
    float GetSize() const;
    float GetVerticalOffset() const;
    float GetLineSpacing() const;
    float GetCharacterSpacing() const;

    int GetGlyphCount() const;
    // Null out of range. Texture coordinates are normalised to 0..1.
    Glyph const* GetGlyph(int index) const;
    // The glyph of a character code, or null.
    Glyph const* FindGlyph(int code) const;
    // The amount that replaces the spacing between a pair, keyed by
    // (first code << 16) + second code.
    bool FindKerning(uint32_t key, float* amount) const;

    class Impl;

private:
    Impl* impl;
};

} // namespace Type
} // namespace Graphics
} // namespace Vexel
