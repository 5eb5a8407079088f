// Freed heap memory back to the system, where the C library offers a way.
#include "platform/Memory.h"

#include <cstdint>

#if defined(__GLIBC__)
#include <malloc.h>
#endif
#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace qj {

void ReturnFreeMemory() {
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
}

const unsigned char* ReleaseReadPages(const unsigned char* begin, const unsigned char* end) {
#if defined(__linux__)
  static const uintptr_t page = uintptr_t(sysconf(_SC_PAGESIZE));
  const uintptr_t first = (uintptr_t(begin) + page - 1) / page * page;
  const uintptr_t last = uintptr_t(end) / page * page;
  if (last <= first) return begin;
  // The allocator's own bookkeeping lies outside the buffer's bytes, so only our data goes.
  if (madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED) != 0) return begin;
  return begin + (last - uintptr_t(begin));
#else
  (void)end;
  return begin;
#endif
}

}  // namespace qj
