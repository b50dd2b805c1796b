#include "app/large_heap.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace kerfline {

// A conversion builds its drawing out of tens of megabytes of small blocks, and the travel
// planner allocates and frees arrays of megabytes in turn. Each fresh 4 KiB page costs the
// kernel a fault, several microseconds on a virtual machine: on a 20,000-character program
// thousands of them made up a fifth of its time. In huge pages the same memory takes a few
// dozen faults.
void useLargeHeap() {
  constexpr std::size_t kStep = std::size_t{64} << 20;
  // Arrays up to this size come from the heap, so that memory freed is reused in place
  // rather than unmapped and faulted in afresh by the next array.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
  mallopt(M_TOP_PAD, static_cast<int>(kStep));
  // One block more than the heap has free makes it grow by the step now; the grown part is
  // then marked for huge pages (a no-op where the kernel does not offer them).
  char* const before = static_cast<char*>(sbrk(0));
  void* volatile block = std::malloc(std::size_t{1} << 20);  // volatile: kept, not elided
  std::free(block);
  char* const after = static_cast<char*>(sbrk(0));
  constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
  const std::uintptr_t from =
      (reinterpret_cast<std::uintptr_t>(before) + kHugePage - 1) & ~(kHugePage - 1);
  const auto to = reinterpret_cast<std::uintptr_t>(after);
  if (before != reinterpret_cast<char*>(-1) && to > from)
    madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
}

}  // namespace kerfline
