// The game's four music tracks, composed for the sequencer: "Menu" (calm,
// spacious), "InGame" (driving), "Tutorial" (light) and "Win" (triumphant).
// Each is one seamless loop of 60 to 120 seconds, written as a 44.1 kHz
// stereo MP3.
#pragma once

#include "tools/assetgen/Sequencer.h"

#include <string>
#include <vector>

namespace AssetGen
{

// The track names in the game's order (0 Menu, 1 InGame, 2 Tutorial, 3 Win).
std::vector<std::string> const& MusicTracks();

// The composition of one track; false with a message when a written line
// does not fill its bars (a slip in the score).
bool ComposeTrack(size_t index, Music::Song& song, std::string& error);

// Composes, renders and encodes one track as <directory>/<name>.mp3.
bool GenerateTrack(std::string const& directory, size_t index, std::string& error);

} // namespace AssetGen
