// Tells whether bytes hold MPEG audio (an MP3): an optional ID3v2 tag, then
// frames whose headers chain one to the next. The mixer's reader accepts
// anything and plays silence for what it cannot decode; this lets the music
// object refuse such a file, and say so. No decoding, no allocation.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Vexel
{
namespace Audio
{
namespace MpegAudioProbe
{

// Consecutive frames that make a stream: random bytes chain this far about
// never.
const int kFramesNeeded = 3;

// The length in bytes of the frame whose 4-byte header starts at header, or
// 0 when these bytes are no valid frame header (free-format bit rates too).
int FrameLength(const uint8_t* header);

// True when, within the first bytes after any ID3v2 tag, kFramesNeeded
// frames of one kind follow each other, or fewer that end exactly at the
// end of the bytes (a very short stream read whole). complete: size is the
// whole file.
bool HasFrames(const uint8_t* bytes, size_t size, bool complete);

} // namespace MpegAudioProbe
} // namespace Audio
} // namespace Vexel
