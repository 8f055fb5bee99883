// The game's files as the build generated them, for tests and benchmarks
// that load the real atlases and fonts.
#pragma once

#include <string>

namespace GLTest
{

// Points the file lookups at the data folder (COBALT_KEEP_DATA, replaced
// only when replace is set) and reads atlases asked for as ".dat" from
// ".png", as the game's settings do.
void UseGameData(std::string const& dataDirectory, bool replace = true);

} // namespace GLTest
