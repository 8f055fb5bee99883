// Writes the C++ source of the engine's tile table from the manifest, so the
// table the game compiles and the atlas images come from one description.
#pragma once

#include "tools/assetgen/Manifest.h"

#include <string>

namespace AssetGen
{

std::string TileTableSource(Manifest const& m);
bool WriteTileTableSource(Manifest const& m, std::string const& path, std::string& error);

} // namespace AssetGen
