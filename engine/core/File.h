// Whole-file reads and the streams of the saved files. Relative names are
// resolved by the platform layer: a write goes to the save directory; a read
// looks in the save directory, then in the data directory. Absolute paths
// are used as given.
#pragma once

#include <cstddef>
#include <fstream>
#include <string>

namespace Vexel
{
namespace IO
{
namespace File
{

// A new binary input stream, or null for an empty path or a file that
// cannot be opened. The flag has no effect. The caller deletes the stream.
std::ifstream* OpenRead(std::string const& path, bool flag = false);

// A new binary output stream, or null. The bytes go to a temporary file of
// this writer's own that is synced to disk and renamed over the target only
// when the stream is deleted without a write error, so neither a crash
// mid-write nor two saves of one file at once can leave it torn. The caller
// deletes it; a failure is reported (see WriteAllBytes).
std::ofstream* OpenWrite(std::string const& path);

// Replaces the file with the bytes in the same way; true only when the new
// file is in place. A failure (no save folder, a full disk, a read-only
// folder) keeps the previous file and is reported once per file and run,
// with its reason; the caller keeps what it meant to save and tries again
// at its next save point.
bool WriteAllBytes(std::string const& path, const void* bytes, size_t size);

// Removes what writes killed mid-way left beside the file
// ("<name>.XXXXXX.tmp" that no live writer holds). Done once per file and
// run: loads call it before the file is first read, and the first write of
// each file does it too.
void RemoveLeftovers(std::string const& path);

// The rest of the stream from its start in a new[] buffer; *size is -1 for
// a missing stream, 0 for an empty one (both return null).
uint8_t* ReadStreamToEnd(std::istream* stream, int* size);

// The whole file in a new[] buffer, or null with *size -1 (cannot open) or
// 0 (empty).
uint8_t* ReadAllBytes(std::string const& path, bool flag, int* size);

// Where a name is read from or written to after resolution.
std::string ResolveForRead(std::string const& path);
std::string ResolveForWrite(std::string const& path);

} // namespace File
} // namespace IO
} // namespace Vexel
