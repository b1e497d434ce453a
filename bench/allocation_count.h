// Replaces the global operator new with one that counts, so a benchmark can
// report the allocations its timed loop makes. Include it from exactly one
// source file of a benchmark executable.
#pragma once

#include <atomic>
#include <cstdlib>
#include <new>

namespace orv::bench {

inline std::atomic<long> g_allocations{0};

}  // namespace orv::bench

void* operator new(std::size_t size) {
  orv::bench::g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
