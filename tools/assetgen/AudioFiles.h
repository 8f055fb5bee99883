// Writing generated sound: 16-bit mono WAV files with the canonical 44-byte
// header, and 44.1 kHz stereo MP3 files through the LAME library. Both write
// a temporary file and rename it, so an interrupted build leaves no half
// file that looks finished.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace AssetGen
{

// Samples in [-1, 1] to 16-bit with rounding and clamping.
std::vector<int16_t> ToPcm16(std::vector<double> const& samples);

// RIFF/WAVE, PCM, one channel, 16 bits, the given rate; the data chunk
// starts at byte 36 and the samples at byte 44.
bool WriteWav(std::string const& path, std::vector<int16_t> const& samples, int rate, std::string& error);

// Constant bit rate joint stereo at the rate of the input (44.1 kHz). No
// VBR information frame: a decoder that does not know it would play it as
// a frame of silence at every loop.
bool WriteMp3(std::string const& path, std::vector<float> const& left, std::vector<float> const& right,
              int rate, int kbps, std::string& error);

} // namespace AssetGen
