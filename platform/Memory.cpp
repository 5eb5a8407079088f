// Freed heap memory back to the system, where the C library offers a way.
#include "platform/Memory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace qj {

void ReturnFreeMemory() {
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
}

}  // namespace qj
