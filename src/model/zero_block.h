// A zero-filled block of bytes that costs memory only where it is written. Small blocks come
// from calloc; a large one is a private anonymous mapping of its own, whose pages the system
// fills with zeros when first touched, between two inaccessible guard pages. The records end
// right at the upper guard, so an index past the end faults; under AddressSanitizer the unused
// start of the first page is poisoned as well, so an index below the start is reported too.
// (A large block through the sanitizer's allocator would be poisoned and cleared in whole on
// every allocation and release, whatever part of it was used.)
#pragma once

#include <cstddef>

namespace parvolen {

class ZeroBlock {
 public:
  // Blocks from this size on are mapped; smaller ones are calloc'ed.
  static constexpr std::size_t kMappedFrom = std::size_t{1} << 20;

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

  // The first byte; aligned for records of any type whose size divides the byte count.
  [[nodiscard]] void* Data() const { return data_; }
  [[nodiscard]] bool Mapped() const { return mapping_ != nullptr; }

 private:
  void* data_ = nullptr;
  void* mapping_ = nullptr;  // the whole mapping with its guard pages, when mapped
  std::size_t mappingBytes_ = 0;
  std::size_t poisonedBytes_ = 0;  // the unused start of the first page, under the sanitizer
};

}  // namespace parvolen
