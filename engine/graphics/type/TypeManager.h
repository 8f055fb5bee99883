// The registry of typefaces by file name. Every font of one file shares one
// face, created (and queued for loading) by the first request; faces live
// until the program ends.
#pragma once

#include <string>

namespace Vexel
{
namespace Graphics
{
namespace Type
{

class Typeface;

class TypeManager
{
public:
    // The one registry, made on first use and never destroyed, so faces
    // stay reachable until the process ends.
    static TypeManager& Get();

    // The face of the file, created on the first request for the name. Two
    // threads asking at once get the same face.
    Typeface* GetOrCreate(std::string const& fileName);
    // The registry's factory: a new face, its load queued on the pool.
    Typeface* CreateTypeface(std::string fileName);

    class Impl;

private:
    TypeManager();
    ~TypeManager();
    TypeManager(const TypeManager&) = delete;
    TypeManager& operator=(const TypeManager&) = delete;

    Impl* impl;
};

} // namespace Type
} // namespace Graphics
} // namespace Vexel
