// Typeface registry over a concurrent dictionary; its factory runs under the
// dictionary's lock, so one name never yields two faces.
#include "engine/graphics/type/TypeManager.h"

#include "engine/core/ConcurrentDictionary.h"
#include "engine/core/Delegate.h"
#include "engine/graphics/type/Typeface.h"

namespace Vexel
{
namespace Graphics
{
namespace Type
{

class TypeManager::Impl
{
public:
    Threading::ConcurrentDictionary<std::string, Typeface*> faces;
    Func<Typeface*, std::string> factory;
};

TypeManager& TypeManager::Get()
{
    static TypeManager* instance = new TypeManager;
    return *instance;
}

TypeManager::TypeManager() : impl(new Impl)
{
    impl->factory.Bind(this, &TypeManager::CreateTypeface);
}

TypeManager::~TypeManager()
{
    delete impl;
}

Typeface* TypeManager::GetOrCreate(std::string const& fileName)
{
    return impl->faces.GetOrAdd(fileName, impl->factory);
}

Typeface* TypeManager::CreateTypeface(std::string fileName)
{
    return new Typeface(fileName);
}

} // namespace Type
} // namespace Graphics
} // namespace Vexel
