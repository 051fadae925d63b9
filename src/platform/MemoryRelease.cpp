#include "platform/MemoryRelease.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace vastel {

void releaseFreeMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

}  // namespace vastel
