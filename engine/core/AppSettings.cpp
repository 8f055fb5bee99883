#include "engine/core/AppSettings.h"

namespace Vexel
{

std::string AppSettings::MapFileName(std::string const& name) const
{
    if (name.size() <= 4)
        return name;
    const std::string ending = name.substr(name.size() - 4);
    auto found = extensionMap.find(ending);
    if (found == extensionMap.end())
        return name;
    return name.substr(0, name.size() - 4) + found->second;
}

AppSettings* GetAppSettings()
{
    static AppSettings settings;
    return &settings;
}

} // namespace Vexel
