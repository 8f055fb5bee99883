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

// Samples in one MPEG-1 layer III frame.
constexpr size_t kMp3FrameSamples = 1152;

// A loop as constant bit rate joint stereo at the rate of the input (44.1
// kHz) whose frames played back to back continue one another: the loop
// must be a whole number of frames long. The encoder is given the loop
// with its end before it and its start after it, and only the frames that
// hold exactly one turn are kept, so its delay and the padding of its last
// frame fall in the frames cut away; without the bit reservoir every kept
// frame stands alone. No VBR information frame either: a decoder that does
// not know it would play it as a frame of silence at every loop. The file
// starts the decoder's delay (about 25 ms) before the loop's first sample.
bool WriteLoopMp3(std::string const& path, std::vector<float> const& left, std::vector<float> const& right,
                  int rate, int kbps, std::string& error);

} // namespace AssetGen
