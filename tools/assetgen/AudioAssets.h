// Every generated sound file of the game: the nine effects and the four
// music tracks, made on parallel threads into one folder.
#pragma once

#include <string>
#include <vector>

namespace AssetGen
{

// The file names it writes, effects first.
std::vector<std::string> AudioFileNames();

// Writes them all into the folder; false (with every failure reported) when
// one could not be made.
bool GenerateAudio(std::string const& directory, unsigned threads);

} // namespace AssetGen
