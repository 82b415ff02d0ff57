// How the program asks the C library and the kernel to lay out its memory. A run allocates
// much and frees most of it only at its end; these settings cut the system calls and page
// faults that growing the heap page by page costs. Both only change speed, never results, and
// do nothing where the facility is not there.
#pragma once

#include <cstddef>

// Defined when the program is built with AddressSanitizer, whose allocator takes the place of
// the C library's.
#if defined(__SANITIZE_ADDRESS__)
#define PARVOLEN_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PARVOLEN_ASAN 1
#endif
#endif

namespace parvolen {

// The large page of the common processors.
inline constexpr std::size_t kLargePageBytes = std::size_t{2} << 20;

// Called once at the start of the program, before any thread is started: every thread
// allocates from one heap (the analysis thread would otherwise grow an arena of its own in
// small steps), laid out at the start in large pages where the kernel allows, which grows in
// large steps.
void TuneAllocator();

// A large block about to be filled from its start: the kernel may back it with large pages,
// so that filling it costs fewer page faults. Blocks below the size of a large page are left
// alone; the block stays usable whatever the kernel decides.
void PreferLargePages(void* block, std::size_t bytes);

}  // namespace parvolen
