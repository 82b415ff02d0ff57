#include "model/zero_block.h"

#include "base/memory_tuning.h"

#include <cstdint>
#include <cstdlib>
#include <utility>

#if __has_include(<sys/mman.h>) && __has_include(<unistd.h>)
#include <sys/mman.h>
#include <unistd.h>
#define PARVOLEN_MAPPED_BLOCKS 1
#else
#define PARVOLEN_MAPPED_BLOCKS 0
#endif

#ifdef PARVOLEN_ASAN
#include <sanitizer/asan_interface.h>
#endif

namespace parvolen {
namespace {

void Poison([[maybe_unused]] void* start, [[maybe_unused]] std::size_t bytes) {
#ifdef PARVOLEN_ASAN
  if (bytes > 0) __asan_poison_memory_region(start, bytes);
#endif
}

void Unpoison([[maybe_unused]] void* start, [[maybe_unused]] std::size_t bytes) {
#ifdef PARVOLEN_ASAN
  if (bytes > 0) __asan_unpoison_memory_region(start, bytes);
#endif
}

#if PARVOLEN_MAPPED_BLOCKS
// A private anonymous mapping of `total` bytes whose byte at `page` starts a large page, so
// that a block filled from there can be backed by large pages from its first byte (outside the
// sanitizer, which lays the block out for its poisoning instead); null when refused.
void* MapAligned(std::size_t total, std::size_t page) {
  std::size_t slack = 0;
#ifndef PARVOLEN_ASAN
  if (total >= kLargePageBytes + 2 * page) slack = kLargePageBytes;
#endif
  void* raw = ::mmap(nullptr, total + slack, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) return nullptr;
  if (slack == 0) return raw;
  auto* start = static_cast<unsigned char*>(raw);
  const auto at = reinterpret_cast<std::uintptr_t>(start) + page;
  const std::size_t before = ((at + slack - 1) & ~(std::uintptr_t{slack} - 1)) - at;
  if (before > 0) (void)::munmap(start, before);
  if (slack - before > 0) (void)::munmap(start + before + total, slack - before);
  return start + before;
}
#endif

}  // namespace

ZeroBlock::ZeroBlock(ZeroBlock&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      mapping_(std::exchange(other.mapping_, nullptr)),
      mappingBytes_(std::exchange(other.mappingBytes_, 0)),
      lead_(std::exchange(other.lead_, 0)),
      tail_(std::exchange(other.tail_, 0)) {}

ZeroBlock& ZeroBlock::operator=(ZeroBlock&& other) noexcept {
  if (this != &other) {
    Release();
    data_ = std::exchange(other.data_, nullptr);
    mapping_ = std::exchange(other.mapping_, nullptr);
    mappingBytes_ = std::exchange(other.mappingBytes_, 0);
    lead_ = std::exchange(other.lead_, 0);
    tail_ = std::exchange(other.tail_, 0);
  }
  return *this;
}

bool ZeroBlock::Allocate(std::size_t bytes) {
  Release();
#if PARVOLEN_MAPPED_BLOCKS
  const long pageSize = ::sysconf(_SC_PAGESIZE);
  if (bytes >= kMappedFrom && pageSize > 0) {
    const auto page = static_cast<std::size_t>(pageSize);
    if (bytes > SIZE_MAX / 2) return false;
    const std::size_t pages = (bytes + page - 1) / page * page;
    const std::size_t total = pages + 2 * page;
    auto* base = static_cast<unsigned char*>(MapAligned(total, page));
    if (base == nullptr) return false;
    if (::mprotect(base, page, PROT_NONE) != 0 || ::mprotect(base + page + pages, page, PROT_NONE) != 0) {
      (void)::munmap(base, total);
      return false;
    }
    mapping_ = base;
    mappingBytes_ = total;
    lead_ = pages - bytes;
#ifdef PARVOLEN_ASAN
    // The sanitizer poisons whole 8-byte granules before addressable bytes: the block starts on
    // one, and the few bytes left before the guard are poisoned instead.
    lead_ &= ~std::size_t{7};
#endif
    tail_ = pages - bytes - lead_;
    data_ = base + page + lead_;
    Poison(base + page, lead_);
    Poison(base + page + lead_ + bytes, tail_);
#ifndef PARVOLEN_ASAN
    PreferLargePages(base + page, pages);
#endif
    return true;
  }
#endif
  data_ = std::calloc(bytes == 0 ? 1 : bytes, 1);
  return data_ != nullptr;
}

void ZeroBlock::Release() {
#if PARVOLEN_MAPPED_BLOCKS
  if (mapping_ != nullptr) {
    // The shadow of the slack is cleared, so that memory mapped here later is not taken as poisoned.
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    auto* upperGuard = static_cast<unsigned char*>(mapping_) + mappingBytes_ - page;
    Unpoison(static_cast<unsigned char*>(data_) - lead_, lead_);
    Unpoison(upperGuard - tail_, tail_);
    (void)::munmap(mapping_, mappingBytes_);
    mapping_ = nullptr;
    mappingBytes_ = 0;
    lead_ = 0;
    tail_ = 0;
    data_ = nullptr;
    return;
  }
#endif
  std::free(data_);
  data_ = nullptr;
}

}  // namespace parvolen
