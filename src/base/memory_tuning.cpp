#include "base/memory_tuning.h"

#include <cstdint>

#if defined(__GLIBC__)
#include <malloc.h>
#endif
#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace parvolen {
namespace {

// The large page of the common processors; a block is only advised in whole large pages.
constexpr std::size_t kLargePage = std::size_t{2} << 20;

}  // namespace

void TuneAllocator() {
#if defined(__GLIBC__)
  // One arena: the analysis runs on a thread of its own while the main thread waits for it,
  // so nothing contends for the heap, and a second arena would grow in page-sized steps.
  (void)mallopt(M_ARENA_MAX, 1);
  // Ask the kernel for 8 MB more than needed whenever the heap grows, instead of 128 KB.
  (void)mallopt(M_TOP_PAD, 8 << 20);
#endif
}

void PreferLargePages(void* block, std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  const auto begin = reinterpret_cast<std::uintptr_t>(block);
  const std::uintptr_t first = (begin + kLargePage - 1) & ~(kLargePage - 1);
  const std::uintptr_t end = (begin + bytes) & ~(kLargePage - 1);
  if (block == nullptr || end <= first) return;
  (void)madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#else
  (void)block;
  (void)bytes;
#endif
}

}  // namespace parvolen
