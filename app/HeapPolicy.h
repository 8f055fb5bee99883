// How the C heap gives memory back. The start-up decodes the game's images
// into buffers of up to several megabytes on the pool's threads and frees
// them after the upload; with glibc's defaults those freed buffers stay in
// the threads' arenas for the program's life.
#pragma once

namespace Vexel
{
namespace App
{

// Large blocks (128 KiB and up) come straight from the system and go back to
// it when freed; a heap top of more than 1 MiB that is free is given back.
// Call first thing in main, before the first large allocation.
void SetHeapPolicy();

} // namespace App
} // namespace Vexel
