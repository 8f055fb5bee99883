#include "app/HeapPolicy.h"

#include <malloc.h>

namespace Vexel
{
namespace App
{

namespace
{
// Below this a block comes from the arenas. Setting it also stops glibc from
// raising it after the first large free, which is what kept the decode
// buffers (the images are 0.25 to 4 MiB).
const int kMmapThreshold = 128 * 1024;
const int kTrimThreshold = 1024 * 1024;
} // namespace

void SetHeapPolicy()
{
    mallopt(M_MMAP_THRESHOLD, kMmapThreshold);
    mallopt(M_TRIM_THRESHOLD, kTrimThreshold);
}

} // namespace App
} // namespace Vexel
