// The heap policy of main: a large block freed goes back to the system
// every time, not only the first (glibc's default raises its threshold
// after the first large free and keeps later ones in the arena).
#include "app/HeapPolicy.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <malloc.h>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define HEAP_IS_THE_SANITIZERS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define HEAP_IS_THE_SANITIZERS 1
#endif
#endif

namespace
{

// Bytes in blocks that came straight from the system.
size_t MappedBytes()
{
    return mallinfo2().hblkhd;
}

TEST(HeapPolicyTest, LargeBlocksComeFromTheSystemAndGoBack)
{
#ifdef HEAP_IS_THE_SANITIZERS
    GTEST_SKIP() << "the sanitizer's allocator stands in for glibc's";
#endif
    Vexel::App::SetHeapPolicy();
    const size_t kDecodeBuffer = 4u << 20; // an image's decoded pixels
    for (int round = 0; round < 3; round++)
    {
        const size_t before = MappedBytes();
        // volatile: the optimiser must not drop the pair.
        void* volatile block = std::malloc(kDecodeBuffer);
        ASSERT_NE(nullptr, block);
        std::memset(block, 1, kDecodeBuffer);
        EXPECT_GE(MappedBytes(), before + kDecodeBuffer) << "round " << round;
        std::free(block);
        EXPECT_EQ(before, MappedBytes()) << "round " << round;
    }
}

} // namespace
