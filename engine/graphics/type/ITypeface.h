// A loaded bitmap typeface as the rest of the engine sees it: its identity,
// its name and the texture its glyph quads sample.
#pragma once

#include <cstdint>
#include <string>

namespace Vexel
{
namespace Graphics
{

class Texture;

namespace Type
{

// Load states of a typeface, reported unchanged by the fonts over it.
struct TypeState
{
    enum Enum
    {
        Ready = 0,
        Pending = 1, // created, load queued
        Loading = 2,
        CannotOpen = 3,   // the file is missing or unreadable
        BadFile = 4,      // too short, wrong magic, or inconsistent contents
        SizeMismatch = 5, // the total-size field differs from the file length
    };
};

// Always inherited virtually.
class ITypeface
{
public:
    virtual ~ITypeface() {}
    // A pointer-sized word that tells faces apart.
    virtual uintptr_t GetIdentity() const = 0;
    // The face name stored in the file; empty until loaded.
    virtual std::string GetName() const = 0;
    // Null until loaded, and for a face that failed to load.
    virtual Texture* GetTexture() const = 0;

    bool operator==(ITypeface const& o) const { return GetIdentity() == o.GetIdentity(); }
    bool operator!=(ITypeface const& o) const { return GetIdentity() != o.GetIdentity(); }
    bool operator<(ITypeface const& o) const { return GetIdentity() < o.GetIdentity(); }
};

} // namespace Type
} // namespace Graphics
} // namespace Vexel
