#include "tests/support/GameData.h"

#include "engine/core/AppSettings.h"

#include <cstdlib>

namespace GLTest
{

void UseGameData(std::string const& dataDirectory, bool replace)
{
    setenv("COBALT_KEEP_DATA", dataDirectory.c_str(), replace ? 1 : 0);
    Vexel::GetAppSettings()->extensionMap[".dat"] = ".png";
}

} // namespace GLTest
