#include "platform/process_memory.h"

// Any system header tells whether the C library is glibc; without one
// __GLIBC__ is not defined yet and the tuning below would silently vanish.
#include <unistd.h>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace corvane {

void keepFreedMemory() {
#if defined(__GLIBC__)
  // Blocks below 16 MiB come from the heap, and the heap is trimmed only
  // once 64 MiB lie free at its top.
  mallopt(M_MMAP_THRESHOLD, 16 << 20);
  mallopt(M_TRIM_THRESHOLD, 64 << 20);
#endif
}

}  // namespace corvane
