#include "base/memory_tuning.h"

#include <cstdint>

#if defined(__GLIBC__)
#include <malloc.h>
#include <unistd.h>

#include <cstdlib>
#endif
#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace parvolen {
namespace {

#if defined(__GLIBC__) && !defined(PARVOLEN_ASAN)
// The heap laid out at the start in one piece, below glibc's largest threshold for mapping a
// request of its own (32 MB on 64-bit systems).
constexpr std::size_t kHeapReserve = std::size_t{30} << 20;

// Never freed: it lives as long as the heap.
void* heldHeapHead = nullptr;

// The heap starts where the system put it, inside a large page that it shares with what the C
// library allocated before `main`: the kernel backs only whole large pages with large pages.
// The rest of that page is taken by a block that is never touched, so that what the run
// allocates next starts on a large page.
void HoldRestOfFirstLargePage() {
#if __GLIBC_PREREQ(2, 33)
  const std::size_t topBytes = mallinfo2().keepcost;  // the unallocated end of the heap
  void* const end = sbrk(0);
  if (end == reinterpret_cast<void*>(-1) || topBytes == 0) return;
  const auto top = reinterpret_cast<std::uintptr_t>(end) - topBytes;
  const std::uintptr_t boundary = (top + kLargePageBytes - 1) & ~(kLargePageBytes - 1);
  if (boundary > top) heldHeapHead = std::malloc(boundary - top);
#endif
}
#endif

}  // namespace

void TuneAllocator() {
#if defined(__GLIBC__)
  // One arena: the analysis runs on a thread of its own while the main thread waits for it,
  // so nothing contends for the heap, and a second arena would grow in page-sized steps.
  (void)mallopt(M_ARENA_MAX, 1);
  // Ask the kernel for 8 MB more than needed whenever the heap grows, instead of 128 KB.
  (void)mallopt(M_TOP_PAD, 8 << 20);
  // Keep what is freed for later requests instead of returning it, and serve large requests
  // from the heap too: a mapping of their own would be new memory, faulted in page by page,
  // each time a vector grows.
  (void)mallopt(M_TRIM_THRESHOLD, 256 << 20);
  (void)mallopt(M_MMAP_THRESHOLD, 32 << 20);
#if !defined(PARVOLEN_ASAN)
  // Grow the heap once by the reserve and give it back to the allocator, then let the kernel
  // back it with large pages: a page fault costs as much as several thousand instructions,
  // and a large page takes the place of 512 of them. Nothing is touched here, so memory is
  // only used where the run writes.
  HoldRestOfFirstLargePage();
  void* const before = sbrk(0);
  void* const block = std::malloc(kHeapReserve);
  void* const after = sbrk(0);
  std::free(block);
  if (block != nullptr && before != reinterpret_cast<void*>(-1) && after > before)
    PreferLargePages(before, static_cast<std::size_t>(static_cast<char*>(after) - static_cast<char*>(before)));
#endif
#endif
}

void PreferLargePages(void* block, std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  // Only whole large pages inside the block are advised.
  const auto begin = reinterpret_cast<std::uintptr_t>(block);
  const std::uintptr_t first = (begin + kLargePageBytes - 1) & ~(kLargePageBytes - 1);
  const std::uintptr_t end = (begin + bytes) & ~(kLargePageBytes - 1);
  if (block == nullptr || end <= first) return;
  (void)madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#else
  (void)block;
  (void)bytes;
#endif
}

}  // namespace parvolen
