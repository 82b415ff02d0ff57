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
// What the heap is grown by at the start: it stays the heap's free end, backed by large pages.
constexpr std::size_t kHeapReserve = std::size_t{64} << 20;
// The C library's bookkeeping before each block: a block of n bytes takes a chunk of n + 8
// bytes rounded up to 16, and the chunk after it begins 16 bytes before its first byte.
constexpr std::size_t kChunkHead = 16;

// Never freed, it lives as long as the heap; volatile, so that the compiler keeps the request.
void* volatile heldHeapHead = nullptr;

// The kernel backs a range with a large page only where the whole large page is untouched, and
// the heap starts where the system put it, inside a large page that it shares with what the C
// library allocated before `main`. One request takes the rest of that page, never touched, and
// grows the heap by the reserve on the way; the free end of the heap then starts on a large
// page, which nothing has touched when it is advised. Falls back to a heap of small pages
// wherever the C library places things otherwise.
void LayOutHeap() {
#if __GLIBC_PREREQ(2, 33)
  void* const end = sbrk(0);
  const std::size_t topBytes = mallinfo2().keepcost;  // the free end of the heap
  if (end == reinterpret_cast<void*>(-1)) return;
  const auto top = reinterpret_cast<std::uintptr_t>(end) - topBytes;
  // The first large page above the heap's end, so that the request must grow the heap.
  const std::uintptr_t boundary = (reinterpret_cast<std::uintptr_t>(end) + kChunkHead + kLargePageBytes - 1) &
                                  ~(kLargePageBytes - 1);
  const std::size_t chunk = boundary - kChunkHead - top;
  if (chunk < 2 * kChunkHead) return;
  (void)mallopt(M_TOP_PAD, static_cast<int>(kHeapReserve));
  heldHeapHead = std::malloc(chunk - kChunkHead / 2);
  (void)mallopt(M_TOP_PAD, 8 << 20);
  void* const after = sbrk(0);
  if (heldHeapHead != nullptr && after != reinterpret_cast<void*>(-1) &&
      reinterpret_cast<std::uintptr_t>(after) > boundary)
    PreferLargePages(reinterpret_cast<void*>(boundary), reinterpret_cast<std::uintptr_t>(after) - boundary);
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
  // A page fault costs as much as several thousand instructions, and a large page takes the
  // place of 512 of them; nothing is touched here, so memory is only used where the run writes.
  LayOutHeap();
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
