#include "host/render/picture_memory.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// (after a C library header, which defines __GLIBC__)
#if defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace orv::render {

void prepare_picture_memory() {
#if defined(__GLIBC__) && defined(MADV_HUGEPAGE)
  constexpr std::size_t kHugePage = std::size_t(2) << 20;
  if (mallopt(M_MMAP_THRESHOLD, 32 << 20) == 0 || mallopt(M_TRIM_THRESHOLD, 256 << 20) == 0 ||
      mallopt(M_TOP_PAD, 64 << 20) == 0)
    return;
  // One block of a huge page grows the heap by it and the pad at once.
  auto* const low = static_cast<char*>(sbrk(0));
  void* block = std::malloc(kHugePage);
  if (block != nullptr) *static_cast<volatile char*>(block) = 0;  // kept: an unused block is optimised away
  auto* const high = static_cast<char*>(sbrk(0));
  std::free(block);
  if (low == reinterpret_cast<char*>(-1) || high <= low) return;
  const std::uintptr_t start = (reinterpret_cast<std::uintptr_t>(low) + kHugePage - 1) & ~(kHugePage - 1);
  const auto end = reinterpret_cast<std::uintptr_t>(high);
  if (start < end) madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
#endif
}

}  // namespace orv::render
