#include "common/freed_memory.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

namespace kerfline {

void keepFreedMemoryForReuse() {
#if defined(M_TRIM_THRESHOLD)
  // The default trims the heap as soon as 128 KiB at its top are free.
  constexpr int kKeptBytes = 256 << 20;
  mallopt(M_TRIM_THRESHOLD, kKeptBytes);
#endif
}

}  // namespace kerfline
