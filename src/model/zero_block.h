// A zero-filled block of bytes that costs memory only where it is written. Small blocks come
// from calloc; a large one is a private anonymous mapping of its own, whose pages the system
// fills with zeros when first touched (in large pages where the kernel allows), between two
// inaccessible guard pages. The block ends right at the upper guard, so an index past the end
// faults. Under AddressSanitizer it starts
// on a granule of the sanitizer instead, and the unused bytes on both sides are poisoned, so an
// index just below or past the block is reported.
// (A large block through the sanitizer's allocator would be poisoned and cleared in whole on
// every allocation and release, whatever part of it was used.)
#pragma once

#include <cstddef>

#include "base/memory_tuning.h"

namespace parvolen {

class ZeroBlock {
 public:
  // Blocks from this size on are mapped; smaller ones are calloc'ed. Under the sanitizer from
  // 1 MB on; otherwise from 4 MB, since smaller blocks are filled faster from the heap, which
  // is backed by large pages where the kernel allows (see TuneAllocator).
#ifdef PARVOLEN_ASAN
  static constexpr std::size_t kMappedFrom = std::size_t{1} << 20;
#else
  static constexpr std::size_t kMappedFrom = std::size_t{4} << 20;
#endif

  ZeroBlock() = default;
  ZeroBlock(const ZeroBlock&) = delete;
  ZeroBlock& operator=(const ZeroBlock&) = delete;
  ZeroBlock(ZeroBlock&& other) noexcept;
  ZeroBlock& operator=(ZeroBlock&& other) noexcept;
  ~ZeroBlock() { Release(); }

  // Replaces the block by `bytes` zero bytes; false, and no block, when the system refuses
  // the memory (as calloc would refuse it: the mapping is accounted for in full).
  [[nodiscard]] bool Allocate(std::size_t bytes);
  void Release();

  // The first byte; aligned for records of alignment up to 8 whose size divides the byte count.
  [[nodiscard]] void* Data() const { return data_; }
  [[nodiscard]] bool Mapped() const { return mapping_ != nullptr; }

 private:
  void* data_ = nullptr;
  void* mapping_ = nullptr;  // the whole mapping with its guard pages, when mapped
  std::size_t mappingBytes_ = 0;
  std::size_t lead_ = 0;  // unused bytes before the block in its first page
  std::size_t tail_ = 0;  // unused bytes after it, up to the upper guard (under the sanitizer)
};

}  // namespace parvolen
