#include "platform/MemoryRelease.h"

#include <cstdlib>  // tells which C library this is (__GLIBC__)

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace vastel {

void releaseFreeMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

void returnLargeBlocksOnRelease() {
#if defined(__GLIBC__)
    // The allocator's own starting bound; setting it keeps it from moving.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
}

}  // namespace vastel
