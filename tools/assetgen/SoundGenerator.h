// The game's nine sound effects, synthesised: five explosions of different
// sizes, the cannon's charge hum and blast, the auto-fire laser loop and the
// menu beep. Each is a 44.1 kHz, 16-bit mono WAV whose first 20 bytes of
// samples are silent (the mixer starts playback 20 bytes in); the two loops
// repeat from there without a seam.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace AssetGen
{

struct SoundAsset
{
    std::string name; // without ".wav"
    bool loops;
};

// The nine effects in a fixed order.
std::vector<SoundAsset> const& SoundAssets();

// The samples of one effect (index into SoundAssets()), ready to write.
std::vector<int16_t> SynthesizeSound(size_t index);

// Synthesises one effect and writes it into the folder as <name>.wav.
bool GenerateSound(std::string const& directory, size_t index, std::string& error);

} // namespace AssetGen
